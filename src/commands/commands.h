// Everything the user can ask of the main window: the menu commands, the
// skin buttons that stand for them, the double-click on a list entry and the
// right-button stop. The window is reached only through CommandWindow, so
// the commands run with a fake window in tests.
//
// Wiring into the main window: the window implements CommandWindow and owns
// one Commands; its single dispatcher calls OnCommand with the command id of
// every menu item and skin button (skin button ids are accepted too), the
// double-click notification of list n calls OnListDoubleClick(n), and a right
// button press calls OnRightButton.
#pragma once

#include "settings/inistruct.h"

#include <cstddef>
#include <string>

// Menu command ids.
enum : int {
    IDM_FILENEW = 24331,
    IDM_NEWORC = 24332,
    IDM_NEWSCO = 24333,
    IDM_RENAMESCO = 24334,
    IDM_RENAMEORC = 24335,
    IDM_RENAMESOUND = 24336,
    IDM_DELETEORC = 24337,
    IDM_DELETESCO = 24338,
    IDM_DELETESOUND = 24339,
    IDM_PREFERENCES = 24340,
    IDM_WAVEDEVICES = 24341,
    IDM_SELECTCSOUND = 24342,
    IDM_EXIT = 24343,
    IDM_ABOUT = 24344,
    IDM_SELECTWAVEEDITOR = 24345,
    IDM_CALLEDITOR = 24346,
    IDM_SELECTTEXTEDITOR = 24347,
    IDM_ANALYSIS = 24348,
    IDM_COMPILE = 24349,
    IDM_DELETEANALYSIS = 24350,
};

// The menu command a skin button stands for (other ids unchanged).
int CommandOfButton(int nId);

class CommandWindow {
public:
    virtual ~CommandWindow() = default;

    // The text of the selected entry of list nList (0 to 4); false when the
    // list has no selection.
    virtual bool ListSelection(int nList, std::string* szName) = 0;
    // WM_REFRESHLISTS: refill the five lists.
    virtual void RefreshLists() = 0;
    virtual void StatusBarRefresh() = 0;
    // Starts a program from its command text, not waiting for it (WinExec);
    // greater than 31 when it started.
    virtual unsigned StartProgram(const std::string& szCmdLine) = 0;

    // Playback. Busy while playing or draining its last buffers.
    virtual bool PlaybackBusy() = 0;
    virtual unsigned WaveOutDeviceCount() = 0;
    // Why the file cannot be played, or "" when it can.
    virtual std::string UnplayableReason(const std::string& szPath) = 0;
    // Fills the playback record (this window, the path, 8 buffers of one
    // second each; device and format as kept) and starts the engine.
    virtual void StartPlayback(const std::string& szPath) = 0;
    virtual void StopPlayback() = 0;

    // The other parts the commands open.
    virtual void Compile() = 0;
    virtual void OpenPreferences() = 0;
    virtual void OpenAnalysis() = 0;
    virtual void Exit() = 0;

    // The small modal dialogs.
    // New Orchestra / New Score: the typed name into szNewFile (256 bytes).
    virtual void NewFileDialog(bool bScore, char* szNewFile) = 0;
    virtual void RenameDialog(int nrenameswitch, const std::string& szOldName) = 0;
    virtual void WaveDevicesDialog() = 0;
    virtual void SelectCsoundDialog() = 0;
    virtual void AboutDialog() = 0;
    // The open-file dialog on a buffer of nSize bytes; non-zero when picked.
    virtual int FileOpenDialog(char* lpstrFileName, std::size_t nSize, char* lpstrTitleName,
                               std::size_t nTitleSize) = 0;
};

class Commands {
public:
    Commands(CommandWindow& window, INISTRUCT& ini) : m_window(window), m_ini(ini) {}

    // WM_COMMAND from a menu item or a skin button; false for an id that is
    // no command (the window passes it on).
    bool OnCommand(int nId);
    // LBN_DBLCLK of list nList.
    void OnListDoubleClick(int nList);
    // WM_RBUTTONDOWN.
    void OnRightButton() { m_window.StopPlayback(); }

    // The text editor on an orchestra (wParam 0) or a score (1); returns 1.
    int ShellEditor(const std::string& szFileName, unsigned wParam);

    // State kept between commands.
    char szNewFile[256] = {};
    int nrenameswitch = 0;
    char szChosenFile[127] = {};
    char szTitle[32] = {};

private:
    void NewFile(bool bScore);
    void RenameOrcOrScore(int nList);
    void RenameSound();
    void Delete(int nId);
    void SelectEditor(bool bText);
    void CallEditor();
    void Analysis();
    void Play(int nList);
    void Start(const std::string& szCmdLine);
    // The Source selection, else the Output one: its list, or -1.
    int SoundSelection(std::string* szName);

    CommandWindow& m_window;
    INISTRUCT& m_ini;
};
