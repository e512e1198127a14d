// Working folders, a WAV check and a driven run watch for the end-to-end
// tests of the compile run.
#pragma once

#include "compile_fakes.h"
#include "platform/spawn.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testutil {
using Clock = std::chrono::steady_clock;

inline const char* kOrchestra = "sr = 44100\nksmps = 10\nnchnls = 1\n0dbfs = 1\n"
                                "instr 1\na1 oscili 0.5, 440\nout a1\nendin\n";
inline const char* kScore = "i1 0 0.5\ne\n";

struct NoDisplay {
    EnvGuard display{"DISPLAY", std::nullopt};
    EnvGuard wayland{"WAYLAND_DISPLAY", std::nullopt};
};

// Working folders with awkward names, an orchestra and a score.
struct Work {
    TempDir root;
    INISTRUCT ini;
    explicit Work(const std::string& csound = FindProgram("csound"))
        : ini(ReadyRecord(root.path(), csound)) {
        Set(ini.szOrcDir, root / "orc dir ü/");
        Set(ini.szOrc, "tone; $(touch pwned).orc");
        Set(ini.szScoreDir, root / "sco`x`/");
        Set(ini.szScore, "tone \"q\".sco");
        Set(ini.szSFDIR, root / "out dir/");
        Set(ini.szSADIR, root / "ana dir/");
        for (const char* d : {"orc dir ü", "sco`x`", "out dir", "ana dir", "src"})
            std::filesystem::create_directories(root / d);
        WriteFile(root / "orc dir ü/tone; $(touch pwned).orc", kOrchestra);
        WriteFile(root / "sco`x`/tone \"q\".sco", kScore);
    }
    std::string output() const { return root / "out dir/test"; }
};

inline std::uint32_t le(const std::string& s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

// Checks a mono 16-bit 44100 Hz WAV of 0.5 s.
inline void expectHalfSecondWave(const std::string& path) {
    const std::string w = ReadFile(path);
    ASSERT_GE(w.size(), 44u) << path;
    EXPECT_EQ(w.substr(0, 4), "RIFF");
    EXPECT_EQ(w.substr(8, 4), "WAVE");
    std::size_t at = 12;
    std::uint32_t dataSize = 0;
    bool fmt = false;
    while (at + 8 <= w.size()) {
        const std::string id = w.substr(at, 4);
        const std::uint32_t size = le(w, at + 4, 4);
        if (id == "fmt ") {
            fmt = true;
            EXPECT_EQ(le(w, at + 8, 2), 1u);      // PCM
            EXPECT_EQ(le(w, at + 10, 2), 1u);     // channels
            EXPECT_EQ(le(w, at + 12, 4), 44100u); // rate
            EXPECT_EQ(le(w, at + 22, 2), 16u);    // bits
        }
        if (id == "data")
            dataSize = size;
        at += 8 + size + (size & 1);
    }
    EXPECT_TRUE(fmt);
    EXPECT_EQ(dataSize, 44100u); // 22050 frames of 2 bytes
}

// Our child processes right now.
inline std::set<int> ChildrenNow() {
    std::set<int> pids;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string stat = ReadFile(e.path().string() + "/stat");
        const std::size_t paren = stat.rfind(')');
        int ppid = 0;
        char state = 0;
        if (paren != std::string::npos &&
            std::sscanf(stat.c_str() + paren + 2, "%c %d", &state, &ppid) == 2 && ppid == getpid())
            pids.insert(std::stoi(name));
    }
    return pids;
}

// The child that was not there before (0 when none is).
inline int newChild(const std::set<int>& before) {
    for (int pid : ChildrenNow())
        if (!before.count(pid))
            return pid;
    return 0;
}

// Runs a program and returns what it printed (empty when it failed).
inline std::string RunCapture(std::vector<std::string> args) {
    args[0] = FindProgram(args[0]);
    if (args[0].empty())
        return {};
    TempDir dir;
    const std::string out = dir / "out";
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0)
        return {};
    int st = 0;
    waitpid(pid, &st, 0);
    return ReadFile(out);
}

struct RunTiming {
    double endToRefresh = -1; // seconds from the process's end to the refresh
    bool refreshed = false;
};

// Drives the watch as the window's 750 ms timer would, while a second thread
// notes when the started process ends (it stays a zombie until polled).
inline RunTiming watchUntilRefresh(csound::CompileRun& run, FakeWindow& window, int pid,
                                   double limit) {
    std::atomic<bool> stop{false};
    std::atomic<long long> endedAt{0};
    std::thread spotter([&] {
        while (!stop) {
            const char s = ProcessState(pid);
            if (s == 'Z' || s == 0) {
                endedAt = Clock::now().time_since_epoch().count();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    RunTiming t;
    const auto deadline = Clock::now() + std::chrono::duration<double>(limit);
    while (Clock::now() < deadline && window.refreshes == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(csound::RUNWATCH_PERIOD_MS));
        run.OnTimer(csound::IDT_RUNWATCH);
    }
    stop = true;
    spotter.join();
    t.refreshed = window.refreshes == 1;
    if (t.refreshed && endedAt != 0)
        t.endToRefresh = std::chrono::duration<double>(
                             Clock::now() - Clock::time_point(Clock::duration(endedAt.load())))
                             .count();
    return t;
}
} // namespace testutil
