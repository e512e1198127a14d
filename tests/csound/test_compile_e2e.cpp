// The batch-script compile with the real Csound, in folders with awkward names,
// in a real console window on the X display of the test command.
#include "compile_fakes.h"
#include "platform/process/spawn.h"

using namespace testutil;

TEST(CompileEndToEnd, BatchRunShowsTitledConsoleAndEndsAfterAKey) {
    const char* display = std::getenv("DISPLAY");
    REQUIRE_SERVICE(display && *display, "an X display (DISPLAY)");
    ASSERT_FALSE(FindProgram("xdotool").empty() || FindProgram("csound").empty());
    EnvGuard wayland("WAYLAND_DISPLAY", std::nullopt);
    TempDir root;
    EnvGuard config{"XDG_CONFIG_HOME", root / "config"};
    BoxAnswerer boxes{IDOK};
    FakeWindow window;
    csound::CompileRun run{window};
    INISTRUCT ini = ReadyRecord(root.path(), FindProgram("csound"));
    Set(ini.szOrcDir, root / "orc dir ü/"), Set(ini.szOrc, "tone; $(touch pwned).orc");
    Set(ini.szScoreDir, root / "sco`x`/"), Set(ini.szScore, "tone \"q\".sco");
    Set(ini.szSFDIR, root / "out dir/"), ini.nCSoundVer = 1;
    for (const char* d : {"orc dir ü", "sco`x`", "out dir", "ana", "src"})
        std::filesystem::create_directories(root / d);
    WriteFile(root / "orc dir ü/tone; $(touch pwned).orc",
              "sr = 44100\nksmps = 10\nnchnls = 1\n0dbfs = 1\n"
              "instr 1\nfprints \"here\", \"\"\na1 oscili 0.5, 440\nout a1\nendin\n");
    WriteFile(root / "sco`x`/tone \"q\".sco", "i1 0 0.5\ne\n");
    const auto before = Children();
    run.Compile(ini);
    const int terminal = NewChild(before);
    ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes[0];
    ASSERT_NE(terminal, 0);
    const auto console = [] {
        const auto ids =
            RunProgram({"xdotool", "search", "--name", "^Tonsmith running Csound$"}).output;
        return ids.substr(0, ids.find('\n'));
    };
    std::string id;
    ASSERT_TRUE(WaitFor([&] { return !(id = console()).empty(); }, 20)) << "no titled console";
    // Csound renders, then the script pauses: the run is not over yet.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(root / "out dir/test"); }, 30));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_TRUE(run.IsRunning());
    // A key ends the pause, the interpreter and the terminal; the next tick refreshes.
    RunProgram({"xdotool", "mousemove", "--window", id, "20", "20"});
    RunProgram({"xdotool", "key", "Return"});
    ASSERT_TRUE(WaitFor([&] { return std::ranges::count(Children('Z'), terminal); }, 10));
    run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_EQ(window.refreshes, 1);
    EXPECT_FALSE(run.IsRunning() || window.timerOn);
    // A whole mono 16-bit 44100 Hz PCM WAV of 0.5 s (22050 frames).
    const std::string w = ReadFile(root / "out dir/test");
    EXPECT_EQ(w.substr(w.find("fmt ") + 8, 16) + w.substr(w.find("data") + 4, 4),
              std::string("\1\0\1\0\x44\xAC\0\0\x88\x58\1\0\2\0\x10\0\x44\xAC\0\0", 20));
    EXPECT_FALSE(std::filesystem::exists(root / "pwned"));
    EXPECT_TRUE(std::filesystem::exists(root / "orc dir ü/here")); // run in the orchestra's folder
    EXPECT_TRUE(WaitFor([&] { return console().empty(); }, 5));    // closing takes a moment
}
