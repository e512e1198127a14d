// The performance and analysis command lines: their exact texts, the
// arguments Csound gets, and the limits that refuse a line whole.
#include "compile_fakes.h"
#include "csound/analysiscmd.h"
#include "csound/analysisrun.h"
#include "csound/perfcmd.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace testutil;
using Args = std::vector<std::string>;

namespace {
// The flag group of a performance, or the text of a refused line.
std::string group(const INISTRUCT& ini) {
    const CommandLine l = perf::MakeCommandLine(ini);
    return l.args.empty() ? l.text : l.args.at(1);
}
} // namespace

TEST(PerformanceLine, TheFlagGroupHasEveryFlagInItsSlot) {
    INISTRUCT ini = ReadyRecord();
    // No Sound has no type letter, an unknown id nothing; csound's 8-bit WAV is unsigned
    // only, its AIFF and headerless 8-bit are signed.
    const std::tuple<int, int, int, const char*> formats[] = {
        {IDC_AIFF, IDC_LONGINT, IDC_ASCII, "-Alg"},   {IDC_WAVE, IDC_8BIT, IDC_GRAPHIC, "-W8"},
        {IDC_NOSOUND, IDC_FLOAT, IDC_GRAPHIC, "-n"},  {IDC_NOHEADER, IDC_FLOAT, IDC_GRAPHIC, "-hf"},
        {IDC_NOHEADER, IDC_8BIT, IDC_GRAPHIC, "-hc"}, {0, 999, IDC_NODISPLAY, "-d"}};
    for (const auto& [format, type, display, text] : formats) {
        ini.nSoundFormat = format, ini.nSoundType = type, ini.nDisplay = display;
        EXPECT_EQ(group(ini), text) << format;
    }
    ini = ReadyRecord();
    ini.nRewriteHeaderCheck = ini.nDeferFileLoad = ini.nITimeOnly = ini.nVerboseOrcCheck = 1;
    ini.nScoScotCheck = ini.nMidiTerminate = ini.nHeartbeat = ini.nOrcSRateCheck = 1;
    ini.nOrcKRateCheck = ini.nMidiSusCheck = ini.nHardwareBufferCheck = ini.nScoTempCheck = 1;
    ini.nSoftwareBufferCheck = 1, ini.nDisplay = IDC_NODISPLAY, ini.nWarningsCheck = 5;
    ini.nOrcSrate = 44100, ini.nOrcKrate = 4410, ini.nScoTempo = 60, ini.nMidiSus = 64;
    ini.nHardwareBuffer = 1024, ini.nSoftwareBuffer = 256;
    EXPECT_EQ(group(ini), "-m5WsRDIr44100k4410vSt60P64B1024b256TdH");
    // Files follow as whole arguments; a missing orchestra or score refuses.
    ini = ReadyRecord();
    ini.nOutputFilenameCheck = ini.nMidiInFileCheck = ini.nScoExtractCheck = ini.nScoreMode = 1;
    Set(ini.szMidiInFile, "/m/in put.mid"), Set(ini.szScoExtract, "part.x");
    ini.szOutputFilename[0] = '\0'; // an empty name with its box on stays an argument
    EXPECT_EQ(perf::MakeCommandLine(ini).args,
              (Args{"/usr/bin/csound", "-Wsg", "-o", "", "-F", "/m/in put.mid", "-x", "part.x",
                    "/w/orc/tone.orc", "/w/orc/tone.sco"}));
    for (char* field : {ini.szOrc, ini.szScore}) {
        const char kept = std::exchange(field[0], '\0');
        EXPECT_EQ(group(ini), "ERROR!!");
        field[0] = kept;
    }
}

TEST(PerformanceLine, RefusesWhatWouldNotFit) {
    INISTRUCT ini = ReadyRecord();
    ini.nScoTempCheck = 1;
    const std::pair<int, const char*> tempos[] = {{99999999, "-Wst99999999g"},
                                                  {123456789, "TOO LONG!!"}, // 8 digits fit
                                                  {-9999999, "-Wst-9999999g"},
                                                  {-10000000, "TOO LONG!!"}};
    for (const auto& [tempo, text] : tempos) {
        ini.nScoTempo = tempo;
        EXPECT_EQ(group(ini), text) << tempo;
    }
    EXPECT_EQ(
        perf::MakeCommandLine(ini).fault,
        "The tempo -10000000 is too long for the Csound command line (at most 8 characters).");
    // 255 characters after the Csound path fit, 256 do not.
    ini = ReadyRecord();
    Set(ini.szOrcDir, "/" + std::string(110, 'o') + "/");
    Set(ini.szScoreDir, "/" + std::string(100, 's') + "/");
    Set(ini.szScore, std::string(19, 'x')); // the rest of the line takes 236
    EXPECT_EQ(perf::MakeCommandLine(ini).text.size(), 16u + 255u);
    Set(ini.szScore, std::string(20, 'x'));
    const CommandLine l = perf::MakeCommandLine(ini);
    EXPECT_EQ(l.text + l.fault, "TOO LONG!!The Csound command line would be 256 characters long; "
                                "at most 255 fit. Use shorter folder or file names.");
}

