// Working folders with awkward names, a WAV check and a driven run watch for
// the end-to-end tests of the compile run.
#pragma once

#include "compile_fakes.h"
#include "platform/process/spawn.h"

#include <atomic>

namespace testutil {
using Clock = std::chrono::steady_clock;

// Working folders with awkward names, an orchestra and a score, and a run
// against a fake window with the configuration folder among them.
struct Session {
    TempDir root;
    INISTRUCT ini;
    EnvGuard config{"XDG_CONFIG_HOME", root / "config"};
    BoxRecorder boxes;
    FakeWindow window;
    csound::CompileRun run{window};

    explicit Session(const std::string& csound = FindProgram("csound"))
        : ini(ReadyRecord(root.path(), csound)) {
        Set(ini.szOrcDir, root / "orc dir ü/");
        Set(ini.szOrc, "tone; $(touch pwned).orc");
        Set(ini.szScoreDir, root / "sco`x`/");
        Set(ini.szScore, "tone \"q\".sco");
        Set(ini.szSFDIR, root / "out dir/");
        Set(ini.szSADIR, root / "ana dir/");
        for (const char* d : {"orc dir ü", "sco`x`", "out dir", "ana dir", "src"})
            std::filesystem::create_directories(root / d);
        WriteFile(root / "orc dir ü/tone; $(touch pwned).orc",
                  "sr = 44100\nksmps = 10\nnchnls = 1\n0dbfs = 1\n"
                  "instr 1\na1 oscili 0.5, 440\nout a1\nendin\n");
        WriteFile(root / "sco`x`/tone \"q\".sco", "i1 0 0.5\ne\n");
    }
    std::string output() const { return root / "out dir/test"; }
    // Compiles with that version setting; the process it started (0 if none).
    int Compile(int version) {
        ini.nCSoundVer = version;
        const auto before = Children();
        run.Compile(ini);
        return NewChild(before);
    }
};

// Checks a mono 16-bit 44100 Hz PCM WAV of 0.5 s.
inline void ExpectHalfSecondWave(const std::string& path) {
    const std::string w = ReadFile(path);
    const auto le32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 4; i-- > 0;)
            v = v << 8 | static_cast<unsigned char>(w[at + i]);
        return v;
    };
    ASSERT_GE(w.size(), 44u) << path;
    EXPECT_EQ(w.substr(0, 4) + w.substr(8, 4), "RIFFWAVE");
    std::string fmt;
    std::uint32_t data = 0;
    for (std::size_t at = 12; at + 8 <= w.size(); at += 8 + le32(at + 4) + (le32(at + 4) & 1)) {
        if (w.compare(at, 4, "fmt ") == 0)
            fmt = w.substr(at + 8, 16);
        if (w.compare(at, 4, "data") == 0)
            data = le32(at + 4);
    }
    // PCM, 1 channel, 44100 Hz, 88200 bytes a second, 2-byte frames, 16 bits.
    EXPECT_EQ(fmt, std::string("\1\0\1\0\x44\xAC\0\0\x88\x58\1\0\2\0\x10\0", 16));
    EXPECT_EQ(data, 44100u); // 22050 frames
}

// Drives the watch as the window's 750 ms timer would, while a second thread
// notes when the started process ends (it stays a zombie until polled).
// Returns the seconds from that end to the refresh, -1 without a refresh.
inline double WatchUntilRefresh(Session& s, int pid, double limit) {
    std::atomic<bool> stop{false};
    std::atomic<Clock::rep> endedAt{0};
    std::thread spotter([&] {
        while (!stop && endedAt == 0) {
            const char state = ProcessState(pid);
            if (state == 'Z' || state == 0)
                endedAt = Clock::now().time_since_epoch().count();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const auto deadline = Clock::now() + std::chrono::duration<double>(limit);
    while (Clock::now() < deadline && s.window.refreshes == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(csound::RUNWATCH_PERIOD_MS));
        s.run.OnTimer(csound::IDT_RUNWATCH);
    }
    stop = true;
    spotter.join();
    if (s.window.refreshes != 1 || endedAt == 0)
        return -1;
    return std::chrono::duration<double>(Clock::now() - Clock::time_point(Clock::duration(endedAt)))
        .count();
}
} // namespace testutil
