#include "audio/engineharness.h"

using namespace fixture;

namespace {

// With 1 channel, 100 frames per second and 8 bits a buffer is 100 bytes and
// the ring of eight holds 800.
using Playback = EngineTest;

TEST_F(Playback, DataShorterThanOneBufferPlaysOnceAndStops) {
    const Bytes data = Noise(50);
    Play(Wav(1, 1, 100, 8, data));
    EXPECT_EQ(nullwave::QueuedOut(), 1u);
    EXPECT_EQ(cdac.GetbActiveDevice(), 1);
    EXPECT_TRUE(Step());
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(cdac.GetbActive(), 0);
    EXPECT_FALSE(nullwave::OutOpen());
    EXPECT_EQ(Played(), AsChars(data));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Playback, ExactMultipleQueuesAnEmptyBufferAndCountsEveryOne) {
    const Bytes data = Noise(300);
    Play(Wav(1, 1, 100, 8, data));
    EXPECT_EQ(nullwave::QueuedOut(), 4u); // three full and one empty
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Step());
        EXPECT_EQ(cdac.GetbActiveDevice(), 1);
    }
    EXPECT_TRUE(Step());
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(Played(), AsChars(data));
}

TEST_F(Playback, LongDataCirculatesInOrderThroughTheSameBuffers) {
    const Bytes data = Noise(2550);
    Play(Wav(1, 1, 100, 8, data));
    EXPECT_EQ(nullwave::QueuedOut(), 8u);
    int steps = 0;
    while (cdac.GetbActiveDevice() && steps < 100) {
        EXPECT_LE(nullwave::QueuedOut(), 8u);
        ASSERT_TRUE(Step());
        ++steps;
    }
    EXPECT_EQ(steps, 26); // 25 full buffers and the 50-byte tail
    EXPECT_EQ(Played(), AsChars(data));
    EXPECT_FALSE(nullwave::OutOpen());
}

TEST_F(Playback, StopWhilePlayingOrDrainingEndsAtOnceAndLaterCompletionsChangeNothing) {
    for (std::size_t size : {2550u, 850u}) {
        nullwave::Clear();
        Play(Wav(1, 1, 100, 8, Noise(size)));
        ASSERT_TRUE(Step());
        // 850 bytes: the ninth buffer took the last 50, so the engine drains.
        EXPECT_EQ(cdac.GetbActive(), size == 850 ? 0 : 1);
        cdac.StopPlayback();
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_FALSE(nullwave::OutOpen());
        Pump(); // the reset returns seven or eight buffers
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_EQ(Played().size(), 100u);
        cdac.StopPlayback(); // twice: harmless
    }
}

TEST_F(Playback, StopWithNothingStartedAndRequestsWhileBusy) {
    cdac.StopPlayback();
    cdac.CleanUpPlayback();
    cdac.StopRecord();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);

    // Initialised but never started: a stop releases the device.
    WriteFile(dir / "a.wav", Wav(1, 1, 100, 8, Noise(10)));
    cdac.InitPlayback(Init(dir / "a.wav", 1, 100, 8));
    EXPECT_TRUE(nullwave::OutOpen());
    cdac.StopPlayback();
    EXPECT_FALSE(nullwave::OutOpen());

    // A play request while playing is ignored.
    Play(Wav(1, 1, 100, 8, Noise(1000)));
    WriteFile(dir / "b.wav", Wav(1, 2, 200, 16, Noise(10)));
    cdac.InitPlayback(Init(dir / "b.wav", 2, 200, 16));
    cdac.PrimePlaybackFile();
    cdac.StartPlayback(&owner);
    EXPECT_EQ(nullwave::QueuedOut(), 8u);
    EXPECT_EQ(cdac.Format().nChannels, 1);
}

TEST_F(Playback, CompletionsOfAStoppedRunDoNotDisturbTheNextOne) {
    Play(Wav(1, 1, 100, 8, Noise(2000, 7)));
    nullwave::StepOut(3); // played, completions not yet delivered
    cdac.StopPlayback();
    nullwave::Clear();
    const Bytes data = Noise(450, 9);
    Play(Wav(1, 1, 100, 8, data));
    Pump(); // eight stale completions arrive now
    EXPECT_EQ(cdac.GetbActiveDevice(), 1);
    while (cdac.GetbActiveDevice() && Step()) {
    }
    EXPECT_EQ(Played(), AsChars(data));
}

