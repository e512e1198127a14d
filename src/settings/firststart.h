// The first start. A user who starts Tonsmith for the first time, from the
// desktop menu, has no tk3.ini: the folders would all be the launcher's
// working folder and no csound would be chosen. Instead Tonsmith copies a
// small demo workspace (two orchestras, two scores, a source sound, empty
// output and analysis folders) into the data folder and writes a tk3.ini
// that points at it and at the csound found on PATH, so that the first
// Compile renders. An existing tk3.ini is never touched, and a file already
// in the demo folder is never replaced.
#pragma once

#include <string>

// Where the demo files are installed: share/tonsmith/demo beside the running
// program's folder, else the source tree's copy (a program run from its
// build folder). "" when neither exists.
std::string DemoSourceFolder();

// Where the workspace goes: $XDG_DATA_HOME/tonsmith/demo, or
// $HOME/.local/share/tonsmith/demo when XDG_DATA_HOME is unset or not
// absolute. "" when neither gives an absolute path.
std::string DemoWorkspaceFolder();

// Makes the workspace and the settings file when there is no tk3.ini (and
// the configuration folder can be obtained). Returns "" when all went well
// or nothing was to be done, else a sentence saying what failed; the program
// then starts as it would without settings.
std::string MakeFirstStartWorkspace();
