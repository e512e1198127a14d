// Starting other programs: Csound, the batch interpreter, the editors.
//
// Programs are started directly from an argument list, never through a
// shell, so no character of a file name is ever interpreted. Three names are
// resolved on the way:
//   - a script ending in ".bat" or ".cmd" runs in our batch interpreter,
//     tonsmith-batch (next to the running program, else in the build tree,
//     else on PATH);
//   - "notepad" (or "notepad.exe", any case) that is not on PATH is the
//     desktop's default text editor: a desktop editor on PATH (gnome-text-editor,
//     gedit, kate, mousepad, pluma, xed, featherpad, leafpad), else Debian's
//     sensible-editor in a terminal window; none without a display;
//   - any other bare name is looked up on PATH.
// With a console asked for and a display present (DISPLAY or WAYLAND_DISPLAY),
// the program runs in a terminal window: x-terminal-emulator, resolved to the
// program it really is and called with its own options (terminals.h), runs
// tonsmith-console REPORT DIR VARS -- PROGRAM ARGS...; xterm when that is
// missing or cannot open a window in this session. The console helper starts the program in our
// folder with the Csound folder variables (a terminal server may not pass on our environment),
// keeps the window open after a failure, and, with reportEnd, reports the program's end through a
// FIFO, so the process we hold ends when the program ends, whatever the terminal does. With a
// display but no terminal at all, the program runs without a console, its output appended to
// csound.log in the configuration folder, and the user is told once. A console that has not
// reported its start within kConsoleStartTimeout, or whose terminal failed before that, is given
// up: the terminal is ended, the run starts again in xterm (where xterm can open a display) or into
// the log, the failed terminal is not tried again in this session, and the handle holds a notice
// saying so, with the first line the terminal wrote to its error output. Without a display, or with
// no console, the program reads /dev/null and writes to our own output.
//
// A program given a working folder runs there, in a console too; a relative
// program path still names the file seen from our own folder.
//
// Every started process is reaped: a ProcessHandle waits for its end when
// polled, and one dropped while the process still runs hands it to a
// background waiter, so no process is ever left a zombie.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

inline constexpr unsigned long STILL_ACTIVE = 259;
inline constexpr int SW_SHOWNORMAL = 1;

class EndReport;
struct ConsoleWatch;
struct LaunchRequest;
struct LaunchResult;

// How long a terminal may take to start our console helper.
inline constexpr std::chrono::seconds kConsoleStartTimeout{6};

class ProcessHandle {
public:
    explicit ProcessHandle(pid_t pid);
    // A run in a console: the terminal's pid, and the report of the program
    // it runs, which is what ExitCode() tells.
    ProcessHandle(pid_t pid, std::unique_ptr<EndReport> report);
    ~ProcessHandle();
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;

    // STILL_ACTIVE while the process runs; afterwards its exit status, or
    // 128 plus the signal number that ended it. Never blocks.
    unsigned long ExitCode();
    // Once, the sentence telling that a console was given up; else empty.
    std::string TakeNotice();

    // The file that receives the program's output when no console shows it
    // (csound.log); empty when it has a console or our own output.
    const std::string& OutputLog() const { return m_outputLog; }
    void SetOutputLog(std::string path) { m_outputLog = std::move(path); }

private:
    friend LaunchResult LaunchWith(const LaunchRequest&, int);
    unsigned long waitTerminal(int options);
    bool consoleFailed(unsigned long terminal) const;
    void fallBack();
    pid_t m_pid;
    bool m_reaped = false;
    unsigned long m_exitCode = STILL_ACTIVE;
    std::unique_ptr<EndReport> m_report;
    unsigned long m_programExit = STILL_ACTIVE;
    std::string m_outputLog;
    std::unique_ptr<ConsoleWatch> m_console; // the terminal of a run with a report
    std::string m_notice;
};

struct LaunchRequest {
    std::vector<std::string> args; // the program (a path or a bare name) and its arguments
    bool newConsole = false;       // a terminal window, when there is a display
    std::string title;             // the terminal's title
    bool reportEnd = false;        // watch the program, not the terminal, in a console
    std::string workDir{};         // the program's current folder (absolute); empty: ours
};

struct LaunchResult {
    std::unique_ptr<ProcessHandle> process; // null when nothing was started
    int error = 0;                          // errno value when nothing was started
};

LaunchResult Launch(const LaunchRequest& request);

// The argument list that Launch would execute, or an empty list with *error
// set when the program cannot be found. *inTerminal tells whether it runs in
// a terminal window; report is the FIFO the console helper reports to ("-":
// none). *noTerminal tells that a console was wanted, with a display, but no
// terminal program exists.
std::vector<std::string> ResolveLaunch(const LaunchRequest& request, int* error,
                                       bool* inTerminal = nullptr, const std::string& report = "-",
                                       bool* noTerminal = nullptr);

// A sentence for a message box: why the program could not be started.
std::string LaunchErrorText(const std::string& program, int error);

// Start and forget, as the platform's WinExec: the command text is split into
// arguments, the program started without a console and never watched (it is
// still reaped). Greater than 31 on success; 2 when the program is not found,
// 5 when it may not be run, 0 for any other failure.
unsigned WinExec(const char* lpCmdLine, int uCmdShow);

// Path of the batch interpreter, or empty when it cannot be found.
std::string BatchInterpreterPath();