TEST_F(Playback, EmptyDataEndsAtOnce) {
    Play(Wav(1, 1, 100, 8, {}));
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_FALSE(nullwave::OutOpen());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Playback, ShortFilePlaysWhatItHasThenEnds) {
    const Bytes data = Noise(250);
    Bytes file = Riff({Chunk("fmt ", Fmt(1, 1, 100, 8)), Chunk("data", data, 1000)});
    Play(file);
    EXPECT_EQ(nullwave::QueuedOut(), 3u);
    while (cdac.GetbActiveDevice() && Step()) {
    }
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(Played(), AsChars(data));
}

TEST_F(Playback, UnreadableFilesAreRefusedAndLeaveTheEngineIdle) {
    const Bytes cases[] = {
        Bytes{'n', 'o', 't', ' ', 'r', 'i', 'f', 'f'},
        Riff({Chunk("fmt ", Fmt(1, 1, 100, 8))}), // no data chunk
    };
    for (const Bytes& c : cases) {
        boxes.clear();
        Play(c);
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_FALSE(nullwave::OutOpen());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find("CDac: Cannot play"), std::string::npos) << boxes[0];
    }
    boxes.clear();
    cdac.InitPlayback(Init(dir / "missing.wav", 1, 100, 8));
    cdac.PrimePlaybackFile();
    cdac.StartPlayback(&owner);
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Playback, CompressedAndMalformedFormatsAreRefusedWithAReason) {
    struct Case {
        std::uint16_t tag, ch;
        std::uint32_t rate;
        std::uint16_t bits;
        const char* reason;
    };
    const Case cases[] = {
        {6, 1, 8000, 8, "A-law"},          {7, 1, 8000, 8, "mu-law"},
        {2, 1, 8000, 8, "ADPCM"},          {1, 1, 8000, 4, "4 bits"},
        {1, 0, 8000, 16, "no channels"},   {1, 1, 0, 16, "sample rate is 0"},
        {3, 1, 8000, 16, "float samples"}, {1, 1, 8000, 40, "40 bits"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        WriteFile(dir / "c.wav", Wav(c.tag, c.ch, c.rate, c.bits, Noise(64)));
        cdac.InitPlayback(Init(dir / "c.wav", c.ch, c.rate, c.bits));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_FALSE(nullwave::OutOpen());
        ASSERT_EQ(boxes.size(), 1u) << c.reason;
        EXPECT_NE(boxes[0].find(c.reason), std::string::npos) << boxes[0];
    }
}

TEST_F(Playback, FloatAndWideIntegerFilesOpenTheDeviceInTheirOwnFormat) {
    Bytes ext = Fmt(0xFFFE, 2, 100, 32, 24);
    ext[24] = 3, ext[25] = 0; // sub-format: IEEE float
    const unsigned char tail[] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::copy(std::begin(tail), std::end(tail), ext.begin() + 26);
    struct Case {
        Bytes file;
        std::uint16_t ch, bits, tag;
    };
    const Case cases[] = {
        {Wav(3, 1, 100, 32, Noise(40)), 1, 32, WAVE_FORMAT_IEEE_FLOAT},
        {Wav(3, 2, 100, 64, Noise(40)), 2, 64, WAVE_FORMAT_IEEE_FLOAT},
        {Riff({Chunk("fmt ", ext), Chunk("data", Noise(40))}), 2, 32, WAVE_FORMAT_IEEE_FLOAT},
        {Wav(1, 2, 100, 24, Noise(42)), 2, 24, WAVE_FORMAT_PCM},
        {Wav(1, 1, 100, 32, Noise(40)), 1, 32, WAVE_FORMAT_PCM},
    };
    for (const Case& c : cases) {
        nullwave::Clear();
        Play(c.file, c.ch, 100, c.bits);
        ASSERT_TRUE(nullwave::OutOpen());
        EXPECT_EQ(nullwave::OutFormat().wFormatTag, c.tag);
        EXPECT_EQ(nullwave::OutFormat().nBlockAlign, c.ch * c.bits / 8);
        EXPECT_TRUE(Step());
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Playback, DeviceFailuresAreReportedAndAStopStillReleasesEverything) {
    nullwave::FailOpen(true);
    Play(Wav(1, 1, 100, 8, Noise(300)));
    ASSERT_EQ(boxes, std::vector<std::string>{"CDac: waveOutOpen Failed!"});
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // no completion will ever come
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);

    boxes.clear();
    nullwave::Clear();
    nullwave::FailWriteAfter(8); // the eight of the start succeed, the first requeue fails
    Play(Wav(1, 1, 100, 8, Noise(2000)));
    EXPECT_TRUE(Step());
    ASSERT_EQ(boxes, std::vector<std::string>{"CDac: waveOutWrite Failed!"});
    nullwave::FailWriteAfter(-1);
    while (Step()) {
    }
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // one buffer left the ring: draining for good
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
}

} // namespace
