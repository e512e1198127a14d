// Directory scans, list contents and the joining of folder and name.
#include "common/testutil.h"
#include "mainwindow/filelists.h"
#include "platform/files/dirscan.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using testutil::TempDir;

namespace {
std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
void Touch(const TempDir& d, std::initializer_list<const char*> names) {
    for (const char* n : names)
        testutil::WriteFile(d / n, "x");
}
} // namespace

TEST(Wildcard, StarQuestionAndCase) {
    const struct {
        const char *pattern, *name;
        bool match;
    } cases[] = {{"*.wav", "Mix.WAV", true},      {"*.wav", ".wav", true},
                 {"*.wav", "mix.wave", false},    {"soundin.*", "SOUNDIN.", true},
                 {"soundin.*", "soundin", false}, {"test", "test1", false},
                 {"t?st", "tast", true},          {"t?st", "tst", false},
                 {"*a*b*", "xxaxxbxx", true},     {"*a*b", "xxbxxa", false}};
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(ScanDirectory, HiddenFilesBracketedFoldersAndSeveralPatterns) {
    TempDir d;
    Touch(d, {"one.wav", ".hidden.wav", "two.aif", "soundin.wav", "test"});
    std::filesystem::create_directories(d / "loops.wav");
    EXPECT_EQ(Sorted(ScanDirectory(d / "*.wav")),
              (std::vector<std::string>{".hidden.wav", "[loops.wav]", "one.wav", "soundin.wav"}));
    EXPECT_TRUE(ScanDirectory(d / "missing/*.wav").empty());
    // Never the folder itself or its parent, whatever the pattern.
    EXPECT_EQ(ScanDirectory(d / "*").size(), 6u);
    EXPECT_EQ(Sorted(ScanDirectory(d.path() + "/", {"*.aif", "test", "soundin.*"})),
              (std::vector<std::string>{"soundin.wav", "test", "two.aif"}));
    // A folder text without its slash joins like any text: "dir/so" + "*.wav".
    EXPECT_EQ(ScanDirectory(d / "so", {"*.wav"}), std::vector<std::string>{"soundin.wav"});
}

TEST(ListEntries, PatternsCaseSortAndDuplicates) {
    TempDir d;
    Touch(d, {"b.orc", "A.ORC", "c.o", "notes.txt", "mix.wav", "test", "soundin.2", "mix.aif",
              "soundin.wav"});
    std::filesystem::create_directories(d / "Sub.orc");
    INISTRUCT ini{};
    std::snprintf(ini.szOrcDir, sizeof ini.szOrcDir, "%s/", d.path().c_str());
    std::snprintf(ini.szSFDIR, sizeof ini.szSFDIR, "%s/", d.path().c_str());
    std::snprintf(ini.szSADIR, sizeof ini.szSADIR, "%s/nowhere/", d.path().c_str());

    EXPECT_EQ(ListEntries(ini, LIST_ORC),
              (std::vector<std::string>{"[Sub.orc]", "A.ORC", "b.orc", "c.o"}));
    // soundin.wav matches two patterns and is still one file.
    EXPECT_EQ(ListEntries(ini, LIST_OUTPUT),
              (std::vector<std::string>{"mix.wav", "soundin.2", "soundin.wav", "test"}));
    EXPECT_TRUE(ListEntries(ini, LIST_ANALYSIS).empty());
    // Case is ignored, yet the order is total.
    EXPECT_TRUE(ListNameLess("apple", "Banana"));
    EXPECT_TRUE(ListNameLess("ABC", "abc"));
    EXPECT_FALSE(ListNameLess("abc", "ABC"));
    EXPECT_FALSE(ListNameLess("x", "x"));

    // The quick sort by folded prefixes orders exactly as the comparison:
    // names alike in their first eight letters, ties of case, names that
    // begin others, bytes above ASCII.
    std::vector<std::string> names{"take10.wav", "Take10.wav", "take1.wav", "take100.wav",
                                   "TAKE1",      "take",       "Take",      "takes",
                                   "t\xc3\xa9",  "T\xc3\xa9",  "zz",        "_x",
                                   "abcdefghA",  "abcdefgha",  "ABCDEFGH",  "abcdefgh~"};
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(), ListNameLess);
    SortListNames(names);
    EXPECT_EQ(names, expected);
}

TEST(JoinAndCopy, RefuseWhatDoesNotFitNeverCut) {
    EXPECT_STREQ(MakeFullFilename("/snd/", "take1.wav"), "/snd/take1.wav");
    EXPECT_STREQ(MakeFullFilename(std::string(5000, 'd').c_str(), "x.wav"), "");
    char field[8] = "old";
    EXPECT_TRUE(CopyIntoField(field, sizeof field, "1234567"));
    EXPECT_STREQ(field, "1234567");
    EXPECT_FALSE(CopyIntoField(field, sizeof field, "12345678"));
    EXPECT_STREQ(field, "");
}
