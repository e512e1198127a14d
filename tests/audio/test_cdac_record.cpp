#include "audio/engineharness.h"

#include <algorithm>

namespace {

class Recording : public EngineTest {
protected:
    // Stereo 16-bit at 25 frames per second: 100 bytes a second. Three
    // buffers a second make 33-byte buffers, which the device fills with
    // eight whole frames (32 bytes) so that no frame is split.
    void Start(std::uint16_t buffersPerSec = 3, std::uint16_t ch = 2, std::uint32_t rate = 25,
               std::uint16_t bits = 16, const std::string& name = "rec.wav") {
        cdac.InitRecord(Init(dir / name, ch, rate, bits, buffersPerSec));
        cdac.PrimeRecordFile(&owner);
        cdac.StartRecord(&owner);
    }
    void Feed(const Bytes& b) {
        nullwave::StepIn(reinterpret_cast<const char*>(b.data()), b.size());
        Pump();
    }
};

TEST_F(Recording, BuffersHoldWholeFramesSoTheFileIsTheInputAndItsHeaderFitsAtStop) {
    Start();
    EXPECT_TRUE(nullwave::InStarted());
    EXPECT_EQ(nullwave::QueuedIn(), 7u); // one buffer fewer than asked for
    const Bytes input = Noise(32 * 20 + 30);
    for (std::size_t at = 0; at < input.size(); at += 33) // odd pieces, splitting frames
        Feed(Bytes(input.begin() + at, input.begin() + std::min(at + 33, input.size())));
    EXPECT_EQ(nullwave::QueuedIn(), 7u); // each filled buffer came back
    cdac.StopRecord();
    EXPECT_FALSE(nullwave::InOpen());

    // Twenty full buffers; the partly filled 21st is not returned before the stop.
    const Bytes expected(input.begin(), input.begin() + 32 * 20);
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 2, 25, 16, expected));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Recording, OddDataGetsItsPadByteAndLateBuffersChangeNothing) {
    Start(1, 1, 5, 8);
    const Bytes data = Noise(5);
    Feed(data);
    nullwave::StepIn("xxxx", 4); // partly filled; returned by the stop
    cdac.StopRecord();
    Pump();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 1, 5, 8, data)); // with its pad byte
    cdac.StopRecord();                                            // twice: harmless
    cdac.CleanUpRecord();
    EXPECT_EQ(nullwave::StepIn("yyyy", 4), 0u);
}

TEST_F(Recording, AFileThatCannotBeCreatedIsReportedAndNothingRuns) {
    Start(3, 2, 25, 16, "no/such/folder/rec.wav");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.has("CDac: Cannot create the file", 0));
    EXPECT_FALSE(nullwave::InOpen());
    EXPECT_FALSE(nullwave::InStarted());
}

TEST_F(Recording, DeviceFailuresShowTheirMessagesAndLeaveAnEmptyWave) {
    nullwave::FailOpen(true);
    Start();
    // One message for the open, then one per buffer for each device call.
    const auto count = [&](const std::string& text) {
        return std::count(boxes.boxes.begin(), boxes.boxes.end(), "CDac: " + text);
    };
    EXPECT_EQ(count("waveInOpen Failed!"), 1);
    EXPECT_EQ(count("waveInPrepareHeader Failed!"), 7);
    EXPECT_EQ(count("waveInAddBuffer Failed!"), 7);
    EXPECT_EQ(count("waveInStart Failed!"), 1);
    EXPECT_EQ(boxes.boxes.size(), 16u);
    cdac.StopRecord();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 2, 25, 16, {}));

    boxes.boxes.clear();
    nullwave::Clear();
    nullwave::FailStart(true);
    Start();
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"CDac: waveInStart Failed!"});
}

TEST_F(Recording, PlaybackAndRecordingExcludeEachOther) {
    Start();
    Play(Wav(1, 1, 100, 8, Noise(10)));
    EXPECT_FALSE(nullwave::OutOpen());
    cdac.StopPlayback(); // must not end the recording
    EXPECT_TRUE(nullwave::InStarted());
}

} // namespace
