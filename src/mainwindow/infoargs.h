// The two questions a Linux program answers before it opens a window:
// --help (or -h) and --version. Every other argument is ignored, as the
// program takes none.
#pragma once

#include <cstdio>
#include <optional>

// When an argument asks for help or the version, writes the answer to out
// and returns the exit status; otherwise nothing. Needs no display.
std::optional<int> AnswerInfoArguments(int argc, const char* const* argv, std::FILE* out);
