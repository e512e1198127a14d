// Folder listings and their order, status bar texts, and the skin image.
#include "common/testutil.h"
#include "mainwindow/dib.h"
#include "mainwindow/filelists.h"
#include "mainwindow/skincells.h"
#include "mainwindow/statustext.h"
#include "platform/files/dirscan.h"
#include "settings/firststart.h"

#include <algorithm>
#include <fstream>
#include <iterator>

using Strings = std::vector<std::string>;

TEST(Listing, WildcardStarQuestionAndCase) {
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
TEST(Listing, ListsHoldTheirPatternsOnceInDisplayOrder) {
    testutil::TempDir d;
    for (const char* n : {"b.orc", "A.ORC", "c.o", ".hidden.orc", "d.CSD", "notes.txt", "mix.wav",
                          "test", "soundin.2", "mix.aif", "soundin.wav", "x.lpc", "y.htr", "z.pvc"})
        testutil::WriteFile(d / n, "x");
    std::filesystem::create_directories(d / "Sub.orc");
    INISTRUCT ini{};
    std::snprintf(ini.szOrcDir, sizeof ini.szOrcDir, "%s/", d.path().c_str());
    std::snprintf(ini.szSFDIR, sizeof ini.szSFDIR, "%s/", d.path().c_str());
    std::snprintf(ini.szSADIR, sizeof ini.szSADIR, "%s", d.path().c_str()); // no slash
    std::snprintf(ini.szScoreDir, sizeof ini.szScoreDir, "%s/nowhere/", d.path().c_str());
    EXPECT_EQ(ListEntries(ini, LIST_ORC),
              (Strings{".hidden.orc", "[Sub.orc]", "A.ORC", "b.orc", "c.o", "d.CSD"}));
    // soundin.wav matches two patterns and is still one file.
    EXPECT_EQ(ListEntries(ini, LIST_OUTPUT),
              (Strings{"mix.wav", "soundin.2", "soundin.wav", "test"}));
    EXPECT_TRUE(ListEntries(ini, LIST_SCORE).empty());
    EXPECT_TRUE(ListEntries(ini, LIST_ANALYSIS).empty()); // no slash: "dir" + "*.lpc"
    std::snprintf(ini.szSADIR, sizeof ini.szSADIR, "%s/", d.path().c_str());
    EXPECT_EQ(ListEntries(ini, LIST_ANALYSIS), (Strings{"x.lpc", "y.htr", "z.pvc"}));
    EXPECT_EQ(ScanDirectory(d.path() + "/so", {"*.wav"}), Strings{"soundin.wav"});
    EXPECT_EQ(ScanDirectory(d.path() + "/", {"*"}).size(), 15u); // never "." or ".."
}
TEST(Listing, OrderIgnoresCaseYetIsTotal) {
    // Alike in eight letters, ties of case, names beginning others, bytes above ASCII.
    const Strings expected{"_x",        "ABCDEFGH",   "abcdefghA",  "abcdefgha",
                           "abcdefgh~", "Take",       "take",       "TAKE1",
                           "take1.wav", "Take10.wav", "take10.wav", "take100.wav",
                           "takes",     "T\xc3\xa9",  "t\xc3\xa9",  "zz"};
    Strings names(expected.rbegin(), expected.rend());
    SortListNames(names);
    EXPECT_EQ(names, expected);
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (std::size_t j = 0; j < expected.size(); ++j)
            EXPECT_EQ(ListNameLess(expected[i], expected[j]), i < j) << i << " " << j;
}
TEST(Listing, JoinAndCopyRefuseWhatDoesNotFitNeverCut) {
    EXPECT_STREQ(MakeFullFilename("/snd/", "take1.wav"), "/snd/take1.wav");
    EXPECT_STREQ(MakeFullFilename(std::string(5000, 'd').c_str(), "x.wav"), "");
    char field[8] = "old";
    EXPECT_TRUE(CopyIntoField(field, sizeof field, "1234567"));
    EXPECT_STREQ(field, "1234567");
    EXPECT_FALSE(CopyIntoField(field, sizeof field, "12345678"));
    EXPECT_STREQ(field, "");
}
TEST(StatusBarTexts, FormatFramesAndSecondsNeverDividedByZero) {
    using Texts = std::array<std::string, 6>;
    EXPECT_EQ(StatusBarTexts({}), (Texts{"0", "0 bit", "0 ch", "Sample Frames - unknown",
                                         "Seconds - unknown", "Status - Stopped"}));
    const struct {
        StatusFacts status;
        std::size_t nPart;
        const char* szText;
    } cases[] = {
        // Whole frames only (24 bits: three bytes a sample); 12 bits take one.
        {{48000, 2, 24, 6 * 1000 + 5, false}, 3, "Sample Frames - 1000"},
        {{8000, 1, 12, 8000, false}, 3, "Sample Frames - 8000"},
        {{8000, 1, 4, 100, false}, 3, "Sample Frames - unknown"}, // no frame size
        {{8000, 1, 4, 100, false, 4072}, 4, "Seconds - 0.509"},   // counted by the file
        {{0, 2, 16, 400, false}, 3, "Sample Frames - 100"},       // no rate: frames,
        {{0, 2, 16, 400, false}, 4, "Seconds - unknown"},         // no seconds
        {{44100, 1, 8, 100000, false}, 4, "Seconds - 2.268"},     // four significant digits
        {{1, 1, 8, 123456, false}, 4, "Seconds - 1.235e+05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusBarTexts(c.status)[c.nPart], c.szText) << c.szText;
}
TEST(Skin, ShippedImageAndTheCellsOfTheButtons) {
    std::ifstream in(TONSMITH_SKIN_FILE, std::ios::binary);
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    const auto dib = ReadPackedDib(bytes.data(), bytes.size());
    ASSERT_TRUE(dib);
    // The cells stand on the tool band's gray; the strip, 305 wide, on light gray.
    const auto at = [&](int x, int y) { return dib->pixels[std::size_t(y) * 306 + x] & 0xFFFFFF; };
    EXPECT_EQ(std::tuple(at(0, 0), at(305, 277)), std::tuple(0x808080u, 0xC0C0C0u));
    EXPECT_NE(at(150, 277), 0xC0C0C0u);
    EXPECT_FALSE(ReadPackedDib(bytes.data(), bytes.size() - 400)); // truncated
    EXPECT_FALSE(ReadPackedDib(bytes.data(), 30));
    bytes[14 + 16] = 1; // run-length compression
    EXPECT_FALSE(ReadPackedDib(bytes.data(), bytes.size()));
    EXPECT_FALSE(ButtonCell(6002, false) || ButtonCell(6012, true)); // no such buttons
}
TEST(Skin, TopDownTwentyFourBitImage) {
    // 2 x 2, 24 bits, top-down, rows of 8 bytes: top-left blue, bottom-right red.
    const std::string h("\x28\0\0\0\x02\0\0\0\xFE\xFF\xFF\xFF\x01\0\x18\0", 16);
    std::vector<unsigned char> d(h.begin(), h.end());
    d.resize(40 + 16);
    d[40] = d[40 + 8 + 5] = 0xFF;
    const auto dib = ReadPackedDib(d.data(), d.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(std::tuple(dib->pixels[0], dib->pixels[3], dib->palette.size()),
              std::tuple(0xFF0000FFu, 0xFFFF0000u, 0u));
}

TEST(FirstStart, MakesTheDemoOnceAndNeverTouchesWhatIsThere) {
    using testutil::ReadFile, testutil::WriteFile;
    testutil::TempDir root;
    testutil::EnvGuard config("XDG_CONFIG_HOME", root / "config"),
        data("XDG_DATA_HOME", root / "d");
    const std::string demo = root / "d/tonsmith/demo", ini = root / "config/tonsmith/tk3.ini";
    std::filesystem::create_directories(demo + "/scores");
    WriteFile(demo + "/scores/chord.sco", "mine"); // the user's own stays
    EXPECT_EQ(MakeFirstStartWorkspace() + ReadFile(demo + "/scores/chord.sco"), "mine");
    WriteFile(ini, "[X]\n"); // a tk3.ini that is there: nothing at all is done
    std::filesystem::remove(demo + "/sounds/tone.wav");
    EXPECT_EQ(MakeFirstStartWorkspace() + ReadFile(ini), "[X]\n");
    EXPECT_FALSE(std::filesystem::exists(demo + "/sounds/tone.wav"));
    std::filesystem::remove(ini); // a workspace that cannot be made: told, and no tk3.ini
    WriteFile(root / "f", "a file, no folder");
    testutil::EnvGuard blocked("XDG_DATA_HOME", root / "f");
    EXPECT_EQ(MakeFirstStartWorkspace().rfind("cannot create " + root / "f", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(ini));
}
