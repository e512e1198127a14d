// What the launcher and a process handle share about a run in a console: the
// terminal it went to, which terminals remain to fall back on, and where a
// run goes once its terminal is given up. For the two of them only.
#pragma once

#include "platform/process/launcher.h"
#include "platform/process/terminals.h"

#include <chrono>
#include <sys/types.h>
#include <unistd.h>

// Which terminal a console run may use: the desktop's, xterm, or none (the
// output goes to the log).
enum ConsoleChoice : int { kDesktop, kXterm, kNoTerminal };

// Starts the request with the terminals that choice still allows.
LaunchResult LaunchWith(const LaunchRequest& request, int choice);

// A run in a terminal that has yet to start our console helper.
struct ConsoleWatch {
    LaunchRequest request;
    Terminal terminal;
    int choice = kDesktop;
    int errors = -1; // the terminal's error output: an unlinked file
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    ~ConsoleWatch() {
        if (errors >= 0)
            close(errors);
    }
};

// The terminal at path failed to start a console: not tried again in this session.
void GiveUpTerminal(const std::string& path);

// csound.log in the configuration folder: the output of runs no console shows.
std::string LogPath();

// Where a run goes once its terminal is out of the question, as a sentence.
std::string WhereItRuns(const std::string& program, bool inXterm);

// Waits for the process's end on a thread of its own, so it never stays a zombie.
void ReapInBackground(pid_t pid);
