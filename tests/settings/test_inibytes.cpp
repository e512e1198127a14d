// The settings file through a load and a Preferences OK with nothing changed:
// untouched settings keep their bytes; a file that must not be replaced is
// left alone with one message saying why.
#include "common/tempconfig.h"
#include "settings/ini.h"
#include "settings/settingstable.h"

#include <sys/stat.h>

using namespace testutil;

std::vector<std::string> LoadAndOk(INISTRUCT& ini) {
    BoxRecorder boxes;
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
