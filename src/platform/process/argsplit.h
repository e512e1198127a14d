// Command text to arguments and back, by the rules Windows programs use:
// blanks and tabs separate arguments, double quotes group, a quote preceded
// by a backslash is literal, "" inside quotes is one literal quote, and
// backslashes are special only in front of a quote. The first argument
// follows the same rules as the others, so every argument list survives
// QuoteCommandLine followed by SplitCommandLine unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitCommandLine(std::string_view text);

// One argument written so that SplitCommandLine reads it back unchanged:
// as it is when it holds no blank, tab or quote and is not empty, else quoted.
std::string QuoteArgument(std::string_view arg);

// The arguments quoted as needed and joined with single blanks.
std::string QuoteCommandLine(const std::vector<std::string>& args);
