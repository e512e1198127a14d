// The settings file: reading and writing INI text as the profile functions
// do, the load with its defaults and refusals, the exact bytes each dialog
// writes, the bytes an OK leaves alone, and what a crash or a power loss can leave.
#include "common/syscalltrace.h"
#include "common/tempconfig.h"
#include "settings/ini.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
const char* kUserFile = "; my Csound setup\r\n[Directories]\r\n  OrcDir = /home/ann/orc/  \r\n"
                        "orcdir=/ignored/second/\r\ncolor=blue\r\n\r\n[SOUND]\r\n"
                        "outputfile=\"my out.wav\"\r\nquoted='x'\r\nhalf=\"open\r\n"
                        "; a comment=with equals\r\n";
const std::string kBom = "\xEF\xBB\xBF";
using namespace std::literals;

std::string cwdSlash() {
    return std::filesystem::current_path().string() + "/";
}

INISTRUCT load() {
    INISTRUCT ini{};
    InitAppInto(ini);
    return ini;
}

TEST(IniText, ReadsLikeTheProfileFunctions) {
    const std::tuple<std::string, const char*, const char*, std::optional<std::string>> cases[] = {
        {kUserFile, "DIRECTORIES", "orcdir", "/home/ann/orc/"}, // trimmed, first key wins
        {kUserFile, "SOUND", "outputfile", "my out.wav"},
        {kUserFile, "SOUND", "quoted", "x"},
        {kUserFile, "SOUND", "half", "\"open"},
        {kUserFile, "SOUND", "; a comment", std::nullopt},
        {kUserFile, "SOUND", "color", std::nullopt},
        {"[A]\nb=\n", "A", "b", ""},
        {"[A]\nx=1\n[B]\n[a]\nb=2\n", "A", "b", std::nullopt}, // only the first [A] counts
        {kBom + "[DIRECTORIES]\r\norcdir=/a/\r\n", "directories", "orcdir", "/a/"},
    };
    for (const auto& [text, section, key, value] : cases)
        EXPECT_EQ(IniIndex(text).get(section, key), value) << text << key;
}

