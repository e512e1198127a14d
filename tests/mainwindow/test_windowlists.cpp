// The five file lists: filling, remembered selections, sound-file selection
// and the status bar.
#include "mainwindow/bitobj.h"
#include "mainwindow/skincells.h"
#include "mainwindow/winmsg.h"
#include "settings/inistruct.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QTest>

TEST_F(WindowTest, RefreshFollowsFoldersAndTheAnalysisPreference) {
    MainWindow& w = Open(1);
    EXPECT_EQ(List(0)->geometry(), QRect(20, 70, 115, 250));
    EXPECT_TRUE(List(4)->isHidden());
    std::filesystem::remove_all(Dir("sco"));
    File("orc", "new.orc");
    IniStruct.nShowAnalysis = 2;
    SendMessage(&w, WM_REFRESHLISTS, 0, 0);
    EXPECT_TRUE(Items(1).isEmpty());
    EXPECT_EQ(Items(0), QStringList{"new.orc"});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(List(0)->geometry(), QRect(20, 70, 115, 125));
    EXPECT_FALSE(List(4)->isHidden());
}

TEST_F(WindowTest, FirstPaintSelectsFirstOrchestraAndScore) {
    File("orc", "b.orc");
    File("orc", "a.orc");
    File("sco", "s1.sco");
    File("sco", "two.s");
    MainWindow& w = Open();
    Paint();
    EXPECT_STREQ(IniStruct.szOrc, "a.orc");
    EXPECT_STREQ(IniStruct.szScore, "s1.sco");
    EXPECT_EQ(List(0)->currentRow(), 0);
    List(1)->setCurrentRow(1);
    EXPECT_STREQ(IniStruct.szScore, "two.s");
    EXPECT_EQ(w.wLBindex[1], 1);
    EXPECT_STREQ(w.GetListFileName(0), "a.orc");
    EXPECT_STREQ(w.GetListFileName(3), "a.orc"); // Output has no selection: the name read last
}

TEST_F(WindowTest, SelectionRememberedByPosition) {
    for (const char* n : {"a.orc", "b.orc", "c.orc", "d.orc", "e.orc"})
        File("orc", n);
    MainWindow& w = Open();
    Paint();
    List(0)->setCurrentRow(3);
    EXPECT_STREQ(IniStruct.szOrc, "d.orc");
    EXPECT_EQ(w.wLBindex[0], 3);

    // The remembered entry is deleted: the one that moves up takes its place.
    std::filesystem::remove(Dir("orc") + "d.orc");
    SendMessage(&w, WM_REFRESHLISTS, 0, 0);
    Paint();
    EXPECT_STREQ(IniStruct.szOrc, "e.orc");
    EXPECT_EQ(List(0)->currentRow(), 3);

    // The last one: nothing left at that position.
    std::filesystem::remove(Dir("orc") + "e.orc");
    SendMessage(&w, WM_REFRESHLISTS, 0, 0);
    Paint();
    EXPECT_STREQ(IniStruct.szOrc, "");
    EXPECT_TRUE(List(0)->CurSel() < 0);
}

TEST_F(WindowTest, NameTooLongForTheSettingIsRefusedNotCut) {
    const std::string longName(70, 'o');
    File("orc", longName + ".orc");
    File("orc", "short.orc");
    Open();
    Paint();
    List(0)->setCurrentRow(1);
    boxes.shown.clear();
    List(0)->setCurrentRow(0);
    EXPECT_STREQ(IniStruct.szOrc, "");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    List(0)->setCurrentRow(1);
    EXPECT_STREQ(IniStruct.szOrc, "short.orc");
}

TEST_F(WindowTest, SoundSelectionReadsFormatStopsPlaybackClearsOtherList) {
    File("src", "take1.wav");
    File("out", "mix.wav");
    File("out", "broken.wav");
    sound.files[Dir("src") + "take1.wav"] = {44100, 2, 16, 176400};
    sound.files[Dir("out") + "mix.wav"] = {11025, 1, 8, 11025};
    MainWindow& w = Open();

    List(3)->setCurrentRow(1); // mix.wav
    EXPECT_EQ(Status(), (QStringList{"11025", "8 bit", "Mono", "Sample Frames - 11025",
                                     "Seconds - 1", "Status - Stopped"}));
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("out") + "mix.wav").c_str());
    EXPECT_EQ(sound.nStops, 1);

    List(2)->setCurrentRow(0); // take1.wav clears the Output selection
    EXPECT_TRUE(List(3)->CurSel() < 0);
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("src") + "take1.wav").c_str());
    EXPECT_EQ(w.dacinit.dwSampleRate, 44100u);
    EXPECT_EQ(Status()[3], "Sample Frames - 44100");

    // Not a readable WAV file: failure texts, part 5 and the format kept,
    // playback not stopped; it is still the current sound file.
    w.hWndStatus->SetText(5, "Status - Playing");
    List(3)->setCurrentRow(0); // broken.wav
    EXPECT_EQ(Status(), (QStringList{"None.", "None.", "None.", "Invalid Wave!", "Invalid Wave!",
                                     "Status - Playing"}));
    EXPECT_EQ(sound.nStops, 2);
    EXPECT_EQ(w.dacinit.dwSampleRate, 44100u);
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("out") + "broken.wav").c_str());
    EXPECT_TRUE(List(2)->CurSel() < 0);
}

TEST_F(WindowTest, SkinButtonsShowTheirCellReleasedAndPressed) {
    MainWindow& w = Open();
    ASSERT_TRUE(w.boBitmap && w.boBitmap->IsValid());
    const QImage skin = w.boBitmap->Image();
    for (int id : {6001, 6005, 6010}) {
        QAbstractButton* button = w.hWndButton[static_cast<std::size_t>(id - 6001)];
        for (bool pressed : {false, true}) {
            button->setDown(pressed);
            const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const auto cell = ButtonCell(id, pressed);
            EXPECT_EQ(shown, skin.copy(cell->x, cell->y, 34, 34)) << id << pressed;
        }
        button->setDown(false);
    }
}

TEST_F(WindowTest, PaintDrawsToolBandTitlesAndStrip) {
    MainWindow& w = Open(1);
    const QImage shot = w.hClient->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 20), QColor(128, 128, 128));   // tool band
    EXPECT_EQ(shot.pixelColor(5, 40), QColor(0, 0, 0));         // its outline
    EXPECT_EQ(shot.pixelColor(140, 60), QColor(192, 192, 192)); // background
    EXPECT_EQ(shot.pixelColor(200, 326), w.boBitmap->Image().pixelColor(80, 277));
    EXPECT_EQ(shot.pixelColor(430, 326), QColor(192, 192, 192)); // strip ends at 424
}

TEST_F(WindowTest, MouseClickOnAnEntrySelectsThatFile) {
    File("out", "a.wav");
    File("out", "b.wav");
    sound.files[Dir("out") + "b.wav"] = {22050, 1, 16, 44100};
    Open();
    FileListBox* out = List(3);
    const QRect second = out->RowRect(1);
    QTest::mouseClick(out->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("out") + "b.wav").c_str());
    EXPECT_EQ(Status()[0], "22050");
}
