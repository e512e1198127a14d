// Time from the Compile command to the Csound process existing, against a
// bare posix_spawn of the same program with the same arguments in the same
// run. The wait for each Csound to finish is left out of both timings.
#include "csound/cmdline.h"
#include "csound/compile.h"
#include "csound/runargs.h"
#include "platform/messagebox.h"
#include "platform/spawn.h"
#include "settings/ini.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
struct NullWindow : csound::CompileWindow {
    void SetRunWatchTimer() override {}
    void KillRunWatchTimer() override {}
    void RefreshLists() override {}
};

template <std::size_t N> void set(char (&field)[N], const std::string& s) {
    std::snprintf(field, N, "%s", s.c_str());
}

// Working folders with a tiny orchestra and score, and a record to render them.
struct Setup {
    std::string root;
    INISTRUCT ini{};
    Setup() {
        char tmpl[] = "/tmp/tonsmith-bench-XXXXXX";
        root = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::filesystem::create_directories(root + "/out");
        std::ofstream(root + "/t.orc") << "sr = 44100\nksmps = 100\nnchnls = 1\n0dbfs = 1\n"
                                          "instr 1\na1 oscili 0.5, 440\nout a1\nendin\n";
        std::ofstream(root + "/t.sco") << "i1 0 0.1\ne\n";
        InitAppInto(ini);
        for (auto* d : {ini.szOrcDir, ini.szScoreDir, ini.szSSDIR, ini.szSADIR})
            std::snprintf(d, 127, "%s/", root.c_str());
        set(ini.szSFDIR, root + "/out/");
        set(ini.szOrc, "t.orc");
        set(ini.szScore, "t.sco");
        set(ini.szCsoundPath, FindProgram("csound"));
        ini.nShowCmdLine = 1;
        ini.nCSoundVer = 2;
        // Csound's own messages would drown the figures.
        SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });
    }
    ~Setup() { std::filesystem::remove_all(root); }
};

Setup& setup() {
    static Setup s;
    return s;
}

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// One iteration: a Compile (until the call returns, when the Csound process
// exists: posix_spawn returns only after the exec has succeeded), then a bare
// posix_spawn of the same argument list. Interleaving the two keeps the
// machine's load the same for both. The ratio is compile / bare.
void BM_CompileVersusBareSpawn(benchmark::State& state) {
    Setup& s = setup();
    if (s.ini.szCsoundPath[0] == '\0') {
        state.SkipWithError("csound is not installed");
        return;
    }
    NullWindow window;
    csound::CompileRun run(window);
    std::vector<std::string> args =
        csound::PerformanceArguments(s.ini, perf::MakeCommandLine(&s.ini));
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    double compileTotal = 0, bareTotal = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        run.Compile(s.ini);
        compileTotal += micros(Clock::now() - t0);
        if (!run.IsRunning()) {
            state.SkipWithError("Compile started nothing");
            break;
        }
        while (run.IsRunning()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            run.OnTimer(csound::IDT_RUNWATCH);
        }

        pid_t pid = 0;
        t0 = Clock::now();
        const int rc = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
        bareTotal += micros(Clock::now() - t0);
        if (rc != 0) {
            state.SkipWithError("posix_spawn failed");
            break;
        }
        int st = 0;
        waitpid(pid, &st, 0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["compile_us"] = compileTotal / n;
    state.counters["bare_spawn_us"] = bareTotal / n;
    state.counters["ratio"] = compileTotal / bareTotal;
}
BENCHMARK(BM_CompileVersusBareSpawn)->Unit(benchmark::kMillisecond)->Iterations(40);
} // namespace
