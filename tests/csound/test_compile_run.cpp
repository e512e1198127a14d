// The compile command and the run watch against a fake window and a fake
// process starter.
#include "compile_fakes.h"

using namespace testutil;
using csound::IDT_RUNWATCH;
using Args = std::vector<std::string>;

namespace {
class CompileRunTest : public ::testing::Test {
protected:
    TempDir home;
    EnvGuard config{"XDG_CONFIG_HOME", home / "config"};
    FakeWindow window;
    FakeStarter starter;
    csound::CompileRun run{window, starter.fn()};
    INISTRUCT ini = ReadyRecord("/w", "/usr/bin/csound");
    BoxRecorder boxes;
    std::string script() const { return home / "config/tonsmith/TK3.bat"; }
    // Nothing was started, no timer armed and no script written.
    void ExpectNothingStarted() {
        EXPECT_TRUE(starter.requests.empty());
        EXPECT_EQ(window.timerStarts, 0);
        EXPECT_FALSE(run.IsRunning());
    }
};
} // namespace

TEST_F(CompileRunTest, MissingChoicesAreReportedInOrderAndNothingStarts) {
    ini.szCsoundPath[0] = '\0';
    ini.szScore[0] = '\0';
    run.Compile(ini); // the orchestra and score come first, even without Csound
    ini.szOrc[0] = '\0';
    Set(ini.szScore, "tone.sco");
    run.Compile(ini);
    Set(ini.szOrc, "tone.orc");
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes, (Args{"Tonsmith 3.3: All Required Options Are Not Selected!",
                                 "Tonsmith 3.3: All Required Options Are Not Selected!",
                                 "Tonsmith 3.3: Csound Executable Is Not Selected!"}));
    EXPECT_EQ(boxes.types, (std::vector<unsigned>(3, MB_OK)));
    ExpectNothingStarted();
    EXPECT_FALSE(std::filesystem::exists(script()));
}

TEST_F(CompileRunTest, ConfirmationShowsTheFinalLineAndCancelStopsEverything) {
    Set(ini.szCsoundPath, "/opt/my csound/csound");
    ini.nShowCmdLine = 2;
    ini.nCSoundVer = 2;
    EnvGuard sfdir("SFDIR", "before");
    {
        BoxRecorder cancel(IDCANCEL);
        run.Compile(ini);
        EXPECT_EQ(cancel.boxes, Args{"CMDLINE: /opt/my csound/csound -Wsg -o test "
                                     "/w/orc/tone.orc /w/sco/tone.sco"});
        EXPECT_EQ(cancel.types, std::vector<unsigned>{MB_OKCANCEL});
    }
    EXPECT_STREQ(std::getenv("SFDIR"), "before");
    ExpectNothingStarted();

    run.Compile(ini);
    ASSERT_EQ(starter.requests.size(), 1u);
    // The path with its blank stays one argument.
    EXPECT_EQ(starter.requests[0].args, (Args{"/opt/my csound/csound", "-Wsg", "-o", "test",
                                              "/w/orc/tone.orc", "/w/sco/tone.sco"}));
    EXPECT_TRUE(run.IsRunning());
}

TEST_F(CompileRunTest, DosVersionWritesTheScriptByteForByteAndStartsIt) {
    ini.nCSoundVer = 1;
    run.Compile(ini);
    EXPECT_EQ(ReadFile(script()), "SET SSDIR=/w/src\r\nSET SFDIR=/w/out\r\nSET SADIR=/w/ana\r\n"
                                  "/usr/bin/csound -Wsg -o test /w/orc/tone.orc /w/sco/tone.sco"
                                  "\r\nPause\r\nExit");
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_EQ(starter.requests[0].args, Args{script()});
    EXPECT_TRUE(starter.requests[0].newConsole);
    EXPECT_EQ(starter.requests[0].title, "Tonsmith running Csound");
    EXPECT_EQ(window.timerStarts, 1);

    // Empty folders give bare SET lines; names that need it are quoted so
    // the interpreter gets them whole. The old script is replaced, and no
    // temporary file is left beside it.
    Set(ini.szSSDIR, "/");
    ini.szSADIR[0] = '\0';
    Set(ini.szOrc, "my tone.orc");
    run.Compile(ini);
    EXPECT_EQ(ReadFile(script()), "SET SSDIR=\r\nSET SFDIR=/w/out\r\nSET SADIR=\r\n"
                                  "/usr/bin/csound -Wsg -o test \"/w/orc/my tone.orc\" "
                                  "/w/sco/tone.sco\r\nPause\r\nExit");
    EXPECT_EQ(std::filesystem::directory_iterator(home / "config/tonsmith")->path(), script());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CompileRunTest, OtherVersionsSetTheEnvironmentAndLeaveTheScriptAlone) {
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
    starter.failWith = ENOENT;
    for (int version : {1, 2}) {
        ini.nCSoundVer = version;
        run.Compile(ini);
    }
    EXPECT_EQ(boxes.boxes, (Args(2, "VARO: NO PROCESS")));
    EXPECT_EQ(window.timerStarts, 0);
    EXPECT_FALSE(run.IsRunning());
    EXPECT_TRUE(std::filesystem::exists(script())); // the new script stays
}

