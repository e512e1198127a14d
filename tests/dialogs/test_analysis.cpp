// The analysis dialog: its pages, OK that saves and starts a utility, Exit.
#include "csound/analysiscmd.h"
#include "dialogs/analysis.h"
#include "dialogtest.h"

namespace {
struct AnalysisTest : DialogTest {
    AnalysisTest() : DialogTest("Tonsmith32 Analysis", OpenAnalysis) {
        std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
        std::strcpy(ini.szCurSoundFile, "/snd/voice.wav");
        std::strcpy(ini.szSADIR, "/ana/");
        // Records the line the utility would get from the working copy.
        SetAnalysisLauncher([this](int iPage) {
            launched.push_back(analysis::MakeCommandLine(analysis::LocalIniStruct, iPage).text);
        });
    }
    ~AnalysisTest() override { SetAnalysisLauncher({}); }
    std::vector<std::string> launched;
};

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

// Window Overlap passes the overlap factor, Hopsize the hop size; the other
// value's box and label are greyed.
TEST_F(AnalysisTest, HopsizeChoiceGreysTheOtherValueIsSavedAndShownAgain) {
    QDialog* dlg = Open();
    const auto state = [&] {
        std::string s;
        for (int nId : {410, 411, 412, 413})
            s += Enabled(dlg, nId) ? '+' : '-';
        return s + std::to_string(IsDlgButtonChecked(dlg, 416)) +
               std::to_string(IsDlgButtonChecked(dlg, 417));
    };
    EXPECT_EQ(state(), "++--01"); // Window Overlap by default
    Tabs(dlg)->setCurrentIndex(2);
    Click(dlg, 416);
    EXPECT_EQ(state(), "--++10");
    Edit(dlg, 412)->setText("128");
    Click(dlg, 100);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_NE(launched[0].find(" -U pvanal -s10000 -c1 -b0.0 -d0.0 -n16 -h128 "), std::string::npos)
        << launched[0];
    Click(dlg, 417);
    EXPECT_EQ(state(), "++--01");
    Press(dlg, 101);
    dlg = Open();
    EXPECT_EQ(state() + Text(dlg, 412), "--++10128");
    // A stored type of neither button checks none, greys nothing and OK saves 416.
    Press(dlg, 101);
    ini.pvcStruct.iType = 5;
    dlg = Open();
    EXPECT_EQ(state(), "++++00");
    Click(dlg, 100);
    ExpectIni("PVC/type=416");
}

// Exit, Escape and the close box save nothing and refresh the lists; too long
// a text is told, and nothing is saved or started.
TEST_F(AnalysisTest, LeavingAndTooLongTextSaveAndStartNothing) {
    const INISTRUCT before = ini;
    LeaveEachWay(416);
    EXPECT_EQ(nRefresh, 3);
    QDialog* dlg = Open();
    Tabs(dlg)->setCurrentIndex(1);
    Edit(dlg, 220)->setText(QString(125, 'o') + QString::fromUtf8("\xc3\xa9"));
    Click(dlg, 100);
    EXPECT_TRUE(Tabs(dlg)->currentIndex() == 0 && Shown() == dlg);
    EXPECT_TRUE(Unchanged(before) && launched.empty());
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Error: The Output File Name is too long: it "
                                                    "can hold at most 126 bytes. Nothing was "
                                                    "saved."});
}
} // namespace