TEST(AnalysisLine, OptionsSplitFileNamesWholeAndLongLinesAreRefused) {
    INISTRUCT ini = ReadyRecord();
    Set(ini.szCsoundPath, "/opt/my cs/csound"), Set(ini.lpcStruct.string, "two words");
    Set(ini.szCurSoundFile, "/snd/my \"voice\".wav");
    EXPECT_EQ(analysis::MakeCommandLine(ini, analysis::PAGE_LPC).args,
              (Args{"/opt/my cs/csound", "-U", "lpanal", "-s10000", "-c1", "-b0.0", "-d0.0", "-p34",
                    "-h200", "-Ctwo", "words", "-P70", "-Q200", "-v0", "/snd/my \"voice\".wav",
                    "/w/ana/test.lpc"}));
    // A line of 199 characters fits, 200 do not.
    ini = ReadyRecord();
    Set(ini.szCurSoundFile, "/" + std::string(100, 's') + ".wav");
    Set(ini.pvcStruct.szOutputFile, std::string(27, 'p')); // the rest of the line takes 172
    EXPECT_EQ(analysis::MakeCommandLine(ini, analysis::PAGE_PVOC).text.size(), 199u);
    Set(ini.pvcStruct.szOutputFile, std::string(28, 'p'));
    const CommandLine l = analysis::MakeCommandLine(ini, analysis::PAGE_PVOC);
    EXPECT_EQ(l.text + l.fault, "TOO LONG!!The analysis command line would be 200 characters long; "
                                "at most 199 fit. Use shorter folder or file names.");
    // A page that does not exist refuses too, and nothing starts.
    BoxAnswerer boxes{IDOK};
    Set(ini.szCsoundPath, "/no/csound");
    EXPECT_FALSE(csound::LaunchAnalysisFrom(ini, analysis::PAGE_LPC));
    EXPECT_FALSE(csound::LaunchAnalysisFrom(ini, 3));
    EXPECT_EQ(boxes.boxes, (Args{"Error: Cannot find the program /no/csound. The analysis utility "
                                 "was not started.",
                                 "Error: There is no analysis of that kind. The utility was not "
                                 "started; the settings were saved."}));
}

TEST(AnalysisRun, ASpecialSoundFileIsRefusedAndAFailedUtilityToldAfterTheRefresh) {
    TempDir dir;
    EnvGuard x("DISPLAY", std::nullopt), w("WAYLAND_DISPLAY", std::nullopt); // no console
    INISTRUCT ini = ReadyRecord(dir.path(), "/bin/sh"); // sh ends with 2 on "-U"
    ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0644), 0);
    Set(ini.szCurSoundFile, dir / "pipe.wav");
    BoxAnswerer boxes{IDOK};
    EXPECT_FALSE(csound::LaunchAnalysisFrom(ini, analysis::PAGE_LPC));
    Set(ini.szCurSoundFile, dir / "voice.wav");
    std::size_t boxesAtRefresh = 9; // the lists come back before the failure is told
    csound::SetAnalysisEndHandler([&] { boxesAtRefresh = boxes.boxes.size(); });
    ASSERT_TRUE(csound::LaunchAnalysisFrom(ini, analysis::PAGE_HETRO));
    for (int i = 0; i < 500 && csound::PollAnalysisRuns() > 0; ++i)
        usleep(10000);
    csound::SetAnalysisEndHandler(nullptr);
    EXPECT_EQ(boxesAtRefresh, 1u);
    EXPECT_EQ(boxes.boxes, (Args{"Error: Cannot analyse " + dir / "pipe.wav" +
                                     ": it is a named pipe. The analysis utility was not started.",
                                 "Tonsmith 3.3: sh ended with exit code 2."}));
}
