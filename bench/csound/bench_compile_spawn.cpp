// Time from the Compile command to the Csound process existing, against a
// bare posix_spawn of the same program with the same arguments in the same
// run. The wait for each Csound to finish is left out of both timings.
// With a display, the same through the desktop's terminal and our console
// helper, and the delay from Csound's exit to the refresh of the lists. And
// the Compile of a .csd against that of the same piece as .orc and .sco.
#include "csound/compile.h"
#include "csound/perfcmd.h"
#include "platform/messagebox.h"
#include "platform/process/spawn.h"
#include "settings/ini.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

struct NullWindow : csound::CompileWindow {
    void SetRunWatchTimer() override {}
    void KillRunWatchTimer() override {}
    void RefreshLists() override { refreshed = Clock::now(); }
    Clock::time_point refreshed;
};

std::string savedDisplay;

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
        if (const char* d = std::getenv("DISPLAY"))
            savedDisplay = d;
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::filesystem::create_directories(root + "/out");
        std::ofstream(root + "/t.orc") << "sr = 44100\nksmps = 100\nnchnls = 1\n0dbfs = 1\n"
                                          "instr 1\na1 oscili 0.5, 440\nout a1\nendin\n";
        std::ofstream(root + "/t.sco") << "i1 0 0.1\ne\n";
        std::ofstream(root + "/t.csd")
            << "<CsoundSynthesizer>\n<CsOptions>\n-odac\n</CsOptions>\n<CsInstruments>\n"
               "sr = 44100\nksmps = 100\nnchnls = 1\n0dbfs = 1\n"
               "instr 1\na1 oscili 0.5, 440\nout a1\nendin\n</CsInstruments>\n"
               "<CsScore>\ni1 0 0.1\ne\n</CsScore>\n</CsoundSynthesizer>\n";
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

// The render's argument list, as posix_spawn takes it.
struct CsoundArgv {
    explicit CsoundArgv(const INISTRUCT& ini) : args(perf::MakeCommandLine(ini).args) {
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
    }
    std::vector<std::string> args;
    std::vector<char*> argv;
};

Setup& setup() {
    static Setup s;
    return s;
}

// The shared setup, or null with the benchmark skipped when csound is not installed.
Setup* setupWithCsound(benchmark::State& state) {
    Setup& s = setup();
    if (s.ini.szCsoundPath[0] != '\0')
        return &s;
    state.SkipWithError("csound is not installed");
    return nullptr;
}

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// The time of one Compile, from the call until it returns with the Csound
// process running; the run is then waited for outside the timing. Negative,
// with the benchmark marked failed, when nothing was started.
double TimedCompile(csound::CompileRun& run, const INISTRUCT& ini, benchmark::State& state) {
    const auto t0 = Clock::now();
    run.Compile(ini);
    const double took = micros(Clock::now() - t0);
    if (!run.IsRunning()) {
        state.SkipWithError("Compile started nothing");
        return -1;
    }
    while (run.IsRunning()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        run.OnTimer(csound::IDT_RUNWATCH);
    }
    return took;
}

