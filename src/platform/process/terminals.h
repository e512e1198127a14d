// The terminal programs a desktop may register as x-terminal-emulator, and
// how each wants to be told a window title and a command to run.
//
// Terminals disagree: most take "-e PROGRAM ARGS...", others "-x", "--" or
// the command as trailing arguments; some take one string after "-e" that
// they split themselves; some name the title "-T", others "-t" or "--title";
// some speak only X11 or only Wayland; many hand the command to a server
// and exit at once. One row per program says which. x-terminal-emulator is
// followed through its symbolic links (and Debian's ".wrapper" scripts) to
// the program it really is, which is then called directly.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class TerminalScreen : unsigned char { X11, Wayland, Any };
enum class TerminalCommand : unsigned char {
    Argv,      // each argument separately
    OneString, // one string, which the terminal splits as a POSIX shell would (no shell runs)
    Encoded,   // each argument separately, but the terminal replaces $NAME in them: what our
               // console helper is to run goes hex-encoded (EncodeForConsole)
};

struct TerminalForm {
    const char* name;    // the program's file name
    const char* title;   // the option before the title; null: the terminal takes none
    const char* execute; // the option before the command; "" when it follows the options
    TerminalCommand command;
    TerminalScreen screen;
    bool handsOff;    // may pass the command to a running instance and exit at once
    bool ownInstance; // kept open after its command: runs as its own instance, closed by us
};

struct Terminal {
    std::string path; // the program to start
    const TerminalForm* form = nullptr;
};

// The file name of a path: what follows its last slash.
std::string BaseName(const std::string& path);

// The row of a program file name; the xterm form for one we do not know.
const TerminalForm& TerminalFormFor(const std::string& name);

// What the program at path really is: symbolic links followed, a Debian
// ".wrapper" replaced by the program it wraps when that is beside it.
Terminal ResolveTerminal(const std::string& path);

// Whether the terminal can open a window in this session: an X11 one needs
// DISPLAY, a Wayland one WAYLAND_DISPLAY.
bool TerminalCanOpen(const TerminalForm& form);

// The argument list that opens the terminal with title and runs command in
// it. instance names a private instance for a terminal that needs one.
std::vector<std::string> TerminalArguments(const Terminal& terminal, const std::string& title,
                                           const std::vector<std::string>& command,
                                           const std::string& instance = "");

// The arguments after the console helper's own path, for a terminal that
// rewrites what it passes on: "--hex" and each argument as hexadecimal digits,
// which no terminal has reason to touch. DecodeForConsole gives them back, or
// nullopt when they are not such a list.
std::vector<std::string> EncodeForConsole(const std::vector<std::string>& args);
std::optional<std::vector<std::string>> DecodeForConsole(const std::vector<std::string>& args);

// One string that POSIX word splitting turns back into args: every argument
// in single quotes, a quote inside written '\''.
std::string QuoteForSplitting(const std::vector<std::string>& args);
