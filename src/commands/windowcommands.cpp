#include "commands/windowcommands.h"

#include "dialogs/analysis.h"
#include "dialogs/small/filedlg.h"
#include "dialogs/small/smalldialogs.h"
#include "dialogs/tab.h"
#include "mainwindow/bitobj.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/launcher.h"
#include "settings/ini.h"

#include <QListWidget>

namespace {
// The menu commands; the window maps each skin button to one of them.
constexpr int aCommandIds[] = {
    CM_FILENEW,     CM_NEWORC,           CM_NEWSCO,    CM_RENAMESCO,   CM_RENAMEORC,
    CM_RENAMESOUND, CM_DELETEORC,        CM_DELETESCO, CM_DELETESOUND, CM_PREFERENCES,
    CM_WAVEDEVICES, CM_SELECTCSOUND,     CM_EXIT,      CM_ABOUT,       CM_SELECTWAVEEDITOR,
    CM_CALLEDITOR,  CM_SELECTTEXTEDITOR, CM_ANALYSIS,  CM_COMPILE,     CM_DELETEANALYSIS,
};
} // namespace

WindowCommands::WindowCommands(MainWindow& window, CdacSound* sound)
    : startProgram([](const std::string& s) { return WinExec(s.c_str(), SW_SHOWNORMAL); }),
      m_window(window), m_sound(sound), m_commands(*this, IniStruct),
      m_compile(std::make_unique<csound::CompileRun>(static_cast<csound::CompileWindow&>(*this))) {
    PopFileInitialize(&m_window);
    for (int nId : aCommandIds)
        m_window.SetCommandHandler(nId, [this, nId] { m_commands.OnCommand(nId); });
    m_window.SetListDoubleClickHandler([this](int nList) { m_commands.OnListDoubleClick(nList); });
    m_window.SetRunWatchHandler([this] { m_compile->OnTimer(csound::IDT_RUNWATCH); });
}

WindowCommands::~WindowCommands() {
    // No handler may outlive this object; Exit goes back to plain closing.
    for (int nId : aCommandIds)
        m_window.SetCommandHandler(nId, {});
    m_window.SetCommandHandler(CM_EXIT, [w = &m_window] { w->close(); });
    m_window.SetListDoubleClickHandler({});
    m_window.SetRunWatchHandler({});
}

bool WindowCommands::ListSelection(int nList, std::string* szName) {
    const QListWidget* lb = m_window.hWndListBox[static_cast<std::size_t>(nList)];
    const auto selected = lb->selectedItems();
    if (selected.isEmpty())
        return false;
    // The listed name's own bytes, whatever their encoding.
    *szName = selected.first()->data(Qt::UserRole).toByteArray().toStdString();
    return true;
}

void WindowCommands::RefreshLists() {
    SendMessage(&m_window, WM_REFRESHLISTS, 0, 0);
}

void WindowCommands::StatusBarRefresh() {
    m_window.StatusBarRefresh();
}

unsigned WindowCommands::StartProgram(const std::string& szCmdLine) {
    return startProgram(szCmdLine);
}

bool WindowCommands::PlaybackBusy() {
    return m_sound && m_sound->IsActive();
}

unsigned WindowCommands::WaveOutDeviceCount() {
    return m_sound ? ::WaveOutDeviceCount() : 0;
}

CdacSound::Kept WindowCommands::Kept() const {
    return {m_window.dacinit.wWaveDeviceId, m_window.dacinit.dwSampleRate, m_window.dacinit.wNchnls,
            m_window.dacinit.wBits};
}

std::string WindowCommands::UnplayableReason(const std::string& szPath) {
    return m_sound->UnplayableReason(szPath.c_str(), Kept());
}

void WindowCommands::StartPlayback(const std::string& szPath) {
    // The engine keeps the name until it has primed, within this call.
    m_sound->StartPlayback(szPath.c_str(), Kept());
}

void WindowCommands::StopPlayback() {
    if (m_sound)
        m_sound->StopPlayback();
}

void WindowCommands::Compile() {
    m_compile->Compile(IniStruct);
}

void WindowCommands::OpenPreferences() {
    ::OpenPreferences(&m_window, &IniStruct, [this] { RefreshLists(); });
}

void WindowCommands::OpenAnalysis() {
    ::OpenAnalysis(&m_window, &IniStruct, [this] { RefreshLists(); });
}

void WindowCommands::Exit() {
    m_window.close();
}

void WindowCommands::NewFileDialog(bool bScore, char* szNewFile) {
    RunNewFileDialog(&m_window, bScore, szNewFile);
}

void WindowCommands::RenameDialog(int nrenameswitch, const std::string& szOldName) {
    RunRenameDialog(&m_window, IniStruct, nrenameswitch, szOldName, [this] { RefreshLists(); });
}

void WindowCommands::WaveDevicesDialog() {
    RunWaveDevDialog(&m_window, &m_window.dacinit.wWaveDeviceId);
}

void WindowCommands::SelectCsoundDialog() {
    RunSelectCsndDialog(&m_window, IniStruct);
}

void WindowCommands::AboutDialog() {
    const bool bSkin = m_window.boBitmap && m_window.boBitmap->IsValid();
    RunAboutDialog(&m_window, bSkin ? &m_window.boBitmap->Image() : nullptr);
}

int WindowCommands::FileOpenDialog(char* lpstrFileName, std::size_t nSize, char* lpstrTitleName,
                                   std::size_t nTitleSize) {
    return PopFileOpenDlg(&m_window, lpstrFileName, nSize, lpstrTitleName, nTitleSize);
}

void WindowCommands::SetRunWatchTimer() {
    SetTimer(&m_window, csound::IDT_RUNWATCH, csound::RUNWATCH_PERIOD_MS);
}

void WindowCommands::KillRunWatchTimer() {
    KillTimer(&m_window, csound::IDT_RUNWATCH);
}
