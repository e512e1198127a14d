#include "commands/commands.h"
#include "commands/filecmds.h"
#include "common/tempconfig.h"
#include "fakewindow.h"
#include "platform/fileops.h"
#include "settings/ini.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {
void Spit(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        for (const char* d : {"orc", "sco", "src", "out", "ana"})
            std::filesystem::create_directories(t.root() + "/" + d);
        std::strcpy(ini.szOrcDir, (t.root() + "/orc/").c_str());
        std::strcpy(ini.szScoreDir, (t.root() + "/sco/").c_str());
        std::strcpy(ini.szSSDIR, (t.root() + "/src/").c_str());
        std::strcpy(ini.szSFDIR, (t.root() + "/out/").c_str());
        std::strcpy(ini.szSADIR, (t.root() + "/ana/").c_str());
    }
    std::string Dir(const char* d) const { return t.root() + "/" + d + "/"; }

    TempConfig t;
    BoxAnswerer boxes;
    INISTRUCT ini{};
    FakeWindow w;
    Commands cmds{w, ini};
};
} // namespace

TEST_F(CommandsTest, NewOrchestraWritesTheTemplateOpensTheEditorAndRefreshes) {
    w.szTypedName = "mytune";
    EXPECT_TRUE(cmds.OnCommand(6004)); // the skin button stands for the menu item
    const std::string p = Dir("orc") + "mytune.orc";
    std::ifstream in(p, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), szOrcTemplate);
    ASSERT_EQ(w.started.size(), 1u);
    EXPECT_EQ(w.started[0], "notepad " + p);
    EXPECT_EQ(w.nRefreshes, 1);
    EXPECT_STREQ(cmds.szNewFile, "mytune");
}

TEST_F(CommandsTest, NewScoreCancelledWritesNothing) {
    w.szTypedName = "";
    EXPECT_TRUE(cmds.OnCommand(IDM_NEWSCO));
    EXPECT_EQ(w.opened, std::vector<std::string>{"New Score"});
    EXPECT_TRUE(std::filesystem::is_empty(Dir("sco")));
    EXPECT_TRUE(w.started.empty());
    EXPECT_EQ(w.nRefreshes, 0);
}

TEST_F(CommandsTest, NewOntoAnExistingFileDeclinedKeepsItAndStartsNothing) {
    Spit(Dir("sco") + "keep.sco", "my work");
    w.szTypedName = "keep";
    boxes.answers = {IDNO};
    cmds.OnCommand(IDM_NEWSCO);
    std::ifstream in(Dir("sco") + "keep.sco");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "my work");
    EXPECT_TRUE(w.started.empty());
    EXPECT_EQ(w.nRefreshes, 0);
}

TEST_F(CommandsTest, MissingSelectionsAreToldWithTheirOwnMessages) {
    struct Case {
        int nId;
        const char* szText;
        const char* szCaption;
    } cases[] = {
        {IDM_RENAMEORC, "No Orchestra Selected", "Error"},
        {IDM_DELETEORC, "No Orchestra Selected", "Error"},
        {IDM_RENAMESCO, "No Score Selected", "Error"},
        {IDM_DELETESCO, "No Score Selected", "Error"},
        {IDM_RENAMESOUND, "You must first select a Sound File", "No Sound File Selected!"},
        {IDM_DELETESOUND, "You must first select a Sound File", "No Sound File Selected!"},
        {IDM_ANALYSIS, "You must first select a Sound File", "No Sound File Selected!"},
        {IDM_DELETEANALYSIS, "No Analysis File Selected", "Error"},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        EXPECT_TRUE(cmds.OnCommand(c.nId));
        ASSERT_EQ(boxes.shown.size(), 1u) << c.nId;
        EXPECT_EQ(boxes.shown[0].text, c.szText);
        EXPECT_EQ(boxes.shown[0].caption, c.szCaption);
        EXPECT_EQ(boxes.shown[0].type, unsigned(MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(w.renames.empty());
    EXPECT_TRUE(w.opened.empty());
    EXPECT_EQ(w.nRefreshes, 0);
}

TEST_F(CommandsTest, RenamePassesTheListAndItsSelection) {
    w.selection[1] = "a.sco";
    w.selection[3] = "mix.wav";
    cmds.OnCommand(IDM_RENAMESCO);
    cmds.OnCommand(6010);
    w.selection[2] = "take1.wav"; // the Source list comes first
    cmds.OnCommand(IDM_RENAMESOUND);
    using R = std::pair<int, std::string>;
    EXPECT_EQ(w.renames, (std::vector<R>{{1, "a.sco"}, {3, "mix.wav"}, {2, "take1.wav"}}));
    EXPECT_EQ(cmds.nrenameswitch, 2);
}

TEST_F(CommandsTest, DeleteAsksWithThePathAndDeletesOnlyOnYes) {
    Spit(Dir("orc") + "a.orc", "x");
    w.selection[0] = "a.orc";
    boxes.answers = {IDNO};
    cmds.OnCommand(IDM_DELETEORC);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, Dir("orc") + "a.orc");
    EXPECT_EQ(boxes.shown[0].caption, "Are you sure you want to DELETE this ORCHESTRA?");
    EXPECT_EQ(boxes.shown[0].type, unsigned(MB_YESNO));
    EXPECT_TRUE(PathExists(Dir("orc") + "a.orc"));
    EXPECT_EQ(w.nRefreshes, 0);

    boxes.answers = {IDYES};
    cmds.OnCommand(6008);
    EXPECT_FALSE(PathExists(Dir("orc") + "a.orc"));
    EXPECT_EQ(w.nRefreshes, 1);
}

TEST_F(CommandsTest, DeleteSoundFileTakesTheSourceSelection) {
    Spit(Dir("src") + "s.wav", "x");
    Spit(Dir("out") + "s.wav", "x");
    w.selection[2] = "s.wav";
    boxes.answers = {IDYES};
    cmds.OnCommand(IDM_DELETESOUND);
    EXPECT_EQ(boxes.shown.at(0).caption, "Are you sure you want to DELETE this SOUNDFILE?");
    EXPECT_FALSE(PathExists(Dir("src") + "s.wav"));
    EXPECT_TRUE(PathExists(Dir("out") + "s.wav"));

    Spit(Dir("ana") + "x.lpc", "x");
    w.selection[4] = "x.lpc";
    boxes.answers = {IDYES};
    cmds.OnCommand(IDM_DELETEANALYSIS);
    EXPECT_EQ(boxes.shown.at(1).caption, "Are you sure you want to DELETE this Analysis File?");
    EXPECT_FALSE(PathExists(Dir("ana") + "x.lpc"));
}

TEST_F(CommandsTest, CallEditorNeedsAnEditorAndASelectedSoundFile) {
    w.selection[0] = "a.orc";
    cmds.OnCommand(IDM_CALLEDITOR);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "You must first select your favorite editor");
    EXPECT_EQ(boxes.shown[0].caption, "No Editor Selected!");

    std::strcpy(ini.szEditorPath, "audacity");
    cmds.OnCommand(6003); // no sound selection: no stale name, a question instead
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].caption, "No Sound File Selected!");
    EXPECT_TRUE(w.started.empty());

    w.selection[3] = "mix.wav";
    cmds.OnCommand(IDM_CALLEDITOR);
    w.selection[2] = "take1.wav";
    cmds.OnCommand(IDM_CALLEDITOR);
    EXPECT_EQ(w.started, (std::vector<std::string>{"audacity " + Dir("out") + "mix.wav",
                                                   "audacity " + Dir("src") + "take1.wav"}));

    w.nStartResult = 2; // the launcher found no such program: told, not silent
    cmds.OnCommand(IDM_FILENEW);
    EXPECT_EQ(boxes.shown.back().text, "Could not start: notepad");
}

