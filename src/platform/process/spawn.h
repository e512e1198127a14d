// Starting a program directly, never through a shell, and waiting for it.
// Shared by the launcher, the batch interpreter and the console helper, so it
// uses nothing but the C library.
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
    int errorFd = -1;           // standard error alone goes here, when not -1
    std::string workDir{};      // the program's current folder; empty: ours
};

// Starts argv[0] (a path, as FindProgram gives) with argv as its arguments and
// our environment, closing every descriptor above 2 in the child. 0 with *pid
// set, or the errno value of the failure (the program could not be executed).
int SpawnProgram(const std::vector<std::string>& argv, const SpawnOptions& options, pid_t* pid);

// Starts args[0] (a path, or a name looked up as FindProgram does) with our
// own streams and waits for its end. 0 with *status set to the wait status
// (an exit status 1 when the end cannot be learnt), or the errno value of the
// failure to start (ENOENT when there is no such program).
int RunAndWait(std::vector<std::string> args, int* status);

// The exit code a wait status stands for: the exit status, or 128 plus the
// number of the signal that ended the program.
int ExitCodeOf(int status);

// How a program ended, as one sentence for its console and for a message box:
// "NAME ended with exit code N." or, for a code that ExitCodeOf made from a
// signal, "NAME was ended by signal N (description).". NAME is the program's
// file name without its folder.
std::string EndSentence(const std::string& program, int exitCode);

// Waits for one key when our input is a terminal (without echo, not waiting
// for a line end); returns at once when it is none.
void WaitForKey();