TEST(IniText, WriteReplacesInPlaceOrAddsAtTheEndAndKeepsEverythingElse) {
    std::string replaced = kUserFile;
    replaced.replace(replaced.find("  OrcDir = /home/ann/orc/  "), 27, "orcdir=/new/");
    std::string added = kUserFile;
    added.insert(added.find("\r\n[SOUND]"), "sfdir=/snd/\r\n");
    const std::string bomFile = kBom + "[DIRECTORIES]\r\norcdir=/a/\r\n";
    const std::tuple<std::string, const char*, const char*, const char*, std::string> cases[] = {
        {kUserFile, "directories", "orcdir", "/new/", replaced},
        {kUserFile, "DIRECTORIES", "sfdir", "/snd/", added},
        {kUserFile, "MIDI", "midisus", "5", std::string(kUserFile) + "[MIDI]\r\nmidisus=5\r\n"},
        {"[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"}, // LF stays LF, the last line gets its end
        {"[A]\nx=1", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
        {bomFile, "DIRECTORIES", "orcdir", "/b/", kBom + "[DIRECTORIES]\r\norcdir=/b/\r\n"},
        {kBom, "A", "y", "2", kBom + "[A]\ny=2\n"},
    };
    for (const auto& [text, section, key, value, expected] : cases)
        EXPECT_EQ(IniTextSet(text, section, key, value), expected) << text;
}

TEST(IniText, RefusesWhatWouldBreakTheFileAndReadsNumbersPredictably) {
    for (std::string_view v : {"two\nlines"sv, "nul\0"sv, "cr\r"sv})
        EXPECT_FALSE(IniValueIsStorable(v)) << v;
    EXPECT_TRUE(IniValueIsStorable("/a b/c;d=e"));
    for (const char* name : {"a=b", "[x]", "", " a", ";a", "#a"})
        EXPECT_FALSE(IniNameIsStorable(name)) << name;
    EXPECT_TRUE(IniNameIsStorable("csound path"));
    // The settings reader skips blanks and tabs only; the number boxes skip
    // all white space (dialog tests).
    std::string got;
    for (const char* text : {" \t42abc", "abc", "+8", "", "- 5", "\n5", "44.1", "2147483647",
                             "99999999999999999999", "-99999999999999999999"})
        got += DecimalText(IniParseInt(text)) + " ";
    EXPECT_EQ(got, "42 0 8 0 0 0 44 2147483647 2147483647 -2147483648 ");
}

// A link to the settings file stays a link and its target gets the new
// text; an unreadable file is never replaced; without a configuration folder
// reads are empty and writes do nothing.
TEST(IniAccess, WritesCreateFileReadBackFollowLinksAndNeverReplaceUnreadable) {
    TempConfig cfg;
    EXPECT_EQ(ReadIni("CSOUND", "csound path") + std::to_string(ReadIniInt("WAVE", "x")), "0");
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "/opt/cs 6/csound"), 1);
    EXPECT_EQ(WriteIni("WAVE", "WaveOutDev", "3"), 1);
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "/usr/bin/csound"), 1);
    EXPECT_EQ(cfg.readIni(), "[CSOUND]\ncsound path=/usr/bin/csound\n[WAVE]\nWaveOutDev=3\n");
    EXPECT_STREQ(ReadIni("csound", "CSOUND PATH"), "/usr/bin/csound");
    EXPECT_EQ(ReadIniInt("wave", "waveoutdev"), 3);
    EXPECT_EQ(WriteIni("CSOUND", "csound path", "two\nlines") + WriteIni("CSOUND", "a=b", "x"), 0);
    EXPECT_STREQ(ReadIni("CSOUND", "csound path"), "/usr/bin/csound");
    // A value longer than 255 characters reads as missing, never cut.
    EXPECT_EQ(WriteIni("A", "long", std::string(256, 'x').c_str()), 1);
    EXPECT_STREQ(ReadIni("A", "long"), "");
    EXPECT_EQ(WriteIni("A", "long", std::string(255, 'x').c_str()), 1);
    EXPECT_EQ(std::strlen(ReadIni("A", "long")), 255u);

    const std::string real = cfg.root() + "/real.ini";
    testutil::WriteFile(real, "[A]\nb=1\n");
    std::filesystem::remove(cfg.ini());
    std::filesystem::create_symlink(real, cfg.ini());
    EXPECT_EQ(WriteIni("A", "b", "2"), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(cfg.ini()));
    EXPECT_EQ(testutil::ReadFile(real), "[A]\nb=2\n");

    std::filesystem::permissions(real, std::filesystem::perms::none);
    const int written = WriteIni("A", "b", "c");
    std::filesystem::permissions(real, std::filesystem::perms(0644));
    const std::string kept = std::to_string(written) + cfg.readIni();
    EXPECT_TRUE(::geteuid() == 0 || kept == "0[A]\nb=2\n") << kept; // root reads every file
    testutil::EnvGuard config("XDG_CONFIG_HOME", "relative/dir"), home("HOME", "");
    EXPECT_EQ(IniFilePath(), "");
    EXPECT_EQ(WriteIni("A", "b", "c"), 0);
    EXPECT_STREQ(ReadIni("A", "b"), "");
    EXPECT_EQ(+load().nDisplay, 504);
}

