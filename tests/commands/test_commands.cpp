// The menu commands and list clicks against a recording window, on real folders.
#include "commands/commands.h"
#include "commands/filecmds.h"
#include "common/tempconfig.h"
#include "platform/files/fileops.h"
#include "platform/process/argsplit.h"
#include "settings/ini.h"

#include <array>
#include <cstring>
#include <optional>

using testutil::ReadFile;
using testutil::WriteFile;
using Strings = std::vector<std::string>;

namespace {
// Records what it is asked and answers from prepared values.
struct FakeWindow : CommandWindow {
    std::array<std::optional<std::string>, 5> selection;
    int nRefreshes = 0, nStatusRefreshes = 0;
    unsigned nStartResult = 33, nDevices = 1;
    std::string szUnplayable, szTypedName;
    std::optional<std::string> picked; // what the open-file dialog's user picks
    Strings started, played, opened;
    std::vector<std::pair<int, std::string>> renames;
    bool ListSelection(int n, std::string* szName) override {
        const auto& s = selection[static_cast<std::size_t>(n)];
        *szName = s.value_or(*szName);
        return s.has_value();
    }
    void RefreshLists() override { ++nRefreshes; }
    void StatusBarRefresh() override { ++nStatusRefreshes; }
    unsigned StartProgram(const std::string& s) override {
        started.push_back(s);
        return nStartResult;
    }
    bool PlaybackBusy() override { return !played.empty(); }
    unsigned WaveOutDeviceCount() override { return nDevices; }
    std::string UnplayableReason(const std::string&) override { return szUnplayable; }
    void StartPlayback(const std::string& szPath) override { played.push_back(szPath); }
    void OpenPreferences() override { opened.push_back("Prefs"); }
    void OpenAnalysis() override { opened.push_back("Analysis"); }
    void Exit() override { opened.push_back("Exit"); }
    void NewFileDialog(bool, char* sz) override { std::strcpy(sz, szTypedName.c_str()); }
    void RenameDialog(int n, const std::string& szOld) override { renames.emplace_back(n, szOld); }
    void WaveDevicesDialog() override { opened.push_back("Devices"); }
    void SelectCsoundDialog() override { opened.push_back("Csound"); }
    void AboutDialog() override { opened.push_back("About"); }
    int FileOpenDialog(char* szFile, std::size_t, char*, std::size_t) override {
        return picked ? (std::strcpy(szFile, picked->c_str()), 1) : 0;
    }
};
class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        char* fields[] = {ini.szOrcDir, ini.szScoreDir, ini.szSSDIR, ini.szSFDIR, ini.szSADIR};
        for (std::size_t i = 0; i < 5; ++i) {
            std::filesystem::create_directories(Dir(kSubs[i]));
            std::strcpy(fields[i], Dir(kSubs[i]).c_str());
        }
    }
    static constexpr const char* kSubs[] = {"orc", "sco", "src", "out", "ana"};
    std::string Dir(const char* d) const { return t.root() + "/" + d + "/"; }
    std::string LastBox() const {
        return boxes.shown.back().caption + "|" + boxes.shown.back().text;
    }
    TempConfig t;
    testutil::EnvGuard home{"HOME", t.root()}; // the home trash: the test's own
    testutil::BoxAnswerer boxes;
    INISTRUCT ini{};
    FakeWindow w;
    Commands cmds{w, ini};
};
} // namespace

