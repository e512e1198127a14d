#include "common/tempconfig.h"
#include "csound/analysiscmd.h"
#include "csound/cmdline.h"
#include "csound/stringtable.h"
#include "settings/ini.h"

namespace {
using testutil::Set;

// A fresh start's settings with an orchestra and a score chosen.
INISTRUCT fresh() {
    TempConfig cfg;
    INISTRUCT ini{};
    InitAppInto(ini);
    Set(ini.szOrcDir, "/home/ann/orc/");
    Set(ini.szScoreDir, "/home/ann/sco/");
    Set(ini.szOrc, "bell.orc");
    Set(ini.szScore, "bell.sco");
    return ini;
}

std::string line(const INISTRUCT& ini) {
    return perf::MakeCommandLine(&ini);
}

TEST(PerformanceLine, DefaultsAndMissingSelection) {
    INISTRUCT ini = fresh();
    EXPECT_EQ(line(ini), "-Wsg -o test /home/ann/orc/bell.orc /home/ann/sco/bell.sco");
    ini.szScore[0] = '\0';
    EXPECT_STREQ(perf::MakeCommandLine(&ini), szCmdLineError);
    ini = fresh();
    ini.szOrc[0] = '\0';
    EXPECT_STREQ(perf::MakeCommandLine(&ini), "ERROR!!");
}

TEST(PerformanceLine, FlagGroupOrderAndFormats) {
    INISTRUCT ini = fresh();
    ini.nSoundFormat = IDC_NOSOUND;
    ini.nDisplay = IDC_GRAPHIC;
    EXPECT_EQ(line(ini), "-n -o test /home/ann/orc/bell.orc /home/ann/sco/bell.sco");
    ini.nSoundType = IDC_FLOAT;
    EXPECT_EQ(line(ini).substr(0, 3), "-n ");
    ini.nSoundFormat = IDC_NOHEADER;
    EXPECT_EQ(line(ini).substr(0, 3), "-f ");
    ini.nSoundFormat = IDC_AIFF;
    ini.nSoundType = IDC_LONGINT;
    EXPECT_EQ(line(ini).substr(0, 4), "-Al ");
    ini.nSoundFormat = 0; // an id with no letter contributes nothing
    ini.nSoundType = 999;
    EXPECT_EQ(line(ini).substr(0, 2), "- ");

    ini = fresh();
    ini.nWarningsCheck = 7;
    ini.nScoTempCheck = 1;
    ini.nScoTempo = 120;
    EXPECT_EQ(line(ini).substr(0, 11), "-m7Wst120g ");

    // Every flag on, in its slot.
    ini = fresh();
    ini.nWarningsCheck = 5;
    ini.nRewriteHeaderCheck = ini.nDeferFileLoad = ini.nITimeOnly = 1;
    ini.nOrcSRateCheck = 1, ini.nOrcSrate = 44100;
    ini.nOrcKRateCheck = 1, ini.nOrcKrate = 4410;
    ini.nVerboseOrcCheck = ini.nScoScotCheck = 1;
    ini.nScoTempCheck = 1, ini.nScoTempo = 60;
    ini.nMidiSusCheck = 1, ini.nMidiSus = 64;
    ini.nHardwareBufferCheck = 1, ini.nHardwareBuffer = 1024;
    ini.nSoftwareBufferCheck = 1, ini.nSoftwareBuffer = 256;
    ini.nMidiTerminate = ini.nHeartbeat = 1;
    ini.nDisplay = IDC_NODISPLAY;
    EXPECT_EQ(line(ini).substr(0, 45), "-m5WsRDIr44100k4410vSt60P64B1024b256TdH -o te");
}

TEST(PerformanceLine, FilesFollowTheGroupInOrder) {
    INISTRUCT ini = fresh();
    ini.nOutputFilenameCheck = 1;
    Set(ini.szOutputFilename, "out.wav");
    ini.nMidiInFileCheck = 1;
    Set(ini.szMidiInFile, "/m/in put.mid");
    ini.nScoExtractCheck = 1;
    Set(ini.szScoExtract, "part.x");
    ini.nScoreMode = 1;
    EXPECT_EQ(line(ini), "-Wsg -o out.wav -F /m/in put.mid -x part.x /home/ann/orc/bell.orc "
                         "/home/ann/orc/bell.sco");
    ini.szOutputFilename[0] = '\0'; // an empty name with its box on goes on as it is
    EXPECT_NE(line(ini).find(" -o  -F "), std::string::npos);
}

TEST(PerformanceLine, RefusesWhatWouldNotFit) {
    INISTRUCT ini = fresh();
    ini.nScoTempCheck = 1;
    ini.nScoTempo = 99999999; // 8 digits fit
    EXPECT_NE(line(ini).find("t99999999"), std::string::npos);
    ini.nScoTempo = 123456789;
    EXPECT_STREQ(perf::MakeCommandLine(&ini), szCmdLineTooLong);
    EXPECT_NE(std::string(perf::CommandLineFault()).find("tempo 123456789"), std::string::npos);
    ini.nScoTempo = -9999999; // sign and 7 digits fit
    EXPECT_NE(line(ini).find("t-9999999"), std::string::npos);
    ini.nScoTempo = -10000000;
    EXPECT_STREQ(perf::MakeCommandLine(&ini), szCmdLineTooLong);

    ini = fresh();
    Set(ini.szOrcDir, "/" + std::string(110, 'o') + "/");
    Set(ini.szScoreDir, "/" + std::string(100, 's') + "/");
    const std::string fits = line(ini);
    ASSERT_NE(fits, szCmdLineTooLong);
    EXPECT_LE(fits.size(), 255u);
    Set(ini.szScore, std::string(8 + (255 - fits.size()), 'x'));
    const std::string full = line(ini);
    EXPECT_EQ(full.size(), 255u);
    Set(ini.szScore, std::string(std::strlen(ini.szScore) + 1, 'x'));
    EXPECT_STREQ(perf::MakeCommandLine(&ini), szCmdLineTooLong);
    EXPECT_NE(std::string(perf::CommandLineFault()).find("256 characters"), std::string::npos);
}

TEST(StringTable, FormatLetters) {
    char buf[128];
    std::string letters;
    for (unsigned id = 300; id <= 309; ++id) {
        ASSERT_EQ(LoadString(id, buf, sizeof buf), 1);
        letters += buf;
    }
    EXPECT_EQ(letters, "nAWhcausl"
                       "f");
    EXPECT_EQ(LoadString(310, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}

INISTRUCT analysisFresh() {
    INISTRUCT ini = fresh();
    Set(ini.szCsoundPath, "/usr/bin/csound");
    Set(ini.szCurSoundFile, "/snd/voice.wav");
    Set(ini.szSADIR, "/ana/");
    return ini;
}

TEST(AnalysisLine, ThreeUtilitiesWithDefaults) {
    INISTRUCT ini = analysisFresh();
    EXPECT_STREQ(analysis::MakeCommandLineFrom(&ini, analysis::PAGE_LPC),
                 "/usr/bin/csound -U lpanal -s10000 -c1 -b0.0 -d0.0 -p34 -h200 -P70 -Q200 -v0 "
                 "/snd/voice.wav /ana/test.lpc");
    EXPECT_STREQ(analysis::MakeCommandLineFrom(&ini, analysis::PAGE_HETRO),
                 "/usr/bin/csound -U hetro -s10000 -c1 -b0.0 -d0.0 -f100 -h10 -M32767 -m64 -n256 "
                 "-l0 /snd/voice.wav /ana/test.htr");
    EXPECT_STREQ(analysis::MakeCommandLineFrom(&ini, analysis::PAGE_PVOC),
                 "/usr/bin/csound -U pvanal -s10000 -c1 -b0.0 -d0.0 -n16 -w4 /snd/voice.wav "
                 "/ana/test.pvc");
    analysis::LocalIniStruct = ini;
    EXPECT_STREQ(analysis::MakeCommandLine(2), analysis::MakeCommandLineFrom(&ini, 2));
    EXPECT_STREQ(analysis::MakeCommandLine(3), analysis::szAnalysisTooLong);
}

TEST(AnalysisLine, OptionalAndEmptyValues) {
    INISTRUCT ini = analysisFresh();
    Set(ini.lpcStruct.string, "two words");
    EXPECT_NE(std::string(analysis::MakeCommandLineFrom(&ini, 0)).find(" -h200 -Ctwo words -P70"),
              std::string::npos);
    ini.pvcStruct.iType = IDC_HOPSIZE;
    Set(ini.pvcStruct.hopsize, "128");
    std::string pv = analysis::MakeCommandLineFrom(&ini, 2);
    EXPECT_NE(pv.find(" -n16 -h128 "), std::string::npos);
    EXPECT_EQ(pv.find("-w"), std::string::npos);
    ini.htrStruct.cutfreq[0] = '\0';
    Set(ini.htrStruct.szOutputFile, "sub/noext");
    std::string h = analysis::MakeCommandLineFrom(&ini, 1);
    EXPECT_NE(h.find(" -n256 -l /snd/voice.wav /ana/sub/noext"), std::string::npos) << h;
}

TEST(AnalysisLine, RefusesALineOver199Characters) {
    INISTRUCT ini = analysisFresh();
    Set(ini.szCurSoundFile, "/" + std::string(100, 's') + ".wav");
    std::string fits = analysis::MakeCommandLineFrom(&ini, 2);
    ASSERT_LT(fits.size(), 200u);
    Set(ini.pvcStruct.szOutputFile, std::string(199 - fits.size() + 8, 'p'));
    EXPECT_EQ(std::strlen(analysis::MakeCommandLineFrom(&ini, 2)), 199u);
    Set(ini.pvcStruct.szOutputFile, std::string(199 - fits.size() + 9, 'p'));
    EXPECT_STREQ(analysis::MakeCommandLineFrom(&ini, 2), analysis::szAnalysisTooLong);
    EXPECT_NE(std::string(analysis::CommandLineFault()).find("200 characters"), std::string::npos);
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