// Without a file every key takes its default; written back, the keys come in
// their writers' order, byte for byte, and load back unchanged.
TEST(InitApp, DefaultsAndTheBytesEachWriterWrites) {
    TempConfig cfg;
    INISTRUCT ini;
    std::memset(&ini, 'x', sizeof ini);
    InitAppInto(ini);
    EXPECT_TRUE(IgnoredIniKeys().empty());
    EXPECT_FALSE(std::filesystem::exists(cfg.ini())); // loading never creates the file
    EXPECT_EQ(std::string(ini.szCsoundPath) + ini.szEditorPath + ini.szTextEditorPath, "");
    EXPECT_EQ(+ini.nCSoundVer, 1);
    ini.nHardwareBuffer = -2147483647 - 1;
    ini.nSFMode = 1;
    ini.pvcStruct.iType = 416;
    std::strcpy(ini.szScoExtract, "x.ext");
    std::strcpy(ini.lpcStruct.string, "voice");
    EXPECT_EQ(prefs::RefreshIni(&ini), 1);
    EXPECT_EQ(WriteIniKeys(ini, IniWriter::Analysis), 1);
    const std::string d = cwdSlash();
    EXPECT_EQ(cfg.readIni(),
              "[DIRECTORIES]\norcdir=" + d + "\nscoredir=" + d + "\nsfdir=" + d + "\nssdir=" + d +
                  "\nsadir=" + d +
                  "\nscoremode=0\nsfmode=1\n[PREFERENCES]\nprefscreen=0\nshowcmdline=2\n"
                  "showanalysis=2\n[SOUND]\nformat=302\ntype=307\noutputfile=\noutfilecheck=0\n"
                  "hbuffercheck=0\nsbuffercheck=0\nrewriteheader=0\ndeferload=0\n"
                  "hardbuffer=-2147483648\nsoftbuffer=0\n[CSOUND]\nitime=0\nsrateck=0\nsrate=0\n"
                  "krateck=0\nkrate=0\nverbose=0\nscot=0\nextractck=0\nextract=x.ext\ntempock=0\n"
                  "tempo=0\n[MIDI]\nmidifileck=0\nmidifile=\nmidisusck=0\nmidisus=0\n"
                  "terminate=0\n[DISPLAY]\nwarnings=0\ndisplay=504\nheartbeat=0\n"
                  "[LPC]\nsrate=10000\nchannel=1\nbegin=0.0\nduration=0.0\nnpoles=34\nhopsize=200\n"
                  "string=voice\nmincps=70\nmaxcps=200\nverbosity=0\noutputfile=test.lpc\n"
                  "[HTR]\nsrate=10000\nchannel=1\nbegin=0.0\nduration=0.0\nbegfreq=100\n"
                  "partials=10\nmaxamp=32767\nminamp=64\nbrkpts=256\ncutfreq=0\n"
                  "outputfile=test.htr\n[PVC]\nsrate=10000\nchannel=1\nbegin=0.0\nduration=0.0\n"
                  "frmsize=16\nwindfact=4\nhopsize=0\ntype=416\noutputfile=test.pvc\n");
    INISTRUCT back;
    std::memset(&back, 'x', sizeof back);
    InitAppInto(back);
    EXPECT_EQ(std::memcmp(&back, &ini, sizeof back), 0);
}

// A hand-edited file: names in any case, blanks around them, keys in the
// wrong section ignored, and text too long for its field refused whole.
TEST(InitApp, ReadsAHandEditedFileAndRefusesTextTooLongForItsField) {
    TempConfig cfg;
    const std::string longDir = "/" + std::string(130, 'd') + "/", ss = std::string(124, 's');
    cfg.writeIni("; written by hand\r\n[directories]\r\nORCDIR=" + longDir +
                 "\r\nsfdir=" + longDir + "\r\nssdir=/" + ss +
                 "/\r\nscoredir = /home/ann/sco\r\nsadir=\r\n"
                 "Csound Path=/wrong/section\r\neditor=/usr/bin/ed\r\n"
                 "[Preferences]\r\nshowcmdline=0\r\ncsoundver=2\r\nshowanalysis=1\r\n"
                 "[SOUND]\r\nformat=0\r\ntype=309\r\noutputfile=longname.wav\r\nhardbuffer=-5\r\n"
                 "[CSOUND]\r\ncsound path=/" +
                 std::string(300, 'c') +
                 "\r\ntempo=120bpm\r\n"
                 "[MIDI]\r\nmidisus=64\r\n[DISPLAY]\r\ndisplay=505\r\nwarnings=3\r\n"
                 "[LPC]\r\nstring=voice\r\nchannel=12\r\n[HTR]\r\noutputfile=" +
                 std::string(127, 'h') + "\r\n[PVC]\r\ntype=416\r\nhopsize=\r\n");
    INISTRUCT ini = load();
    // Directories are taken unchanged, no slash added; an empty value counts
    // as missing. The output folder holds 255, exactly full still fits.
    EXPECT_EQ(std::string(ini.szOrcDir) + "|" + ini.szScoreDir + "|" + ini.szSADIR + "|" +
                  ini.szSFDIR + "|" + ini.szSSDIR + "|" + ini.szCsoundPath + "|" +
                  ini.szEditorPath + "|" + ini.szOutputFilename + "|" + ini.lpcStruct.string + "|" +
                  ini.lpcStruct.channel + "|" + ini.htrStruct.szOutputFile + "|" +
                  ini.pvcStruct.hopsize,
              cwdSlash() + "|/home/ann/sco|" + cwdSlash() + "|" + longDir + "|/" + ss +
                  "/||/usr/bin/ed||voice|1|test.htr|0");
    // A stored 0 (showcmdline, format) cannot be told from a missing key.
    EXPECT_EQ(
        (std::vector<int>{ini.nShowCmdLine, ini.nCSoundVer, ini.nShowAnalysis, ini.nSoundFormat,
                          ini.nSoundType, ini.nHardwareBuffer, ini.nScoTempo, ini.nMidiSus,
                          ini.nDisplay, ini.nWarningsCheck, ini.pvcStruct.iType}),
        (std::vector<int>{2, 2, 1, 302, 309, -5, 120, 64, 505, 3, 416}));
    std::string ignored;
    for (const IgnoredKey& k : IgnoredIniKeys())
        ignored += k.section + "/" + k.key + " " + std::to_string(k.length) + ">" +
                   std::to_string(k.capacity) + ", ";
    EXPECT_EQ(ignored, "DIRECTORIES/orcdir 132>126, SOUND/outputfile 12>11, CSOUND/csound path "
                       "301>126, LPC/channel 2>1, HTR/outputfile 127>126, ");
}

