// The console window of a run on a display (Xvfb under the test command).
#include "e2e_util.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace testutil;

namespace {
bool servicesExpected() {
    const char* s = std::getenv("TONSMITH_SERVICES");
    return s && std::string(s) == "1";
}

std::string findConsoleWindow() {
    std::string ids = RunCapture({"xdotool", "search", "--name", "^Tonsmith running Csound$"});
    const std::size_t nl = ids.find('\n');
    return nl == std::string::npos ? ids : ids.substr(0, nl);
}
} // namespace

TEST(CompileConsole, BatchRunShowsTitledConsoleAndEndsAfterAKey) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        if (servicesExpected())
            FAIL() << "TONSMITH_SERVICES=1 but DISPLAY is not set";
        GTEST_SKIP() << "no X display (run under scripts/with-services.sh)";
    }
    ASSERT_FALSE(FindProgram("xdotool").empty());
    ASSERT_FALSE(FindProgram("csound").empty());
    EnvGuard wayland("WAYLAND_DISPLAY", std::nullopt);
    Work w;
    EnvGuard config("XDG_CONFIG_HOME", w.root / "config");
    BoxRecorder boxes;
    FakeWindow window;
    csound::CompileRun run(window);
    w.ini.nCSoundVer = 1;
    const auto before = ChildrenNow();
    run.Compile(w.ini);
    ASSERT_TRUE(boxes.boxes.empty());
    const int terminal = newChild(before);
    ASSERT_NE(terminal, 0);

    std::string id;
    ASSERT_TRUE(WaitFor(
        [&] {
            id = findConsoleWindow();
            return !id.empty();
        },
        20))
        << "no window titled \"Tonsmith running Csound\"";
    // Csound renders, then the script pauses: the run is not over yet.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(w.output()); }, 30));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_TRUE(run.IsRunning());
    EXPECT_EQ(window.refreshes, 0);

    // A key in the console ends the pause, the interpreter and the terminal.
    RunCapture({"xdotool", "mousemove", "--window", id, "20", "20"});
    RunCapture({"xdotool", "key", "Return"});
    const RunTiming t = watchUntilRefresh(run, window, terminal, 20);
    ASSERT_TRUE(t.refreshed);
    EXPECT_LT(t.endToRefresh, 1.2);
    expectHalfSecondWave(w.output());
    EXPECT_TRUE(findConsoleWindow().empty());
}
