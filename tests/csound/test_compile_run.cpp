// The compile command and the run watch against a fake window and a fake
// process starter.
#include "compile_fakes.h"

#include "csound/batchscript.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace testutil;
using csound::CompileRun;
using csound::IDT_RUNWATCH;
using Args = std::vector<std::string>;

namespace {
class CompileRunTest : public ::testing::Test {
protected:
    TempDir home;
    EnvGuard config{"XDG_CONFIG_HOME", home / "config"};
    FakeWindow window;
    FakeStarter starter;
    CompileRun run{window, starter.fn()};
    INISTRUCT ini = ReadyRecord("/w", "/usr/bin/csound");
    std::string script() const { return home / "config/tonsmith/TK3.bat"; }
};
} // namespace

TEST_F(CompileRunTest, MissingChoicesAreReportedInOrderAndNothingStarts) {
    BoxRecorder boxes;
    ini.szCsoundPath[0] = '\0';
    ini.szScore[0] = '\0';
    run.Compile(ini); // the orchestra and score come first, even without Csound
    ini.szOrc[0] = '\0';
    Set(ini.szScore, "tone.sco");
    run.Compile(ini);
    Set(ini.szOrc, "tone.orc");
    run.Compile(ini);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text, "All Required Options Are Not Selected!");
    EXPECT_EQ(boxes.boxes[1].text, "All Required Options Are Not Selected!");
    EXPECT_EQ(boxes.boxes[2].text, "Csound Executable Is Not Selected!");
    for (const auto& b : boxes.boxes) {
        EXPECT_EQ(b.caption, "Tonsmith 3.3");
        EXPECT_EQ(b.type & MB_TYPEMASK, MB_OK);
    }
    EXPECT_TRUE(starter.requests.empty());
    EXPECT_EQ(window.timerStarts, 0);
    EXPECT_FALSE(std::filesystem::exists(script()));
}

TEST_F(CompileRunTest, ConfirmationShowsTheFinalLineAndCancelStopsEverything) {
    Set(ini.szCsoundPath, "/opt/my csound/csound");
    ini.nShowCmdLine = 2;
    ini.nCSoundVer = 2;
    EnvGuard sfdir("SFDIR", "before");
    {
        BoxRecorder boxes(IDCANCEL);
        run.Compile(ini);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "CMDLINE");
        EXPECT_EQ(boxes.boxes[0].type & MB_TYPEMASK, MB_OKCANCEL);
        EXPECT_EQ(boxes.boxes[0].text,
                  "/opt/my csound/csound -Wsg -o test /w/orc/tone.orc /w/sco/tone.sco");
    }
    EXPECT_STREQ(run.FinalCmdLine(),
                 "/opt/my csound/csound -Wsg -o test /w/orc/tone.orc /w/sco/tone.sco");
    EXPECT_TRUE(starter.requests.empty());
    EXPECT_STREQ(std::getenv("SFDIR"), "before");
    EXPECT_FALSE(run.IsRunning());

    BoxRecorder ok(IDOK);
    run.Compile(ini);
    ASSERT_EQ(starter.requests.size(), 1u);
    // The path with its blank stays one argument.
    EXPECT_EQ(starter.requests[0].args, (Args{"/opt/my csound/csound", "-Wsg", "-o", "test",
                                              "/w/orc/tone.orc", "/w/sco/tone.sco"}));
    EXPECT_TRUE(run.IsRunning());
}

TEST_F(CompileRunTest, DosVersionWritesTheScriptByteForByteAndStartsIt) {
    BoxRecorder boxes;
    ini.nCSoundVer = 1;
    run.Compile(ini);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ReadFile(script()), "SET SSDIR=/w/src\r\nSET SFDIR=/w/out\r\nSET SADIR=/w/ana\r\n"
                                  "/usr/bin/csound -Wsg -o test /w/orc/tone.orc /w/sco/tone.sco"
                                  "\r\nPause\r\nExit");
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].args, Args{script()});
    EXPECT_TRUE(starter.requests[0].newConsole);
    EXPECT_EQ(starter.requests[0].title, "Tonsmith running Csound");
    EXPECT_EQ(window.timerStarts, 1);

    // Empty folders give bare SET lines; names that need it are quoted so
    // the interpreter gets them whole. The old script is replaced.
    Set(ini.szSSDIR, "/");
    ini.szSADIR[0] = '\0';
    Set(ini.szOrc, "my tone.orc");
    run.Compile(ini);
    EXPECT_EQ(ReadFile(script()), "SET SSDIR=\r\nSET SFDIR=/w/out\r\nSET SADIR=\r\n"
                                  "/usr/bin/csound -Wsg -o test \"/w/orc/my tone.orc\" "
                                  "/w/sco/tone.sco\r\nPause\r\nExit");
    EXPECT_EQ(std::filesystem::directory_iterator(home / "config/tonsmith")->path(), script());
}

