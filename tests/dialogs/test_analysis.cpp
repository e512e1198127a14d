// The analysis dialog: its pages, OK that saves and starts a utility, Exit.
#include "common/tempconfig.h"
#include "csound/analysiscmd.h"
#include "dialogs/analysis.h"
#include "dialogs/dlgunits.h"
#include "dialogtest.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <QTest>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {
QRect Du(int x, int y, int cx, int cy) {
    return MapDialogRect(x, y, cx, cy, BaseUnitsOf(DialogFont(8)));
}

class AnalysisTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitAppInto(ini);
        std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
        std::strcpy(ini.szCurSoundFile, "/snd/voice.wav");
        std::strcpy(ini.szSADIR, "/ana/");
        // Records the line the utility would get from the working copy.
        SetAnalysisLauncher(
            [this](int iPage) { launched.emplace_back(analysis::MakeCommandLine(iPage)); });
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        if (QDialog* d = AnalysisDialog())
            d->reject();
        FlushDeletes();
        SetAnalysisLauncher({});
        SetMessageBoxHandler({});
    }
    QDialog* Open() {
        OpenAnalysis(nullptr, &ini, [this] { ++nRefresh; });
        return AnalysisDialog();
    }

    TempConfig cfg;
    INISTRUCT ini{};
    int nRefresh = 0;
    std::vector<std::string> launched;
    std::vector<std::string> messages;
};
} // namespace

TEST_F(AnalysisTest, PagesShowTheSettingsAndTheInputFile) {
    QDialog* dlg = Open();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tonsmith32 Analysis"));
    ASSERT_EQ(TabBarOf(dlg)->count(), 3);
    EXPECT_EQ(TabBarOf(dlg)->tabText(0), QStringLiteral("LPANAL"));
    EXPECT_EQ(TabBarOf(dlg)->tabText(2), QStringLiteral("PVANAL"));
    EXPECT_EQ(GetDlgItemText(dlg, 103), QStringLiteral("Input File"));
    EXPECT_EQ(GetDlgItemText(dlg, 102), QStringLiteral("/snd/voice.wav"));
    EXPECT_EQ(GetDlgItem(dlg, 102)->geometry(), Du(10, 240, 120, 14));
    EXPECT_EQ(GetDlgItemText(dlg, 101), QStringLiteral("E&xit"));

    EXPECT_EQ(GetDlgItem(dlg, 212)->geometry(), Du(120, 80, 100, 13));
    EXPECT_EQ(GetDlgItem(dlg, 213)->geometry().topLeft(), Du(120, 70, 1, 1).topLeft());
    EXPECT_EQ(GetDlgItemText(dlg, 213), QStringLiteral("Comments"));
    EXPECT_EQ(GetDlgItem(dlg, 310)->geometry(), Du(135, 22, 40, 13));
    EXPECT_EQ(GetDlgItemText(dlg, 311), QStringLiteral("# of Harmonic Partials"));
    EXPECT_EQ(GetDlgItem(dlg, 417)->geometry(), Du(130, 42, 90, 12));
    EXPECT_EQ(GetDlgItemText(dlg, 200), QStringLiteral("10000"));
    EXPECT_EQ(GetDlgItemText(dlg, 320), QStringLiteral("test.htr"));
    EXPECT_EQ(Edit(dlg, 200)->accessibleName(), QStringLiteral("Sample Rate"));

    // Every box stops at its field's width.
    EXPECT_EQ(Edit(dlg, 202)->maxLength(), 1);
    EXPECT_EQ(Edit(dlg, 218)->maxLength(), 1);
    EXPECT_EQ(Edit(dlg, 200)->maxLength(), 9);
    EXPECT_EQ(Edit(dlg, 212)->maxLength(), 126);
    EXPECT_EQ(Edit(dlg, 318)->maxLength(), 9);
    EXPECT_EQ(Edit(dlg, 414)->maxLength(), 126);
    QTest::keyClicks(Edit(dlg, 202), "12");
    EXPECT_EQ(GetDlgItemText(dlg, 202), QStringLiteral("1"));

    // Window Overlap from the defaults; the hop size box and label are greyed.
    EXPECT_EQ(IsDlgButtonChecked(dlg, 417), 1);
    EXPECT_FALSE(Enabled(dlg, 412));
    EXPECT_FALSE(Enabled(dlg, 413));
    EXPECT_TRUE(Enabled(dlg, 410));
}

TEST_F(AnalysisTest, ShowingAPageFocusesItsFirstBox) {
    QDialog* dlg = Open();
    EXPECT_EQ(dlg->focusWidget(), GetDlgItem(dlg, 200));
    SelectTab(dlg, 2);
    EXPECT_EQ(dlg->focusWidget(), GetDlgItem(dlg, 400));
    SelectTab(dlg, 1);
    EXPECT_EQ(dlg->focusWidget(), GetDlgItem(dlg, 300));
    EXPECT_FALSE(GetDlgItem(dlg, 400)->isVisible());
}

