// Start-up of the main window against a bare Qt window built the same way
// (whole processes, to the first paint, with their resident memory), and a
// full refresh of the five lists against a raw scan of the same folders.
#include "mainwindow/filelists.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/winmsg.h"
#include "platform/dirscan.h"
#include "settings/ini.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

void StartUp(benchmark::State& state, const char* mode) {
    Workspace ws;
    long kb = 0;
    for (auto _ : state)
        kb = RunProbe(mode);
    state.counters["resident_kB"] = static_cast<double>(kb);
}
void BM_StartBareQtWindow(benchmark::State& state) {
    StartUp(state, "bare");
}
void BM_StartMainWindow(benchmark::State& state) {
    StartUp(state, "tonsmith");
}
BENCHMARK(BM_StartBareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Five folders of 2000 files each, named for their lists.
struct BigWorkspace : Workspace {
    BigWorkspace() {
        const char* subs[] = {"orc", "sco", "src", "out", "ana"};
        const char* exts[] = {".orc", ".sco", ".wav", ".wav", ".lpc"};
        std::string ini = "[DIRECTORIES]\n";
        const char* keys[] = {"orcdir", "scoredir", "ssdir", "sfdir", "sadir"};
        for (int i = 0; i < 5; ++i) {
            const std::string dir = root + "/" + subs[i] + "/";
            std::filesystem::create_directories(dir);
            for (int f = 0; f < 2000; ++f)
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

void BM_RawScanFiveFolders(benchmark::State& state) {
    BigWorkspace ws;
    for (auto _ : state) {
        std::size_t names = 0;
        for (const char* sub : {"orc", "sco", "src", "out", "ana"}) {
            DIR* d = ::opendir((ws.root + "/" + sub).c_str());
            while (const dirent* e = ::readdir(d)) {
                benchmark::DoNotOptimize(e->d_name);
                ++names;
            }
            ::closedir(d);
        }
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_RawScanFiveFolders)->Unit(benchmark::kMillisecond);

void BM_RefreshFiveLists(benchmark::State& state) {
    BigWorkspace ws;
    App();
    MainWindow window(nullptr);
    for (auto _ : state)
        SendMessage(&window, WM_REFRESHLISTS, 0, 0);
}
BENCHMARK(BM_RefreshFiveLists)->Unit(benchmark::kMillisecond);
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