// A start-up folder too long for a directory field leaves those empty; one
// that no longer exists has no name, and the root stands in.
TEST(InitApp, StartupFolderTooLongOrGone) {
    TempConfig cfg;
    const std::string here = cwdSlash(), gone = cfg.root() + "/gone",
                      deep = cfg.root() + "/" + std::string(100, 'a') + "/" + std::string(60, 'b');
    const auto loadIn = [&](const std::string& dir, bool remove) {
        std::filesystem::create_directories(dir);
        EXPECT_EQ(::chdir(dir.c_str()), 0);
        if (remove)
            std::filesystem::remove(dir);
        INISTRUCT ini = load();
        EXPECT_EQ(::chdir(here.c_str()), 0);
        return std::string(ini.szOrcDir) + "|" + ini.szSFDIR;
    };
    EXPECT_EQ(loadIn(deep, false), "|" + deep + "/");
    EXPECT_EQ(UnusableStartupDirectory(), deep + "/");
    EXPECT_EQ(loadIn(gone, true), "/|/");
}

// A Preferences OK killed at any moment, before any of its system calls,
// leaves the old file or the new one with all 39 keys. Never a mix, never empty.
// After the rename that puts the new file in place the folder is flushed, so
// a power loss cannot bring back the old name or lose the file.
TEST(AtomicReplace, PreferencesOkKilledAnywhereLeavesAWholeFile) {
    // On tmpfs flushing costs nothing; what a kill leaves is the same.
    std::optional<testutil::EnvGuard> tmp;
    if (std::filesystem::is_directory("/dev/shm"))
        tmp.emplace("TMPDIR", "/dev/shm");
    TempConfig cfg;
    const std::string before = kBom + "; written in Notepad\r\n[DIRECTORIES]\r\n"
                                      "orcdir=/home/ann/orc\r\neditor=/usr/bin/audacity\r\n\r\n"
                                      "[DISPLAY]\r\ndisplay=505\r\n[WAVE]\r\nWaveOutDev=1\r\n";
    cfg.writeIni(before);
    INISTRUCT local = load();
    std::strcpy(local.szOrcDir, "/home/ann/orc/"); // the dialog adds the slash
    local.nDisplay = 504;
    const auto ok = [&] { prefs::RefreshIni(&local); };

    // The files a complete OK passes through, looked at before each call;
    // 'r' for each rename, 'f' for each flush of the folder.
    std::vector<std::string> states{before};
    std::string renames;
    const auto record = [&] {
        if (std::string now = cfg.readIni(); now != states.back())
            states.push_back(now);
    };
    const long calls = testutil::TraceChild(ok, [&](pid_t pid, const testutil::Syscall& c, long) {
        record();
        if (c.nr == SYS_rename || c.nr == SYS_renameat || c.nr == SYS_renameat2)
            renames += 'r';
        else if ((c.nr == SYS_fsync || c.nr == SYS_fdatasync) &&
                 testutil::TracedFdPath(pid, c.args[0]) == cfg.dir())
            renames += 'f';
        return true;
    });
    if (calls < 0)
        GTEST_SKIP() << "system calls cannot be traced here";
    record();
    ASSERT_EQ(states.size(), 2u); // one replacement with every key
    EXPECT_EQ(renames, "rf");
    // Comments and keys no dialog owns survive.
    EXPECT_EQ(states.back().rfind(kBom + "; written in Notepad\r\n", 0), 0u);
    EXPECT_NE(states.back().find("editor=/usr/bin/audacity\r\n"), std::string::npos);
    EXPECT_NE(states.back().find("[WAVE]\r\nWaveOutDev=1\r\n"), std::string::npos);

    // Kill before every call, or some 250 moments spread over the whole OK.
    const long step = std::max(1L, calls / 250);
    std::set<long> killPoints;
    std::set<std::size_t> reached;
    for (long at = 0; at < calls; at += step) {
        cfg.writeIni(before);
        testutil::TraceChild(ok, [at](pid_t, const testutil::Syscall&, long i) { return i < at; });
        const std::string now = cfg.readIni();
        const auto it = std::find(states.begin(), states.end(), now);
        ASSERT_NE(it, states.end()) << "killed before call " << at << ": " << now.size()
                                    << " bytes that no complete OK passes through";
        killPoints.insert(at);
        reached.insert(static_cast<std::size_t>(it - states.begin()));
    }
    EXPECT_GE(killPoints.size(), std::min<std::size_t>(static_cast<std::size_t>(calls), 200));
    EXPECT_EQ(reached.size(), states.size()); // the kills fall between every two writes
}

