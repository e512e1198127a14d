// The compile run: renders the selected orchestra and score with Csound and
// watches the run until it ends.
//
// Integration with the main window: the window owns one CompileRun for the
// whole process and hands it an implementation of CompileWindow:
//   SetRunWatchTimer()  - start (or restart) the QTimer IDT_RUNWATCH, period
//                         RUNWATCH_PERIOD_MS (750 ms); on every timeout call
//                         OnTimer(IDT_RUNWATCH)
//   KillRunWatchTimer() - stop that timer
//   RefreshLists()      - refill the five file lists at once (WM_REFRESHLISTS,
//                         handled synchronously, before OnTimer returns)
// A run that ends with an exit code other than 0, or by a signal, is told in
// a message box once the lists are refilled; a good run says nothing.
// The menu's Compile command and the first skin button call Compile(IniStruct).
// Messages go through the MessageBox hook of platform/messagebox.h. Tests plug
// in a fake window, and may plug in a fake process starter.
#pragma once

#include "platform/process/launcher.h"
#include "settings/inistruct.h"

#include <functional>
#include <memory>
#include <string>

namespace csound {
// The window timer of the run watch; the main window takes its id from here.
inline constexpr int IDT_RUNWATCH = 69;
inline constexpr int RUNWATCH_PERIOD_MS = 750;
inline constexpr char szConsoleTitle[] = "Tonsmith running Csound";
inline constexpr char szCaption[] = "Tonsmith 3.3";

class CompileWindow {
public:
    virtual ~CompileWindow() = default;
    virtual void SetRunWatchTimer() = 0;
    virtual void KillRunWatchTimer() = 0;
    virtual void RefreshLists() = 0;
};

// The process under watch: its exit code, STILL_ACTIVE while it runs.
class WatchedProcess {
public:
    virtual ~WatchedProcess() = default;
    virtual unsigned long ExitCode() = 0;
    // The file that holds the program's output when no console shows it.
    virtual std::string OutputLog() const { return {}; }
    // Once, a sentence for the user about the run (a console given up).
    virtual std::string TakeNotice() { return {}; }
};

// What a failed run tells in its message box: the sentence the console ends
// with, and where the output can be read when no console showed it.
std::string FailedRunText(const std::string& program, unsigned long exitCode,
                          const std::string& outputLog);

// Starts the program of a request; 0 with *process set, or an errno value.
using ProcessStarter =
    std::function<int(const LaunchRequest& request, std::unique_ptr<WatchedProcess>* process)>;

// The real starter: the launcher of platform/process/launcher.h.
int StartWithLauncher(const LaunchRequest& request, std::unique_ptr<WatchedProcess>* process);

class CompileRun {
public:
    explicit CompileRun(CompileWindow& window, ProcessStarter starter = StartWithLauncher);

    // The Compile command, on the given settings (the window passes IniStruct).
    void Compile(const INISTRUCT& settings);
    // WM_TIMER: polls the run when idTimer is IDT_RUNWATCH, else does nothing.
    void OnTimer(int idTimer);

    // Running from a successful start until the first poll that sees the end.
    bool IsRunning() const { return m_process != nullptr; }
    // Where the batch script is written: TK3.bat in the configuration folder.
    static std::string ScriptPath();

private:
    bool writeScript(const INISTRUCT& ini, const std::vector<std::string>& args);
    bool checkDirectories(const INISTRUCT& ini);
    void setEnvironment(const INISTRUCT& ini);
    bool showNotice();

    CompileWindow& m_window;
    ProcessStarter m_starter;
    std::unique_ptr<WatchedProcess> m_process; // proc_inf of the newest run
    std::string m_program;                     // what the console runs, for the end message
};
} // namespace csound