TEST_F(CompileRunTest, OtherVersionsSetTheEnvironmentAndLeaveTheScriptAlone) {
    BoxRecorder boxes;
    std::filesystem::create_directories(home / "config/tonsmith");
    WriteFile(script(), "old script");
    EnvGuard ss("SSDIR", "x"), sf("SFDIR", "x"), sa("SADIR", "x");
    for (int version : {2, 3, 0}) {
        ini.nCSoundVer = version;
        Set(ini.szSSDIR, "/snd/" + std::to_string(version) + "/");
        ini.szSADIR[0] = '\0';
        run.Compile(ini);
        EXPECT_EQ(std::string(std::getenv("SSDIR")), "/snd/" + std::to_string(version));
        EXPECT_STREQ(std::getenv("SFDIR"), "/w/out");
        EXPECT_EQ(std::getenv("SADIR"), nullptr); // "SADIR=" removes it, as _putenv does
        EXPECT_EQ(starter.requests.back().args[0], "/usr/bin/csound");
    }
    EXPECT_EQ(ReadFile(script()), "old script");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CompileRunTest, FailedStartShowsNoProcessAndArmsNoTimer) {
    BoxRecorder boxes;
    starter.failWith = ENOENT;
    for (int version : {1, 2}) {
        ini.nCSoundVer = version;
        run.Compile(ini);
    }
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const auto& b : boxes.boxes) {
        EXPECT_EQ(b.text, "NO PROCESS");
        EXPECT_EQ(b.caption, "VARO");
    }
    EXPECT_EQ(window.timerStarts, 0);
    EXPECT_FALSE(run.IsRunning());
    EXPECT_TRUE(std::filesystem::exists(script())); // the new script stays
}

TEST_F(CompileRunTest, UnwritableScriptIsReportedAndNothingStarts) {
    BoxRecorder boxes;
    ini.nCSoundVer = 1;
    // The configuration folder cannot be made: a file stands in its way.
    WriteFile(home / "config", "not a folder");
    run.Compile(ini);
    // TK3.bat is a folder: it cannot be replaced.
    std::filesystem::remove(home / "config");
    std::filesystem::create_directories(script());
    run.Compile(ini);
    {
        EnvGuard noHome("HOME", std::nullopt);
        EnvGuard noConfig("XDG_CONFIG_HOME", std::nullopt);
        run.Compile(ini);
    }
    ASSERT_EQ(boxes.boxes.size(), 3u);
    for (const auto& b : boxes.boxes) {
        EXPECT_NE(b.text.find("batch script"), std::string::npos) << b.text;
        EXPECT_EQ(b.caption, "Tonsmith 3.3");
    }
    EXPECT_TRUE(starter.requests.empty());
    EXPECT_EQ(window.timerStarts, 0);
}

