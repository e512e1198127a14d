// The compile run with the real Csound from Debian, in working folders with
// awkward names: without a display, and in a real console window on one (Xvfb
// under the test command). The analysis utilities run with the real Csound in
// the main window's end-to-end test.
#include "compile_fakes.h"
#include "platform/process/spawn.h"

using namespace testutil;
using Clock = std::chrono::steady_clock;

namespace {
struct Session {
    TempDir root;
    INISTRUCT ini = ReadyRecord(root.path(), FindProgram("csound"));
    EnvGuard config{"XDG_CONFIG_HOME", root / "config"};
    BoxRecorder boxes;
    FakeWindow window;
    csound::CompileRun run{window};

    Session() {
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
    // Compiles with that version setting; the process it started (0 if none).
    int Compile(int version) {
        ini.nCSoundVer = version;
        const auto before = Children();
        run.Compile(ini);
        return NewChild(before);
    }
    // Drives the watch as the window's 750 ms timer would, noting when the
    // started process ends (it stays a zombie until polled). The seconds from
    // that end to the refresh, -1 without a refresh.
    double WatchUntilRefresh(int pid, double limit) {
        const auto period = std::chrono::milliseconds(csound::RUNWATCH_PERIOD_MS);
        const auto deadline = Clock::now() + std::chrono::duration<double>(limit);
        Clock::time_point tick = Clock::now() + period, ended{};
        while (Clock::now() < deadline && window.refreshes == 0) {
            const char state = ProcessState(pid);
            if (ended == Clock::time_point{} && (state == 'Z' || state == 0))
                ended = Clock::now();
            if (Clock::now() >= tick) {
                run.OnTimer(csound::IDT_RUNWATCH);
                tick += period;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (window.refreshes != 1 || ended == Clock::time_point{})
            return -1;
        return std::chrono::duration<double>(Clock::now() - ended).count();
    }
    // A mono 16-bit 44100 Hz PCM WAV of 0.5 s, rendered under SFDIR.
    void ExpectHalfSecondWave() {
        const std::string w = ReadFile(root / "out dir/test");
        const std::size_t fmt = w.find("fmt "), data = w.find("data");
        ASSERT_TRUE(w.size() >= 44 && fmt != std::string::npos && data != std::string::npos);
        EXPECT_EQ(w.substr(0, 4) + w.substr(8, 4), "RIFFWAVE");
        // PCM, 1 channel, 44100 Hz, 88200 bytes a second, 2-byte frames, 16 bits.
        EXPECT_EQ(w.substr(fmt + 8, 16),
                  std::string("\1\0\1\0\x44\xAC\0\0\x88\x58\1\0\2\0\x10\0", 16));
        EXPECT_EQ(w.substr(data + 4, 4), std::string("\x44\xAC\0\0", 4)); // 22050 frames
    }
};
} // namespace

TEST(CompileEndToEnd, RendersInBothVersionsWithoutADisplay) {
    NoDisplay nd;
    ASSERT_FALSE(FindProgram("csound").empty()) << "Debian's csound is needed";
    for (int version : {1, 2}) {
        SCOPED_TRACE("csound version setting " + std::to_string(version));
        Session s;
        const int pid = s.Compile(version);
        ASSERT_TRUE(s.boxes.boxes.empty()) << s.boxes.boxes[0];
        ASSERT_TRUE(s.run.IsRunning());
        const double endToRefresh = s.WatchUntilRefresh(pid, 30);
        EXPECT_GE(endToRefresh, 0.0);
        EXPECT_LT(endToRefresh, 1.2); // one 750 ms period and some slack
        EXPECT_FALSE(s.run.IsRunning() || s.window.timerOn);
        s.ExpectHalfSecondWave();
        EXPECT_FALSE(std::filesystem::exists(s.root / "pwned"));
    }
}

TEST(CompileEndToEnd, BatchRunShowsTitledConsoleAndEndsAfterAKey) {
    const char* display = std::getenv("DISPLAY");
    REQUIRE_SERVICE(display && *display, "an X display (DISPLAY)");
    ASSERT_FALSE(FindProgram("xdotool").empty() || FindProgram("csound").empty());
    EnvGuard wayland("WAYLAND_DISPLAY", std::nullopt);
    Session s;
    const int terminal = s.Compile(1);
    ASSERT_TRUE(s.boxes.boxes.empty());
    ASSERT_NE(terminal, 0);
    const auto console = [] {
        const auto ids =
            RunProgram({"xdotool", "search", "--name", "^Tonsmith running Csound$"}).output;
        return ids.substr(0, ids.find('\n'));
    };
    std::string id;
    ASSERT_TRUE(WaitFor([&] { return !(id = console()).empty(); }, 20)) << "no titled console";
    // Csound renders, then the script pauses: the run is not over yet.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(s.root / "out dir/test"); }, 30));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    s.run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_TRUE(s.run.IsRunning());
    // A key in the console ends the pause, the interpreter and the terminal.
    RunProgram({"xdotool", "mousemove", "--window", id, "20", "20"});
    RunProgram({"xdotool", "key", "Return"});
    const double endToRefresh = s.WatchUntilRefresh(terminal, 20);
    EXPECT_GE(endToRefresh, 0.0);
    EXPECT_LT(endToRefresh, 1.2);
    s.ExpectHalfSecondWave();
    EXPECT_TRUE(console().empty());
}
