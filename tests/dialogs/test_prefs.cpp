// The Preferences dialog frame: OK, Cancel, the edit boxes and the keyboard.
#include "prefsfixture.h"

#include <QTest>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <utility>

TEST_F(PrefsTest, OkWithoutChangeWritesAll39KeysAndRefreshesOnce) {
    const INISTRUCT before = ini;
    QDialog* dlg = Open();
    Ok(dlg);
    EXPECT_EQ(PreferencesDialog(), nullptr);
    EXPECT_EQ(nRefresh, 1);
    const std::string file = cfg.readIni();
    EXPECT_EQ(std::count(file.begin(), file.end(), '='), 39) << file;
    EXPECT_EQ(std::memcmp(&before, &ini, sizeof ini), 0);
    EXPECT_STREQ(ReadIni("SOUND", "format"), "302");
}

TEST_F(PrefsTest, CancelEscapeAndCloseBoxDropTheCopy) {
    const INISTRUCT before = ini;
    for (int nWay = 0; nWay < 3; ++nWay) {
        QDialog* dlg = Open();
        Click(dlg, 211);
        SelectTab(dlg, 1);
        Click(dlg, 300);
        Edit(dlg, 313)->setText("x.wav");
        Dismiss(dlg, nWay);
        FlushDeletes();
        EXPECT_EQ(PreferencesDialog(), nullptr) << nWay;
    }
    EXPECT_EQ(std::memcmp(&before, &ini, sizeof ini), 0);
    EXPECT_FALSE(std::filesystem::exists(cfg.ini()));
    EXPECT_EQ(nRefresh, 0);
}

// Directories get their slash, numbers read like atol (greyed boxes too), Enter
// is OK, and a second command or another page keeps what was typed.
TEST_F(PrefsTest, EditBoxesAreReadOnOkAfterSwitchingAndOpeningAgain) {
    QDialog* dlg = Open();
    Edit(dlg, 206)->setText("/music/orc");
    Edit(dlg, 204)->setText("");
    Edit(dlg, 202)->setText("/music/out/");
    SelectTab(dlg, 1);
    Click(dlg, 300);
    Edit(dlg, 311)->setText("  512 frames"); // greyed: its check box is off
    Edit(dlg, 312)->setText("abc");
    Edit(dlg, 602)->setText("-22050");
    Edit(dlg, 313)->setText("voice.wav");
    SelectTab(dlg, 4);
    Click(dlg, 505);
    EXPECT_EQ(Open(), dlg);
    SelectTab(dlg, 1);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 300), 1);
    EXPECT_EQ(GetDlgItemText(dlg, 313), QStringLiteral("voice.wav"));
    SelectTab(dlg, 0);
    QTest::keyClick(Edit(dlg, 206), Qt::Key_Return);
    FlushDeletes();
    EXPECT_EQ(PreferencesDialog(), nullptr);
    EXPECT_STREQ(ini.szOrcDir, "/music/orc/");
    EXPECT_STREQ(ini.szScoreDir, "/");
    EXPECT_STREQ(ini.szSFDIR, "/music/out/");
    EXPECT_EQ(+ini.nHardwareBuffer, 512);
    EXPECT_EQ(+ini.nSoftwareBuffer, 0);
    EXPECT_EQ(+ini.nOrcSrate, -22050);
    EXPECT_EQ(+ini.nSoundFormat, 300);
    EXPECT_EQ(+ini.nDisplay, 505);
    EXPECT_STREQ(ini.szOutputFilename, "voice.wav");
    EXPECT_STREQ(ReadIni("SOUND", "hardbuffer"), "512");
    EXPECT_STREQ(ReadIni("DIRECTORIES", "scoredir"), "/");
}

TEST_F(PrefsTest, TextTooLongForItsFieldIsRefusedAndNothingSaved) {
    const INISTRUCT before = ini;
    QDialog* dlg = Open();
    const std::pair<int, int> kMax[] = {{313, 11}, {206, 126}, {202, 255}, {401, 126}};
    for (auto [nId, nMax] : kMax)
        EXPECT_EQ(Edit(dlg, nId)->maxLength(), nMax) << nId;
    // 126 characters fit, but not with the slash the directory needs.
    Edit(dlg, 212)->setText(QString(126, 'd'));
    SelectTab(dlg, 2);
    Ok(dlg);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].find("Analysis Output Directory"), std::string::npos)
        << boxes.boxes[0];
    EXPECT_EQ(PreferencesDialog(), dlg);
    EXPECT_EQ(TabBarOf(dlg)->currentIndex(), 0);
    EXPECT_EQ(std::memcmp(&before, &ini, sizeof ini), 0);
    EXPECT_FALSE(std::filesystem::exists(cfg.ini()));

    // Eleven characters but more bytes than the output name holds.
    Edit(dlg, 212)->setText(QString(125, 'd'));
    Edit(dlg, 313)->setText(QString::fromUtf8("\xc3\xa9t\xc3\xa9.wav\xc3\xa9\xc3\xa9"));
    Ok(dlg);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(TabBarOf(dlg)->currentIndex(), 1);
    EXPECT_EQ(nRefresh, 0);

    Edit(dlg, 313)->setText(QString::fromUtf8("\xc3\xa9t\xc3\xa9.wav"));
    Ok(dlg);
    EXPECT_EQ(PreferencesDialog(), nullptr);
    EXPECT_EQ(std::string(ini.szSADIR), std::string(125, 'd') + "/");
    EXPECT_STREQ(ini.szOutputFilename, "\xc3\xa9t\xc3\xa9.wav");
}

TEST_F(PrefsTest, OkKeepsSettingsChangedElsewhereMeanwhile) {
    std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
    QDialog* dlg = Open();
    // While the dialog is open the user picks another Csound and a sound file.
    std::strcpy(ini.szCsoundPath, "/opt/csound7/bin/csound");
    ini.nCSoundVer = 2;
    std::strcpy(ini.szCurSoundFile, "/music/out/take2.wav");
    std::strcpy(ini.lpcStruct.npoles, "50");
    Click(dlg, 211);
    Ok(dlg);
    EXPECT_EQ(+ini.nShowCmdLine, 1);
    EXPECT_STREQ(ini.szCsoundPath, "/opt/csound7/bin/csound");
    EXPECT_EQ(+ini.nCSoundVer, 2);
    EXPECT_STREQ(ini.szCurSoundFile, "/music/out/take2.wav");
    EXPECT_STREQ(ini.lpcStruct.npoles, "50");
}

TEST_F(PrefsTest, EveryControlHasAName) {
    QDialog* dlg = Open();
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (w->objectName().startsWith(QStringLiteral("id")) || qobject_cast<QTabBar*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
}
