// A main window on a fixture workspace: five folders, a settings file in a
// temporary configuration folder, a recorded sound side and message boxes.
#pragma once

#include "common/tempconfig.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "test_mainwindow";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

struct FakeSound : SoundPort {
    std::map<std::string, WaveFacts> files; // full path -> facts
    int nStops = 0;
    int nCycles = 0;
    bool bActive = false;
    std::intptr_t lastHeader = 0;

    bool LoadSampleInfo(const char* szPath, WaveFacts& facts) override {
        const auto it = files.find(szPath);
        if (it == files.end())
            return false;
        facts = it->second;
        return true;
    }
    void StopPlayback() override {
        ++nStops;
        bActive = false;
    }
    bool IsActive() const override { return bActive; }
    void PlaybackBufferCycle(std::intptr_t lParam, QObject*) override {
        ++nCycles;
        lastHeader = lParam;
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        for (const char* sub : {"orc", "sco", "src", "out", "ana"})
            std::filesystem::create_directories(Dir(sub));
    }
    void TearDown() override { window.reset(); }

    std::string Dir(const std::string& sub) const { return config.root() + "/work/" + sub + "/"; }
    void File(const std::string& sub, const std::string& name) const {
        std::ofstream(Dir(sub) + name) << "x";
    }
    void Settings(int nShowAnalysis = 2) const {
        config.writeIni("[DIRECTORIES]\norcdir=" + Dir("orc") + "\nscoredir=" + Dir("sco") +
                        "\nssdir=" + Dir("src") + "\nsfdir=" + Dir("out") +
                        "\nsadir=" + Dir("ana") + "\n[PREFERENCES]\nshowanalysis=" +
                        std::to_string(nShowAnalysis) + "\n[WAVE]\nWaveOutDev=65537\n");
    }
    MainWindow& Open(int nShowAnalysis = 2) {
        Settings(nShowAnalysis);
        window = std::make_unique<MainWindow>(&sound);
        return *window;
    }
    FileListBox* List(int n) const { return window->hWndListBox[static_cast<std::size_t>(n)]; }
    QStringList Items(int n) const {
        QStringList out;
        for (int i = 0; i < List(n)->count(); ++i)
            out << List(n)->Text(i);
        return out;
    }
    QStringList Status() const {
        QStringList out;
        for (int i = 0; i < 6; ++i)
            out << window->hWndStatus->Text(i);
        return out;
    }
    // Paints the window once, as the screen would.
    void Paint() const { window->grab(); }
    void Select(int n, const QString& name) const {
        const int nRow = List(n)->FindRow(name);
        ASSERT_GE(nRow, 0) << name.toStdString();
        List(n)->setCurrentRow(nRow);
    }
    void Command(int nId) const { SendMessage(window.get(), WM_COMMAND, unsigned(nId), 0); }
    void DoubleClick(int n) const {
        SendMessage(window.get(), WM_COMMAND, MakeCommandParam(unsigned(n), LBN_DBLCLK), 0);
    }

    TempConfig config;
    FakeSound sound;
    testutil::BoxAnswerer boxes;
    std::unique_ptr<MainWindow> window;
};
