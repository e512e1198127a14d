// Directory scans, list contents and the joining of folder and name.
#include "common/tempconfig.h"
#include "mainwindow/filelists.h"
#include "platform/dirscan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
class Folder {
public:
    Folder() {
        char tmpl[] = "/tmp/tonsmith-lists.XXXXXX";
        root_ = ::mkdtemp(tmpl);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string path(const std::string& sub = "") const { return root_ + "/" + sub; }
    void file(const std::string& name) const { std::ofstream(path(name)) << "x"; }
    void dir(const std::string& name) const { fs::create_directories(path(name)); }

private:
    std::string root_;
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
} // namespace

TEST(Wildcard, StarQuestionAndCase) {
    EXPECT_TRUE(WildcardMatch("*.wav", "Mix.WAV"));
    EXPECT_TRUE(WildcardMatch("*.wav", ".wav"));
    EXPECT_TRUE(WildcardMatch("*.wav", "a.b.wav"));
    EXPECT_FALSE(WildcardMatch("*.wav", "mix.wave"));
    EXPECT_FALSE(WildcardMatch("*.o", "tune.orc"));
    EXPECT_TRUE(WildcardMatch("soundin.*", "soundin.2"));
    EXPECT_TRUE(WildcardMatch("soundin.*", "SOUNDIN."));
    EXPECT_FALSE(WildcardMatch("soundin.*", "soundin"));
    EXPECT_TRUE(WildcardMatch("test", "TEST"));
    EXPECT_FALSE(WildcardMatch("test", "test1"));
    EXPECT_TRUE(WildcardMatch("t?st", "tast"));
    EXPECT_FALSE(WildcardMatch("t?st", "tst"));
    EXPECT_TRUE(WildcardMatch("*a*b*", "xxaxxbxx"));
    EXPECT_FALSE(WildcardMatch("*a*b", "xxbxxa"));
}

TEST(ScanDirectory, FilesHiddenFilesAndBracketedFolders) {
    Folder f;
    f.file("one.wav");
    f.file(".hidden.wav");
    f.file("two.aif");
    f.dir("loops.wav");
    EXPECT_EQ(Sorted(ScanDirectory(f.path("*.wav"))),
              (std::vector<std::string>{".hidden.wav", "[loops.wav]", "one.wav"}));
    EXPECT_TRUE(ScanDirectory(f.path("missing/*.wav")).empty());
    // Never the folder itself or its parent, whatever the pattern.
    EXPECT_EQ(ScanDirectory(f.path("*")).size(), 4u);
}

TEST(ListEntries, PatternsCaseSortAndDuplicates) {
    Folder f;
    for (const char* name : {"b.orc", "A.ORC", "c.o", "notes.txt", "score.sco"})
        f.file(name);
    for (const char* name : {"mix.wav", "test", "soundin.2", "mix.aif", "soundin.wav"})
        f.file(name);
    f.dir("Sub.orc");
    INISTRUCT ini{};
    std::snprintf(ini.szOrcDir, sizeof ini.szOrcDir, "%s", f.path().c_str());
    std::snprintf(ini.szSFDIR, sizeof ini.szSFDIR, "%s", f.path().c_str());
    std::snprintf(ini.szSADIR, sizeof ini.szSADIR, "%s", f.path("nowhere/").c_str());

    EXPECT_EQ(ListEntries(ini, LIST_ORC),
              (std::vector<std::string>{"[Sub.orc]", "A.ORC", "b.orc", "c.o"}));
    // soundin.wav matches two patterns and is still one file.
    EXPECT_EQ(ListEntries(ini, LIST_OUTPUT),
              (std::vector<std::string>{"mix.wav", "soundin.2", "soundin.wav", "test"}));
    EXPECT_TRUE(ListEntries(ini, LIST_ANALYSIS).empty());
}

TEST(ListNameLess, IgnoresCaseButIsTotal) {
    EXPECT_TRUE(ListNameLess("apple", "Banana"));
    EXPECT_TRUE(ListNameLess("Banana", "cherry"));
    EXPECT_TRUE(ListNameLess("ABC", "abc"));
    EXPECT_FALSE(ListNameLess("abc", "ABC"));
    EXPECT_FALSE(ListNameLess("x", "x"));
}

TEST(MakeFullFilename, JoinsAndNeverCuts) {
    EXPECT_STREQ(MakeFullFilename("/snd/", "take1.wav"), "/snd/take1.wav");
    const std::string longDir(5000, 'd');
    EXPECT_STREQ(MakeFullFilename(longDir.c_str(), "x.wav"), "");
}

TEST(CopyIntoField, RefusesWhatDoesNotFit) {
    char field[8] = "old";
    EXPECT_TRUE(CopyIntoField(field, sizeof field, "1234567"));
    EXPECT_STREQ(field, "1234567");
    EXPECT_FALSE(CopyIntoField(field, sizeof field, "12345678"));
    EXPECT_STREQ(field, "");
}

TEST(ScanDirectory, OnePassOverSeveralPatternsAndFolderWithoutSlash) {
    Folder f;
    for (const char* name : {"soundin.wav", "mix.wav", "test", "take.aif"})
        f.file(name);
    EXPECT_EQ(Sorted(ScanDirectory(f.path(), {"*.wav", "test", "soundin.*"})),
              (std::vector<std::string>{"mix.wav", "soundin.wav", "test"}));
    // A folder text without its slash joins like any text: "dir/so" + "*.wav".
    std::string noSlash = f.path("so");
    EXPECT_EQ(ScanDirectory(noSlash, {"*.wav"}), std::vector<std::string>{"soundin.wav"});
}
