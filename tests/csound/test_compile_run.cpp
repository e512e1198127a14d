// The compile command and the run watch against a fake window and a fake
// process starter.
#include "compile_fakes.h"

using namespace testutil;
using Args = std::vector<std::string>;

namespace {
// A process the fake starter made: its exit code, the polls it saw, whether it is gone.
struct Fake {
    unsigned long exitCode = STILL_ACTIVE;
    int polls = 0;
    bool destroyed = false;
    std::string log; // where its output went without a console
};
struct FakeProcess : csound::WatchedProcess {
    std::shared_ptr<Fake> s = std::make_shared<Fake>();
    ~FakeProcess() override { s->destroyed = true; }
    unsigned long ExitCode() override { return ++s->polls, s->exitCode; }
    std::string OutputLog() const override { return s->log; }
};

class CompileRunTest : public ::testing::Test {
protected:
    TempDir home;
    EnvGuard config{"XDG_CONFIG_HOME", home / "config"};
    FakeWindow window;
    std::vector<LaunchRequest> requests;
    std::vector<std::shared_ptr<Fake>> processes;
    int failWith = 0; // the starter's answer; a process is made only on 0
    csound::CompileRun run{window, [this](const LaunchRequest& r, auto* p) {
                               requests.push_back(r);
                               auto process = std::make_unique<FakeProcess>();
                               processes.push_back(process->s);
                               if (failWith == 0)
                                   *p = std::move(process);
                               return failWith;
                           }};
    INISTRUCT ini = ReadyRecord();
    BoxAnswerer boxes{IDOK};
    std::string script() const { return home / "config/tonsmith/TK3.bat"; }
};
} // namespace

TEST_F(CompileRunTest, MissingChoicesAreReportedInOrderAndCancelStopsEverything) {
    ini.szCsoundPath[0] = ini.szScore[0] = '\0';
    run.Compile(ini); // the orchestra and score come first, even without Csound
    Set(ini.szScore, "tone.sco");
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes, (Args{"Tonsmith 3.3: All Required Options Are Not Selected!",
                                 "Tonsmith 3.3: Csound Executable Is Not Selected!"}));
    Set(ini.szCsoundPath, "/opt/my csound/csound");
    ini.nShowCmdLine = 2;
    EnvGuard sfdir("SFDIR", "before");
    BoxAnswerer cancel{IDCANCEL};
    for (int version : {1, 2})
        ini.nCSoundVer = version, run.Compile(ini);
    EXPECT_EQ(cancel.boxes, Args(2, "CMDLINE: /opt/my csound/csound -Wsg -o test /w/orc/tone.orc "
                                    "/w/sco/tone.sco"));
    EXPECT_EQ(cancel.types, std::vector<unsigned>(2, MB_OKCANCEL));
    EXPECT_STREQ(std::getenv("SFDIR"), "before");
    EXPECT_TRUE(requests.empty() && !std::filesystem::exists(script()));
}

TEST_F(CompileRunTest, EachVersionStartsItsWayTheDosOneByAScriptWrittenByteForByte) {
    ini.nCSoundVer = 1;
    run.Compile(ini);
    EXPECT_EQ(ReadFile(script()), "SET SSDIR=/w/src\r\nSET SFDIR=/w/out\r\nSET SADIR=/w/ana\r\n"
                                  "/usr/bin/csound -Wsg -o test /w/orc/tone.orc /w/sco/tone.sco"
                                  "\r\nPause\r\nExit");
    EXPECT_EQ(requests.at(0).args, Args{script()}); // its console: the real compile test
    failWith = ENOENT; // a failed start says so, arms no timer and keeps the new script
    std::filesystem::remove(script());
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes, Args{"VARO: NO PROCESS"});
    EXPECT_TRUE(window.timerStarts == 1 && std::filesystem::exists(script()));
    // Other versions set the environment and start Csound with the names whole.
    failWith = 0;
    WriteFile(script(), "old script");
    EnvGuard ss("SSDIR", "x"), sf("SFDIR", "x"), sa("SADIR", "x");
    Set(ini.szCsoundPath, "/opt/my csound/csound");
    ini.szSADIR[0] = '\0';
    for (int version : {2, 0}) {
        ini.nCSoundVer = version;
        Set(ini.szSSDIR, "/snd/" + std::to_string(version) + "/");
        run.Compile(ini);
        EXPECT_EQ(std::string(std::getenv("SSDIR")) + std::getenv("SFDIR"),
                  "/snd/" + std::to_string(version) + "/w/out");
        EXPECT_EQ(std::getenv("SADIR"), nullptr); // "SADIR=" removes it, as _putenv does
        EXPECT_EQ(requests.back().args, (Args{"/opt/my csound/csound", "-Wsg", "-o", "test",
                                              "/w/orc/tone.orc", "/w/sco/tone.sco"}));
    }
    EXPECT_EQ(ReadFile(script()) + std::to_string(boxes.boxes.size()), "old script1");
}

TEST_F(CompileRunTest, ACsdNeedsNoScoreAndRelativeFoldersKeepTheirPlace) {
    const std::string here = std::filesystem::current_path().string() + "/";
    EnvGuard sf("SFDIR", std::nullopt);
    Set(ini.szSFDIR, "out/"), Set(ini.szOrc, "p.CSD"), ini.szScore[0] = 0, ini.nCSoundVer = 2;
    run.Compile(ini); // no orchestra folder: csound runs in ours and says what is missing
    Set(ini.szSFDIR, std::string(255 - here.size(), 's') + "/"), run.Compile(ini);
    EXPECT_EQ(requests.at(0).args.back() + requests.at(0).workDir + std::getenv("SFDIR"),
              "/w/orc/p.CSD" + here + "out");
    EXPECT_TRUE(requests.size() == 1 && boxes.has(" characters long, and at most 255 fit.", 0));
}

