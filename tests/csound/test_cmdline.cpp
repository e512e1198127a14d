// The performance and analysis command lines: their exact texts, the
// arguments Csound gets, and the limits that refuse a line whole.
#include "common/tempconfig.h"
#include "csound/analysiscmd.h"
#include "csound/perfcmd.h"
#include "settings/ini.h"

namespace {
using testutil::Set;
using Args = std::vector<std::string>;

// A fresh start's settings with Csound, an orchestra and a score chosen.
INISTRUCT fresh() {
    TempConfig cfg;
    INISTRUCT ini{};
    InitAppInto(ini);
    Set(ini.szCsoundPath, "cs");
    Set(ini.szOrcDir, "/home/ann/orc/");
    Set(ini.szScoreDir, "/home/ann/sco/");
    Set(ini.szOrc, "bell.orc");
    Set(ini.szScore, "bell.sco");
    return ini;
}

// The text of the performance line; the arguments must be its words.
std::string line(const INISTRUCT& ini) {
    return perf::MakeCommandLine(ini).text;
}
std::string group(const INISTRUCT& ini) {
    const CommandLine l = perf::MakeCommandLine(ini);
    return l.args.size() > 1 ? l.args[1] : l.text;
}

TEST(PerformanceLine, DefaultsAndMissingSelection) {
    INISTRUCT ini = fresh();
    const CommandLine l = perf::MakeCommandLine(ini);
    EXPECT_EQ(l.text, "cs -Wsg -o test /home/ann/orc/bell.orc /home/ann/sco/bell.sco");
    EXPECT_EQ(l.args, (Args{"cs", "-Wsg", "-o", "test", "/home/ann/orc/bell.orc",
                            "/home/ann/sco/bell.sco"}));
    for (int which = 0; which < 2; ++which) {
        INISTRUCT missing = fresh();
        (which ? missing.szScore : missing.szOrc)[0] = '\0';
        EXPECT_EQ(line(missing), "ERROR!!");
        EXPECT_TRUE(perf::MakeCommandLine(missing).args.empty());
    }
}

TEST(PerformanceLine, FlagGroupOrderAndFormats) {
    INISTRUCT ini = fresh();
    // Every type letter behind the Wave letter; No Sound has none, No Header
    // no format letter, and an id without a letter contributes nothing.
    for (int id = IDC_NOSOUND; id <= IDC_FLOAT; ++id) {
        ini.nSoundType = id;
        EXPECT_EQ(group(ini), std::string("-W") + "nAWhcauslf"[id - IDC_NOSOUND] + "g") << id;
    }
    const std::tuple<int, int, int, const char*> formats[] = {
        {IDC_NOSOUND, IDC_FLOAT, IDC_GRAPHIC, "-n"},
        {IDC_NOHEADER, IDC_FLOAT, IDC_GRAPHIC, "-f"},
        {IDC_AIFF, IDC_LONGINT, IDC_NODISPLAY, "-Ald"},
        {0, 999, IDC_GRAPHIC, "-"},
    };
    for (const auto& [format, type, display, text] : formats) {
        ini.nSoundFormat = format, ini.nSoundType = type, ini.nDisplay = display;
        EXPECT_EQ(group(ini), text) << format;
    }

    ini = fresh();
    ini.nWarningsCheck = 7;
    ini.nScoTempCheck = 1, ini.nScoTempo = 120;
    EXPECT_EQ(group(ini), "-m7Wst120g");
    // Every flag on, in its slot.
    ini.nWarningsCheck = 5;
    ini.nRewriteHeaderCheck = ini.nDeferFileLoad = ini.nITimeOnly = 1;
    ini.nOrcSRateCheck = 1, ini.nOrcSrate = 44100;
    ini.nOrcKRateCheck = 1, ini.nOrcKrate = 4410;
    ini.nVerboseOrcCheck = ini.nScoScotCheck = 1;
    ini.nScoTempo = 60;
    ini.nMidiSusCheck = 1, ini.nMidiSus = 64;
    ini.nHardwareBufferCheck = 1, ini.nHardwareBuffer = 1024;
    ini.nSoftwareBufferCheck = 1, ini.nSoftwareBuffer = 256;
    ini.nMidiTerminate = ini.nHeartbeat = 1;
    ini.nDisplay = IDC_NODISPLAY;
    EXPECT_EQ(group(ini), "-m5WsRDIr44100k4410vSt60P64B1024b256TdH");
}

TEST(PerformanceLine, FilesFollowTheGroupInOrderAsWholeArguments) {
    INISTRUCT ini = fresh();
    ini.nOutputFilenameCheck = 1;
    Set(ini.szOutputFilename, "out.wav");
    ini.nMidiInFileCheck = 1;
    Set(ini.szMidiInFile, "/m/in put.mid");
    ini.nScoExtractCheck = 1;
    Set(ini.szScoExtract, "part.x");
    ini.nScoreMode = 1;
    const CommandLine l = perf::MakeCommandLine(ini);
    EXPECT_EQ(l.text, "cs -Wsg -o out.wav -F /m/in put.mid -x part.x /home/ann/orc/bell.orc "
                      "/home/ann/orc/bell.sco");
    EXPECT_EQ(l.args, (Args{"cs", "-Wsg", "-o", "out.wav", "-F", "/m/in put.mid", "-x", "part.x",
                            "/home/ann/orc/bell.orc", "/home/ann/orc/bell.sco"}));
    ini.szOutputFilename[0] = '\0'; // an empty name with its box on goes on as it is
    EXPECT_NE(line(ini).find(" -o  -F "), std::string::npos);
    EXPECT_EQ(perf::MakeCommandLine(ini).args[3], "");
}

TEST(PerformanceLine, RefusesWhatWouldNotFit) {
    INISTRUCT ini = fresh();
    ini.nScoTempCheck = 1;
    const std::pair<int, const char*> tempos[] = {
        {99999999, "-Wst99999999g"},
        {123456789, "TOO LONG!!"}, // 8 digits fit
        {-9999999, "-Wst-9999999g"},
        {-10000000, "TOO LONG!!"}}; // sign and 7 digits fit
    for (const auto& [tempo, text] : tempos) {
        ini.nScoTempo = tempo;
        EXPECT_EQ(group(ini), text) << tempo;
    }
    ini.nScoTempo = 123456789;
    EXPECT_EQ(
        perf::MakeCommandLine(ini).fault,
        "The tempo 123456789 is too long for the Csound command line (at most 8 characters).");

    // 255 characters after the Csound path fit, 256 do not.
    ini = fresh();
    Set(ini.szOrcDir, "/" + std::string(110, 'o') + "/");
    Set(ini.szScoreDir, "/" + std::string(100, 's') + "/");
    Set(ini.szScore, std::string(8 + 255 - (line(ini).size() - 3), 'x'));
    EXPECT_EQ(line(ini).size(), 3u + 255u);
    Set(ini.szScore, std::string(std::strlen(ini.szScore) + 1, 'x'));
    const CommandLine refused = perf::MakeCommandLine(ini);
    EXPECT_EQ(refused.text, "TOO LONG!!");
    EXPECT_TRUE(refused.args.empty());
    EXPECT_EQ(refused.fault, "The Csound command line would be 256 characters long; at most 255 "
                             "fit. Use shorter folder or file names.");
}

INISTRUCT analysisFresh() {
    INISTRUCT ini = fresh();
    Set(ini.szCsoundPath, "/usr/bin/csound");
    Set(ini.szCurSoundFile, "/snd/voice.wav");
    Set(ini.szSADIR, "/ana/");
    return ini;
}

std::string analysisLine(const INISTRUCT& ini, int page) {
    return analysis::MakeCommandLine(ini, page).text;
}

TEST(AnalysisLine, ThreeUtilitiesWithDefaults) {
    INISTRUCT ini = analysisFresh();
    EXPECT_EQ(analysisLine(ini, analysis::PAGE_LPC),
              "/usr/bin/csound -U lpanal -s10000 -c1 -b0.0 -d0.0 -p34 -h200 -P70 -Q200 -v0 "
              "/snd/voice.wav /ana/test.lpc");
    EXPECT_EQ(analysisLine(ini, analysis::PAGE_HETRO),
              "/usr/bin/csound -U hetro -s10000 -c1 -b0.0 -d0.0 -f100 -h10 -M32767 -m64 -n256 "
              "-l0 /snd/voice.wav /ana/test.htr");
    EXPECT_EQ(analysisLine(ini, analysis::PAGE_PVOC),
              "/usr/bin/csound -U pvanal -s10000 -c1 -b0.0 -d0.0 -n16 -w4 /snd/voice.wav "
              "/ana/test.pvc");
    const CommandLine none = analysis::MakeCommandLine(ini, 3);
    EXPECT_EQ(none.text, "TOO LONG!!");
    EXPECT_EQ(none.fault, "There is no analysis of that kind.");
}

TEST(AnalysisLine, OptionsAreSplitAndFileNamesStayWhole) {
    INISTRUCT ini = analysisFresh();
    Set(ini.szCsoundPath, "/opt/my cs/csound");
    Set(ini.szCurSoundFile, "/snd/my \"voice\".wav");
    Set(ini.szSADIR, "/my ana/");
    Set(ini.lpcStruct.string, "two words");
    const CommandLine lpc = analysis::MakeCommandLine(ini, analysis::PAGE_LPC);
    EXPECT_NE(lpc.text.find(" -h200 -Ctwo words -P70"), std::string::npos);
    EXPECT_EQ(lpc.args, (Args{"/opt/my cs/csound", "-U", "lpanal", "-s10000", "-c1", "-b0.0",
                              "-d0.0", "-p34", "-h200", "-Ctwo", "words", "-P70", "-Q200", "-v0",
                              "/snd/my \"voice\".wav", "/my ana/test.lpc"}));
    ini.pvcStruct.iType = IDC_HOPSIZE;
    Set(ini.pvcStruct.hopsize, "128");
    const std::string pv = analysisLine(ini, analysis::PAGE_PVOC);
    EXPECT_NE(pv.find(" -n16 -h128 "), std::string::npos);
    EXPECT_EQ(pv.find("-w"), std::string::npos);
    ini.htrStruct.cutfreq[0] = '\0';
    Set(ini.htrStruct.szOutputFile, "sub/noext");
    const std::string h = analysisLine(ini, analysis::PAGE_HETRO);
    EXPECT_NE(h.find(" -n256 -l /snd/my \"voice\".wav /my ana/sub/noext"), std::string::npos) << h;
}

TEST(AnalysisLine, RefusesALineOver199Characters) {
    INISTRUCT ini = analysisFresh();
    Set(ini.szCurSoundFile, "/" + std::string(100, 's') + ".wav");
    const std::size_t fits = analysisLine(ini, analysis::PAGE_PVOC).size();
    Set(ini.pvcStruct.szOutputFile, std::string(199 - fits + 8, 'p'));
    EXPECT_EQ(analysisLine(ini, analysis::PAGE_PVOC).size(), 199u);
    Set(ini.pvcStruct.szOutputFile, std::string(199 - fits + 9, 'p'));
    const CommandLine refused = analysis::MakeCommandLine(ini, analysis::PAGE_PVOC);
    EXPECT_EQ(refused.text, "TOO LONG!!");
    EXPECT_TRUE(refused.args.empty());
    EXPECT_EQ(refused.fault, "The analysis command line would be 200 characters long; at most 199 "
                             "fit. Use shorter folder or file names.");
}

TEST(AnalysisRefreshIni, WritesThirtyOneKeysThatLoadBack) {
    TempConfig cfg;
    INISTRUCT ini = analysisFresh();
    Set(ini.lpcStruct.npoles, "50");
    ini.lpcStruct.string[0] = '\0';
    ini.pvcStruct.iType = IDC_HOPSIZE;
    Set(ini.htrStruct.szOutputFile, "bell.htr");
    analysis::LocalIniStruct = ini;
    EXPECT_EQ(analysis::RefreshIni(), 1);
    const std::string text = cfg.readIni();
    std::size_t keys = 0;
    for (std::size_t p = text.find('='); p != std::string::npos; p = text.find('=', p + 1))
        ++keys;
    EXPECT_EQ(keys, 31u);
    EXPECT_NE(text.find("[LPC]\nsrate=10000\nchannel=1\n"), std::string::npos);
    EXPECT_NE(text.find("string=\nmincps=70"), std::string::npos);
    EXPECT_NE(text.find("windfact=4\nhopsize=0\ntype=416\noutputfile=test.pvc\n"),
              std::string::npos);
    INISTRUCT back{};
    InitAppInto(back);
    EXPECT_EQ(std::memcmp(&back.lpcStruct, &ini.lpcStruct, sizeof ini.lpcStruct), 0);
    EXPECT_EQ(std::memcmp(&back.pvcStruct, &ini.pvcStruct, sizeof ini.pvcStruct), 0);
    EXPECT_STREQ(back.htrStruct.szOutputFile, "bell.htr");
}

} // namespace
