// File lists, status bar, commands and playback in the window, beyond the end-to-end runs.
#include "../audio/wavfixture.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/filelists.h"
#include "mainwindow/windowcommands.h"
#include "platform/sound/nullwave.h"
#include "platform/sound/wavedev.h"
#include "windowfixture.h"

#include <sys/stat.h>

TEST_F(WindowTest, RefreshFollowsFoldersAndTheAnalysisPreference) {
    MainWindow& w = Open(1);
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
TEST_F(WindowTest, SelectionsAreRememberedByPosition) {
    for (const char* n : {"e.orc", "d.orc", "c.orc", "b.orc", "a.orc"})
        File("orc", n);
    File("sco", "two.s");
    File("sco", "s1.sco");
    MainWindow& w = Open();
    Paint(); // the first paint selects the first orchestra and score: end to end
    List(1)->setCurrentRow(1);
    EXPECT_STREQ(IniStruct.szScore, "two.s");
    EXPECT_STREQ(w.GetListFileName(3), "two.s"); // Output has no selection: the name read last
    List(0)->setCurrentRow(3);
    EXPECT_STREQ(IniStruct.szOrc, "d.orc");
    // The remembered entry deleted: the next moves up; the last: nothing is left.
    for (const auto& [szGone, szNext] : {std::pair{"d.orc", "e.orc"}, {"e.orc", ""}}) {
        std::filesystem::remove(Dir("orc") + szGone);
        SendMessage(&w, WM_REFRESHLISTS, 0, 0);
        Paint();
        EXPECT_STREQ(IniStruct.szOrc, szNext);
    }
    EXPECT_LT(List(0)->CurSel(), 0);
    EXPECT_STREQ(IniStruct.szScore, "two.s");
}
TEST_F(WindowTest, NameTooLongForTheSettingIsRefusedNotCut) {
    std::string szCyrillic; // 37 letters, 74 bytes of UTF-8
    for (int i = 0; i < 37; ++i)
        szCyrillic += "ж";
    File("orc", szCyrillic + ".orc");
    File("orc", "short.orc");
    MainWindow& w = Open();
    const std::string szText = "The orchestra name \"" + szCyrillic +
                               ".orc\" is too long: it takes 78 bytes and at most 63 fit.";
    List(0)->setCurrentRow(1); // sorted after short.orc
    EXPECT_STREQ(IniStruct.szOrc, "");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, szText);
    Paint(); // the remembered position: silently nothing selected, as the field says
    EXPECT_EQ(List(0)->CurSel(), -1);
    EXPECT_TRUE(w.TellUnfitSelection()); // what Compile tells instead of a missing choice
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, szText);
    List(0)->setCurrentRow(0);
    EXPECT_STREQ(IniStruct.szOrc, "short.orc");
    EXPECT_FALSE(w.TellUnfitSelection());
}
TEST_F(WindowTest, SoundSelectionReadsFormatStopsPlaybackClearsOtherList) {
    for (const char* n : {"mix.wav", "broken.wav"})
        File("out", n);
    File("src", "take1.wav");
    const std::string szLong = std::string(123 - Dir("out").size(), 'x') + ".wav"; // 127 in all
    File("out", szLong);
    sound.files[Dir("src") + "take1.wav"] = {44100, 2, 16, 176400};
    sound.files[Dir("out") + "mix.wav"] = {11025, 1, 8, 11025};
    MainWindow& w = Open();
    Select(LIST_OUTPUT, "mix.wav");
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("out") + "mix.wav").c_str());
    EXPECT_EQ(sound.nStops, 1);
    Select(LIST_SOURCE, "take1.wav"); // clears the Output selection
    EXPECT_LT(List(3)->CurSel(), 0);
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("src") + "take1.wav").c_str());
    // Not a WAV file: failure texts, part 5 and format kept; still the current file.
    w.hWndStatus->SetText(5, "Status - Playing");
    Select(LIST_OUTPUT, "broken.wav");
    EXPECT_EQ(Status(), (QStringList{"None.", "None.", "None.", "Invalid Wave!", "Invalid Wave!",
                                     "Status - Playing"}));
    EXPECT_EQ(sound.nStops, 2);
    EXPECT_EQ(w.dacinit.dwSampleRate, 44100u);
    EXPECT_STREQ(IniStruct.szCurSoundFile, (Dir("out") + "broken.wav").c_str());
    EXPECT_LT(List(2)->CurSel(), 0);
    Select(LIST_OUTPUT, szLong); // refused, not cut
    EXPECT_NE(boxes.shown.back().text.find("\" is too long: it takes"), std::string::npos);
}
TEST_F(WindowTest, PlaybackThatCannotStartLeavesTheEngineIdle) {
    fixture::WriteBytes(Dir("out") + "mix.wav", fixture::Wav(1, 2, 44100, 16, fixture::Bytes(8)));
    ASSERT_EQ(mkfifo((Dir("out") + "junk.wav").c_str(), 0644), 0); // nobody writes to it
    InstallWaveBackend(nullwave::Backend());
    nullwave::Clear();
    CdacSound engine; // the real engine on the null device's only output
    Open(2, &engine);
    engine.SetWindow(window.get());
    auto commands = std::make_unique<WindowCommands>(*window, &engine);
    commands->startProgram = [](const std::string&) { return 33u; }; // no real editor
    window->dacinit.wWaveDeviceId = 0;
    Select(LIST_OUTPUT, "junk.wav"); // the real reader refuses the pipe at once
    DoubleClick(LIST_OUTPUT);
    EXPECT_EQ(boxes.shown.back().text,
              Dir("out") + "junk.wav cannot be played: it is not a WAV file that can be read.");
    // A device past the list: the open fails, no buffer returns, the right button stops.
    Select(LIST_OUTPUT, "mix.wav");
    window->dacinit.wWaveDeviceId = 7;
    DoubleClick(LIST_OUTPUT);
    EXPECT_EQ(boxes.shown.back().text, "waveOutOpen Failed!");
    EXPECT_EQ(Status()[5], "Status - Playing");
    window->WndProc(WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(Status()[5], "Status - Stopped");
    commands.reset();
    engine.SetWindow(nullptr);
    InstallWaveBackend(nullptr);
}
