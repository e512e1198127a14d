// The five Preferences pages: a sample of each template, initial state and click rules.
#include "prefsfixture.h"

#include "dialogs/dlgunits.h"

#include <QAccessible>

namespace {
enum { PATH, SOUND, ORCSCO, MIDI, DISP };

QRect Du(int x, int y, int cx, int cy) {
    return MapDialogRect(x, y, cx, cy, BaseUnitsOf(DialogFont(8)));
}
} // namespace

TEST_F(PrefsTest, FramePagesAndASampleOfEachTemplate) {
    QDialog* dlg = Open();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tonsmith32 Preferences"));
    EXPECT_EQ(dlg->size(), Du(3, 16, 248, 252).size());
    ASSERT_EQ(TabBarOf(dlg)->count(), 5);
    EXPECT_EQ(TabBarOf(dlg)->tabText(ORCSCO), QStringLiteral("Orc/Sco"));
    const std::pair<int, const char*> samples[] = {
        {207, "Orchestra Directory"},
        {305, " ALAW Output"},
        {405, "Terminate Performance at the end of the MIDI file"},
        {502, "Note Amplitude "},
    };
    for (const auto& [nId, text] : samples)
        EXPECT_EQ(GetDlgItemText(dlg, nId), QString::fromUtf8(text)) << nId;
    // Template units map on the dialog font; each page sits in the frame.
    EXPECT_EQ(GetDlgItem(dlg, 405)->geometry(), Du(20, 152, 176, 12));
    EXPECT_EQ(GetDlgItem(dlg, 502)->parentWidget()->geometry(), Du(4, 20, 234, 202));
    // One page at a time; the Browse buttons and two check boxes never show.
    EXPECT_TRUE(GetDlgItem(dlg, 206)->isVisible());
    for (int nId : {313, 210, 208, 209})
        EXPECT_FALSE(GetDlgItem(dlg, nId)->isVisible()) << nId;
    SelectTab(dlg, MIDI);
    EXPECT_FALSE(GetDlgItem(dlg, 206)->isVisible());
    EXPECT_TRUE(GetDlgItem(dlg, 400)->isVisible());
    EXPECT_FALSE(GetDlgItem(dlg, 402)->isVisible());
}

TEST_F(PrefsTest, FreshDefaultsShowOnEveryPage) {
    QDialog* dlg = Open();
    EXPECT_EQ(GetDlgItemText(dlg, 206), QString::fromUtf8(ini.szOrcDir));
    for (int nId : {211, 214, 302, 307, 504})
        EXPECT_EQ(IsDlgButtonChecked(dlg, nId), 1) << nId;
    for (int nId : {300, 304, 309, 503})
        EXPECT_EQ(IsDlgButtonChecked(dlg, nId), 0) << nId;
    // Wave greys the sample types it cannot hold; every value box starts greyed.
    for (int nId : {305, 306, 309, 313, 311, 602, 610, 609, 401, 404})
        EXPECT_FALSE(Enabled(dlg, nId)) << nId;
    EXPECT_TRUE(Enabled(dlg, 308));
    // No extract or MIDI file stored: the boxes are empty, not the template text.
    EXPECT_EQ(GetDlgItemText(dlg, 610), QString());
    EXPECT_EQ(GetDlgItemText(dlg, 401), QString());
}

TEST_F(PrefsTest, SoundFormatGreysAndForcesShortInt) {
    QDialog* dlg = Open();
    SelectTab(dlg, SOUND);
    Click(dlg, 300); // No Sound ungreys and keeps the type
    for (int nId : {305, 306, 309})
        EXPECT_TRUE(Enabled(dlg, nId)) << nId;
    EXPECT_EQ(IsDlgButtonChecked(dlg, 307), 1);
    Click(dlg, 309); // Float
    EXPECT_EQ(IsDlgButtonChecked(dlg, 307), 0);
    Click(dlg, 301); // AIFF forces Short Int
    EXPECT_EQ(IsDlgButtonChecked(dlg, 307), 1);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 309), 0);
    EXPECT_FALSE(Enabled(dlg, 309));
    Click(dlg, 303); // No Header
    Click(dlg, 306); // ULAW
    Click(dlg, 310); // output file name on
    EXPECT_TRUE(Enabled(dlg, 313));
    Click(dlg, 315);
    Click(dlg, 315); // hardware buffer back off
    EXPECT_FALSE(Enabled(dlg, 311));
    Click(dlg, 317);
    Ok(dlg);
    EXPECT_EQ(+ini.nSoundFormat, 303);
    EXPECT_EQ(+ini.nSoundType, 306);
    EXPECT_EQ(+ini.nOutputFilenameCheck, 1);
    EXPECT_EQ(+ini.nHardwareBufferCheck, 0);
    EXPECT_EQ(+ini.nDeferFileLoad, 1);
    EXPECT_STREQ(ReadIni("SOUND", "type"), "306");
}

