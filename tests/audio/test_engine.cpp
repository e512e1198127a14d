// The engine and the wave-device layer on the null device, whose buffers
// play and fill only when the test steps them.
#include "audio/engineharness.h"

#include <algorithm>
#include <cstring>

namespace {

using Texts = std::vector<std::string>;

class Engine : public EngineFixture {
protected:
    void SetUp() override {
        InstallWaveBackend(nullwave::Backend());
        nullwave::Clear();
    }
    void TearDown() override { InstallWaveBackend(nullptr); }
    static void Pump() { QCoreApplication::sendPostedEvents(); }
    // Plays one queued buffer and hands its completion to the engine.
    bool Step() {
        const bool played = nullwave::StepOut(1) == 1;
        Pump();
        return played;
    }
    // Mono 8-bit at 100 frames per second: a buffer is 100 bytes, the ring holds 800.
    void Play8(const Bytes& data, std::int64_t declared = -1) {
        Play(Riff({Chunk("fmt ", Fmt(1, 1, 100, 8)), Chunk("data", data, declared)}), 1, 100, 8);
    }
    // Stereo 16-bit at 25 frames per second: three buffers a second are 33
    // bytes, which the device fills with eight whole frames.
    void Record(std::uint16_t perSec = 3, std::uint16_t ch = 2, std::uint32_t rate = 25,
                std::uint16_t bits = 16, const std::string& name = "rec.wav") {
        cdac.InitRecord(Init(name, ch, rate, bits, perSec));
        cdac.PrimeRecordFile(&owner);
        cdac.StartRecord(&owner);
    }
    void Feed(const Bytes& b) {
        nullwave::StepIn(reinterpret_cast<const char*>(b.data()), b.size());
        Pump();
    }
    static std::vector<char> Chars(const Bytes& b) { return {b.begin(), b.end()}; }
};

TEST_F(Engine, EveryByteOfTheDataIsPlayedInOrderThenTheDeviceCloses) {
    struct Case {
        std::size_t size;
        std::int64_t declared; // the data chunk's size field; -1: the true size
        unsigned queued, steps;
    } const cases[] = {
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
        Play8(data, c.declared);
        EXPECT_EQ(nullwave::QueuedOut(), c.queued);
        unsigned steps = 0;
        for (; cdac.GetbActiveDevice() && steps < 100; ++steps) {
            EXPECT_LE(nullwave::QueuedOut(), 8u);
            ASSERT_TRUE(Step());
        }
        EXPECT_EQ(steps, c.steps);
        EXPECT_FALSE(nullwave::OutOpen());
        EXPECT_EQ(nullwave::Played(), Chars(data));
    }
    EXPECT_EQ(boxes.boxes, Texts{});
}

TEST_F(Engine, StopEndsAtOnceAndStaleCompletionsDoNotDisturbTheNextRun) {
    cdac.StopPlayback(); // nothing started
    WriteBytes(dir / "a.wav", Wav(1, 1, 100, 8, Noise(10)));
    cdac.InitPlayback(Init("a.wav", 1, 100, 8));
    EXPECT_TRUE(nullwave::OutOpen());
    cdac.StopPlayback(); // initialised, never started
    EXPECT_FALSE(nullwave::OutOpen());
    for (std::size_t size : {2550u, 850u}) {
        nullwave::Clear();
        Play8(Noise(size));
        ASSERT_TRUE(Step());
        // 850 bytes: the ninth buffer took the last 50, so the engine drains.
        EXPECT_EQ(cdac.GetbActive(), size == 850 ? 0 : 1);
        cdac.StopPlayback();
        EXPECT_FALSE(nullwave::OutOpen());
        Pump(); // the reset returns seven or eight buffers
        EXPECT_EQ(cdac.GetbActiveDevice(), 0);
        EXPECT_EQ(nullwave::Played().size(), 100u);
    }
    // A request while busy is ignored; completions of a stopped run arrive late.
    Play8(Noise(1000));
    Play(Wav(1, 2, 200, 16, Noise(10)), 2, 200, 16, 1, "b.wav");
    EXPECT_EQ(cdac.Format().nChannels, 1);
    nullwave::StepOut(3);
    cdac.StopPlayback();
    nullwave::Clear();
    const Bytes data = Noise(450, 9);
    Play8(data);
    Pump(); // eight stale completions
    while (cdac.GetbActiveDevice() && Step()) {
    }
    EXPECT_EQ(nullwave::Played(), Chars(data));
}

TEST_F(Engine, EachFileIsRefusedWithItsReasonOrOpensTheDeviceInItsOwnFormat) {
    Bytes ext = Fmt(0xFFFE, 2, 100, 32, 24);
    const unsigned char guid[] = {3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::copy(std::begin(guid), std::end(guid), ext.begin() + 24); // sub-format: IEEE float
    const std::string cannot = "CDac: Cannot play this sound: ",
                      named = "CDac: Cannot play " + (dir / "play.wav") + ": ";
    struct Case {
        Bytes file; // empty: a WAV file of the row's format, but none for row 2
        std::uint16_t tag, ch, bits;
        std::string box; // empty: plays
        std::uint32_t rate = 100;
        std::uint16_t perSec = 1;
    } const cases[] = {
        {Bytes{'n', 'o', 't', ' ', 'r', 'i', 'f', 'f'}, 1, 1, 8,
         named + "it is not a readable WAV file."},
        {Riff({Chunk("fmt ", Fmt(1, 1, 100, 8))}), 1, 1, 8, named + "it has no sound data."},
        {{}, 1, 1, 8, named + "it is not a readable WAV file."},
        {{}, 6, 1, 8, cannot + "A-law compressed data is not supported."},
        {{}, 7, 1, 8, cannot + "mu-law compressed data is not supported."},
        {{}, 2, 1, 8, cannot + "ADPCM compressed data is not supported."},
        {{}, 0x55, 1, 8, cannot + "compressed (format 0x0055) data is not supported."},
        {{}, 1, 1, 4, cannot + "samples of 4 bits are not supported."},
        {{}, 1, 1, 40, cannot + "samples of 40 bits are not supported."},
        {{}, 1, 0, 16, cannot + "it has no channels."},
        {{}, 1, 1, 16, cannot + "its sample rate is 0.", 0},
        {{}, 3, 1, 16, cannot + "float samples of 16 bits are not supported."},
        {{}, 1, 2, 32, cannot + "its buffers would be too large.", 0x7FFFFFFF},
        {{}, 1, 1, 8, cannot + "its buffers would be empty.", 1, 2},
        {{}, 3, 1, 32, ""},
        {{}, 3, 2, 64, ""},
        {Riff({Chunk("fmt ", ext), Chunk("data", Noise(40))}), 3, 2, 32, ""},
        {{}, 1, 2, 24, ""},
        {{}, 1, 1, 32, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        boxes.boxes.clear();
        boxes.types.clear();
        std::remove((dir / "play.wav").c_str());
        const bool none = c.file.empty() && &c == &cases[2];
        Play(none || !c.file.empty() ? c.file : Wav(c.tag, c.ch, c.rate, c.bits, Noise(96)), c.ch,
             c.rate, c.bits, c.perSec);
        EXPECT_EQ(boxes.boxes, c.box.empty() ? Texts{} : Texts{c.box});
        EXPECT_EQ(boxes.types,
                  std::vector<unsigned>(boxes.boxes.size(), MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(nullwave::OutOpen(), c.box.empty());
        const auto align = static_cast<std::uint16_t>(c.ch * c.bits / 8);
        const WAVEFORMATEX f = nullwave::OutFormat(),
                           want{c.tag, c.ch, 100, 100u * align, align, c.bits, 0};
        EXPECT_TRUE(!c.box.empty() || std::memcmp(&f, &want, sizeof f) == 0);
        cdac.StopPlayback();
    }
}

TEST_F(Engine, DeviceAndFileFailuresAreReportedAndAStopStillReleasesEverything) {
    nullwave::FailOpen(true);
    Play8(Noise(300));
    EXPECT_EQ(boxes.boxes, Texts{"CDac: waveOutOpen Failed!"});
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // no completion will ever come
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    boxes.boxes.clear();
    nullwave::Clear();
    nullwave::FailWriteAfter(8); // the eight of the start succeed, the first requeue fails
    Play8(Noise(2000));
    EXPECT_TRUE(Step());
    EXPECT_EQ(boxes.boxes, Texts{"CDac: waveOutWrite Failed!"});
    nullwave::FailWriteAfter(-1);
    while (Step()) {
    }
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // one buffer left the ring: draining for good
    cdac.StopPlayback();
    boxes.boxes.clear();
    nullwave::Clear();
    Record(3, 2, 25, 16, "no/such/folder/rec.wav");
    EXPECT_EQ(boxes.boxes, Texts{"CDac: Cannot create the file " + fileName + "."});
    EXPECT_FALSE(nullwave::InOpen());
    boxes.boxes.clear();
    nullwave::FailOpen(true); // one message for the open, then one per buffer and call
    Record();
    Texts want(15, "CDac: waveInPrepareHeader Failed!");
    want[0] = "CDac: waveInOpen Failed!";
    std::fill(want.begin() + 8, want.end(), "CDac: waveInAddBuffer Failed!");
    want.push_back("CDac: waveInStart Failed!");
    EXPECT_EQ(boxes.boxes, want);
    cdac.StopRecord();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 2, 25, 16, {}));
    boxes.boxes.clear();
    nullwave::Clear();
    nullwave::FailStart(true);
    Record();
    EXPECT_EQ(boxes.boxes, Texts{"CDac: waveInStart Failed!"});
}

TEST_F(Engine, RecordingKeepsWholeFramesAndItsHeaderFitsTheDataAtStop) {
    Record();
    EXPECT_TRUE(nullwave::InStarted());
    EXPECT_EQ(nullwave::QueuedIn(), 7u); // one buffer fewer than asked for
    Play8(Noise(10));                    // one half at a time
    cdac.StopPlayback();                 // leaves the recording alone
    EXPECT_FALSE(nullwave::OutOpen());
    const Bytes input = Noise(32 * 20 + 30);
    for (std::size_t at = 0; at < input.size(); at += 33) // odd pieces, splitting frames
        Feed(Bytes(input.begin() + at, input.begin() + std::min(at + 33, input.size())));
    EXPECT_EQ(nullwave::QueuedIn(), 7u); // each filled buffer came back
    cdac.StopRecord();                   // the partly filled 21st buffer is not written
    EXPECT_FALSE(nullwave::InOpen());
    EXPECT_EQ(ReadBytes(dir / "rec.wav"),
              Wav(1, 2, 25, 16, Bytes(input.begin(), input.begin() + 32 * 20)));
    Record(1, 1, 5, 8); // odd data gets its pad byte; late buffers change nothing
    Feed(Noise(5, 4));
    nullwave::StepIn("xxxx", 4);
    cdac.StopRecord();
    cdac.CleanUpRecord(); // after the stop: nothing left
    Pump();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 1, 5, 8, Noise(5, 4)));
    EXPECT_EQ(nullwave::StepIn("yyyy", 4), 0u);
    EXPECT_EQ(boxes.boxes, Texts{});
}

// The device contract the engine relies on: completions come through the
// event loop in queue order; a reset returns every buffer, a stop the one
// being filled with what it holds.
TEST_F(Engine, TheDeviceReturnsBuffersInQueueOrderThroughTheEventLoop) {
    std::vector<WAVEHDR*> got;
    unsigned expected = MM_WOM_DONE;
    owner.Receive = [&](unsigned m, WAVEHDR* h) { got.push_back(m == expected ? h : nullptr); };
    char data[4] = {1, 2, 3, 4};
    WAVEHDR hdr[3];
    for (auto& h : hdr)
        h.lpData = data, h.dwBufferLength = 4;
    const WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0},
        odd{WAVE_FORMAT_PCM, 1, 8000, 8000, 2, 8, 0};
    EXPECT_EQ(WaveOutDeviceName(0) + "/" + WaveInDeviceName(0) + "/" + WaveOutDeviceName(1) + "/" +
                  std::to_string(waveOutGetNumDevs() + waveInGetNumDevs()) + "/" +
                  std::to_string(WaveOutDeviceChannels(0)) +
                  std::to_string(WaveOutDeviceChannels(1)),
              "Null Output/Null Input//2/655350");
    HWAVEOUT hwo = nullptr, second = nullptr;
    ASSERT_EQ(waveOutOpen(&hwo, 0, &wf, &owner), MMSYSERR_NOERROR);
    std::vector<unsigned> codes = {waveOutOpen(&second, 0, &wf, &owner), // one at a time
                                   waveOutWrite(hwo, &hdr[0])};
    for (auto& h : hdr)
        codes.push_back(waveOutPrepareHeader(hwo, &h) + waveOutWrite(hwo, &h));
    codes.push_back(waveOutWrite(hwo, &hdr[0])); // already queued
    codes.push_back(waveOutUnprepareHeader(hwo, &hdr[0]));
    EXPECT_EQ(codes, (std::vector<unsigned>{MMSYSERR_ERROR, WAVERR_UNPREPARED, 0, 0, 0,
                                            MMSYSERR_INVALPARAM, WAVERR_STILLPLAYING}));
    EXPECT_EQ(nullwave::StepOut(1), 1u);
    EXPECT_TRUE(got.empty()); // posted, not called
    Pump();
    EXPECT_EQ(got, std::vector<WAVEHDR*>{&hdr[0]});
    EXPECT_EQ(waveOutClose(hwo), WAVERR_STILLPLAYING);
    waveOutReset(hwo);
    Pump();
    EXPECT_EQ(got, (std::vector<WAVEHDR*>{&hdr[0], &hdr[1], &hdr[2]}));
    for (auto& h : hdr)
        EXPECT_EQ(h.dwFlags + waveOutUnprepareHeader(hwo, &h), WHDR_DONE | WHDR_PREPARED);
    EXPECT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
    got.clear();
    expected = MM_WIM_DATA;
    HWAVEIN hwi = nullptr;
    EXPECT_EQ(waveInOpen(&hwi, 1, &wf, &owner), MMSYSERR_BADDEVICEID);
    ASSERT_EQ(waveInOpen(&hwi, 0, &wf, &owner), MMSYSERR_NOERROR);
    for (auto& h : hdr)
        waveInPrepareHeader(hwi, &h), waveInAddBuffer(hwi, &h);
    waveInStart(hwi);
    nullwave::StepIn("abcdef", 6);
    waveInStop(hwi);
    Pump();
    EXPECT_EQ(got, (std::vector<WAVEHDR*>{&hdr[0], &hdr[1]}));
    EXPECT_EQ(std::string(data, 4) + "/" + std::to_string(hdr[1].dwBytesRecorded), "efcd/2");
    waveInReset(hwi);
    Pump();
    EXPECT_EQ(got, (std::vector<WAVEHDR*>{&hdr[0], &hdr[1], &hdr[2]}));
    EXPECT_EQ((std::vector<unsigned>{
                  waveInClose(hwi), waveOutClose(nullptr), waveInOpen(nullptr, 0, &wf, &owner),
                  waveOutOpen(&hwo, 0, &odd, &owner), waveOutOpen(&hwo, 1, &wf, &owner)}),
              (std::vector<unsigned>{MMSYSERR_NOERROR, MMSYSERR_INVALHANDLE, MMSYSERR_INVALPARAM,
                                     WAVERR_BADFORMAT, MMSYSERR_BADDEVICEID}));
}

TEST(DeviceName, IsCutToThirtyOneBytesOnACharacterBoundary) {
    EXPECT_EQ(ShortDeviceName(std::string(31, 'x') + "y"), std::string(31, 'x'));
    // "é" is two bytes; the 31st byte would split one.
    EXPECT_EQ(ShortDeviceName(std::string(30, 'a') + "\xC3\xA9zz"), std::string(30, 'a'));
}

} // namespace
