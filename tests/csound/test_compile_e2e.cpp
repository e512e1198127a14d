// The compile run and the analysis launch with the real Csound from Debian,
// in temporary working folders, without a display.
#include "e2e_util.h"

#include "csound/analysiscmd.h"
#include "csound/analysisrun.h"

using namespace testutil;
using Args = std::vector<std::string>;

TEST(CompileEndToEnd, RendersInBothVersionsWithoutADisplay) {
    NoDisplay nd;
    ASSERT_FALSE(FindProgram("csound").empty()) << "Debian's csound is needed";
    for (int version : {1, 2}) {
        SCOPED_TRACE("csound version setting " + std::to_string(version));
        Session s;
        const int pid = s.Compile(version);
        ASSERT_TRUE(s.boxes.boxes.empty()) << s.boxes.boxes[0];
        ASSERT_TRUE(s.run.IsRunning());
        EXPECT_EQ(s.window.timerStarts, 1);
        const double endToRefresh = WatchUntilRefresh(s, pid, 30);
        EXPECT_GE(endToRefresh, 0.0);
        EXPECT_LT(endToRefresh, 1.2); // one 750 ms period and some slack
        EXPECT_FALSE(s.run.IsRunning());
        EXPECT_FALSE(s.window.timerOn);
        ExpectHalfSecondWave(s.output());
        EXPECT_FALSE(std::filesystem::exists(s.root / "pwned"));
        EXPECT_FALSE(std::filesystem::exists("pwned"));
    }
}

TEST(CompileEndToEnd, AwkwardNamesReachTheProgramAsTextInBothVersions) {
    NoDisplay nd;
    for (int version : {1, 2}) {
        SCOPED_TRACE("csound version setting " + std::to_string(version));
        Session s(ARGVDUMP_PATH);
        EnvGuard dump("TONSMITH_ARGVDUMP", s.root / "argv");
        s.ini.nOutputFilenameCheck = 1;
        Set(s.ini.szOutputFilename, "a b;`c`");
        s.Compile(version);
        ASSERT_TRUE(s.boxes.boxes.empty());
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(s.root / "argv"); }, 10));
        EXPECT_EQ(ReadDump(s.root / "argv"),
                  (Args{ARGVDUMP_PATH, "-Wsg", "-o", "a b;`c`",
                        s.root / "orc dir ü/tone; $(touch pwned).orc",
                        s.root / "sco`x`/tone \"q\".sco", "SSDIR=" + s.root / "src",
                        "SFDIR=" + s.root / "out dir", "SADIR=" + s.root / "ana dir"}));
        EXPECT_FALSE(std::filesystem::exists(s.root / "pwned"));
    }
}

TEST(CompileEndToEnd, AnalysisUtilitiesWriteIntoTheAnalysisFolder) {
    NoDisplay nd;
    ASSERT_FALSE(FindProgram("csound").empty()) << "Debian's csound is needed";
    Session s;
    ASSERT_GE(WatchUntilRefresh(s, s.Compile(2), 30), 0.0);
    Set(s.ini.szCurSoundFile, s.output());
    const std::pair<int, std::string> pages[] = {{analysis::PAGE_LPC, "test.lpc"},
                                                 {analysis::PAGE_HETRO, "test.htr"},
                                                 {analysis::PAGE_PVOC, "test.pvc"}};
    for (const auto& [page, file] : pages) {
        SCOPED_TRACE(file);
        const auto before = Children();
        ASSERT_TRUE(csound::LaunchAnalysisFrom(s.ini, page));
        const int pid = NewChild(before);
        // The utility is not waited for by us; it is reaped once it ends.
        ASSERT_TRUE(WaitFor([&] { return ProcessState(pid) == 0; }, 60));
        EXPECT_GT(std::filesystem::file_size(s.root / ("ana dir/" + file)), 0u);
    }
    EXPECT_TRUE(s.boxes.boxes.empty());

    // A utility that cannot be started is reported.
    Set(s.ini.szCsoundPath, s.root / "no csound here");
    EXPECT_FALSE(csound::LaunchAnalysisFrom(s.ini, analysis::PAGE_LPC));
    EXPECT_TRUE(s.boxes.has("no csound here", 0));
    EXPECT_EQ(s.boxes.boxes.size(), 1u);
}