TEST_F(CompileRunTest, UnwritableScriptsAndLineBreaksInNamesAreRefused) {
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
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(boxes.has("Tonsmith 3.3: ", i) && boxes.has("batch script", i));

    // A line break in a name cannot smuggle a line into the script.
    std::filesystem::remove(script());
    Set(ini.szOrc, "x.orc\r\nrm -rf ~");
    run.Compile(ini);
    EXPECT_TRUE(boxes.has("line break", 3));
    EXPECT_FALSE(std::filesystem::exists(script()));
    ExpectNothingStarted();
}

TEST_F(CompileRunTest, OverlongLinesAndFoldersAreRefusedWhole) {
    // 255 characters fit, 256 do not.
    const std::string csoundPath = "/" + std::string(98, 'c');
    Set(ini.szCsoundPath, csoundPath);
    const std::size_t base = (csoundPath + " -Wsg -o test /w/orc/tone.orc //tone.sco").size();
    Set(ini.szScoreDir, "/" + std::string(255 - base, 'd') + "/");
    ini.nCSoundVer = 2;
    ini.nShowCmdLine = 2;
    run.Compile(ini);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].size(), std::string("CMDLINE: ").size() + 255);
    Set(ini.szCsoundPath, csoundPath + "6");
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes.at(1), "Tonsmith 3.3: The Csound command line would be 256 characters "
                                 "long; at most 255 fit. Use a shorter Csound path or shorter "
                                 "folder or file names.");
    // A number too long for its flag is refused with its own sentence.
    ini = ReadyRecord("/w", "/usr/bin/csound");
    ini.nScoTempCheck = 1, ini.nScoTempo = 123456789;
    run.Compile(ini);
    EXPECT_TRUE(boxes.has("tempo 123456789", 2));

    // A sound output folder of 126 characters (without its slash) fits, 127
    // do not; the line is refused, never cut.
    INISTRUCT dirs = ReadyRecord("/w", "/usr/bin/csound");
    dirs.nCSoundVer = 2;
    Set(dirs.szSFDIR, "/" + std::string(125, 'f') + "/");
    run.Compile(dirs);
    EXPECT_EQ(boxes.boxes.size(), 3u);
    Set(dirs.szSFDIR, "/" + std::string(126, 'f') + "/");
    run.Compile(dirs);
    EXPECT_EQ(boxes.boxes.at(3), "Tonsmith 3.3: The sound output folder is 127 characters long; "
                                 "Csound gets at most 126 in SFDIR. Choose a shorter folder in the "
                                 "Preferences.");

    // The three SET lines of the script fit 255 characters together.
    dirs.nCSoundVer = 1;
    Set(dirs.szSSDIR, "/" + std::string(100, 's') + "/");
    Set(dirs.szSFDIR, "/" + std::string(100, 'f') + "/");
    Set(dirs.szSADIR, "/" + std::string(100, 'a') + "/");
    run.Compile(dirs);
    EXPECT_TRUE(boxes.has("too long for the batch script", 4));
    EXPECT_EQ(starter.requests.size(), 2u);
}

TEST_F(CompileRunTest, WatchPollsUntilTheEndThenRefreshesOnce) {
    run.Compile(ini);
    ASSERT_EQ(starter.processes.size(), 1u);
    auto& p = *starter.processes[0];
    EXPECT_TRUE(window.timerOn);
    run.OnTimer(70); // someone else's timer
    run.OnTimer(IDT_RUNWATCH);
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_EQ(p.polls, 2);
    EXPECT_TRUE(run.IsRunning());
    EXPECT_EQ(window.refreshes, 0);

    p.exitCode = 1; // a failed run ends like a good one
    run.OnTimer(IDT_RUNWATCH);
    EXPECT_FALSE(run.IsRunning());
    EXPECT_FALSE(window.timerOn);
    EXPECT_TRUE(p.destroyed);
    run.OnTimer(IDT_RUNWATCH); // a late tick after the end changes nothing
    EXPECT_EQ(window.refreshes, 1);
}

TEST_F(CompileRunTest, SecondCompileWatchesTheNewestAndReleasesTheFirst) {
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
