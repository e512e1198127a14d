// The small modal dialogs and the open/save dialogs of the main window.
#include "../dialogtest.h"
#include "dialogs/small/filedlg.h"
#include "dialogs/small/smalldialogs.h"
#include "platform/files/fileops.h"

#include <QLabel>

namespace {
class SmallDialogs : public ::testing::Test, protected Ui {
protected:
    SmallDialogs() {
        TestApp();
        PopFileInitialize(nullptr);
        SetFileDialogHandler([this](const FileDialogRequest& r) {
            requests.push_back(r);
            return answer;
        });
    }
    ~SmallDialogs() override {
        SetFileDialogHandler({});
        SetWaveOutDeviceSource({});
    }
    static void Devices(std::vector<std::string> names) {
        SetWaveOutDeviceSource([names] { return names; });
    }
    // The open dialog's result and both buffers.
    std::string Pick() {
        const int n = PopFileOpenDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle);
        return std::to_string(n) + "|" + szFile + "|" + szTitle;
    }
    std::string File(const std::string& name) {
        testutil::WriteFile(t.root() + "/" + name, "");
        return t.root() + "/" + name;
    }
    TempConfig t;
    testutil::BoxAnswerer boxes;
    std::optional<FileDialogAnswer> answer;
    std::vector<FileDialogRequest> requests;
    char szFile[127] = "/old/choice";
    char szTitle[32] = "choice";
};

TEST_F(SmallDialogs, NewFileTakesANameThatFitsAndCancelEmptiesIt) {
    char szNewFile[256] = "stale";
    NewFileDlg orc(nullptr, false, szNewFile);
    orc.show();
    Edit(&orc, IDC_ORCNAME)->setText(QString(256, 'a')); // one byte too many: refused, open
    Click(&orc, smalldlg::IDOK);
    EXPECT_TRUE(orc.isVisible() && boxes.shown.size() == 1 && szNewFile == std::string("stale"));
    Edit(&orc, IDC_ORCNAME)->setText(QString(255, 'a'));
    Click(&orc, smalldlg::IDOK);
    EXPECT_EQ(std::strlen(szNewFile), 255u);
    EXPECT_TRUE(!orc.isVisible() && orc.result() == 1);
    NewFileDlg(nullptr, false, szNewFile).reject(); // Esc or the close box
    EXPECT_STREQ(szNewFile, "");
}

// Next and Previous stop at the ends; a stored number no device has shows
// "None."; OK stores the choice, Cancel nothing.
TEST_F(SmallDialogs, WaveDevicesStayWithinTheListAndOnlyOkStores) {
    Devices({"A", "B"});
    std::uint16_t wDevice = 9;
    WaveDevDlg dlg(nullptr, &wDevice);
    for (int nId : {IDC_PREVIOUS, IDC_NEXT, IDC_NEXT})
        Click(&dlg, nId);
    dlg.OnCommand(smalldlg::IDOK);
    EXPECT_EQ(dlg.findChild<QLabel*>("devicename")->text().toStdString() + std::to_string(wDevice) +
                  ReadIni("WAVE", "WaveOutDev"),
              "B11");
    WriteIni("WAVE", "WaveOutDev", "7");
    WaveDevDlg stray(nullptr, &wDevice);
    EXPECT_EQ(stray.ShownName(), "None.");
    for (int nId : {+IDC_NEXT, +IDC_PREVIOUS, +smalldlg::IDCANCEL})
        stray.OnCommand(nId);
    EXPECT_EQ(std::to_string(stray.deviceId) + ReadIni("WAVE", "WaveOutDev"), "67");
}

// Each version choice is written at once; a cancelled browse keeps the path.
TEST_F(SmallDialogs, SelectCsoundWritesEachChoiceAtOnce) {
    INISTRUCT ini{};
    ini.nCSoundVer = 2;
    std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
    SelectCsndDlg dlg(nullptr, ini);
    Click(&dlg, IDC_DOSVERSION);
    EXPECT_EQ(ReadIni("PREFERENCES", "csoundver") + std::to_string(ini.nCSoundVer), "11");
    Click(&dlg, IDC_WINVERSION);
    dlg.OnCommand(IDC_BROWSECSOUND);
    EXPECT_STREQ(ini.szCsoundPath, "/usr/bin/csound");
    answer = FileDialogAnswer{File("csound6"), 0};
    dlg.OnCommand(IDC_BROWSECSOUND);
    EXPECT_EQ(ini.szCsoundPath + ("|" + Text(&dlg, IDC_CSOUNDPATH)),
              answer->szPath + "|" + answer->szPath);
    EXPECT_EQ(ReadIni("CSOUND", "csound path"), answer->szPath);
    ExpectIni("PREFERENCES/csoundver=2");
    dlg.reject();
}

