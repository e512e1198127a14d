#include "mainwindow/runwatch.h"

#include "csound/analysisrun.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"

RunWatch::RunWatch(MainWindow& window, csound::ProcessStarter starter)
    : m_window(window), m_run(*this, std::move(starter)) {
    m_window.SetCommandHandler(CM_COMPILE, [this] {
        if (!m_window.TellUnfitSelection())
            m_run.Compile(IniStruct);
    });
    m_window.SetRunWatchHandler([this] { m_run.OnTimer(csound::IDT_RUNWATCH); });
    // An analysis utility's end refills the lists too, before any failure is told.
    csound::SetAnalysisEndHandler([this] { RefreshLists(); });
}

RunWatch::~RunWatch() {
    csound::SetAnalysisEndHandler(nullptr);
}

void RunWatch::SetRunWatchTimer() {
    SetTimer(&m_window, IDT_RUNWATCH, csound::RUNWATCH_PERIOD_MS);
}

void RunWatch::KillRunWatchTimer() {
    KillTimer(&m_window, IDT_RUNWATCH);
}

void RunWatch::RefreshLists() {
    SendMessage(&m_window, WM_REFRESHLISTS, 0, 0);
}
