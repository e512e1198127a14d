// The main window's side of its commands: the real lists, dialogs, launcher
// and playback engine behind CommandWindow, and the hand-over of
// every command id, the double-clicks and the run watch to them.
#pragma once

#include "commands/commands.h"

#include <functional>
#include <memory>
#include <string>

class CdacSound;
class MainWindow;

class WindowCommands : public CommandWindow {
public:
    // Installs itself in the window: every menu command id but Compile (the
    // run watch owns that one; the skin buttons reach the same handlers) and
    // the list double-click. sound may be null: then nothing plays.
    WindowCommands(MainWindow& window, CdacSound* sound);
    ~WindowCommands() override;

    // How programs are started (WinExec by default); tests record instead.
    std::function<unsigned(const std::string&)> startProgram;

    bool ListSelection(int nList, std::string* szName) override;
    void RefreshLists() override;
    void StatusBarRefresh() override;
    unsigned StartProgram(const std::string& szCmdLine) override;
    bool PlaybackBusy() override;
    unsigned WaveOutDeviceCount() override;
    std::string UnplayableReason(const std::string& szPath) override;
    void StartPlayback(const std::string& szPath) override;
    void OpenPreferences() override;
    void OpenAnalysis() override;
    void Exit() override;
    void NewFileDialog(bool bScore, char* szNewFile) override;
    void RenameDialog(int nrenameswitch, const std::string& szOldName) override;
    void WaveDevicesDialog() override;
    void SelectCsoundDialog() override;
    void AboutDialog() override;
    int FileOpenDialog(char* lpstrFileName, std::size_t nSize, char* lpstrTitleName,
                       std::size_t nTitleSize) override;

private:
    MainWindow& m_window;
    CdacSound* m_sound;
    Commands m_commands;
    std::string m_szPlaying; // the engine keeps the name until it has primed
};
