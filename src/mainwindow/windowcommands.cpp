#include "mainwindow/windowcommands.h"

#include "audio/cdac32.h"
#include "audio/sampmmio.h"
#include "audio/soundinfo.h"
#include "dialogs/analysis.h"
#include "dialogs/small/filedlg.h"
#include "dialogs/small/smalldialogs.h"
#include "dialogs/tab.h"
#include "mainwindow/bitobj.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/process/launcher.h"
#include "platform/sound/wavedev.h"
#include "settings/ini.h"

namespace {
// Every menu command id but Compile, whose handler is the run watch's. The
// window maps each skin button to one of them.
template <class F> void ForEachCommand(F f) {
    for (int nId = CM_FILENEW; nId <= CM_DELETEANALYSIS; ++nId)
        if (nId != CM_COMPILE)
            f(nId);
}
} // namespace

WindowCommands::WindowCommands(MainWindow& window, CdacSound* sound)
    : startProgram([](const std::string& s) { return WinExec(s.c_str(), SW_SHOWNORMAL); }),
      m_window(window), m_sound(sound), m_commands(*this, IniStruct) {
    PopFileInitialize(&m_window);
    ForEachCommand([this](int nId) {
        m_window.SetCommandHandler(nId, [this, nId] { m_commands.OnCommand(nId); });
    });
    m_window.SetListDoubleClickHandler([this](int nList) { m_commands.OnListDoubleClick(nList); });
}

WindowCommands::~WindowCommands() {
    // No handler may outlive this object; Exit goes back to plain closing.
    ForEachCommand([this](int nId) { m_window.SetCommandHandler(nId, {}); });
    m_window.SetCommandHandler(CM_EXIT, [w = &m_window] { w->close(); });
    m_window.SetListDoubleClickHandler({});
}

bool WindowCommands::ListSelection(int nList, std::string* szName) {
    const FileListBox* lb = m_window.hWndListBox[static_cast<std::size_t>(nList)];
    const int nRow = lb->CurSel();
    if (nRow < 0)
        return false;
    *szName = lb->Name(nRow);
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
    return m_sound ? waveOutGetNumDevs() : 0;
}

namespace {
// The playback record: this window's engine owner, the path, eight buffers of
// one second, and the device and format the window keeps.
CDAC::dac_init PlaybackRecord(const MainWindow& w, WaveOwner* owner, const char* szPath) {
    CDAC::dac_init d;
    d.hWnd = owner;
    d.lpszFileName = szPath;
    d.wWaveDeviceId = w.dacinit.wWaveDeviceId;
    d.dwSampleRate = w.dacinit.dwSampleRate;
    d.wNchnls = w.dacinit.wNchnls;
    d.wBits = w.dacinit.wBits;
    d.wTotalDacBuffers = 8;
    d.wDacBuffersPerSec = 1;
    return d;
}
} // namespace

std::string WindowCommands::UnplayableReason(const std::string& szPath) {
    // A file the reader rejects (as its selection did) is never handed on.
    SampMmio reader;
    WAVEINFO info;
    std::uint64_t qwFrames = 0;
    if (!LoadSoundInfo(&reader, &info, szPath.c_str(), &qwFrames))
        return "it is not a WAV file that can be read.";
    PlayPlan plan;
    return PlaybackFormatReason(PlaybackRecord(m_window, nullptr, szPath.c_str()), &plan);
}

void WindowCommands::StartPlayback(const std::string& szPath) {
    m_szPlaying = szPath;
    const CDAC::dac_init d = PlaybackRecord(m_window, &m_sound->owner, m_szPlaying.c_str());
    m_sound->cdac.InitPlayback(d);
    m_sound->cdac.PrimePlaybackFile();
    m_sound->cdac.StartPlayback(&m_sound->owner);
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
