// A command line of Csound, formed as the list of arguments the program gets,
// with the text the user sees: the line shown in the CMDLINE box and counted
// against the line's limit. File and folder names are whole arguments, so a
// name holding a blank or a quote reaches Csound exactly as it is.
#pragma once

#include <string>
#include <vector>

// The text of a line refused because it would not fit; fault says why.
inline constexpr char szLineTooLong[] = "TOO LONG!!";

struct CommandLine {
    std::vector<std::string> args; // the program first; empty when the line was refused
    std::string text;              // the line, or the marker of a refused line
    std::string fault;             // why a line was refused, as a sentence for a message box
};
