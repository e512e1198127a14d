#include "mainwindow/runwatch.h"

#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"

RunWatch::RunWatch(MainWindow& window, csound::ProcessStarter starter)
    : m_window(window), m_run(*this, std::move(starter)) {
    m_window.SetCommandHandler(CM_COMPILE, [this] { m_run.Compile(IniStruct); });
    m_window.SetRunWatchHandler([this] { m_run.OnTimer(csound::IDT_RUNWATCH); });
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
