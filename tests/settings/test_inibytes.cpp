// The settings file through a load and a Preferences OK with nothing
// changed: what the user did not touch keeps its bytes, and a file that must
// not be replaced is left alone with one message saying why.
#include "common/tempconfig.h"
#include "settings/ini.h"
#include "settings/settingstable.h"

#include <cstring>
#include <sys/stat.h>

using namespace testutil;

namespace {
// Loads the file and confirms Preferences as loaded; the boxes shown.
std::vector<std::string> LoadAndOk(INISTRUCT& ini) {
    BoxRecorder boxes;
    InitAppInto(ini);
    prefs::RefreshIni(&ini);
    return boxes.boxes;
}
} // namespace

TEST(IniBytes, UntouchedSettingsKeepTheirBytesThroughOk) {
    TempConfig cfg;
    INISTRUCT ini{};
    LoadAndOk(ini); // a complete file, as an OK writes it
    std::string full = cfg.readIni();
    const std::string mine = "orcdir=/home/ann/caf\xe9/\n"; // Latin-1
    full.replace(full.find("orcdir="),
                 full.find('\n', full.find("orcdir=")) + 1 - full.find("orcdir="), mine);
    full.replace(full.find("midifile="), 10, "  MidiFile = \"in \x01 x.mid\"  \n");
    std::string crOnly = full;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    for (const std::string& text : {full, crOnly}) {
        cfg.writeIni(text);
        EXPECT_TRUE(LoadAndOk(ini).empty());
        EXPECT_STREQ(ini.szOrcDir, "/home/ann/caf\xe9/");
        EXPECT_STREQ(ini.szMidiInFile, "in \x01 x.mid");
        EXPECT_EQ(cfg.readIni(), text); // not even rewritten
    }
    // A value that changes is written in the file's own line-end style.
    ini.nDisplay = 505;
    prefs::RefreshIni(&ini);
    EXPECT_EQ(cfg.readIni().find('\n'), std::string::npos);
}

TEST(IniBytes, AFileThatMustNotBeReplacedIsLeftAloneAndSaysWhy) {
    const std::string utf16("\xFF\xFE[\0D\0I\0", 8);
    const std::tuple<std::string, std::string, const char*> cases[] = {
        // file, start message, message of OK
        {utf16, "UTF-16 or UTF-32", "not in an encoding"},
        {std::string("[\0D\0I\0R\0]\0", 10), "UTF-16 or UTF-32", "not in an encoding"},
        {"[DISPLAY]\ndisplay=503\n", "", "read-only"},
        {"", "not a file", "not a file"},
    };
    for (const auto& [text, atStart, atOk] : cases) {
        TempConfig cfg;
        if (text.empty())
            std::filesystem::create_directories(cfg.ini());
        else
            cfg.writeIni(text);
        if (text.starts_with("[DISPLAY]"))
            ::chmod(cfg.ini().c_str(), 0444);
        INISTRUCT ini{};
        const auto boxes = LoadAndOk(ini);
        EXPECT_EQ(IniFileProblem().find(atStart) != std::string::npos, true) << IniFileProblem();
        EXPECT_EQ(atStart.empty(), IniFileProblem().empty());
        ASSERT_EQ(boxes.size(), 1u) << atOk;
        EXPECT_NE(boxes[0].find(atOk), std::string::npos) << boxes[0];
        if (!text.empty()) {
            EXPECT_EQ(cfg.readIni(), text);
        }
    }
}

TEST(IniBytes, AValueHoldingANulIsRefusedNotCut) {
    TempConfig cfg;
    cfg.writeIni(std::string("[DIRECTORIES]\nsfdir=/home/ann/\0/out/\n", 37));
    INISTRUCT ini{};
    InitAppInto(ini);
    ASSERT_EQ(IgnoredIniKeys().size(), 1u);
    EXPECT_TRUE(IgnoredIniKeys()[0].holdsNul);
    EXPECT_NE(std::string(ini.szSFDIR), "/home/ann/"); // the start-up folder instead
}