// A load and a Preferences OK with nothing changed: untouched settings keep
// their bytes; a file that must not be replaced is left alone with one
// message saying why.
std::vector<std::string> LoadAndOk(INISTRUCT& ini) {
    testutil::BoxAnswerer boxes{IDOK};
    InitAppInto(ini);
    prefs::RefreshIni(&ini);
    return boxes.boxes;
}

TEST(IniBytes, UntouchedSettingsKeepTheirBytesAndANulIsRefusedNotCut) {
    TempConfig cfg;
    INISTRUCT ini{};
    LoadAndOk(ini); // a complete file, as an OK writes it
    std::string full = cfg.readIni();
    const std::size_t at = full.find("orcdir="), end = full.find('\n', at);
    full.replace(at, end - at, "orcdir=/home/ann/caf\xe9/"); // Latin-1
    full.replace(full.find("midifile="), 9, "  MidiFile = \"in \x01 x.mid\"  ");
    std::string crOnly = full;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    for (const std::string& text : {full, crOnly}) {
        cfg.writeIni(text);
        EXPECT_TRUE(LoadAndOk(ini).empty());
        EXPECT_EQ(std::string(ini.szOrcDir) + ini.szMidiInFile, "/home/ann/caf\xe9/in \x01 x.mid");
        EXPECT_EQ(cfg.readIni(), text); // not even rewritten
    }
    ini.nDisplay = 505; // a changed value takes the file's own line ends
    prefs::RefreshIni(&ini);
    EXPECT_EQ(cfg.readIni().find('\n'), std::string::npos);

    cfg.writeIni(std::string("[DIRECTORIES]\nsfdir=/home/ann/\0/out/\n", 37));
    InitAppInto(ini);
    ASSERT_EQ(IgnoredIniKeys().size(), 1u);
    EXPECT_TRUE(IgnoredIniKeys()[0].holdsNul);
    EXPECT_NE(std::string(ini.szSFDIR), "/home/ann/"); // the start-up folder instead
}

TEST(IniBytes, AFileThatMustNotBeReplacedIsLeftAloneAndSaysWhy) {
    const std::tuple<std::string, std::string, const char*> cases[] = {
        // file ("" a folder), message at start, message of OK
        {std::string("\xFF\xFE[\0D\0I\0", 8), "UTF-16 or UTF-32", "not in an encoding"},
        {std::string("[\0D\0I\0R\0]\0", 10), "UTF-16 or UTF-32", "not in an encoding"},
        {"[DISPLAY]\ndisplay=503\n", "", "read-only"},
        {"", "not a file", "not a file"},
    };
    for (const auto& [text, atStart, atOk] : cases) {
        TempConfig cfg;
        text.empty() ? (void)std::filesystem::create_directories(cfg.ini()) : cfg.writeIni(text);
        ::chmod(cfg.ini().c_str(), text.starts_with("[DISPLAY]") ? 0444 : 0755);
        INISTRUCT ini{};
        const auto boxes = LoadAndOk(ini);
        EXPECT_EQ(atStart.empty()
                      ? ""
                      : IniFileProblem().substr(IniFileProblem().find(atStart), atStart.size()),
                  atStart);
        ASSERT_EQ(boxes.size(), 1u) << atOk;
        EXPECT_NE(boxes[0].find(atOk), std::string::npos) << boxes[0];
        EXPECT_EQ(text.empty() || cfg.readIni() == text, true);
    }
}
} // namespace
