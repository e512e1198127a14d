// Connects the compile run to the main window: the Compile command (menu and
// first skin button) starts it, the window timer IDT_RUNWATCH (750 ms) polls
// it, and the end of the run refills the lists. The end of an analysis
// utility refills them as well.
#pragma once

#include "csound/compile.h"

class MainWindow;

class RunWatch : public csound::CompileWindow {
public:
    explicit RunWatch(MainWindow& window,
                      csound::ProcessStarter starter = csound::StartWithLauncher);
    ~RunWatch() override;
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;
    csound::CompileRun& Run() { return m_run; }

    void SetRunWatchTimer() override;
    void KillRunWatchTimer() override;
    void RefreshLists() override;

private:
    MainWindow& m_window;
    csound::CompileRun m_run;
};
