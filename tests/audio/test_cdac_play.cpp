#include "audio/engineharness.h"

namespace {

// With 1 channel, 100 frames per second and 8 bits a buffer is 100 bytes and
// the ring of eight holds 800.
using Playback = EngineTest;

TEST_F(Playback, EveryByteOfTheDataIsPlayedInOrderThenTheDeviceCloses) {
    struct Case {
        std::size_t size;
        std::int64_t declared; // the data chunk's size field; -1: the true size
        unsigned queued, steps;
    };
    const Case cases[] = {
        {0, -1, 0, 0},     // empty data ends at once
        {50, -1, 1, 1},    // shorter than one buffer
        {300, -1, 4, 4},   // an exact multiple queues one empty buffer
        {2550, -1, 8, 26}, // circulates through the same ring: 25 full and a tail
        {250, 1000, 3, 3}, // a short file plays what it has
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        nullwave::Clear();
        const Bytes data = Noise(c.size, static_cast<std::uint32_t>(c.size));
        Play(Riff({Chunk("fmt ", Fmt(1, 1, 100, 8)), Chunk("data", data, c.declared)}));
        EXPECT_EQ(nullwave::QueuedOut(), c.queued);
        unsigned steps = 0;
        for (; cdac.GetbActiveDevice() && steps < 100; ++steps) {
            EXPECT_LE(nullwave::QueuedOut(), 8u);
            ASSERT_TRUE(Step());
        }
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(cdac.GetbActive(), 0);
        EXPECT_FALSE(nullwave::OutOpen());
        EXPECT_EQ(Played(), AsChars(data));
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Playback, StopInAnyStateEndsAtOnceAndLaterCompletionsChangeNothing) {
    cdac.StopPlayback(); // nothing started
    cdac.CleanUpPlayback();
    cdac.StopRecord();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);

    // Initialised but never started: a stop releases the device.
    WriteBytes(dir / "a.wav", Wav(1, 1, 100, 8, Noise(10)));
    cdac.InitPlayback(Init(dir / "a.wav", 1, 100, 8));
    EXPECT_TRUE(nullwave::OutOpen());
    cdac.StopPlayback();
    EXPECT_FALSE(nullwave::OutOpen());

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

TEST_F(Playback, RequestsWhileBusyAndStaleCompletionsDoNotDisturbTheRun) {
    Play(Wav(1, 1, 100, 8, Noise(1000)));
    Play(Wav(1, 2, 200, 16, Noise(10)), 2, 200, 16, "b.wav"); // ignored while playing
    EXPECT_EQ(nullwave::QueuedOut(), 8u);
    EXPECT_EQ(cdac.Format().nChannels, 1);

    nullwave::StepOut(3); // played, completions not yet delivered
    cdac.StopPlayback();
    nullwave::Clear();
    const Bytes data = Noise(450, 9);
    Play(Wav(1, 1, 100, 8, data));
    Pump(); // eight stale completions arrive now
    EXPECT_EQ(cdac.GetbActiveDevice(), 1);
    StepToEnd();
    EXPECT_EQ(Played(), AsChars(data));
}

TEST_F(Playback, UnplayableFilesAreRefusedWithAReasonAndLeaveTheEngineIdle) {
    struct Case {
        Bytes file;
        const char* reason;
        std::uint16_t ch = 1, bits = 8;
        std::uint32_t rate = 8000;
    };
    const auto wav = [](std::uint16_t tag, std::uint16_t ch, std::uint32_t rate,
                        std::uint16_t bits) { return Wav(tag, ch, rate, bits, Noise(64)); };
    const Case cases[] = {
        {Bytes{'n', 'o', 't', ' ', 'r', 'i', 'f', 'f'}, "Cannot play"},
        {Riff({Chunk("fmt ", Fmt(1, 1, 100, 8))}), "Cannot play"}, // no data chunk
        {{}, "Cannot play"},                                       // no file at all
        {wav(6, 1, 8000, 8), "A-law"},
        {wav(7, 1, 8000, 8), "mu-law"},
        {wav(2, 1, 8000, 8), "ADPCM"},
        {wav(1, 1, 8000, 4), "4 bits", 1, 4},
        {wav(1, 0, 8000, 16), "no channels", 0, 16},
        {wav(1, 1, 0, 16), "sample rate is 0", 1, 16, 0},
        {wav(3, 1, 8000, 16), "float samples", 1, 16},
        {wav(1, 1, 8000, 40), "40 bits", 1, 40},
    };
    for (const Case& c : cases) {
        boxes.boxes.clear();
        Play(c.file, c.ch, c.rate, c.bits, c.file.empty() ? "missing.wav" : "c.wav");
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_FALSE(nullwave::OutOpen());
        ASSERT_EQ(boxes.boxes.size(), 1u) << c.reason;
        EXPECT_TRUE(boxes.has("CDac: ", 0) && boxes.has(c.reason, 0)) << boxes.boxes[0];
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
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Playback, DeviceFailuresAreReportedAndAStopStillReleasesEverything) {
    nullwave::FailOpen(true);
    Play(Wav(1, 1, 100, 8, Noise(300)));
    ASSERT_EQ(boxes.boxes, std::vector<std::string>{"CDac: waveOutOpen Failed!"});
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // no completion will ever come
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);

    boxes.boxes.clear();
    nullwave::Clear();
    nullwave::FailWriteAfter(8); // the eight of the start succeed, the first requeue fails
    Play(Wav(1, 1, 100, 8, Noise(2000)));
    EXPECT_TRUE(Step());
    ASSERT_EQ(boxes.boxes, std::vector<std::string>{"CDac: waveOutWrite Failed!"});
    nullwave::FailWriteAfter(-1);
    while (Step()) {
    }
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // one buffer left the ring: draining for good
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
}

} // namespace
