// Memory kept by repeated work through the real window: play and stop a
// sound file on the real sound device, and Preferences OK. Reports the
// growth of the resident set over the cycles after a warm-up; the window
// is expected to stay flat (well under 1 MB for 1,000 cycles).
#include "dialogs/controls.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/filelists.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/windowcommands.h"
#include "mainwindow/winmsg.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
long ResidentKb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (t.elapsed() < ms);
}

template <class Done> void PumpUntil(Done done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The window with its real sound engine and commands, in a private
// configuration folder with one short sound file in the Source list.
struct RealWindow {
    std::string root;
    CdacSound sound;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<WindowCommands> commands;

    RealWindow() {
        char tmpl[] = "/tmp/tonsmith-bench.XXXXXX";
        root = ::mkdtemp(tmpl);
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        if (!std::getenv("DISPLAY"))
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        std::filesystem::create_directories(root + "/src");
        std::filesystem::create_directories(root + "/tonsmith");
        std::ofstream(root + "/tonsmith/tk3.ini") << "[DIRECTORIES]\nssdir=" << root << "/src/\n";
        WriteWav(root + "/src/tick.wav");
        static int argc = 1;
        static char name[] = "bench_memory", *argv[] = {name, nullptr};
        static auto* app = new QApplication(argc, argv);
        (void)app;
        SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return IDOK; });
        InitApp(nullptr);
        window = std::make_unique<MainWindow>(&sound);
        sound.SetWindow(window.get());
        commands = std::make_unique<WindowCommands>(*window, &sound);
        window->show();
        Pump(50);
    }
    ~RealWindow() {
        commands.reset();
        sound.SetWindow(nullptr);
        window.reset();
        std::filesystem::remove_all(root);
    }
    // 50 ms of 16-bit stereo silence at 44.1 kHz.
    static void WriteWav(const std::string& path) {
        const unsigned nData = 4410 * 4 / 2;
        auto le = [](std::ofstream& o, unsigned v, int n) {
            for (int i = 0; i < n; ++i)
                o.put(static_cast<char>((v >> (8 * i)) & 0xFF));
        };
        std::ofstream o(path, std::ios::binary);
        o << "RIFF";
        le(o, 36 + nData, 4);
        o << "WAVEfmt ";
        le(o, 16, 4), le(o, 1, 2), le(o, 2, 2), le(o, 44100, 4), le(o, 44100 * 4, 4);
        le(o, 4, 2), le(o, 16, 2);
        o << "data";
        le(o, nData, 4);
        o << std::string(nData, '\0');
    }
    void PlayAndStop() {
        window->hWndListBox[LIST_SOURCE]->setCurrentRow(0);
        SendMessage(window.get(), WM_COMMAND, MakeCommandParam(LIST_SOURCE, LBN_DBLCLK), 0);
        PumpUntil([this] { return sound.IsActive(); }, 200);
        window->WndProc(WM_RBUTTONDOWN, 0, 0);
        PumpUntil([this] { return !sound.IsActive(); });
    }
    void PreferencesOk() {
        commands->OpenPreferences();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                if (auto* ok = qobject_cast<QAbstractButton*>(GetDlgItem(d, 100)))
                    ok->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

template <class Cycle> void Measure(benchmark::State& state, Cycle cycle) {
    RealWindow w;
    for (int i = 0; i < 50; ++i) // warm-up: caches, fonts, the first device
        cycle(w);
    Pump(100);
    const long before = ResidentKb();
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state)
        for (int i = 0; i < n; ++i)
            cycle(w);
    Pump(100);
    state.counters["rss_growth_kB"] = static_cast<double>(ResidentKb() - before);
    state.counters["cycles"] = static_cast<double>(n) * static_cast<double>(state.iterations());
}

void BM_PlayStopCycles(benchmark::State& state) {
    Measure(state, [](RealWindow& w) { w.PlayAndStop(); });
}
BENCHMARK(BM_PlayStopCycles)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PreferencesOkCycles(benchmark::State& state) {
    Measure(state, [](RealWindow& w) { w.PreferencesOk(); });
}
BENCHMARK(BM_PreferencesOkCycles)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
