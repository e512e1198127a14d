// Starting a program directly, never through a shell. Shared by the launcher
// and the batch interpreter, so it uses nothing but the C library.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The path of a program: a name holding '/' is taken as it is; a bare name is
// looked up in the folders of PATH (empty entries, which would mean the
// current folder, are skipped). Only an executable regular file counts.
// Empty when there is none.
std::string FindProgram(const std::string& name);

struct SpawnOptions {
    bool stdinFromNull = false; // read /dev/null instead of our own input
    bool newSession = false;    // leave our session: our terminal's ^C stays ours
    int outputFd = -1;          // standard output and error go here, when not -1
};

// Starts argv[0] (a path, as FindProgram gives) with argv as its arguments and
// our environment, closing every descriptor above 2 in the child. 0 with *pid
// set, or the errno value of the failure (the program could not be executed).
int SpawnProgram(const std::vector<std::string>& argv, const SpawnOptions& options, pid_t* pid);
