// The console window of a run on a display (Xvfb under the test command).
#include "e2e_util.h"

using namespace testutil;

namespace {
std::string findConsoleWindow() {
    const std::string ids =
        RunProgram({"xdotool", "search", "--name", "^Tonsmith running Csound$"}).output;
    return ids.substr(0, ids.find('\n'));
}
} // namespace

TEST(CompileConsole, BatchRunShowsTitledConsoleAndEndsAfterAKey) {
    const char* display = std::getenv("DISPLAY");
    REQUIRE_SERVICE(display && *display, "an X display (DISPLAY)");
    ASSERT_FALSE(FindProgram("xdotool").empty());
    ASSERT_FALSE(FindProgram("csound").empty());
    EnvGuard wayland("WAYLAND_DISPLAY", std::nullopt);
    Session s;
    const int terminal = s.Compile(1);
    ASSERT_TRUE(s.boxes.boxes.empty());
    ASSERT_NE(terminal, 0);

    std::string id;
    ASSERT_TRUE(WaitFor([&] { return !(id = findConsoleWindow()).empty(); }, 20))
        << "no window titled \"Tonsmith running Csound\"";
    // Csound renders, then the script pauses: the run is not over yet.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(s.output()); }, 30));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    s.run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_TRUE(s.run.IsRunning());
    EXPECT_EQ(s.window.refreshes, 0);

    // A key in the console ends the pause, the interpreter and the terminal.
    RunProgram({"xdotool", "mousemove", "--window", id, "20", "20"});
    RunProgram({"xdotool", "key", "Return"});
    const double endToRefresh = WatchUntilRefresh(s, terminal, 20);
    EXPECT_GE(endToRefresh, 0.0);
    EXPECT_LT(endToRefresh, 1.2);
    ExpectHalfSecondWave(s.output());
    EXPECT_TRUE(findConsoleWindow().empty());
}