TEST_F(CompileRunTest, OverlongLinesAndFoldersAreRefusedWhole) {
    BoxRecorder boxes;
    // 255 characters fit, 256 do not.
    const std::string csoundPath = "/" + std::string(98, 'c');
    Set(ini.szCsoundPath, csoundPath);
    const std::size_t base = (csoundPath + " -Wsg -o test /w/orc/tone.orc //tone.sco").size();
    Set(ini.szScoreDir, "/" + std::string(255 - base, 'd') + "/");
    ini.nCSoundVer = 2;
    run.Compile(ini);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(std::strlen(run.FinalCmdLine()), 255u);
    Set(ini.szCsoundPath, csoundPath + "6");
    run.Compile(ini);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("256 characters"), std::string::npos);
    EXPECT_EQ(starter.requests.size(), 1u);

    // A sound output folder of 126 characters (without its slash) fits, 127
    // do not; the line is refused, never cut.
    INISTRUCT dirs = ReadyRecord("/w", "/usr/bin/csound");
    dirs.nCSoundVer = 2;
    Set(dirs.szSFDIR, "/" + std::string(125, 'f') + "/");
    run.Compile(dirs);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    Set(dirs.szSFDIR, "/" + std::string(126, 'f') + "/");
    run.Compile(dirs);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_NE(boxes.boxes[1].text.find("sound output folder"), std::string::npos);

    // The three SET lines of the script fit 255 characters together.
    dirs.nCSoundVer = 1;
    Set(dirs.szSSDIR, "/" + std::string(100, 's') + "/");
    Set(dirs.szSFDIR, "/" + std::string(100, 'f') + "/");
    Set(dirs.szSADIR, "/" + std::string(100, 'a') + "/");
    run.Compile(dirs);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_NE(boxes.boxes[2].text.find("too long for the batch script"), std::string::npos);
    EXPECT_EQ(starter.requests.size(), 2u);
}

TEST_F(CompileRunTest, LineBreaksInNamesCannotSmuggleScriptLines) {
    BoxRecorder boxes;
    ini.nCSoundVer = 1;
    Set(ini.szOrc, "x.orc\r\nrm -rf ~");
    run.Compile(ini);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("line break"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(script()));
    EXPECT_TRUE(starter.requests.empty());
}

TEST_F(CompileRunTest, WatchPollsUntilTheEndThenRefreshesOnce) {
    BoxRecorder boxes;
    run.Compile(ini);
    ASSERT_EQ(starter.processes.size(), 1u);
    auto& p = *starter.processes[0];
    EXPECT_TRUE(window.timerOn);

    run.OnTimer(70); // someone else's timer
    EXPECT_EQ(p.polls, 0);
    run.OnTimer(IDT_RUNWATCH);
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_EQ(p.polls, 2);
    EXPECT_TRUE(run.IsRunning());
    EXPECT_EQ(window.refreshes, 0);

    p.exitCode = 1; // a failed run ends like a good one
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_FALSE(run.IsRunning());
    EXPECT_FALSE(window.timerOn);
    EXPECT_EQ(window.refreshes, 1);
    EXPECT_TRUE(p.destroyed);
    run.OnTimer(IDT_RUNWATCH); // a late tick after the end changes nothing
    EXPECT_EQ(window.refreshes, 1);
}

TEST_F(CompileRunTest, SecondCompileWatchesTheNewestAndReleasesTheFirst) {
    BoxRecorder boxes;
    ini.nCSoundVer = 2;
    run.Compile(ini);
    run.Compile(ini);
    ASSERT_EQ(starter.processes.size(), 2u);
    EXPECT_EQ(window.timerStarts, 2);
    // The first process is handed over for reaping, not leaked.
    EXPECT_TRUE(starter.processes[0]->destroyed);
    starter.processes[0]->exitCode = 0;
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_TRUE(run.IsRunning());
    EXPECT_EQ(starter.processes[0]->polls, 0);
    starter.processes[1]->exitCode = 0;
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_FALSE(run.IsRunning());
    EXPECT_EQ(window.refreshes, 1);
}

TEST(CompileTrim, OnlyTheClosingSlashIsDropped) {
    EXPECT_EQ(csound::TrimmedDirectory("/home/me/wav/"), "/home/me/wav");
    EXPECT_EQ(csound::TrimmedDirectory("/"), "");
    EXPECT_EQ(csound::TrimmedDirectory(""), "");
    EXPECT_EQ(csound::TrimmedDirectory("/home/me/wav"), "/home/me/wav");
}

TEST_F(CompileRunTest, EmptyOutputNameNeverTurnsTheOrchestraIntoTheOutput) {
    BoxRecorder boxes;
    ini.nCSoundVer = 2;
    ini.nOutputFilenameCheck = 1;
    ini.szOutputFilename[0] = '\0';
    run.Compile(ini);
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].args,
              (Args{"/usr/bin/csound", "-Wsg", "-o", "", "/w/orc/tone.orc", "/w/sco/tone.sco"}));
}