TEST_F(AnalysisTest, OkSavesAllPagesStartsTheVisibleUtilityAndStaysOpen) {
    QDialog* dlg = Open();
    Edit(dlg, 300)->setText("22050"); // on the hidden heterodyne page
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], "/usr/bin/csound -U lpanal -s10000 -c1 -b0.0 -d0.0 -p34 -h200 -P70 "
                           "-Q200 -v0 /snd/voice.wav /ana/test.lpc");
    EXPECT_EQ(nRefresh, 1);
    EXPECT_EQ(AnalysisDialog(), dlg);
    EXPECT_STREQ(ReadIni("HTR", "srate"), "22050");
    EXPECT_STREQ(ini.htrStruct.srate, "22050");
    const std::string file = cfg.readIni();
    EXPECT_EQ(std::count(file.begin(), file.end(), '='), 31) << file;

    SelectTab(dlg, 1);
    Edit(dlg, 318)->setText("");
    QTest::keyClick(dlg, Qt::Key_Return); // Enter is OK
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1], "/usr/bin/csound -U hetro -s22050 -c1 -b0.0 -d0.0 -f100 -h10 -M32767 "
                           "-m64 -n256 -l /snd/voice.wav /ana/test.htr");
    EXPECT_STREQ(ReadIni("HTR", "cutfreq"), "");
    EXPECT_EQ(nRefresh, 2);
}

TEST_F(AnalysisTest, HopsizeChoiceIsSavedAndShownAgain) {
    QDialog* dlg = Open();
    SelectTab(dlg, 2);
    Click(dlg, 416);
    EXPECT_FALSE(Enabled(dlg, 410));
    EXPECT_FALSE(Enabled(dlg, 411));
    EXPECT_TRUE(Enabled(dlg, 412));
    Edit(dlg, 412)->setText("128");
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_NE(launched[0].find(" -U pvanal "), std::string::npos);
    EXPECT_NE(launched[0].find(" -h128 "), std::string::npos) << launched[0];
    EXPECT_EQ(launched[0].find(" -w"), std::string::npos) << launched[0];
    EXPECT_STREQ(ReadIni("PVC", "type"), "416");
    EXPECT_EQ(+ini.pvcStruct.iType, 416);

    Click(dlg, 101);
    FlushDeletes();
    dlg = Open();
    EXPECT_EQ(IsDlgButtonChecked(dlg, 416), 1);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 417), 0);
    EXPECT_FALSE(Enabled(dlg, 410));
    EXPECT_EQ(GetDlgItemText(dlg, 412), QStringLiteral("128"));
    Click(dlg, 417);
    EXPECT_TRUE(Enabled(dlg, 410));
    EXPECT_FALSE(Enabled(dlg, 412));
}

TEST_F(AnalysisTest, StoredTypeOfNeitherButtonChecksNoneAndOkSaves416) {
    ini.pvcStruct.iType = 5;
    QDialog* dlg = Open();
    EXPECT_EQ(IsDlgButtonChecked(dlg, 416) + IsDlgButtonChecked(dlg, 417), 0);
    for (int nId : {410, 411, 412, 413})
        EXPECT_TRUE(Enabled(dlg, nId)) << nId;
    Click(dlg, 100);
    EXPECT_STREQ(ReadIni("PVC", "type"), "416");
}

TEST_F(AnalysisTest, ExitEscapeAndCloseBoxSaveNothingAndRefresh) {
    const INISTRUCT before = ini;
    for (int nWay = 0; nWay < 3; ++nWay) {
        QDialog* dlg = Open();
        Edit(dlg, 200)->setText("8000");
        if (nWay == 0)
            Click(dlg, 101);
        else if (nWay == 1)
            QTest::keyClick(dlg, Qt::Key_Escape);
        else
            dlg->close();
        FlushDeletes();
        EXPECT_EQ(AnalysisDialog(), nullptr) << nWay;
        EXPECT_EQ(nRefresh, nWay + 1);
    }
    EXPECT_TRUE(launched.empty());
    EXPECT_FALSE(std::filesystem::exists(cfg.ini()));
    EXPECT_EQ(std::memcmp(&before, &ini, sizeof ini), 0);
}

TEST_F(AnalysisTest, OkUsesTheShownFileAndKeepsOtherSettingsChangedMeanwhile) {
    QDialog* dlg = Open();
    std::strcpy(ini.szCsoundPath, "/opt/cs/csound");
    std::strcpy(ini.szSADIR, "/ana2/");
    std::strcpy(ini.szCurSoundFile, "/snd/other.wav");
    ini.nShowCmdLine = 1;
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].rfind("/opt/cs/csound -U lpanal", 0), 0u) << launched[0];
    EXPECT_NE(launched[0].find(" /snd/voice.wav /ana2/test.lpc"), std::string::npos);
    EXPECT_STREQ(ini.szCurSoundFile, "/snd/other.wav");
    EXPECT_EQ(+ini.nShowCmdLine, 1);
    EXPECT_EQ(GetDlgItemText(dlg, 102), QStringLiteral("/snd/voice.wav"));
    EXPECT_EQ(Open(), dlg); // a second command brings this one forward, file unchanged
    EXPECT_EQ(GetDlgItemText(dlg, 102), QStringLiteral("/snd/voice.wav"));
}

TEST_F(AnalysisTest, OverlongCommandLineIsReportedNotStarted) {
    std::strcpy(ini.szCurSoundFile, ("/" + std::string(120, 's')).c_str());
    std::strcpy(ini.szSADIR, ("/" + std::string(100, 'a') + "/").c_str());
    SetAnalysisLauncher({}); // the default launcher forms the line itself
    QDialog* dlg = Open();
    Click(dlg, 100);
    EXPECT_TRUE(launched.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("not started"), std::string::npos) << messages[0];
    EXPECT_STREQ(ReadIni("LPC", "npoles"), "34");
    EXPECT_EQ(AnalysisDialog(), dlg);
}
