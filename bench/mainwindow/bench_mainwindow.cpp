// Start-up of the main window against a bare Qt window built the same way
// (whole processes, to the first paint, with their resident memory), and a
// full refresh of the five lists against a raw scan of the same folders.
#include "mainwindow/filelists.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "platform/files/dirscan.h"
#include "settings/ini.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
struct Workspace {
    std::string root;
    Workspace() {
        char tmpl[] = "/tmp/tonsmith-bench.XXXXXX";
        root = ::mkdtemp(tmpl);
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        if (!std::getenv("DISPLAY"))
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ~Workspace() { std::filesystem::remove_all(root); }
};

// Runs the probe to its first paint; returns its resident kB.
long RunProbe(const char* mode) {
    char* argv[] = {const_cast<char*>(PROBE_BINARY), const_cast<char*>(mode), nullptr};
    int pipefd[2];
    if (::pipe(pipefd) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipefd[0]);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, PROBE_BINARY, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipefd[1]);
    char buf[64] = {};
    const ssize_t n = rc == 0 ? ::read(pipefd[0], buf, sizeof buf - 1) : -1;
    ::close(pipefd[0]);
    int status = 0;
    if (rc == 0)
        ::waitpid(pid, &status, 0);
    return n > 0 ? std::atol(buf) : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Now() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The bare window and Tonsmith start in turn, so both meet the same load;
// the ratios are the medians of the pairs.
void BM_StartUpVersusBareWindow(benchmark::State& state) {
    Workspace ws;
    std::vector<double> times, memory;
    double bareMs = 0, mainMs = 0;
    long bareKb = 0, mainKb = 0;
    for (auto _ : state) {
        double t0 = Now();
        bareKb = RunProbe("bare");
        const double bare = Now() - t0;
        t0 = Now();
        mainKb = RunProbe("tonsmith");
        const double main = Now() - t0;
        state.SetIterationTime(main);
        times.push_back(main / bare);
        memory.push_back(static_cast<double>(mainKb) / static_cast<double>(bareKb));
        bareMs += bare * 1e3;
        mainMs += main * 1e3;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["bare_ms"] = bareMs / n;
    state.counters["tonsmith_ms"] = mainMs / n;
    state.counters["bare_kB"] = static_cast<double>(bareKb);
    state.counters["tonsmith_kB"] = static_cast<double>(mainKb);
    state.counters["time_ratio"] = Median(times);
    state.counters["memory_ratio"] = Median(memory);
}
BENCHMARK(BM_StartUpVersusBareWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(21);

// Five folders of nFiles files each, named for their lists.
struct BigWorkspace : Workspace {
    explicit BigWorkspace(int nFiles = 2000) {
        const char* subs[] = {"orc", "sco", "src", "out", "ana"};
        const char* exts[] = {".orc", ".sco", ".wav", ".wav", ".lpc"};
        std::string ini = "[DIRECTORIES]\n";
        const char* keys[] = {"orcdir", "scoredir", "ssdir", "sfdir", "sadir"};
        for (int i = 0; i < 5; ++i) {
            const std::string dir = root + "/" + subs[i] + "/";
            std::filesystem::create_directories(dir);
            for (int f = 0; f < nFiles; ++f)
                std::ofstream(dir + "file" + std::to_string(f) + exts[i]);
            ini += std::string(keys[i]) + "=" + dir + "\n";
        }
        std::filesystem::create_directories(root + "/tonsmith");
        std::ofstream(root + "/tonsmith/tk3.ini") << ini;
    }
};

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_mainwindow";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

std::size_t RawScan(const std::string& root) {
    std::size_t names = 0;
    for (const char* sub : {"orc", "sco", "src", "out", "ana"}) {
        DIR* d = ::opendir((root + "/" + sub).c_str());
        while (const dirent* e = ::readdir(d)) {
            benchmark::DoNotOptimize(e->d_name);
            ++names;
        }
        ::closedir(d);
    }
    return names;
}

// A full refresh of the five lists against a raw scan of the same folders,
// in turn; the argument is the files per folder.
void BM_RefreshVersusRawScan(benchmark::State& state) {
    BigWorkspace ws(static_cast<int>(state.range(0)));
    App();
    MainWindow window(nullptr);
    std::vector<double> ratios;
    double rawMs = 0, refreshMs = 0;
    for (auto _ : state) {
        double t0 = Now();
        benchmark::DoNotOptimize(RawScan(ws.root));
        const double raw = Now() - t0;
        t0 = Now();
        SendMessage(&window, WM_REFRESHLISTS, 0, 0);
        const double refresh = Now() - t0;
        state.SetIterationTime(refresh);
        ratios.push_back(refresh / raw);
        rawMs += raw * 1e3;
        refreshMs += refresh * 1e3;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["raw_ms"] = rawMs / n;
    state.counters["refresh_ms"] = refreshMs / n;
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_RefreshVersusRawScan)
    ->Arg(20)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
} // namespace

namespace {
void BM_ListEntriesFiveLists(benchmark::State& state) {
    BigWorkspace ws;
    INISTRUCT ini{};
    InitAppInto(ini);
    for (auto _ : state)
        for (int i = 0; i < 5; ++i)
            benchmark::DoNotOptimize(ListEntries(ini, i));
}
BENCHMARK(BM_ListEntriesFiveLists)->Unit(benchmark::kMillisecond);
} // namespace
