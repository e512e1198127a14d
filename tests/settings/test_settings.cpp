#include "common/tempconfig.h"
#include "settings/ini.h"

#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string cwdSlash() {
    char buf[4096];
    EXPECT_NE(::getcwd(buf, sizeof buf), nullptr);
    return std::string(buf) + "/";
}

INISTRUCT load() {
    INISTRUCT ini{};
    InitAppInto(ini);
    return ini;
}

TEST(InitApp, NoFileGivesEveryDefault) {
    TempConfig cfg;
    INISTRUCT ini = load();
    const std::string start = cwdSlash();
    for (const char* d : {ini.szOrcDir, ini.szScoreDir, ini.szSFDIR, ini.szSSDIR, ini.szSADIR})
        EXPECT_EQ(d, start);
    EXPECT_EQ(+ini.nShowCmdLine, 2);
    EXPECT_EQ(+ini.nCSoundVer, 1);
    EXPECT_EQ(+ini.nShowAnalysis, 2);
    // The sound, display and analysis defaults show in the command lines.
    EXPECT_STREQ(ini.szCsoundPath, "");
    EXPECT_TRUE(IgnoredIniKeys().empty());
    EXPECT_FALSE(std::filesystem::exists(cfg.ini())); // loading never creates the file
}

TEST(InitApp, ReadsAHandEditedFile) {
    TempConfig cfg;
    cfg.writeIni("; written by hand\r\n"
                 "[directories]\r\n"
                 "ORCDIR=/home/ann/orc\r\n"
                 "scoredir = /home/ann/sco/\r\n"
                 "sfdir=\r\n"
                 "Csound Path=/wrong/section\r\n"
                 "[Preferences]\r\n"
                 "showcmdline=0\r\n"
                 "csoundver=2\r\n"
                 "showanalysis=1\r\n"
                 "[SOUND]\r\n"
                 "format=0\r\n"
                 "type=309\r\n"
                 "outputfile=voice.wav\r\n"
                 "[CSOUND]\r\n"
                 "csound path=/usr/bin/csound\r\n"
                 "tempo=120bpm\r\n"
                 "[DISPLAY]\r\n"
                 "display=505\r\n"
                 "[PVC]\r\n"
                 "type=416\r\n"
                 "hopsize=\r\n");
    INISTRUCT ini = load();
    EXPECT_STREQ(ini.szOrcDir, "/home/ann/orc"); // taken unchanged, no slash added
    EXPECT_STREQ(ini.szScoreDir, "/home/ann/sco/");
    EXPECT_EQ(ini.szSFDIR, cwdSlash()); // an empty value counts as missing
    EXPECT_STREQ(ini.szCsoundPath, "/usr/bin/csound");
    EXPECT_EQ(+ini.nShowCmdLine, 2); // a stored 0 cannot be told from a missing key
    EXPECT_EQ(+ini.nCSoundVer, 2);
    EXPECT_EQ(+ini.nShowAnalysis, 1);
    EXPECT_EQ(+ini.nSoundFormat, 302);
    EXPECT_EQ(+ini.nSoundType, 309);
    EXPECT_EQ(+ini.nScoTempo, 120);
    EXPECT_EQ(+ini.nDisplay, 505);
    EXPECT_EQ(+ini.pvcStruct.iType, 416);
    EXPECT_STREQ(ini.pvcStruct.hopsize, "0");
    EXPECT_STREQ(ini.szOutputFilename, "voice.wav");
}

TEST(InitApp, RefusesTextTooLongForItsField) {
    TempConfig cfg;
    const std::string longDir = "/" + std::string(130, 'd') + "/";
    cfg.writeIni("[DIRECTORIES]\norcdir=" + longDir + "\nsfdir=" + longDir +
                 "\n[SOUND]\noutputfile=longname.wav\n[LPC]\nchannel=12\n[CSOUND]\ncsound path=/" +
                 std::string(300, 'c') + "\n");
    INISTRUCT ini = load();
    EXPECT_EQ(ini.szOrcDir, cwdSlash());    // 132 characters do not fit 126: default
    EXPECT_EQ(ini.szSFDIR, longDir);        // the output folder holds 255
    EXPECT_STREQ(ini.szOutputFilename, ""); // 12 characters do not fit 11
    EXPECT_STREQ(ini.lpcStruct.channel, "1");
    EXPECT_STREQ(ini.szCsoundPath, "");
    ASSERT_EQ(IgnoredIniKeys().size(), 4u);
    EXPECT_EQ(IgnoredIniKeys()[0].key, "orcdir");
    EXPECT_EQ(IgnoredIniKeys()[0].length, 132u);
    EXPECT_EQ(IgnoredIniKeys()[0].capacity, 126u);
    EXPECT_EQ(IgnoredIniKeys()[1].key, "outputfile");
    EXPECT_EQ(IgnoredIniKeys()[2].key, "csound path");
    EXPECT_EQ(IgnoredIniKeys()[3].key, "channel");
    EXPECT_EQ(ReadIni("CSOUND", "csound path"), std::string()); // never a cut value
}