TEST_F(CommandsTest, AChosenTextEditorIsStoredAtOnceAndUsedNext) {
    w.picked = std::nullopt; // cancelled: nothing changes
    cmds.OnCommand(IDM_SELECTTEXTEDITOR);
    EXPECT_STREQ(ini.szTextEditorPath, "");

    w.picked = "/usr/bin/mousepad";
    cmds.OnCommand(IDM_SELECTTEXTEDITOR);
    EXPECT_STREQ(ini.szTextEditorPath, "/usr/bin/mousepad");
    EXPECT_STREQ(ReadIni("DIRECTORIES", "texteditor"), "/usr/bin/mousepad");
    w.picked = "/usr/bin/audacity";
    cmds.OnCommand(IDM_SELECTWAVEEDITOR);
    EXPECT_STREQ(ReadIni("DIRECTORIES", "editor"), "/usr/bin/audacity");
    EXPECT_STREQ(cmds.szChosenFile, "/usr/bin/audacity"); // shown again next time

    cmds.OnCommand(IDM_FILENEW);
    w.selection[1] = "b.sco";
    cmds.OnListDoubleClick(1);
    EXPECT_EQ(w.started, (std::vector<std::string>{"/usr/bin/mousepad",
                                                   "/usr/bin/mousepad " + Dir("sco") + "b.sco"}));
}

TEST_F(CommandsTest, DoubleClickPlaysSoundFilesOnlyWhenIdle) {
    w.selection[3] = "mix.wav";
    cmds.OnListDoubleClick(3);
    EXPECT_EQ(w.played, std::vector<std::string>{Dir("out") + "mix.wav"});
    EXPECT_EQ(w.nStatusRefreshes, 1);

    cmds.OnListDoubleClick(3); // still playing: nothing
    EXPECT_EQ(w.played.size(), 1u);
    cmds.OnRightButton();
    EXPECT_EQ(w.nStops, 1);

    w.selection[4] = "x.lpc";
    cmds.OnListDoubleClick(4); // analysis files: nothing
    EXPECT_EQ(w.played.size(), 1u);
    EXPECT_TRUE(w.started.empty());
}

TEST_F(CommandsTest, NoDeviceIsSilentAndAnUnplayableFileIsToldBeforeTheEngineStarts) {
    w.selection[2] = "take1.wav";
    w.nDevices = 0;
    cmds.OnListDoubleClick(2);
    EXPECT_TRUE(w.played.empty());
    EXPECT_TRUE(boxes.shown.empty());

    w.nDevices = 1;
    w.szUnplayable = "compressed sound data (format 2) cannot be played.";
    cmds.OnListDoubleClick(2);
    EXPECT_TRUE(w.played.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Cannot Play");
    EXPECT_NE(boxes.shown[0].text.find(Dir("src") + "take1.wav"), std::string::npos);
    EXPECT_EQ(w.nStatusRefreshes, 0);
}

TEST_F(CommandsTest, DialogsAndOtherPartsOpenFromTheirIds) {
    for (int nId : std::initializer_list<int>{IDM_PREFERENCES, IDM_WAVEDEVICES, IDM_SELECTCSOUND,
                                              IDM_ABOUT, 6001, IDM_EXIT})
        EXPECT_TRUE(cmds.OnCommand(nId));
    w.selection[2] = "take1.wav";
    EXPECT_TRUE(cmds.OnCommand(6012));
    EXPECT_EQ(w.opened,
              (std::vector<std::string>{"Preferences", "Wave Devices", "Select CSound Executable",
                                        "About", "Compile", "Exit", "Analysis"}));
    EXPECT_FALSE(cmds.OnCommand(24351));
    EXPECT_FALSE(cmds.OnCommand(6002));
}