// Renaming onto another entry is refused in the window command tests.
TEST_F(SmallDialogs, RenameMovesTheFileAndRefreshesCancelDoesNeither) {
    INISTRUCT ini{};
    std::strcpy(ini.szSFDIR, (t.root() + "/").c_str());
    const std::string mix = File("mix.wav");
    int nRefreshes = 0;
    RenameDlg ok(nullptr, ini, 3, "mix.wav", [&] { ++nRefreshes; });
    Edit(&ok, IDC_NEWNAME)->setText("final.wav");
    ok.OnCommand(smalldlg::IDOK);
    EXPECT_TRUE(PathExists(t.root() + "/final.wav") && !PathExists(mix));
    RenameDlg cancelled(nullptr, ini, 3, "final.wav", [&] { ++nRefreshes; });
    Edit(&cancelled, IDC_NEWNAME)->setText("other.wav");
    cancelled.reject();
    EXPECT_EQ(nRefreshes, 1);
    EXPECT_TRUE(PathExists(t.root() + "/final.wav"));
}

TEST_F(SmallDialogs, AboutShowsTheSkinsAboutPicture) {
    QImage skin(306, 281, QImage::Format_RGB32);
    skin.fill(Qt::blue);
    skin.setPixel(3, 105 + 4, qRgb(255, 0, 0));
    AboutDlg dlg(nullptr, &skin);
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(10, 10), qRgb(0, 0, 255));
}

// A cancelled pick keeps both buffers; a pick keeps its name and its filter
// for the next dialog; a name that does not exist is taken only on Yes.
TEST_F(SmallDialogs, FileDialogPicksOnlyWhatFitsAndNewNamesOnlyOnYes) {
    EXPECT_EQ(Pick(), "0|/old/choice|choice");
    EXPECT_EQ(requests.at(0).szInitialFile, "/old/choice");
    answer = FileDialogAnswer{File("csound"), 1};
    EXPECT_EQ(Pick(), "1|" + t.root() + "/csound|csound");
    EXPECT_TRUE(boxes.shown.empty());
    PopFileSaveDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle);
    EXPECT_TRUE(requests.back().nFilterIndex == 1 && requests.back().bSave);
    answer = FileDialogAnswer{t.root() + "/newprog", 0};
    boxes.answers = {IDNO, IDYES};
    EXPECT_EQ(Pick(), "0|" + t.root() + "/csound|csound");
    EXPECT_EQ(Pick(), "1|" + t.root() + "/newprog.EXE|newprog.EXE");
    EXPECT_FALSE(PathExists(szFile));                    // nothing is created
    answer = FileDialogAnswer{t.root() + "/out.wav", 0}; // the save dialog does not ask
    EXPECT_EQ(PopFileSaveDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle), 1);
    std::strcpy(szFile, "/old/choice");
    std::filesystem::create_directories(t.root() + "/" + std::string(120, 'd'));
    answer = FileDialogAnswer{File(std::string(120, 'd') + "/ed"), 0};
    EXPECT_EQ(Pick(), "0|/old/choice|out.wav");
    answer = FileDialogAnswer{File(std::string(32, 't')), 0}; // the title needs 33 bytes
    EXPECT_EQ(Pick(), "0|/old/choice|out.wav");
    answer = FileDialogAnswer{File(std::string(31, 't')), 0};
    EXPECT_EQ(Pick(), "1|" + t.root() + "/" + std::string(31, 't') + "|" + std::string(31, 't'));
    ASSERT_GE(boxes.shown.size(), 3u);
    EXPECT_NE(boxes.shown[0].text.find("Create the file?"), std::string::npos);
    EXPECT_EQ(boxes.shown[2].caption, "Error");

    boxes.answers = {IDCANCEL};
    EXPECT_EQ(FileSaveMessage(nullptr), IDCANCEL);
    EXPECT_EQ(nReturn, IDCANCEL);
    EXPECT_EQ(boxes.shown.back().text, "Save Current File?");
    EXPECT_EQ(boxes.shown.back().type, 0x0003u | MB_ICONQUESTION);
}
} // namespace