TEST(InitApp, StartupFolderTooLongLeavesDirectoriesEmpty) {
    TempConfig cfg;
    char here[4096];
    ASSERT_NE(::getcwd(here, sizeof here), nullptr);
    std::string deep = cfg.root() + "/" + std::string(100, 'a') + "/" + std::string(60, 'b');
    std::filesystem::create_directories(deep);
    ASSERT_EQ(::chdir(deep.c_str()), 0);
    INISTRUCT ini = load();
    ASSERT_EQ(::chdir(here), 0);
    EXPECT_STREQ(ini.szOrcDir, "");
    EXPECT_EQ(ini.szSFDIR, deep + "/");
    EXPECT_EQ(UnusableStartupDirectory(), deep + "/");
}

TEST(IniAccess, WritesCreateFileAndReadBack) {
    TempConfig cfg;
    EXPECT_STREQ(ReadIni("CSOUND", "csound path"), "");
    EXPECT_EQ(ReadIniInt("WAVE", "WaveOutDev"), 0);
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "/opt/cs 6/csound"), 1);
    EXPECT_EQ(WriteIni("WAVE", "WaveOutDev", "3"), 1);
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "/usr/bin/csound"), 1);
    EXPECT_EQ(cfg.readIni(), "[CSOUND]\ncsound path=/usr/bin/csound\n[WAVE]\nWaveOutDev=3\n");
    EXPECT_STREQ(ReadIni("csound", "CSOUND PATH"), "/usr/bin/csound");
    EXPECT_EQ(ReadIniInt("wave", "waveoutdev"), 3);
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "two\nlines"), 0);
    EXPECT_STREQ(ReadIni("CSOUND", "csound path"), "/usr/bin/csound");
}

TEST(IniAccess, UnreadableFileIsNeverReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempConfig cfg;
    cfg.writeIni("[A]\nkeep=me\n");
    std::filesystem::permissions(cfg.ini(), std::filesystem::perms::none);
    EXPECT_EQ(WriteIni("A", "b", "c"), 0);
    std::filesystem::permissions(cfg.ini(), std::filesystem::perms(0644));
    EXPECT_EQ(cfg.readIni(), "[A]\nkeep=me\n");
}

TEST(IniAccess, NoConfigFolderReadsEmptyAndWritesNothing) {
    testutil::EnvGuard config("XDG_CONFIG_HOME", "relative/dir"), home("HOME", "");
    EXPECT_EQ(IniFilePath(), "");
    EXPECT_EQ(WriteIni("A", "b", "c"), 0);
    EXPECT_STREQ(ReadIni("A", "b"), "");
    INISTRUCT ini = load();
    EXPECT_EQ(+ini.nDisplay, 504);
}

TEST(RefreshIni, WritesTheThirtyNinePreferenceKeysInOrder) {
    TempConfig cfg;
    INISTRUCT local = load();
    local.nDisplay = 504;
    local.nHardwareBuffer = -2147483647 - 1;
    local.nScoTempo = 96;
    std::memset(local.szOrcDir, 0, sizeof local.szOrcDir); // compared byte for byte below
    std::strcpy(local.szOrcDir, "/o/");
    EXPECT_EQ(prefs::RefreshIni(&local), 1);
    const std::string text = cfg.readIni();
    const char* keys[] = {
        "orcdir",     "scoredir",     "sfdir",        "ssdir",        "sadir",         "scoremode",
        "sfmode",     "prefscreen",   "showcmdline",  "showanalysis", "format",        "type",
        "outputfile", "outfilecheck", "hbuffercheck", "sbuffercheck", "rewriteheader", "deferload",
        "hardbuffer", "softbuffer",   "itime",        "srateck",      "srate",         "krateck",
        "krate",      "verbose",      "scot",         "extractck",    "extract",       "tempock",
        "tempo",      "midifileck",   "midifile",     "midisusck",    "midisus",       "terminate",
        "warnings",   "display",      "heartbeat"};
    std::size_t pos = 0, count = 0;
    for (const char* k : keys) {
        std::size_t at = text.find(std::string("\n") + k + "=", pos);
        ASSERT_NE(at, std::string::npos) << k;
        pos = at + 1;
        ++count;
    }
    EXPECT_EQ(count, 39u);
    EXPECT_NE(text.find("display=504\n"), std::string::npos);
    EXPECT_NE(text.find("hardbuffer=-2147483648\n"), std::string::npos);
    EXPECT_EQ(text.find("csoundver"), std::string::npos);
    INISTRUCT back = load();
    EXPECT_EQ(std::memcmp(&back, &local, sizeof back), 0);

    // Keys the Preferences do not own, and comments, survive.
    cfg.writeIni("[CSOUND]\ncsound path=/usr/bin/csound\n; keep me\n[WAVE]\nWaveOutDev=1\n");
    prefs::RefreshIni(&local);
    const std::string kept = cfg.readIni();
    EXPECT_EQ(kept.rfind("[CSOUND]\ncsound path=/usr/bin/csound\n; keep me\nitime=0\n", 0), 0u)
        << kept;
    EXPECT_NE(kept.find("[WAVE]\nWaveOutDev=1\n[DIRECTORIES]\norcdir=/o/\n"), std::string::npos);
}

} // namespace