// One iteration: a Compile (until the call returns, when the Csound process
// exists: posix_spawn returns only after the exec has succeeded), then a bare
// posix_spawn of the same argument list. Interleaving the two keeps the
// machine's load the same for both. The ratio is compile / bare.
void BM_CompileVersusBareSpawn(benchmark::State& state) {
    Setup* ready = setupWithCsound(state);
    if (!ready)
        return;
    Setup& s = *ready;
    NullWindow window;
    csound::CompileRun run(window);
    CsoundArgv render(s.ini);
    std::vector<char*>& argv = render.argv;
    double compileTotal = 0, bareTotal = 0;
    for (auto _ : state) {
        const double compiled = TimedCompile(run, s.ini, state);
        if (compiled < 0)
            break;
        compileTotal += compiled;

        pid_t pid = 0;
        const auto t0 = Clock::now();
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

namespace {
// One iteration: a Compile of t.csd and one of t.orc with t.sco, each timed
// from the call (the confirmation box is off, so this is the moment of its
// OK) until it returns with the Csound process running, and each run waited
// for outside the timing. Alternating keeps the load the same for both. The
// ratio is csd / orc and sco.
void BM_CsdVersusOrcSco(benchmark::State& state) {
    Setup* ready = setupWithCsound(state);
    if (!ready)
        return;
    Setup& s = *ready;
    NullWindow window;
    csound::CompileRun run(window);
    INISTRUCT csd = s.ini;
    set(csd.szOrc, "t.csd");
    csd.szScore[0] = '\0';
    double total[2] = {0, 0};
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i) {
            const double compiled = TimedCompile(run, i == 0 ? csd : s.ini, state);
            if (compiled < 0)
                return;
            total[i] += compiled;
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["csd_us"] = total[0] / n;
    state.counters["orc_sco_us"] = total[1] / n;
    state.counters["ratio"] = total[0] / total[1];
}
BENCHMARK(BM_CsdVersusOrcSco)->Unit(benchmark::kMillisecond)->Iterations(40);

// The pid of a running Csound, or 0.
pid_t findCsound() {
    pid_t found = 0;
    if (DIR* proc = opendir("/proc")) {
        while (dirent* e = readdir(proc)) {
            const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
            if (pid <= 0)
                continue;
            std::ifstream comm(std::string("/proc/") + e->d_name + "/comm");
            std::string name;
            if (std::getline(comm, name) && name == "csound") {
                found = pid;
                break;
            }
        }
        closedir(proc);
    }
    return found;
}

// One iteration: a Compile on the display, timed until Csound runs inside
// the terminal, then watched by the run watch's 750 ms period until the lists
// refresh; then the same terminal started by hand on Csound, and a bare
// posix_spawn of Csound. Ratios: console start / bare, console start / the
// terminal by hand (what the helper and the watch add to the terminal's own
// start).
void BM_ConsoleCompile(benchmark::State& state) {
    Setup& s = setup();
    if (s.ini.szCsoundPath[0] == '\0' || savedDisplay.empty() ||
        (FindProgram("x-terminal-emulator").empty() && FindProgram("xterm").empty())) {
        state.SkipWithError("needs csound, a display and a terminal");
        return;
    }
    setenv("DISPLAY", savedDisplay.c_str(), 1);
    NullWindow window;
    csound::CompileRun run(window);
    CsoundArgv render(s.ini);
    std::vector<char*>& argv = render.argv;
    std::string terminal = FindProgram("x-terminal-emulator");
    if (terminal.empty())
        terminal = FindProgram("xterm");
    std::string dashE = "-e";
    std::vector<char*> byHand{terminal.data(), dashE.data()};
    byHand.insert(byHand.end(), argv.begin(), argv.end());
    double startTotal = 0, bareTotal = 0, refreshTotal = 0, refreshMax = 0, handTotal = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        run.Compile(s.ini);
        pid_t csound = 0;
        while (!(csound = findCsound()) && Clock::now() - t0 < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto started = Clock::now();
        if (!csound) {
            state.SkipWithError("csound never started in the terminal");
            break;
        }
        startTotal += micros(started - t0);
        while (std::filesystem::exists("/proc/" + std::to_string(csound)))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto ended = Clock::now();
        for (auto tick = t0; run.IsRunning();) {
            tick += std::chrono::milliseconds(750);
            std::this_thread::sleep_until(tick);
            run.OnTimer(csound::IDT_RUNWATCH);
        }
        const double delay = micros(window.refreshed - ended);
        refreshTotal += delay;
        refreshMax = std::max(refreshMax, delay);

        pid_t pid = 0;
        auto t1 = Clock::now();
        if (posix_spawn(&pid, byHand[0], nullptr, nullptr, byHand.data(), environ) == 0) {
            pid_t hand = 0;
            while (!(hand = findCsound()) && Clock::now() - t1 < std::chrono::seconds(10))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            handTotal += micros(Clock::now() - t1);
            while (hand && std::filesystem::exists("/proc/" + std::to_string(hand)))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            int st = 0;
            waitpid(pid, &st, 0);
        }

        t1 = Clock::now();
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("posix_spawn failed");
            break;
        }
        bareTotal += micros(Clock::now() - t1);
        int st = 0;
        waitpid(pid, &st, 0);
    }
    unsetenv("DISPLAY");
    const double n = static_cast<double>(state.iterations());
    state.counters["console_start_us"] = startTotal / n;
    state.counters["bare_spawn_us"] = bareTotal / n;
    state.counters["terminal_by_hand_us"] = handTotal / n;
    state.counters["ratio"] = startTotal / bareTotal;
    state.counters["ratio_to_terminal"] = startTotal / handTotal;
    state.counters["exit_to_refresh_ms"] = refreshTotal / n / 1000;
    state.counters["exit_to_refresh_max_ms"] = refreshMax / 1000;
}
BENCHMARK(BM_ConsoleCompile)->Unit(benchmark::kMillisecond)->Iterations(8);
} // namespace
