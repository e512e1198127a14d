#include "commands/filecmds.h"
#include "common/tempconfig.h"
#include "common/testutil.h"
#include "fakewindow.h"
#include "platform/files/fileops.h"
#include "platform/process/argsplit.h"

#include <cstring>
#include <gtest/gtest.h>

using testutil::ReadFile;
using testutil::WriteFile;

namespace {
class FileCmds : public ::testing::Test {
protected:
    TempConfig t;
    BoxAnswerer boxes;
    INISTRUCT ini{};
};
} // namespace

TEST_F(FileCmds, CreateFromTemplateAddsTheSlashAndWritesTheTemplate) {
    std::strcpy(ini.szScoreDir, t.root().c_str()); // no trailing slash
    const std::string p = CreateFromTemplate(ini, true, "tune");
    EXPECT_EQ(p, t.root() + "/tune.sco");
    EXPECT_EQ(std::string(ini.szScoreDir), t.root() + "/");
    EXPECT_EQ(ReadFile(p), szScoTemplate);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FileCmds, CreateFromTemplateAnExistingFileIsReplacedWholeOnlyOnYes) {
    std::strcpy(ini.szOrcDir, (t.root() + "/").c_str());
    const std::string p = t.root() + "/old.orc";
    const std::string szWork(500, 'x');
    WriteFile(p, szWork);

    boxes.answers = {IDNO};
    EXPECT_EQ(CreateFromTemplate(ini, false, "old"), "");
    EXPECT_EQ(ReadFile(p), szWork);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "New Orchestra");
    EXPECT_EQ(boxes.shown[0].type & (MB_TYPEMASK | MB_DEFMASK), unsigned(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_NE(boxes.shown[0].text.find(p), std::string::npos);

    boxes.answers = {IDYES};
    EXPECT_EQ(CreateFromTemplate(ini, false, "old"), p);
    EXPECT_EQ(ReadFile(p), szOrcTemplate);
}

TEST_F(FileCmds, CreateFromTemplateRefusesWhatDoesNotFit) {
    std::strcpy(ini.szOrcDir, (t.root() + "/").c_str());
    // 255 characters of path would not leave room for the terminator.
    const std::string szLong(255 - std::strlen(ini.szOrcDir) - 4 + 1, 'n');
    EXPECT_EQ(CreateFromTemplate(ini, false, szLong), "");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_FALSE(PathExists(t.root() + "/" + szLong + ".orc"));
    // One character shorter fits.
    EXPECT_NE(CreateFromTemplate(ini, false, szLong.substr(1)), "");

    // A folder that fills its field cannot take its slash: refused, unchanged.
    std::memset(ini.szOrcDir, 'd', sizeof ini.szOrcDir - 1);
    ini.szOrcDir[sizeof ini.szOrcDir - 1] = '\0';
    EXPECT_EQ(CreateFromTemplate(ini, false, "a"), "");
    EXPECT_EQ(std::strlen(ini.szOrcDir), sizeof ini.szOrcDir - 1);
}

TEST_F(FileCmds, RenameListFileStaysInTheFolderAndNeverReplaces) {
    std::strcpy(ini.szSFDIR, (t.root() + "/").c_str());
    WriteFile(t.root() + "/mix.wav", "MIX");
    WriteFile(t.root() + "/keep.wav", "KEEP");

    EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", "keep.wav"));
    EXPECT_EQ(ReadFile(t.root() + "/mix.wav"), "MIX");
    EXPECT_EQ(ReadFile(t.root() + "/keep.wav"), "KEEP");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("already exists"), std::string::npos);

    EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", ""));
    EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", "../out.wav"));
    EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", std::string(128, 'a')));
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(ReadFile(t.root() + "/mix.wav"), "MIX");

    EXPECT_TRUE(RenameListFile(ini, 3, "mix.wav", "final.wav"));
    EXPECT_EQ(ReadFile(t.root() + "/final.wav"), "MIX");
    EXPECT_FALSE(PathExists(t.root() + "/mix.wav"));
}

TEST_F(FileCmds, EditorCommandsFormTheTextTheLauncherSplits) {
    EXPECT_EQ(TextEditorCommand(ini, "/orc/mytune.orc"), "notepad /orc/mytune.orc");
    // A path with blanks stays one argument.
    EXPECT_EQ(TextEditorCommand(ini, "/my orc/a.orc"), "notepad \"/my orc/a.orc\"");

    // A chosen editor whose own path holds a blank is quoted when it exists.
    const std::string szEditor = t.root() + "/my editor";
    WriteFile(szEditor, "");
    std::strcpy(ini.szEditorPath, szEditor.c_str());
    EXPECT_EQ(WaveEditorCommand(ini, "/src/take1.wav"), "\"" + szEditor + "\" /src/take1.wav");
    // The launcher's splitting gives editor and file back whole.
    EXPECT_EQ(SplitCommandLine(WaveEditorCommand(ini, "/my src/take \"1\".wav")),
              (std::vector<std::string>{szEditor, "/my src/take \"1\".wav"}));
}
