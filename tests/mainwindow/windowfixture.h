// A main window on five fixture folders and settings, a recorded sound side and boxes.
#pragma once

#include "common/tempconfig.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "settings/inistruct.h"

#include <QApplication>
#include <QTest>
#include <map>
#include <memory>

inline QApplication& App() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("test_mainwindow"), nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}
struct FakeSound : SoundPort {
    std::map<std::string, WaveFacts> files; // full path -> facts
    int nStops = 0;
    bool LoadSampleInfo(const char* szPath, WaveFacts& facts) override {
        const auto it = files.find(szPath);
        return it != files.end() && (facts = it->second, true);
    }
    void Stop() override { ++nStops; }
    bool IsActive() const override { return false; }
    void PlaybackBufferCycle(std::intptr_t, QObject*) override {}
};
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        for (const char* sub : {"orc", "sco", "src", "out", "ana"})
            std::filesystem::create_directories(Dir(sub));
    }
    std::string Dir(const std::string& sub) const { return config.root() + "/work/" + sub + "/"; }
    void File(const std::string& sub, const std::string& name) const {
        testutil::WriteFile(Dir(sub) + name, "x");
    }
    MainWindow& Open(int nShowAnalysis = 2, SoundPort* port = nullptr) {
        config.writeIni("[DIRECTORIES]\norcdir=" + Dir("orc") + "\nscoredir=" + Dir("sco") +
                        "\nssdir=" + Dir("src") + "\nsfdir=" + Dir("out") +
                        "\nsadir=" + Dir("ana") + "\n[PREFERENCES]\nshowanalysis=" +
                        std::to_string(nShowAnalysis) + "\n[WAVE]\nWaveOutDev=65537\n");
        window = std::make_unique<MainWindow>(port ? port : &sound);
        return *window;
    }
    FileListBox* List(int n) const { return window->hWndListBox[static_cast<std::size_t>(n)]; }
    QStringList Items(int n) const {
        QStringList out;
        for (int i = 0; i < List(n)->count(); ++i)
            out << QString::fromStdString(List(n)->Name(i));
        return out;
    }
    QStringList Status() const {
        QStringList out;
        for (int i = 0; i < 6; ++i)
            out << window->hWndStatus->Text(i);
        return out;
    }
    void Paint() const { window->grab(); } // as the screen would
    void Select(int n, const std::string& name) const {
        List(n)->setCurrentRow(static_cast<int>(Items(n).indexOf(QString::fromStdString(name))));
    }
    void DoubleClick(int n) const {
        SendMessage(window.get(), WM_COMMAND, MakeCommandParam(unsigned(n), LBN_DBLCLK), 0);
    }
    TempConfig config;
    FakeSound sound;
    testutil::BoxAnswerer boxes;
    std::unique_ptr<MainWindow> window;
};
