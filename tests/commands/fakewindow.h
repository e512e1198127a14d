// A main window for the commands that records what it is asked and answers
// from prepared values.
#pragma once

#include "commands/commands.h"
#include "common/testutil.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using testutil::BoxAnswerer;

class FakeWindow : public CommandWindow {
public:
    std::array<std::optional<std::string>, 5> selection;
    int nRefreshes = 0, nStatusRefreshes = 0, nStops = 0;
    std::vector<std::string> started;
    unsigned nStartResult = 33;
    bool bBusy = false;
    unsigned nDevices = 1;
    std::string szUnplayable;
    std::vector<std::string> played;
    std::vector<std::string> opened; // dialogs and other parts, by name
    std::string szTypedName;         // what the New dialog's user types
    std::vector<std::pair<int, std::string>> renames;
    std::optional<std::string> picked; // what the open-file dialog's user picks

    bool ListSelection(int nList, std::string* szName) override {
        const auto& s = selection[static_cast<std::size_t>(nList)];
        if (s)
            *szName = *s;
        return s.has_value();
    }
    void RefreshLists() override { ++nRefreshes; }
    void StatusBarRefresh() override { ++nStatusRefreshes; }
    unsigned StartProgram(const std::string& szCmdLine) override {
        started.push_back(szCmdLine);
        return nStartResult;
    }
    bool PlaybackBusy() override { return bBusy; }
    unsigned WaveOutDeviceCount() override { return nDevices; }
    std::string UnplayableReason(const std::string&) override { return szUnplayable; }
    void StartPlayback(const std::string& szPath) override {
        played.push_back(szPath);
        bBusy = true;
    }
    void StopPlayback() override {
        ++nStops;
        bBusy = false;
    }
    void Compile() override { opened.push_back("Compile"); }
    void OpenPreferences() override { opened.push_back("Preferences"); }
    void OpenAnalysis() override { opened.push_back("Analysis"); }
    void Exit() override { opened.push_back("Exit"); }
    void NewFileDialog(bool bScore, char* szNewFile) override {
        opened.push_back(bScore ? "New Score" : "New Orchestra");
        std::strcpy(szNewFile, szTypedName.c_str());
    }
    void RenameDialog(int n, const std::string& szOld) override { renames.emplace_back(n, szOld); }
    void WaveDevicesDialog() override { opened.push_back("Wave Devices"); }
    void SelectCsoundDialog() override { opened.push_back("Select CSound Executable"); }
    void AboutDialog() override { opened.push_back("About"); }
    int FileOpenDialog(char* lpstrFileName, std::size_t nSize, char*, std::size_t) override {
        opened.push_back("Open");
        if (!picked || picked->size() >= nSize)
            return 0;
        std::strcpy(lpstrFileName, picked->c_str());
        return 1;
    }
};
