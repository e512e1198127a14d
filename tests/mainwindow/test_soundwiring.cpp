// The window with the real sound side: the WAV reader and the playback
// engine on the null wave device.
#include "mainwindow/cdacsound.h"
#include "mainwindow/winmsg.h"
#include "platform/nullwave.h"
#include "windowfixture.h"

#include <QTest>

namespace {
void WriteWav(const std::string& path, std::uint32_t rate, std::uint16_t channels,
              std::uint16_t bits, std::uint32_t dataBytes) {
    std::ofstream out(path, std::ios::binary);
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    out << "RIFF";
    put(36 + dataBytes, 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * align, 4);
    put(align, 2);
    put(bits, 2);
    out << "data";
    put(dataBytes, 4);
    out << std::string(dataBytes, '\1');
}

} // namespace

TEST_F(WindowTest, SoundFileSelectionAndPlaybackThroughTheEngine) {
    SetWaveBackend(WaveBackend::Null);
    nullwave::Clear();
    WriteWav(Dir("src") + "tone.wav", 8000, 1, 16, 3 * 16000);
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

    // Play it as the double-click will: one-second buffers, completions
    // routed back through the window to the engine and the status bar.
    DACINIT d;
    d.hWnd = &real.owner;
    const std::string path = Dir("src") + "tone.wav";
    d.lpszFileName = path.c_str();
    d.dwSampleRate = window->dacinit.dwSampleRate;
    d.wNchnls = window->dacinit.wNchnls;
    d.wBits = window->dacinit.wBits;
    d.wTotalDacBuffers = 8;
    d.wDacBuffersPerSec = 1;
    real.cdac.InitPlayback(d);
    real.cdac.PrimePlaybackFile();
    real.cdac.StartPlayback(&real.owner);
    ASSERT_TRUE(real.IsActive());
    nullwave::StepOut(1);
    QTRY_COMPARE_WITH_TIMEOUT(Status()[5], QString("Status - Playing"), 2000);

    // A right-click stops it; the engine lets go of the device.
    QTest::mouseClick(window->hClient, Qt::RightButton, {}, QPoint(540, 340));
    QTRY_VERIFY_WITH_TIMEOUT(!real.IsActive(), 2000);
    window.reset();
    real.SetWindow(nullptr);
}
