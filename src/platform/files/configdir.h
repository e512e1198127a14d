// The program's configuration folder, where tk3.ini and TK3.bat live:
// $XDG_CONFIG_HOME/tonsmith, or $HOME/.config/tonsmith.
#pragma once

#include <string>

// The folder without a trailing slash, or an empty string when neither
// variable gives an absolute path (the folder cannot be obtained).
std::string ConfigDirectory();

// Creates the folder (and its parents) when missing; false when it cannot.
bool EnsureConfigDirectory();
