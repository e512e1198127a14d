// The analysis dialog: its pages, OK that saves and starts a utility, Exit.
#include "csound/analysiscmd.h"
#include "dialogs/analysis.h"
#include "dialogtest.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {
class AnalysisTest : public DialogTest {
protected:
    AnalysisTest() {
        std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
        std::strcpy(ini.szCurSoundFile, "/snd/voice.wav");
        std::strcpy(ini.szSADIR, "/ana/");
        // Records the line the utility would get from the working copy.
        SetAnalysisLauncher([this](int iPage) {
            launched.push_back(analysis::MakeCommandLine(analysis::LocalIniStruct, iPage).text);
        });
    }
    void TearDown() override {
        if (QDialog* d = ShownDialog("Tonsmith32 Analysis"))
            d->reject();
        FlushDeletes();
        SetAnalysisLauncher({});
    }
    QDialog* Open() {
        OpenAnalysis(nullptr, &ini, [this] { ++nRefresh; });
        return ShownDialog("Tonsmith32 Analysis");
    }
    std::vector<std::string> launched;
};

TEST_F(AnalysisTest, PagesShowTheInputFileFocusTheirFirstBoxAndLimitLengths) {
    QDialog* dlg = Open();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tonsmith32 Analysis"));
    ASSERT_EQ(TabBarOf(dlg)->count(), 3);
    EXPECT_EQ(TabBarOf(dlg)->tabText(2), QStringLiteral("PVANAL"));
    EXPECT_EQ(GetDlgItemText(dlg, 102), QStringLiteral("/snd/voice.wav"));
    EXPECT_EQ(GetDlgItemText(dlg, 320), QStringLiteral("test.htr"));
    EXPECT_EQ(GetDlgItemText(dlg, 411), QStringLiteral("Window Overlap Factor"));
    const std::pair<int, int> kMax[] = {{202, 1}, {200, 9}, {212, 126}, {318, 9}, {414, 126}};
    for (auto [nId, nMax] : kMax)
        EXPECT_EQ(Edit(dlg, nId)->maxLength(), nMax) << nId;
    // Window Overlap from the defaults; the hop size box and label are greyed.
    EXPECT_EQ(IsDlgButtonChecked(dlg, 417), 1);
    EXPECT_FALSE(Enabled(dlg, 412) || Enabled(dlg, 413));
    EXPECT_TRUE(Enabled(dlg, 410) && Enabled(dlg, 411));
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
    // Meanwhile the user picks another Csound, folder and sound file.
    std::strcpy(ini.szCsoundPath, "/opt/cs/csound");
    std::strcpy(ini.szSADIR, "/ana2/");
    std::strcpy(ini.szCurSoundFile, "/snd/other.wav");
    ini.nShowCmdLine = 1;
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], "/opt/cs/csound -U lpanal -s10000 -c1 -b0.0 -d0.0 -p34 -h200 -P70 "
                           "-Q200 -v0 /snd/voice.wav /ana2/test.lpc");
    EXPECT_EQ(nRefresh, 1);
    EXPECT_EQ(ShownDialog("Tonsmith32 Analysis"), dlg);
    EXPECT_STREQ(ReadIni("HTR", "srate"), "22050");
    EXPECT_STREQ(ini.htrStruct.srate, "22050");
    EXPECT_STREQ(ini.szCurSoundFile, "/snd/other.wav");
    EXPECT_EQ(+ini.nShowCmdLine, 1);
    EXPECT_EQ(Open(), dlg); // a second command brings this one forward, file unchanged
    EXPECT_EQ(GetDlgItemText(dlg, 102), QStringLiteral("/snd/voice.wav"));

    SelectTab(dlg, 1);
    Edit(dlg, 318)->setText("");
    QTest::keyClick(dlg, Qt::Key_Return); // Enter is OK
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1], "/opt/cs/csound -U hetro -s22050 -c1 -b0.0 -d0.0 -f100 -h10 -M32767 "
                           "-m64 -n256 -l /snd/voice.wav /ana2/test.htr");
    EXPECT_STREQ(ReadIni("HTR", "cutfreq"), "");
    EXPECT_EQ(nRefresh, 2);
    const std::string file = cfg.readIni();
    EXPECT_EQ(std::count(file.begin(), file.end(), '='), 31) << file;
}

