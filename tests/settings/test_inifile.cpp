#include "common/tempconfig.h"
#include "settings/inifile.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

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

TEST(IniText, WriteReplacesInPlaceAndKeepsEverythingElse) {
    std::string out = IniTextSet(kUserFile, "directories", "orcdir", "/new/");
    std::string expected = kUserFile;
    expected.replace(expected.find("  OrcDir = /home/ann/orc/  "), 27, "orcdir=/new/");
    EXPECT_EQ(out, expected);
    EXPECT_EQ(IniTextGet(out, "DIRECTORIES", "orcdir"), "/new/");
}

TEST(IniText, WriteAddsKeyAtEndOfSectionAndSectionAtEndOfFile) {
    std::string out = IniTextSet(kUserFile, "DIRECTORIES", "sfdir", "/snd/");
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

TEST(IniText, RefusesWhatWouldBreakTheFile) {
    EXPECT_FALSE(IniValueIsStorable("two\nlines"));
    EXPECT_FALSE(IniValueIsStorable("cr\r"));
    EXPECT_TRUE(IniValueIsStorable("/a b/c;d=e"));
    EXPECT_FALSE(IniNameIsStorable("a=b"));
    EXPECT_FALSE(IniNameIsStorable("[x]"));
    EXPECT_FALSE(IniNameIsStorable(""));
    EXPECT_TRUE(IniNameIsStorable("csound path"));
}

TEST(IniText, NumbersReadPredictably) {
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

TEST(AtomicReplace, KeepsModeAndFollowsLinks) {
    TempConfig cfg;
    cfg.writeIni("old");
    std::filesystem::permissions(cfg.ini(), std::filesystem::perms(0600));
    ASSERT_TRUE(ReplaceFileAtomically(cfg.ini(), "new"));
    EXPECT_EQ(cfg.readIni(), "new");
    EXPECT_EQ(std::filesystem::status(cfg.ini()).permissions(), std::filesystem::perms(0600));

    std::string real = cfg.root() + "/real.ini";
    std::filesystem::rename(cfg.ini(), real);
    std::filesystem::create_symlink(real, cfg.ini());
    ASSERT_TRUE(ReplaceFileAtomically(cfg.ini(), "via link"));
    EXPECT_TRUE(std::filesystem::is_symlink(cfg.ini()));
    EXPECT_EQ(cfg.readIni(), "via link");

    EXPECT_FALSE(ReplaceFileAtomically(cfg.root() + "/missing/dir/x.ini", "x"));
}

// A writer killed at random moments must leave the old or the new file whole.
TEST(AtomicReplace, SurvivesACrashMidWrite) {
    TempConfig cfg;
    const std::string oldText(200000, 'o');
    const std::string newText(300000, 'n');
    for (int round = 0; round < 12; ++round) {
        cfg.writeIni(oldText);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (;;) {
                ReplaceFileAtomically(cfg.ini(), newText);
                ReplaceFileAtomically(cfg.ini(), oldText);
            }
        }
        ::usleep(2000 + round * 1500);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const std::string now = cfg.readIni();
        EXPECT_TRUE(now == oldText || now == newText) << "size " << now.size();
    }
}

} // namespace
