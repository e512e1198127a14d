// The analysis dialog: its pages, OK that saves and starts a utility, Exit.
#include "csound/analysiscmd.h"
#include "dialogs/analysis.h"
#include "dialogtest.h"

namespace {
struct AnalysisTest : DialogTest {
    AnalysisTest() : DialogTest("Tonsmith32 Analysis") {
        std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
        std::strcpy(ini.szCurSoundFile, "/snd/voice.wav");
        std::strcpy(ini.szSADIR, "/ana/");
        // Records the line the utility would get from the working copy.
        SetAnalysisLauncher([this](int iPage) {
            launched.push_back(analysis::MakeCommandLine(analysis::LocalIniStruct, iPage).text);
        });
    }
    ~AnalysisTest() override { SetAnalysisLauncher({}); }
    QDialog* Open() {
        OpenAnalysis(nullptr, &ini, [this] { ++nRefresh; });
        return Shown();
    }
    std::vector<std::string> launched;
};

TEST_F(AnalysisTest, PagesShowTheInputFileFocusTheirFirstBoxAndLimitLengths) {
    QDialog* dlg = Open();
    ASSERT_EQ(Tabs(dlg)->count(), 3);
    EXPECT_EQ(Tabs(dlg)->tabText(2).toStdString() + Text(dlg, 102) + Text(dlg, 320) +
                  Text(dlg, 411),
              "PVANAL/snd/voice.wavtest.htrWindow Overlap Factor");
    for (auto [nId, nMax] : {std::pair{202, 1}, {200, 9}, {212, 126}, {318, 9}, {414, 126}})
        EXPECT_EQ(Edit(dlg, nId)->maxLength(), nMax) << nId;
    // Window Overlap from the defaults; the hop size box and label are greyed.
    EXPECT_EQ(IsDlgButtonChecked(dlg, 417), 1);
    EXPECT_TRUE(!Enabled(dlg, 412) && !Enabled(dlg, 413) && Enabled(dlg, 410) && Enabled(dlg, 411));
    for (auto [iPage, nId] : {std::pair{0, 200}, {2, 400}, {1, 300}}) {
        Tabs(dlg)->setCurrentIndex(iPage);
        EXPECT_EQ(dlg->focusWidget(), GetDlgItem(dlg, nId)) << iPage;
    }
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
    EXPECT_TRUE(nRefresh == 1 && Shown() == dlg);
    ExpectIni("HTR/srate=22050");
    EXPECT_EQ(ini.htrStruct.srate + std::string("|") + ini.szCurSoundFile, "22050|/snd/other.wav");
    EXPECT_EQ(+ini.nShowCmdLine, 1);
    EXPECT_EQ(Open(), dlg); // a second command brings this one forward, file unchanged
    EXPECT_EQ(Text(dlg, 102), "/snd/voice.wav");

    Tabs(dlg)->setCurrentIndex(1);
    Edit(dlg, 318)->setText("");
    QTest::keyClick(dlg, Qt::Key_Return); // Enter is OK
    EXPECT_EQ(launched, (std::vector<std::string>{
                            "/opt/cs/csound -U lpanal -s10000 -c1 -b0.0 -d0.0 -p34 -h200 -P70 "
                            "-Q200 -v0 /snd/voice.wav /ana2/test.lpc",
                            "/opt/cs/csound -U hetro -s22050 -c1 -b0.0 -d0.0 -f100 -h10 -M32767 "
                            "-m64 -n256 -l /snd/voice.wav /ana2/test.htr"}));
    ExpectIni("HTR/cutfreq=");
    EXPECT_EQ(nRefresh, 2);
}

TEST_F(AnalysisTest, HopsizeChoiceIsSavedAndShownAgain) {
    QDialog* dlg = Open();
    Tabs(dlg)->setCurrentIndex(2);
    Click(dlg, 416);
    EXPECT_TRUE(!Enabled(dlg, 410) && !Enabled(dlg, 411) && Enabled(dlg, 412) && Enabled(dlg, 413));
    Edit(dlg, 412)->setText("128");
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_NE(launched[0].find(" -U pvanal -s10000 -c1 -b0.0 -d0.0 -n16 -h128 "), std::string::npos)
        << launched[0];
    Click(dlg, 417);
    EXPECT_TRUE(Enabled(dlg, 410) && !Enabled(dlg, 412));
    Dismiss(dlg, 0);
    dlg = Open();
    EXPECT_TRUE(IsDlgButtonChecked(dlg, 416) == 1 && !Enabled(dlg, 410) && Text(dlg, 412) == "128");
    // A stored type of neither button checks none, greys nothing and OK saves 416.
    Dismiss(dlg, 0);
    ini.pvcStruct.iType = 5;
    dlg = Open();
    EXPECT_EQ(IsDlgButtonChecked(dlg, 416) + IsDlgButtonChecked(dlg, 417), 0);
    EXPECT_TRUE(Enabled(dlg, 410) && Enabled(dlg, 412));
    Click(dlg, 100);
    ExpectIni("PVC/type=416");
}

TEST_F(AnalysisTest, ExitEscapeAndCloseBoxSaveNothingAndRefresh) {
    const INISTRUCT before = ini;
    for (int nWay = 0; nWay < 3; ++nWay) {
        Edit(Open(), 200)->setText("8000");
        Dismiss(Shown(), nWay);
        EXPECT_EQ(Shown(), nullptr) << nWay;
        EXPECT_EQ(nRefresh, nWay + 1);
    }
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(Unchanged(before));
}

TEST_F(AnalysisTest, TooLongTextIsReportedNothingSavedOrStarted) {
    const INISTRUCT before = ini;
    QDialog* dlg = Open();
    Tabs(dlg)->setCurrentIndex(1);
    Edit(dlg, 220)->setText(QString(125, 'o') + QString::fromUtf8("\xc3\xa9"));
    Click(dlg, 100);
    EXPECT_EQ(Tabs(dlg)->currentIndex(), 0);
    EXPECT_TRUE(Unchanged(before) && launched.empty());
    EXPECT_EQ(Shown(), dlg);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Error: The Output File Name is too long: it "
                                                    "can hold at most 126 bytes. Nothing was "
                                                    "saved."});
}
} // namespace