TEST_F(AnalysisTest, HopsizeChoiceIsSavedAndShownAgain) {
    QDialog* dlg = Open();
    SelectTab(dlg, 2);
    Click(dlg, 416);
    EXPECT_FALSE(Enabled(dlg, 410) || Enabled(dlg, 411));
    EXPECT_TRUE(Enabled(dlg, 412) && Enabled(dlg, 413));
    Edit(dlg, 412)->setText("128");
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_NE(launched[0].find(" -U pvanal -s10000 -c1 -b0.0 -d0.0 -n16 -h128 "), std::string::npos)
        << launched[0];
    EXPECT_EQ(+ini.pvcStruct.iType, 416);
    Click(dlg, 417);
    EXPECT_TRUE(Enabled(dlg, 410) && !Enabled(dlg, 412));

    Dismiss(dlg, 0);
    dlg = Open();
    EXPECT_EQ(IsDlgButtonChecked(dlg, 416), 1);
    EXPECT_FALSE(Enabled(dlg, 410));
    EXPECT_EQ(GetDlgItemText(dlg, 412), QStringLiteral("128"));

    // A stored type of neither button checks none, greys nothing and OK saves 416.
    Dismiss(dlg, 0);
    ini.pvcStruct.iType = 5;
    dlg = Open();
    EXPECT_EQ(IsDlgButtonChecked(dlg, 416) + IsDlgButtonChecked(dlg, 417), 0);
    EXPECT_TRUE(Enabled(dlg, 410) && Enabled(dlg, 412));
    Click(dlg, 100);
    EXPECT_STREQ(ReadIni("PVC", "type"), "416");
}

TEST_F(AnalysisTest, ExitEscapeAndCloseBoxSaveNothingAndRefresh) {
    const INISTRUCT before = ini;
    for (int nWay = 0; nWay < 3; ++nWay) {
        QDialog* dlg = Open();
        Edit(dlg, 200)->setText("8000");
        Dismiss(dlg, nWay);
        EXPECT_EQ(ShownDialog("Tonsmith32 Analysis"), nullptr) << nWay;
        EXPECT_EQ(nRefresh, nWay + 1);
    }
    EXPECT_TRUE(launched.empty());
    EXPECT_FALSE(std::filesystem::exists(cfg.ini()));
    EXPECT_EQ(std::memcmp(&before, &ini, sizeof ini), 0);
}

TEST_F(AnalysisTest, TooLongTextOrCommandLineIsReportedNotStarted) {
    QDialog* dlg = Open();
    SelectTab(dlg, 1);
    Edit(dlg, 220)->setText(QString(125, 'o') + QString::fromUtf8("\xc3\xa9"));
    Click(dlg, 100);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0], "Error: The Output File Name is too long: it can hold at most 126 "
                              "bytes. Nothing was saved.");
    EXPECT_EQ(TabBarOf(dlg)->currentIndex(), 0);
    EXPECT_FALSE(std::filesystem::exists(cfg.ini()));

    Edit(dlg, 220)->setText("test.lpc");
    std::strcpy(ini.szSADIR, ("/" + std::string(100, 'a') + "/").c_str());
    std::strcpy(ini.szCurSoundFile, ("/" + std::string(120, 's')).c_str());
    Dismiss(dlg, 0);
    SetAnalysisLauncher({}); // the default launcher forms the line itself
    dlg = Open();
    Click(dlg, 100);
    EXPECT_TRUE(launched.empty());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_NE(boxes.boxes[1].find("not started"), std::string::npos) << boxes.boxes[1];
    EXPECT_STREQ(ReadIni("LPC", "npoles"), "34");
    EXPECT_EQ(ShownDialog("Tonsmith32 Analysis"), dlg);
}
} // namespace
