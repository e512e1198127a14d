#include "commands/commands.h"
#include "commands/filecmds.h"
#include "common/tempconfig.h"
#include "common/testutil.h"
#include "fakewindow.h"
#include "platform/files/fileops.h"
#include "settings/ini.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {
class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        for (auto [szField, szSub] : {std::pair{ini.szOrcDir, "orc"},
                                      {ini.szScoreDir, "sco"},
                                      {ini.szSSDIR, "src"},
                                      {ini.szSFDIR, "out"},
                                      {ini.szSADIR, "ana"}}) {
            std::filesystem::create_directories(Dir(szSub));
            std::strcpy(szField, Dir(szSub).c_str());
        }
    }
    std::string Dir(const char* d) const { return t.root() + "/" + d + "/"; }

    TempConfig t;
    // Files on the home's file system go to the home trash: the test's own.
    testutil::EnvGuard home{"HOME", t.root()};
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
    EXPECT_EQ(testutil::ReadFile(p), szOrcTemplate);
    ASSERT_EQ(w.started.size(), 1u);
    EXPECT_EQ(w.started[0], "notepad " + p);
    EXPECT_EQ(w.nRefreshes, 1);
}

TEST_F(CommandsTest, NewCancelledOrDeclinedOntoAnExistingFileWritesNothing) {
    w.szTypedName = "";
    EXPECT_TRUE(cmds.OnCommand(IDM_NEWSCO));
    EXPECT_EQ(w.opened, std::vector<std::string>{"New Score"});
    EXPECT_TRUE(std::filesystem::is_empty(Dir("sco")));

    testutil::WriteFile(Dir("sco") + "keep.sco", "my work");
    w.szTypedName = "keep";
    boxes.answers = {IDNO};
    cmds.OnCommand(IDM_NEWSCO);
    EXPECT_EQ(testutil::ReadFile(Dir("sco") + "keep.sco"), "my work");
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
        {IDM_DELETESCO, "No Score Selected", "Error"},
        {IDM_RENAMESOUND, "You must first select a Sound File", "No Sound File Selected!"},
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
}

TEST_F(CommandsTest, DeleteAsksWithThePathAndDeletesOnlyOnYes) {
    testutil::WriteFile(Dir("orc") + "a.orc", "x");
    w.selection[0] = "a.orc";
    boxes.answers = {IDNO};
    cmds.OnCommand(IDM_DELETEORC);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, Dir("orc") + "a.orc");
    EXPECT_EQ(boxes.shown[0].caption, "Are you sure you want to DELETE this ORCHESTRA?");
    EXPECT_EQ(boxes.shown[0].type, unsigned(MB_YESNO | MB_DEFBUTTON2)); // Enter keeps the file
    EXPECT_TRUE(PathExists(Dir("orc") + "a.orc"));
    EXPECT_EQ(w.nRefreshes, 0);

    boxes.answers = {IDYES};
    cmds.OnCommand(6008);
    EXPECT_FALSE(PathExists(Dir("orc") + "a.orc"));
    EXPECT_EQ(w.nRefreshes, 1);
    // In the trash, where a file manager can put it back.
    EXPECT_EQ(testutil::ReadFile(t.trash() + "/files/a.orc"), "x");
    EXPECT_NE(testutil::ReadFile(t.trash() + "/info/a.orc.trashinfo")
                  .find("\nPath=" + Dir("orc") + "a.orc\n"),
              std::string::npos);

    // A sound file is taken from the Source list first.
    testutil::WriteFile(Dir("src") + "s.wav", "x");
    testutil::WriteFile(Dir("out") + "s.wav", "x");
    w.selection[2] = w.selection[3] = "s.wav";
    boxes.answers = {IDYES};
    cmds.OnCommand(IDM_DELETESOUND);
    EXPECT_EQ(boxes.shown.back().caption, "Are you sure you want to DELETE this SOUNDFILE?");
    EXPECT_FALSE(PathExists(Dir("src") + "s.wav"));
    EXPECT_TRUE(PathExists(Dir("out") + "s.wav"));
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
    cmds.OnCommand(IDM_FILENEW);
    w.selection[1] = "b.sco";
    cmds.OnListDoubleClick(1);
    EXPECT_EQ(w.started, (std::vector<std::string>{"/usr/bin/mousepad",
                                                   "/usr/bin/mousepad " + Dir("sco") + "b.sco"}));
}

TEST_F(CommandsTest, DoubleClickPlaysOnlyAPlayableSoundFileWhenIdle) {
    w.selection[2] = "take1.wav";
    w.nDevices = 0; // no device: told once
    cmds.OnListDoubleClick(2);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Cannot Play");
    EXPECT_EQ(boxes.shown[0].text,
              Dir("src") + "take1.wav cannot be played: no sound output device was found.");
    w.nDevices = 1;
    w.szUnplayable = "compressed sound data (format 2) cannot be played.";
    cmds.OnListDoubleClick(2); // told before the engine starts
    EXPECT_TRUE(w.played.empty());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].caption, "Cannot Play");
    EXPECT_NE(boxes.shown[1].text.find(Dir("src") + "take1.wav"), std::string::npos);

    w.szUnplayable.clear();
    w.selection[2].reset();
    w.selection[3] = "mix.wav";
    cmds.OnListDoubleClick(3);
    cmds.OnListDoubleClick(3); // still playing: nothing
    w.selection[4] = "x.lpc";
    cmds.OnListDoubleClick(4); // analysis files: nothing
    EXPECT_EQ(w.played, std::vector<std::string>{Dir("out") + "mix.wav"});
    EXPECT_EQ(w.nStatusRefreshes, 1);
    EXPECT_TRUE(w.started.empty());
    cmds.OnRightButton();
    EXPECT_EQ(w.nStops, 1);
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