TEST_F(CommandsTest, NewReplacesAFileOnlyOnYesAndRefusesWhatDoesNotFit) {
    cmds.OnCommand(CM_NEWSCO); // cancelled: nothing written
    w.szTypedName = "mytune";
    ini.szScoreDir[std::strlen(ini.szScoreDir) - 1] = '\0'; // the slash is added
    const std::string p = Dir("sco") + "mytune.sco";
    WriteFile(p, "my work");
    boxes.answers = {IDNO, IDYES};
    cmds.OnCommand(CM_NEWSCO);
    EXPECT_EQ(ReadFile(p) + "|" + LastBox(),
              "my work|New Score|" + p + " already exists.\nReplace it with a new score?");
    cmds.OnCommand(CM_NEWSCO);
    EXPECT_EQ(ReadFile(p), szScoTemplate); // replaced whole; the editor: end to end
    const std::string szLong(255 - Dir("orc").size() - 4 + 1, 'n'); // 255: no room for the 0
    EXPECT_EQ(CreateFromTemplate(ini, false, szLong), "");
    EXPECT_EQ(boxes.shown.back().caption, "Error");
    EXPECT_NE(CreateFromTemplate(ini, false, szLong.substr(1)), ""); // one shorter fits
    // A folder that fills its field cannot take its slash: refused, unchanged.
    std::memset(ini.szOrcDir, 'd', sizeof ini.szOrcDir - 1);
    EXPECT_EQ(CreateFromTemplate(ini, false, "a"), "");
    EXPECT_EQ(std::strlen(ini.szOrcDir), sizeof ini.szOrcDir - 1);
    EXPECT_EQ(boxes.shown.size(), 4u);
    // A name that leaves its folder is no file name: nothing is written anywhere.
    for (const char* szBad : {"../escaped", "sub/x", ".."})
        EXPECT_EQ(CreateFromTemplate(ini, true, szBad), "") << szBad;
    EXPECT_EQ(LastBox(), "New Score|\"..\" is not a file name. Nothing was created.");
    EXPECT_FALSE(PathExists(t.root() + "/escaped.sco"));
}
TEST_F(CommandsTest, MissingSelectionsAreToldWithTheirOwnMessages) {
    const std::string szNoSound = "No Sound File Selected!|You must first select a Sound File";
    const std::pair<int, std::string> cases[] = {
        {CM_RENAMEORC, "Error|No Orchestra Selected"},
        {CM_DELETESCO, "Error|No Score Selected"},
        {CM_DELETESOUND, szNoSound},
        {CM_ANALYSIS, szNoSound},
        {CM_DELETEANALYSIS, "Error|No Analysis File Selected"},
        {CM_CALLEDITOR, "No Editor Selected!|You must first select your favorite editor"},
    };
    for (const auto& [nId, szBox] : cases) {
        EXPECT_TRUE(cmds.OnCommand(nId));
        EXPECT_EQ(LastBox() + std::to_string(boxes.shown.back().type),
                  szBox + std::to_string(MB_ICONEXCLAMATION));
    }
    // An editor but no sound selection: no stale name, a question instead.
    std::strcpy(ini.szEditorPath, "audacity");
    w.selection[0] = "a.orc";
    cmds.OnCommand(CM_CALLEDITOR);
    EXPECT_EQ(LastBox(), szNoSound);
    EXPECT_TRUE(w.renames.empty() && w.opened.empty() && w.started.empty());
    // The dialogs open from their ids end to end; these ids are not ours.
    for (int nId : {int(CM_COMPILE), 24351, int(IDB_COMPILE)}) // the run watch's, the window's
        EXPECT_FALSE(cmds.OnCommand(nId));
}
// Choosing an editor: end to end. A path with blanks is quoted and given back whole.
TEST_F(CommandsTest, SoundCommandsTakeTheSourceListFirstAndEditorsGetTheNamesWhole) {
    cmds.OnCommand(CM_SELECTTEXTEDITOR); // cancelled: nothing changes
    const std::string szEditor = t.root() + "/my editor";
    WriteFile(szEditor, "");
    std::strcpy(ini.szTextEditorPath, "/usr/bin/mousepad");
    std::strcpy(ini.szEditorPath, szEditor.c_str());
    w.selection[1] = "a.sco", w.selection[3] = "mix.wav";
    cmds.OnListDoubleClick(1); // a score opens in the text editor
    for (int nId : {CM_RENAMESCO, CM_RENAMESOUND, CM_CALLEDITOR})
        cmds.OnCommand(nId);
    w.selection[2] = "take1.wav";
    for (int nId : {CM_RENAMESOUND, CM_CALLEDITOR, CM_ANALYSIS})
        cmds.OnCommand(nId);
    using R = std::pair<int, std::string>;
    EXPECT_EQ(w.renames, (std::vector<R>{{1, "a.sco"}, {3, "mix.wav"}, {2, "take1.wav"}}));
    const std::string szQuoted = "\"" + szEditor + "\" ";
    EXPECT_EQ(w.started,
              (Strings{"/usr/bin/mousepad " + Dir("sco") + "a.sco",
                       szQuoted + Dir("out") + "mix.wav", szQuoted + Dir("src") + "take1.wav"}));
    EXPECT_EQ(w.opened, Strings{"Analysis"});
    EXPECT_EQ(SplitCommandLine(WaveEditorCommand(ini, "/my src/take \"1\".wav")),
              (Strings{szEditor, "/my src/take \"1\".wav"}));
    ini.szTextEditorPath[0] = '\0';
    EXPECT_EQ(TextEditorCommand(ini, "/my orc/a.orc"), "notepad \"/my orc/a.orc\"");
    w.nStartResult = 2; // the launcher found no such program: told, not silent
    cmds.OnCommand(CM_FILENEW);
    EXPECT_EQ(LastBox(), "Error|Could not start: notepad");
}
TEST_F(CommandsTest, DeleteAsksWithThePathAndTrashesOnlyOnYes) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {CM_DELETESCO, "sco", "a.sco", "SCORE"},
        {CM_DELETESOUND, "src", "s.wav", "SOUNDFILE"}, // Source before Output
        {CM_DELETEANALYSIS, "ana", "a.lpc", "Analysis File"},
    };
    WriteFile(Dir("out") + "s.wav", "x");
    w.selection = {"", "a.sco", "s.wav", "s.wav", "a.lpc"};
    for (const auto& [nId, szDir, szName, szWhat] : cases) {
        const std::string p = Dir(szDir) + szName;
        WriteFile(p, "x");
        boxes.answers = {IDYES}; // Enter keeps: end to end
        cmds.OnCommand(nId);
        EXPECT_EQ(LastBox(),
                  std::string("Are you sure you want to DELETE this ") + szWhat + "?|" + p);
        EXPECT_FALSE(PathExists(p)) << p;
    }
    EXPECT_TRUE(PathExists(Dir("out") + "s.wav"));
    boxes.answers = {IDYES}; // gone already: told, and the lists are refilled
    cmds.OnCommand(CM_DELETESCO);
    EXPECT_EQ(boxes.shown.back().caption, "Error");
    EXPECT_EQ(w.nRefreshes, 4);
}
TEST_F(CommandsTest, DoubleClickPlaysOnlyAPlayableSoundFileWhenIdle) {
    const std::string p = Dir("src") + "take1.wav";
    w.selection[2] = "take1.wav";
    w.nDevices = 0;
    cmds.OnListDoubleClick(2);
    EXPECT_EQ(LastBox(),
              "Cannot Play|" + p + " cannot be played: no sound output device was found.");
    w.nDevices = 1;
    w.szUnplayable = "compressed sound data (format 2) cannot be played.";
    cmds.OnListDoubleClick(2); // told before the engine starts
    EXPECT_EQ(LastBox(), "Cannot Play|" + p + " cannot be played: " + w.szUnplayable);
    w.szUnplayable.clear();
    w.selection[2] = std::string(130 - Dir("src").size(), 'x');
    cmds.OnListDoubleClick(2);
    EXPECT_EQ(LastBox(), "Error|The path " + Dir("src") + *w.selection[2] +
                             " is too long to play: at most 126 characters fit.");
    w.selection[3] = "mix.wav";
    cmds.OnListDoubleClick(3);
    cmds.OnListDoubleClick(3); // still playing: nothing
    w.selection[4] = "x.lpc";
    cmds.OnListDoubleClick(4); // analysis files: nothing
    EXPECT_EQ(w.played, Strings{Dir("out") + "mix.wav"});
    EXPECT_EQ(std::tuple(w.nStatusRefreshes, boxes.shown.size(), w.started.size()),
              std::tuple(1, 3u, 0u));
}
TEST_F(CommandsTest, RenameStaysInTheFolderAndNeverReplaces) {
    WriteFile(Dir("out") + "mix.wav", "MIX");
    WriteFile(Dir("out") + "keep.wav", "KEEP");
    EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", "keep.wav"));
    EXPECT_EQ(LastBox(), "Rename |A file named keep.wav already exists in " + Dir("out") +
                             ".\nBoth files were left as they are.");
    for (const std::string& szBad : Strings{"", "../out.wav", "..", std::string(128, 'a')})
        EXPECT_FALSE(RenameListFile(ini, 3, "mix.wav", szBad)) << szBad;
    EXPECT_FALSE(RenameListFile(ini, 3, "gone.wav", "other.wav")); // a failure is told too
    EXPECT_EQ(boxes.shown.size(), 6u);
    EXPECT_TRUE(RenameListFile(ini, 3, "mix.wav", "final.wav"));
    EXPECT_EQ(ReadFile(Dir("out") + "final.wav") + ReadFile(Dir("out") + "keep.wav"), "MIXKEEP");
    EXPECT_FALSE(PathExists(Dir("out") + "mix.wav"));
}
