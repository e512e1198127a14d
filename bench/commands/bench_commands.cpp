// Time from a double-click on a sound file to its first buffers queued at
// the device, through the real window and its commands, against starting
// the engine directly on the same file, in the same run (null wave device,
// so the figure is the program's own work, not the sound server's).
#include "audio/cdac32.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/runwatch.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/windowcommands.h"
#include "mainwindow/winmsg.h"
#include "platform/messagebox.h"

#include "menuids.h"
#include "settings/ini.h"

#include "mainwindow/filelistbox.h"
#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

void UseNullWaveDevice(bool bNull);

namespace {
using Clock = std::chrono::steady_clock;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_commands";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A 16-bit stereo WAV of n bytes of silence.
void WriteWav(const std::string& path, std::uint32_t n) {
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&f](std::uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&f](std::uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f << "RIFF";
    u32(36 + n);
    f << "WAVEfmt ";
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(176400);
    u16(4);
    u16(16);
    f << "data";
    u32(n);
    std::vector<char> zeros(n);
    f.write(zeros.data(), n);
}

void BM_DoubleClickToFirstBuffer_vs_EngineStart(benchmark::State& state) {
    App();
    UseNullWaveDevice(true);
    char tmpl[] = "/tmp/bench-commands.XXXXXX";
    const std::string root = ::mkdtemp(tmpl);
    ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    const std::string out = root + "/out/";
    std::filesystem::create_directories(out);
    std::filesystem::create_directories(root + "/tonsmith");
    std::ofstream(root + "/tonsmith/tk3.ini") << "[DIRECTORIES]\nsfdir=" << out << "\n";
    WriteWav(out + "mix.wav", 176400 * 20);
    SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });

    CdacSound sound;
    MainWindow window(&sound);
    sound.SetWindow(&window);
    WindowCommands commands(window, &sound);
    window.hWndListBox[3]->setCurrentRow(0);
    const std::string path = out + "mix.wav";
    CDAC::dac_init d;
    d.hWnd = &sound.owner;
    d.lpszFileName = path.c_str();
    d.dwSampleRate = 44100;
    d.wNchnls = 2;
    d.wBits = 16;
    d.wTotalDacBuffers = 8;
    d.wDacBuffersPerSec = 1;

    Clock::duration tClick{}, tEngine{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        SendMessage(&window, WM_COMMAND, MakeCommandParam(3, LBN_DBLCLK), 0);
        tClick += Clock::now() - t0;
        state.PauseTiming();
        window.WndProc(0x0204, 0, 0); // right button: stop
        QCoreApplication::processEvents();
        state.ResumeTiming();

        t0 = Clock::now();
        sound.cdac.InitPlayback(d);
        sound.cdac.PrimePlaybackFile();
        sound.cdac.StartPlayback(&sound.owner);
        tEngine += Clock::now() - t0;
        state.PauseTiming();
        sound.Stop();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["click_ms"] = std::chrono::duration<double, std::milli>(tClick).count() / n;
    state.counters["engine_ms"] = std::chrono::duration<double, std::milli>(tEngine).count() / n;
    state.counters["ratio_click_to_engine"] =
        std::chrono::duration<double>(tClick) / std::chrono::duration<double>(tEngine);
    SetMessageBoxHandler({});
    sound.SetWindow(nullptr);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_DoubleClickToFirstBuffer_vs_EngineStart)
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// The Compile click, through the window's dispatch, the command line and the
// launcher, until the started process exists; against a bare posix_spawn of
// the same program. The program is /usr/bin/true, so the figure is ours.
void BM_CompileClickToProcess_vs_PosixSpawn(benchmark::State& state) {
    App();
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    char tmpl[] = "/tmp/bench-compile.XXXXXX";
    const std::string root = ::mkdtemp(tmpl);
    ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    for (const char* d : {"orc", "sco", "src", "out", "ana", "tonsmith"})
        std::filesystem::create_directories(root + "/" + d);
    std::ofstream(root + "/orc/a.orc") << "";
    std::ofstream(root + "/sco/a.sco") << "";
    std::ofstream(root + "/tonsmith/tk3.ini")
        << "[DIRECTORIES]\norcdir=" << root << "/orc/\nscoredir=" << root << "/sco/\nssdir=" << root
        << "/src/\nsfdir=" << root << "/out/\nsadir=" << root
        << "/ana/\n[PREFERENCES]\ncsoundver=2\nshowcmdline=1\n[CSOUND]\ncsound "
           "path=/usr/bin/true\n";
    SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });
    MainWindow window(nullptr);
    RunWatch runWatch(window);
    WindowCommands commands(window, nullptr);
    window.grab(); // the first orchestra and score become current

    Clock::duration tClick{}, tSpawn{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        SendMessage(&window, WM_COMMAND, unsigned(CM_COMPILE), 0);
        tClick += Clock::now() - t0;
        if (!runWatch.Run().IsRunning())
            state.SkipWithError("the compile started nothing");

        char prog[] = "/usr/bin/true";
        char* argv[] = {prog, nullptr};
        pid_t pid = 0;
        t0 = Clock::now();
        ::posix_spawn(&pid, prog, nullptr, nullptr, argv, environ);
        tSpawn += Clock::now() - t0;
        state.PauseTiming();
        ::waitpid(pid, nullptr, 0);
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["click_ms"] = std::chrono::duration<double, std::milli>(tClick).count() / n;
    state.counters["spawn_ms"] = std::chrono::duration<double, std::milli>(tSpawn).count() / n;
    state.counters["ratio_click_to_spawn"] =
        std::chrono::duration<double>(tClick) / std::chrono::duration<double>(tSpawn);
    SetMessageBoxHandler({});
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_CompileClickToProcess_vs_PosixSpawn)->Iterations(50)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
