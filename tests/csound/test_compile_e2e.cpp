// The compile run and the analysis launch with the real Csound from Debian,
// in temporary working folders, without a display and (under Xvfb) with one.
#include "e2e_util.h"

#include "csound/analysiscmd.h"
#include "csound/analysisrun.h"
#include "platform/spawn.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

using namespace testutil;
using csound::CompileRun;
using csound::IDT_RUNWATCH;
using Clock = std::chrono::steady_clock;
using Args = std::vector<std::string>;

TEST(CompileEndToEnd, RendersInBothVersionsWithoutADisplay) {
    NoDisplay nd;
    ASSERT_FALSE(FindProgram("csound").empty()) << "Debian's csound is needed";
    for (int version : {1, 2}) {
        SCOPED_TRACE("csound version setting " + std::to_string(version));
        Work w;
        EnvGuard config("XDG_CONFIG_HOME", w.root / "config");
        BoxRecorder boxes;
        FakeWindow window;
        CompileRun run(window);
        w.ini.nCSoundVer = version;
        const auto before = ChildrenNow();
        run.Compile(w.ini);
        ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
        ASSERT_TRUE(run.IsRunning());
        EXPECT_EQ(window.timerStarts, 1);
        const RunTiming t = watchUntilRefresh(run, window, newChild(before), 30);
        ASSERT_TRUE(t.refreshed);
        EXPECT_GE(t.endToRefresh, 0.0);
        EXPECT_LT(t.endToRefresh, 1.2); // one 750 ms period and some slack
        EXPECT_FALSE(run.IsRunning());
        EXPECT_FALSE(window.timerOn);
        expectHalfSecondWave(w.output());
        EXPECT_FALSE(std::filesystem::exists(w.root / "pwned"));
        EXPECT_FALSE(std::filesystem::exists("pwned"));
    }
}

TEST(CompileEndToEnd, AwkwardNamesReachTheProgramAsTextInBothVersions) {
    NoDisplay nd;
    for (int version : {1, 2}) {
        SCOPED_TRACE("csound version setting " + std::to_string(version));
        Work w(ARGVDUMP_PATH);
        EnvGuard config("XDG_CONFIG_HOME", w.root / "config");
        EnvGuard dump("TONSMITH_ARGVDUMP", w.root / "argv");
        w.ini.nCSoundVer = version;
        w.ini.nOutputFilenameCheck = 1;
        Set(w.ini.szOutputFilename, "a b;`c`");
        BoxRecorder boxes;
        FakeWindow window;
        CompileRun run(window);
        run.Compile(w.ini);
        ASSERT_TRUE(boxes.boxes.empty());
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(w.root / "argv"); }, 10));
        EXPECT_EQ(ReadDump(w.root / "argv"),
                  (Args{ARGVDUMP_PATH, "-Wsg", "-o", "a b;`c`",
                        w.root / "orc dir ü/tone; $(touch pwned).orc",
                        w.root / "sco`x`/tone \"q\".sco", "SSDIR=" + w.root / "src",
                        "SFDIR=" + w.root / "out dir", "SADIR=" + w.root / "ana dir"}));
        EXPECT_FALSE(std::filesystem::exists(w.root / "pwned"));
    }
}

TEST(CompileEndToEnd, AnalysisUtilitiesWriteIntoTheAnalysisFolder) {
    NoDisplay nd;
    ASSERT_FALSE(FindProgram("csound").empty()) << "Debian's csound is needed";
    Work w;
    EnvGuard config("XDG_CONFIG_HOME", w.root / "config");
    BoxRecorder boxes;
    FakeWindow window;
    CompileRun run(window);
    w.ini.nCSoundVer = 2;
    auto before = ChildrenNow();
    run.Compile(w.ini);
    ASSERT_TRUE(watchUntilRefresh(run, window, newChild(before), 30).refreshed);
    Set(w.ini.szCurSoundFile, w.output());
    const struct {
        int page;
        const char* file;
    } pages[] = {{analysis::PAGE_LPC, "test.lpc"},
                 {analysis::PAGE_HETRO, "test.htr"},
                 {analysis::PAGE_PVOC, "test.pvc"}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.file);
        before = ChildrenNow();
        ASSERT_TRUE(csound::LaunchAnalysisFrom(w.ini, p.page));
        const int pid = newChild(before);
        // The utility is not waited for by us; it is reaped once it ends.
        ASSERT_TRUE(WaitFor([&] { return ProcessState(pid) == 0; }, 60));
        EXPECT_GT(std::filesystem::file_size(w.root / ("ana dir/" + std::string(p.file))), 0u);
    }
    EXPECT_TRUE(boxes.boxes.empty());

    // A utility that cannot be started is reported.
    Set(w.ini.szCsoundPath, w.root / "no csound here");
    EXPECT_FALSE(csound::LaunchAnalysisFrom(w.ini, analysis::PAGE_LPC));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("no csound here"), std::string::npos);
}
