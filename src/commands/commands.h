// Everything the user can ask of the main window: the menu commands and the
// double-click on a list entry. The window is reached only through
// CommandWindow, so the commands run with a fake window in tests.
//
// Wiring into the main window: the window implements CommandWindow and owns
// one Commands; its dispatcher calls OnCommand with the menu command id of
// every menu item and skin button (CommandOfControl in menuids.h), and the
// double-click notification of list n calls OnListDoubleClick(n).
#pragma once

#include "menuids.h"
#include "settings/inistruct.h"

#include <cstddef>
#include <string>

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

    // The other parts the commands open (Compile is the run watch's).
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

    // WM_COMMAND of a menu command id; false for an id that is no command
    // (the window passes it on).
    bool OnCommand(int nId);
    // LBN_DBLCLK of list nList.
    void OnListDoubleClick(int nList);

private:
    void NewFile(bool bScore);
    void Rename(int nList);
    void Delete(int nList, const char* szWhat);
    void SelectEditor(bool bText);
    void CallEditor();
    void Analysis();
    void Play(int nList);
    // Starts the program of a command line; a failure is told.
    void Launch(const std::string& szCmdLine);
    // The list whose entry is selected, its name in szName: list nList, or
    // for 2 (a sound file) the Source list, else the Output one. When there
    // is none the user is told and the answer is -1.
    int Selection(int nList, std::string* szName);

    CommandWindow& m_window;
    INISTRUCT& m_ini;
    // The open-file dialog's last pick, which it starts from next time.
    char szChosenFile[127] = {};
    char szTitle[32] = {};
};
