#include "common/syscalltrace.h"
#include "common/tempconfig.h"
#include "csound/batchscript.h"
#include "settings/ini.h"
#include "settings/inifile.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sys/syscall.h>

namespace {

const char* kUserFile = "; my Csound setup\r\n"
                        "[Directories]\r\n"
                        "  OrcDir = /home/ann/orc/  \r\n"
                        "orcdir=/ignored/second/\r\n"
                        "color=blue\r\n"
                        "\r\n"
                        "[SOUND]\r\n"
                        "outputfile=\"my out.wav\"\r\n"
                        "quoted='x'\r\n"
                        "half=\"open\r\n"
                        "; a comment=with equals\r\n";

TEST(IniText, ReadsLikeTheProfileFunctions) {
    EXPECT_EQ(IniTextGet(kUserFile, "DIRECTORIES", "orcdir"), "/home/ann/orc/");
    EXPECT_EQ(IniTextGet(kUserFile, "directories", "ORCDIR"), "/home/ann/orc/");
    EXPECT_EQ(IniTextGet(kUserFile, "SOUND", "outputfile"), "my out.wav");
    EXPECT_EQ(IniTextGet(kUserFile, "SOUND", "quoted"), "x");
    EXPECT_EQ(IniTextGet(kUserFile, "SOUND", "half"), "\"open");
    EXPECT_FALSE(IniTextGet(kUserFile, "SOUND", "; a comment"));
    EXPECT_FALSE(IniTextGet(kUserFile, "SOUND", "color"));
    EXPECT_FALSE(IniTextGet(kUserFile, "MIDI", "midifile"));
    EXPECT_FALSE(IniTextGet("", "A", "b"));
    EXPECT_EQ(IniTextGet("[A]\nb=\n", "A", "b"), "");
    // Only the first of two same-named sections counts.
    EXPECT_FALSE(IniTextGet("[A]\nx=1\n[B]\n[a]\nb=2\n", "A", "b"));
}

TEST(IniText, WriteReplacesInPlaceOrAddsAtTheEndAndKeepsEverythingElse) {
    std::string out = IniTextSet(kUserFile, "directories", "orcdir", "/new/");
    std::string expected = kUserFile;
    expected.replace(expected.find("  OrcDir = /home/ann/orc/  "), 27, "orcdir=/new/");
    EXPECT_EQ(out, expected);

    out = IniTextSet(kUserFile, "DIRECTORIES", "sfdir", "/snd/");
    EXPECT_NE(out.find("color=blue\r\nsfdir=/snd/\r\n\r\n[SOUND]"), std::string::npos) << out;

    out = IniTextSet(kUserFile, "MIDI", "midisus", "5");
    EXPECT_EQ(out, std::string(kUserFile) + "[MIDI]\r\nmidisus=5\r\n");

    // LF files stay LF; a last line without its end gets one before the addition.
    EXPECT_EQ(IniTextSet("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
    EXPECT_EQ(IniTextSet("", "A", "y", "2"), "[A]\ny=2\n");
    EXPECT_EQ(IniTextSet("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
}

// Windows editors start a UTF-8 file with a byte-order mark.
TEST(IniText, AByteOrderMarkHidesNothingAndStays) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string text = bom + "[DIRECTORIES]\r\norcdir=/a/\r\n";
    EXPECT_EQ(IniTextGet(text, "DIRECTORIES", "orcdir"), "/a/");
    EXPECT_EQ(IniIndex(text).get("directories", "orcdir"), "/a/");
    EXPECT_EQ(IniTextSet(text, "DIRECTORIES", "orcdir", "/b/"),
              bom + "[DIRECTORIES]\r\norcdir=/b/\r\n");
    EXPECT_EQ(IniTextSet(text, "MIDI", "midisus", "5"), text + "[MIDI]\r\nmidisus=5\r\n");
    EXPECT_EQ(IniTextSet(bom, "A", "y", "2"), bom + "[A]\ny=2\n");
}

TEST(IniText, RefusesWhatWouldBreakTheFileAndReadsNumbersPredictably) {
    EXPECT_FALSE(IniValueIsStorable("two\nlines"));
    EXPECT_FALSE(IniValueIsStorable("cr\r"));
    EXPECT_TRUE(IniValueIsStorable("/a b/c;d=e"));
    EXPECT_FALSE(IniNameIsStorable("a=b"));
    EXPECT_FALSE(IniNameIsStorable("[x]"));
    EXPECT_FALSE(IniNameIsStorable(""));
    EXPECT_TRUE(IniNameIsStorable("csound path"));

    EXPECT_EQ(IniParseInt("504"), 504);
    EXPECT_EQ(IniParseInt("  42abc"), 42);
    EXPECT_EQ(IniParseInt("abc"), 0);
    EXPECT_EQ(IniParseInt("-17"), -17);
    EXPECT_EQ(IniParseInt("+8"), 8);
    EXPECT_EQ(IniParseInt(""), 0);
    EXPECT_EQ(IniParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(IniParseInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}

// The mode is kept by the whole-file replacement underneath (FileOps tests).
TEST(AtomicReplace, FollowsLinks) {
    TempConfig cfg;
    const std::string real = cfg.root() + "/real.ini";
    testutil::WriteFile(real, "old");
    std::filesystem::create_directories(cfg.dir());
    std::filesystem::create_symlink(real, cfg.ini());
    ASSERT_TRUE(ReplaceFileAtomically(cfg.ini(), "via link"));
    EXPECT_TRUE(std::filesystem::is_symlink(cfg.ini()));
    EXPECT_EQ(cfg.readIni(), "via link");

    EXPECT_FALSE(ReplaceFileAtomically(cfg.root() + "/missing/dir/x.ini", "x"));
}

// A Preferences OK killed at any moment, before any of its system calls,
// leaves exactly one of the files a complete OK passes through: the old file,
// or the file after one more of its 39 writes. Never a mix, never empty.
TEST(AtomicReplace, PreferencesOkKilledAnywhereLeavesAWholeFile) {
    // On tmpfs flushing costs nothing; what a kill leaves is the same.
    std::optional<testutil::EnvGuard> tmp;
    if (std::filesystem::is_directory("/dev/shm"))
        tmp.emplace("TMPDIR", "/dev/shm");
    TempConfig cfg;
    const std::string before = "\xEF\xBB\xBF; written in Notepad\r\n"
                               "[DIRECTORIES]\r\n"
                               "orcdir=/home/ann/orc\r\n"
                               "editor=/usr/bin/audacity\r\n"
                               "\r\n"
                               "[DISPLAY]\r\n"
                               "display=505\r\n"
                               "[WAVE]\r\n"
                               "WaveOutDev=1\r\n";
    cfg.writeIni(before);
    INISTRUCT local{};
    InitAppInto(local);
    std::strcpy(local.szOrcDir, "/home/ann/orc/"); // the dialog adds the slash
    local.nDisplay = 504;
    const auto ok = [&] { prefs::RefreshIni(&local); };

    // The files a complete OK passes through, looked at before each call.
    std::vector<std::string> states{before};
    const long calls = testutil::TraceChild(ok, [&](pid_t, const testutil::Syscall&, long) {
        if (std::string now = cfg.readIni(); now != states.back())
            states.push_back(now);
        return true;
    });
    if (calls < 0)
        GTEST_SKIP() << "system calls cannot be traced here";
    if (std::string now = cfg.readIni(); now != states.back())
        states.push_back(now);
    ASSERT_EQ(states.size(), 40u); // every write changes the file

    // Kill before every few calls, some 250 moments spread over the whole OK.
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
    EXPECT_GE(killPoints.size(), 200u);
    EXPECT_EQ(reached.size(), states.size()); // the kills fall between every two writes
    std::printf("kill points: %zu of %ld system calls\n", killPoints.size(), calls);
}

// After the rename that puts a new tk3.ini or TK3.bat in place, the folder is
// flushed, so a power loss cannot bring back the old name or lose the file.
TEST(AtomicReplace, TheFolderIsFlushedAfterTheRename) {
    TempConfig cfg;
    cfg.writeIni("[A]\nb=1\n");
    const std::vector<std::function<void()>> writers = {
        [] { WriteIni("A", "b", "2"); },
        [&] { csound::WriteBatchScript(cfg.dir() + "/TK3.bat", "Exit"); }};
    for (const auto& write : writers) {
        std::vector<std::string> events;
        const long calls =
            testutil::TraceChild(write, [&](pid_t pid, const testutil::Syscall& c, long) {
                if (c.nr == SYS_rename || c.nr == SYS_renameat || c.nr == SYS_renameat2)
                    events.push_back("rename");
                else if (c.nr == SYS_fsync || c.nr == SYS_fdatasync)
                    events.push_back("flush " + testutil::TracedFdPath(pid, c.args[0]));
                return true;
            });
        if (calls < 0)
            GTEST_SKIP() << "system calls cannot be traced here";
        const auto rename = std::find(events.begin(), events.end(), "rename");
        ASSERT_NE(rename, events.end());
        ASSERT_NE(rename + 1, events.end());
        EXPECT_EQ(rename[1], "flush " + cfg.dir());
    }
}

} // namespace
