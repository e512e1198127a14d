// The batch interpreter behind tonsmith-batch: runs exactly the small
// dialect the compile run writes into TK3.bat.
//   SET NAME=VALUE   sets NAME for the commands that follow; an empty VALUE
//                    removes the variable, as the platform's command
//                    interpreter does
//   Pause            prints "Press any key to continue . . ." and, when our
//                    input is a terminal, waits for one key
//   Exit [N]         ends the script (with N, else the last command's status)
//   anything else    a command line: split into arguments by the Windows
//                    rules, started directly (no shell) and waited for
// Keywords are matched without regard to case; CR LF and LF both end lines;
// blank lines are skipped.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Exit status of a command that could not be found, as the platform reports it.
inline constexpr int BATCH_NOT_FOUND = 9009;

// What the script's lines do. The defaults act on the process itself:
// setenv, the key wait, starting and waiting for the program.
struct BatchActions {
    std::function<void(const std::string& name, const std::string& value)> set;
    std::function<void()> pause;
    std::function<int(const std::vector<std::string>& args)> run; // its exit status
};
BatchActions DefaultBatchActions();

// Runs the script text and returns the status to exit with.
int RunBatchScript(std::string_view text);
int RunBatchScript(std::string_view text, const BatchActions& actions);
