// The window with the real sound side: the WAV reader fills the status bar.
// Playback through the engine is tested with the commands that start it.
#include "../audio/wavfixture.h"
#include "mainwindow/cdacsound.h"
#include "windowfixture.h"

TEST_F(WindowTest, SoundFileSelectionReadsTheRealFile) {
    fixture::WriteBytes(Dir("src") + "tone.wav",
                        fixture::Wav(1, 1, 8000, 16, fixture::Bytes(48000, 1)));
    File("out", "noise.wav");
    Settings();
    CdacSound real;
    window = std::make_unique<MainWindow>(&real);
    real.SetWindow(window.get());

    List(3)->setCurrentRow(0); // not a WAV file
    EXPECT_EQ(Status()[0], "None.");
    List(2)->setCurrentRow(0);
    EXPECT_EQ(Status(), (QStringList{"8000", "16 bit", "Mono", "Sample Frames - 24000",
                                     "Seconds - 3", "Status - Stopped"}));
    window.reset();
    real.SetWindow(nullptr);
}