TEST_F(PrefsTest, DirectoryPageFlagsAndShowPreferences) {
    QDialog* dlg = Open();
    Click(dlg, 211);
    Click(dlg, 214);
    Click(dlg, 214);
    // The hidden check boxes still follow their rules when pressed.
    Click(dlg, 208);
    EXPECT_FALSE(Enabled(dlg, 204));
    EXPECT_FALSE(Enabled(dlg, 205));
    Click(dlg, 209);
    Click(dlg, 209);
    EXPECT_TRUE(Enabled(dlg, 200));
    Ok(dlg);
    EXPECT_EQ(+ini.nShowCmdLine, 1);
    EXPECT_EQ(+ini.nShowAnalysis, 2);
    EXPECT_EQ(+ini.nScoreMode, 1);
    EXPECT_EQ(+ini.nSFMode, 0);
    EXPECT_STREQ(ReadIni("PREFERENCES", "showcmdline"), "1");
}

TEST_F(PrefsTest, GreyingFollowsFlagsOnOrcScoAndMidiPages) {
    ini.nScoExtractCheck = 1;
    std::strcpy(ini.szScoExtract, "take.ext");
    std::strcpy(ini.szMidiInFile, "song.mid");
    QDialog* dlg = Open();
    EXPECT_TRUE(Enabled(dlg, 610));
    EXPECT_EQ(GetDlgItemText(dlg, 401), QStringLiteral("song.mid"));
    Click(dlg, 601);
    EXPECT_TRUE(Enabled(dlg, 602));
    Click(dlg, 607);
    EXPECT_FALSE(Enabled(dlg, 610));
    for (int nId : {608, 600, 400, 403, 405})
        Click(dlg, nId);
    EXPECT_TRUE(Enabled(dlg, 401));
    Ok(dlg);
    EXPECT_EQ(+ini.nOrcSRateCheck, 1);
    EXPECT_EQ(+ini.nScoExtractCheck, 0);
    EXPECT_STREQ(ini.szScoExtract, "take.ext"); // greyed, still read
    for (int n : {+ini.nScoTempCheck, +ini.nITimeOnly, +ini.nMidiInFileCheck, +ini.nMidiSusCheck,
                  +ini.nMidiTerminate})
        EXPECT_EQ(n, 1);
}

TEST_F(PrefsTest, WarningMaskIsAddedToAndSubtractedFrom) {
    ini.nWarningsCheck = 5;
    QDialog* dlg = Open();
    SelectTab(dlg, DISP);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 502), 1);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 500), 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 501), 1);
    Click(dlg, 501);
    Click(dlg, 503);
    Click(dlg, 506);
    Ok(dlg);
    EXPECT_EQ(+ini.nWarningsCheck, 1);
    EXPECT_EQ(+ini.nDisplay, 503);
    EXPECT_EQ(+ini.nHeartbeat, 1);
    EXPECT_STREQ(ReadIni("DISPLAY", "warnings"), "1");

    // A mask above 7 shows no box on; clicks still add and subtract.
    ini.nWarningsCheck = 9;
    dlg = Open();
    for (int nId : {500, 501, 502})
        EXPECT_EQ(IsDlgButtonChecked(dlg, nId), 0) << nId;
    Click(dlg, 500);
    Ok(dlg);
    EXPECT_EQ(+ini.nWarningsCheck, 11);
}

TEST_F(PrefsTest, OutOfRangeRadioValuesSelectNothingAndSurviveOk) {
    ini.nSoundFormat = 299;
    ini.nSoundType = 0;
    ini.nDisplay = 506;
    QDialog* dlg = Open();
    for (int nId : {300, 302, 304, 307, 503, 504, 505})
        EXPECT_EQ(IsDlgButtonChecked(dlg, nId), 0) << nId;
    EXPECT_TRUE(Enabled(dlg, 305)); // neither AIFF nor Wave: nothing greyed
    Ok(dlg);
    EXPECT_EQ(+ini.nSoundFormat, 299);
    EXPECT_EQ(+ini.nDisplay, 506);
}

// A screen reader's "toggle" must run the same rules as a click, or the page
// would show one format and OK store another.
TEST_F(PrefsTest, AssistiveToggleActsAsAClick) {
    QDialog* dlg = Open();
    SelectTab(dlg, SOUND);
    const auto toggle = [&](int nId) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(GetDlgItem(dlg, nId));
        EXPECT_TRUE(button->state().checkable);
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        return button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction());
    };
    EXPECT_TRUE(toggle(308)); // Long Int
    EXPECT_TRUE(toggle(315)); // hardware buffer on: its box ungreys
    EXPECT_TRUE(Enabled(dlg, 311));
    EXPECT_FALSE(toggle(309)); // Float is greyed for Wave and offers nothing
    EXPECT_EQ(IsDlgButtonChecked(dlg, 308), 1);
    Ok(dlg);
    EXPECT_EQ(+ini.nSoundType, 308);
    EXPECT_EQ(+ini.nHardwareBufferCheck, 1);
}