TEST_F(CompileRunTest, UnwritableScriptsAndLineBreaksInNamesAreRefused) {
    ini.nCSoundVer = 1;
    WriteFile(home / "config", "not a folder"); // the configuration folder cannot be made
    run.Compile(ini);
    {
        EnvGuard noHome("HOME", std::nullopt), noConfig("XDG_CONFIG_HOME", std::nullopt);
        run.Compile(ini);
    }
    std::filesystem::remove(home / "config");
    std::filesystem::create_directories(script()); // TK3.bat is a folder
    run.Compile(ini);
    std::filesystem::remove(script());
    Set(ini.szOrc, "x.orc\r\nrm -rf ~"); // cannot smuggle a line into the script
    run.Compile(ini);
    const std::string noFolder = "Tonsmith 3.3: Cannot write the batch script TK3.bat: the "
                                 "configuration folder cannot be created (is HOME set?).";
    EXPECT_EQ(
        boxes.boxes,
        (Args{noFolder, noFolder,
              "Tonsmith 3.3: Cannot write the batch script " + script() + ": Is a directory.",
              "Tonsmith 3.3: A folder or file name holds a line break, which cannot be written "
              "into the batch script. Rename it, or use the Windows build setting."}));
    EXPECT_TRUE(requests.empty() && window.timerStarts == 0 && !run.IsRunning());
}

TEST_F(CompileRunTest, OverlongLinesAndFoldersAreRefusedWhole) {
    // 255 characters fit, 256 do not: a Csound path of 99, a score folder of 118.
    Set(ini.szCsoundPath, "/" + std::string(98, 'c'));
    Set(ini.szScoreDir, "/" + std::string(116, 'd') + "/");
    ini.nCSoundVer = ini.nShowCmdLine = 2;
    run.Compile(ini);
    Set(ini.szCsoundPath, "/" + std::string(99, 'c'));
    run.Compile(ini);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].size(), std::string("CMDLINE: ").size() + 255);
    EXPECT_EQ(boxes.boxes[1], "Tonsmith 3.3: The Csound command line would be 256 characters "
                              "long; at most 255 fit. Use a shorter Csound path or shorter "
                              "folder or file names.");
    ini.nScoTempCheck = 1, ini.nScoTempo = 123456789; // too long for its flag
    run.Compile(ini);
    EXPECT_TRUE(boxes.has("Tonsmith 3.3: The tempo 123456789", 2));
    // A folder of 126 characters (without its slash) fits, 127 do not.
    ini = ReadyRecord();
    Set(ini.szSFDIR, "/" + std::string(125, 'f') + "/");
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes.size(), 3u);
    Set(ini.szSFDIR, "/" + std::string(126, 'f') + "/");
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes.at(3), "Tonsmith 3.3: The sound output folder is 127 characters long; "
                                 "Csound gets at most 126 in SFDIR. Choose a shorter folder in the "
                                 "Preferences.");
    // The three SET lines of the script fit 255 characters together.
    ini.nCSoundVer = 1;
    for (char* dir : {ini.szSSDIR, ini.szSFDIR, ini.szSADIR})
        std::snprintf(dir, 127, "/%s/", std::string(100, 'd').c_str());
    run.Compile(ini);
    EXPECT_EQ(boxes.boxes.at(4), "Tonsmith 3.3: The three Csound folders together are too long "
                                 "for the batch script (339 characters; at most 255 fit). Choose "
                                 "shorter folders.");
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(CompileRunTest, WatchPollsTheNewestRunUntilItsEndThenRefreshesOnce) {
    run.Compile(ini), run.Compile(ini); // the first run is handed over for reaping, not polled
    Fake &first = *processes.at(0), &p = *processes.at(1);
    first.exitCode = 0;
    for (int id : {70, csound::IDT_RUNWATCH, csound::IDT_RUNWATCH}) // 70: someone else's timer
        run.OnTimer(id);
    EXPECT_TRUE(first.destroyed && first.polls == 0 && p.polls == 2 && window.refreshes == 0);
    p.exitCode = 0; // a good run says nothing; a late tick changes nothing
    run.OnTimer(csound::IDT_RUNWATCH), run.OnTimer(csound::IDT_RUNWATCH);
    EXPECT_TRUE(!run.IsRunning() && !window.timerOn && p.destroyed && window.refreshes == 1);
    EXPECT_EQ(p.polls + window.timerStarts, 3 + 2);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CompileRunTest, AFailedRunIsToldOnceWithTheConsolesSentence) {
    const struct {
        unsigned long code;
        const char *log, *text;
    } kEnds[] = {{1, "", "csound ended with exit code 1."},
                 {255, "", "csound ended with exit code 255."}, // 128 + 127: no signal
                 {128 + 9, "/c/csound.log",
                  "csound was ended by signal 9 (Killed).\nIts output is in /c/csound.log."}};
    ini.nCSoundVer = 2; // csound itself in the console, not the batch interpreter
    for (const auto& e : kEnds) {
        run.Compile(ini);
        processes.back()->exitCode = e.code, processes.back()->log = e.log;
        run.OnTimer(csound::IDT_RUNWATCH), run.OnTimer(csound::IDT_RUNWATCH);
        EXPECT_EQ(boxes.boxes.back(), std::string("Tonsmith 3.3: ") + e.text);
    }
    EXPECT_EQ(boxes.boxes.size() * 10 + std::size_t(window.refreshes), 33u);
}
