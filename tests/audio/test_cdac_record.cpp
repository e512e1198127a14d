#include "audio/engineharness.h"
#include "audio/sampmmio.h"

#include <algorithm>
#include <cstring>

using namespace fixture;

namespace {

class Recording : public EngineTest {
protected:
    // Stereo 16-bit at 25 frames per second: 100 bytes a second. Three
    // buffers a second make 33-byte buffers: eight whole blocks and one byte.
    void Start(std::uint16_t buffersPerSec = 3, std::uint16_t total = 8) {
        CDAC::dac_init d = Init(dir / "rec.wav", 2, 25, 16);
        d.wDacBuffersPerSec = buffersPerSec;
        d.wTotalDacBuffers = total;
        cdac.InitRecord(d);
        cdac.PrimeRecordFile(&owner);
        cdac.StartRecord(&owner);
    }
    void Feed(const Bytes& b) {
        nullwave::StepIn(reinterpret_cast<const char*>(b.data()), b.size());
        Pump();
    }
};

TEST_F(Recording, RingHasOneBufferFewerThanAskedFor) {
    Start();
    EXPECT_TRUE(nullwave::InStarted());
    EXPECT_EQ(nullwave::QueuedIn(), 7u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Recording, WholeBlocksAreWrittenAndTheHeaderFitsThemAtStop) {
    Start();
    const Bytes input = Noise(33 * 20 + 10);
    for (std::size_t at = 0; at < input.size(); at += 33) // one buffer's worth at a time
        Feed(Bytes(input.begin() + at, input.begin() + std::min(at + 33, input.size())));
    EXPECT_EQ(nullwave::QueuedIn(), 7u); // each filled buffer came back
    cdac.StopRecord();
    EXPECT_FALSE(nullwave::InOpen());

    Bytes expected;
    for (std::size_t b = 0; b < 20; ++b) // the partly filled 21st is not returned
        expected.insert(expected.end(), input.begin() + 33 * b, input.begin() + 33 * b + 32);
    const Bytes file = ReadFile(dir / "rec.wav");
    ASSERT_EQ(file.size(), 44 + expected.size());
    EXPECT_EQ(Bytes(file.begin() + 44, file.end()), expected);
    auto le32 = [&](std::size_t at) { return ReadLE32(file.data() + at); };
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(4), 36 + expected.size());
    EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(le32(16), 16u);
    EXPECT_EQ(ReadLE16(file.data() + 20), 1);
    EXPECT_EQ(ReadLE16(file.data() + 22), 2);
    EXPECT_EQ(le32(24), 25u);
    EXPECT_EQ(le32(28), 100u);
    EXPECT_EQ(ReadLE16(file.data() + 32), 4);
    EXPECT_EQ(ReadLE16(file.data() + 34), 16);
    EXPECT_EQ(std::memcmp(file.data() + 36, "data", 4), 0);
    EXPECT_EQ(le32(40), expected.size());

    // The reader takes the result for a proper WAV file.
    SampMmio mmio;
    WAVEINFO wi;
    ASSERT_EQ(mmio.LoadSampleInfo(&wi, (dir / "rec.wav").c_str()), 1);
    EXPECT_EQ(wi.dwDataSize, expected.size());
}

TEST_F(Recording, BuffersReturnedAfterTheStopChangeNothing) {
    Start(1);
    Feed(Noise(100));
    nullwave::StepIn("xxxx", 4); // partly filled; returned by the stop
    cdac.StopRecord();
    const Bytes before = ReadFile(dir / "rec.wav");
    Pump();
    EXPECT_EQ(ReadFile(dir / "rec.wav"), before);
    EXPECT_EQ(before.size(), 144u);
    cdac.StopRecord(); // twice: harmless
    cdac.CleanUpRecord();
    EXPECT_EQ(nullwave::StepIn("yyyy", 4), 0u);
}

TEST_F(Recording, OddDataGetsItsPadByte) {
    CDAC::dac_init d = Init(dir / "rec.wav", 1, 5, 8);
    cdac.InitRecord(d);
    cdac.PrimeRecordFile(&owner);
    cdac.StartRecord(&owner);
    Feed(Noise(5));
    cdac.StopRecord();
    const Bytes file = ReadFile(dir / "rec.wav");
    ASSERT_EQ(file.size(), 44u + 6);
    EXPECT_EQ(ReadLE32(file.data() + 4), 36u + 6);
    EXPECT_EQ(ReadLE32(file.data() + 40), 5u);
}

TEST_F(Recording, AFileThatCannotBeCreatedIsReportedAndNothingRuns) {
    CDAC::dac_init d = Init(dir / "no/such/folder/rec.wav", 2, 25, 16);
    cdac.InitRecord(d);
    cdac.PrimeRecordFile(&owner);
    cdac.StartRecord(&owner);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("CDac: Cannot create the file"), std::string::npos);
    EXPECT_FALSE(nullwave::InOpen());
    EXPECT_FALSE(nullwave::InStarted());
}

TEST_F(Recording, DeviceFailuresShowTheirMessages) {
    nullwave::FailOpen(true);
    Start();
    // One message for the open, then one per buffer for each device call.
    const auto count = [&](const std::string& text) {
        return std::count(boxes.begin(), boxes.end(), "CDac: " + text);
    };
    EXPECT_EQ(count("waveInOpen Failed!"), 1);
    EXPECT_EQ(count("waveInPrepareHeader Failed!"), 7);
    EXPECT_EQ(count("waveInAddBuffer Failed!"), 7);
    EXPECT_EQ(count("waveInStart Failed!"), 1);
    EXPECT_EQ(boxes.size(), 16u);
    cdac.StopRecord();
    const Bytes file = ReadFile(dir / "rec.wav");
    ASSERT_EQ(file.size(), 44u);
    EXPECT_EQ(ReadLE32(file.data() + 40), 0u);

    boxes.clear();
    nullwave::Clear();
    nullwave::FailStart(true);
    Start();
    EXPECT_EQ(boxes, std::vector<std::string>{"CDac: waveInStart Failed!"});
}

TEST_F(Recording, PlaybackAndRecordingExcludeEachOther) {
    Start();
    WriteFile(dir / "p.wav", Wav(1, 1, 100, 8, Noise(10)));
    cdac.InitPlayback(Init(dir / "p.wav", 1, 100, 8));
    cdac.PrimePlaybackFile();
    cdac.StartPlayback(&owner);
    EXPECT_FALSE(nullwave::OutOpen());
    cdac.StopPlayback(); // must not end the recording
    EXPECT_TRUE(nullwave::InStarted());
}

} // namespace
