// End to end through RtAudio and a PulseAudio null sink: what the engine
// plays must reach the sound server sample for sample, and what it records
// from the sink's monitor must hold what was played.
#include "audio/engineharness.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <cstring>

namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Runs the event loop until done() holds or the time is up.
template <class F> void Wait(F done, int ms) {
    QTimer tick; // wakes the sleeping loop to look at the clock
    tick.start(10);
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The number of the device of that name; the count when there is none.
std::uint16_t Device(const std::string& name, unsigned count, std::string (*nameOf)(unsigned)) {
    unsigned i = 0;
    while (i < count && nameOf(i) != name)
        ++i;
    return static_cast<std::uint16_t>(i);
}

class AudioE2E : public EngineFixture {
protected:
    void SetUp() override { InstallWaveBackend(nullptr); }
    void TearDown() override {
        cdac.StopPlayback();
        cdac.StopRecord();
        for (const QString& id : modules_)
            RunTool("pactl", {"unload-module", id});
    }

    // Plays the samples as a WAV file through the engine to the sink while
    // its monitor is captured as 16-bit samples; returns the capture.
    Bytes PlayAndCapture(const Bytes& data, std::uint16_t tag, std::uint16_t ch, std::uint32_t rate,
                         std::uint16_t bits, std::uint16_t perSec, const std::string& sink) {
        WriteBytes(dir / "play.wav", Wav(tag, ch, rate, bits, data));
        QProcess cap;
        cap.setStandardOutputFile(QString::fromStdString(dir / "cap.raw"));
        cap.start("parec", {"-d", QString::fromStdString(sink) + ".monitor", "--latency-msec=20",
                            "--raw", "--format=s16le", "--rate=" + QString::number(rate),
                            "--channels=" + QString::number(ch)});
        cap.waitForStarted(5000);
        // Ready once the server lists it as a source output.
        Wait([] { return !RunTool("pactl", {"list", "short", "source-outputs"}).isEmpty(); }, 5000);
        CDAC::dac_init d = Init(dir / "play.wav", ch, rate, bits, perSec);
        d.wWaveDeviceId =
            Device(sink == "test" ? "Null Output" : sink, waveOutGetNumDevs(), WaveOutDeviceName);
        EXPECT_LT(d.wWaveDeviceId, waveOutGetNumDevs()) << "no output device " << sink;
        cdac.InitPlayback(d);
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
        EXPECT_EQ(cdac.GetbActiveDevice(), 1);
        Wait([this] { return cdac.GetbActiveDevice() == 0; }, 30000);
        EXPECT_EQ(cdac.GetbActiveDevice(), 0) << "playback did not end";
        QThread::msleep(100);
        cap.terminate(); // SIGTERM: parec flushes what it has
        cap.waitForFinished(5000);
        EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front();
        return ReadBytes(dir / "cap.raw");
    }

    QStringList modules_;
};

#define REQUIRE_SOUND_SERVER()                                                                     \
    REQUIRE_SERVICE(!RunTool("pactl", {"info"}).isEmpty(), "a PulseAudio server")

// The sound in the capture, starting at a multiple of align, sample for
// sample; returns where it starts.
std::size_t ExpectContains(const Bytes& capture, const Bytes& data, std::size_t align) {
    const auto head = data.begin() + std::min<std::ptrdiff_t>(data.size(), 4096);
    auto it = capture.begin();
    while ((it = std::search(it, capture.end(), data.begin(), head)) != capture.end() &&
           (it - capture.begin()) % align != 0)
        ++it;
    const auto at = static_cast<std::size_t>(it - capture.begin());
    if (it == capture.end()) {
        ADD_FAILURE() << "the start of the sound is not in the capture (" << capture.size()
                      << " bytes)";
    } else if (capture.end() - it < data.end() - data.begin()) {
        ADD_FAILURE() << "the capture ends before the sound does";
    } else {
        const auto mismatch = std::mismatch(data.begin(), data.end(), it);
        EXPECT_TRUE(mismatch.first == data.end())
            << "first difference at byte " << (mismatch.first - data.begin()) << " of "
            << data.size();
    }
    return at;
}

TEST_F(AudioE2E, StereoSixteenBitLongerThanTheRingArrivesUnchanged) {
    REQUIRE_SOUND_SERVER();
    // Eight buffers of a quarter second: 2.6 seconds outlast the ring.
    const Bytes data = Noise(44100 * 4 * 26 / 10, 3);
    ExpectContains(PlayAndCapture(data, 1, 2, 44100, 16, 4, "test"), data, 4);
}

TEST_F(AudioE2E, MonoEightBitShorterThanABufferArrivesUnchanged) {
    REQUIRE_SOUND_SERVER();
    const QString id = RunTool("pactl", {"load-module", "module-null-sink", "sink_name=mono8",
                                         "sink_properties=device.description=mono8", "norewinds=1",
                                         "rate=22050", "format=s16le", "channels=1"})
                           .trimmed();
    ASSERT_FALSE(id.isEmpty());
    modules_ << id;
    // The server mixes in 16 bits: an 8-bit sample v arrives as (v - 128) * 256.
    const Bytes data = Noise(22050 / 2, 5); // half a second, one buffer of a second
    Bytes wide;
    for (unsigned char v : data)
        Put16(wide, static_cast<std::uint16_t>((v - 128) * 256));
    ExpectContains(PlayAndCapture(data, 1, 1, 22050, 8, 1, "mono8"), wide, 2);
}

TEST_F(AudioE2E, FloatFilesPlayAsFloat) {
    REQUIRE_SOUND_SERVER();
    // Float samples that are whole steps of 1/32768 reach a 16-bit sink exactly.
    const Bytes expected = Noise(44100 * 2 * 2 / 2, 13); // half a second, stereo
    Bytes floats;
    for (std::size_t i = 0; i + 1 < expected.size(); i += 2) {
        const float f = static_cast<std::int16_t>(expected[i] | expected[i + 1] << 8) / 32768.0f;
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Put32(floats, bits);
    }
    ExpectContains(PlayAndCapture(floats, 3, 2, 44100, 32, 1, "test"), expected, 4);
}

TEST_F(AudioE2E, TwentyFourBitFilesReachASixteenBitSinkAsTheirTopBits) {
    REQUIRE_SOUND_SERVER();
    const Bytes data = Noise(44100 * 6 / 2, 17); // half a second, stereo
    Bytes expected;
    for (std::size_t i = 0; i + 2 < data.size(); i += 3)
        expected.insert(expected.end(), {data[i + 1], data[i + 2]});
    ExpectContains(PlayAndCapture(data, 1, 2, 44100, 24, 1, "test"), expected, 4);
}

TEST_F(AudioE2E, MoreChannelsThanTheSinkAreRefusedWithTheReason) {
    REQUIRE_SOUND_SERVER();
    WriteBytes(dir / "six.wav", Wav(1, 6, 44100, 16, Noise(44100 * 12 / 2, 19)));
    CDAC::dac_init d = Init(dir / "six.wav", 6, 44100, 16);
    d.wWaveDeviceId = Device("Null Output", waveOutGetNumDevs(), WaveOutDeviceName);
    cdac.InitPlayback(d);
    cdac.PrimePlaybackFile();
    cdac.StartPlayback(&owner);
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"CDac: Cannot play this sound: it has 6 "
                                                    "channels, but the output device plays at "
                                                    "most 2."});
}

// Recorded in buffers of a second and of an eighth of a second: 22050 bytes,
// which no whole number of stereo 16-bit frames fills.
class RecordE2E : public AudioE2E, public ::testing::WithParamInterface<std::uint16_t> {};

TEST_P(RecordE2E, RecordingTheMonitorHoldsExactlyWhatWasPlayed) {
    REQUIRE_SOUND_SERVER();
    const std::uint16_t perSec = GetParam();
    // At least three buffers of sound: 3.5 seconds, or 1.5 seconds (12 buffers).
    const Bytes data = Noise((perSec == 1 ? 44100 * 7 / 2 : 44100 * 3 / 2) * 4, 11);
    WriteBytes(dir / "k.wav", Wav(1, 2, 44100, 16, data));
    CDAC::dac_init d = Init(dir / "rec.wav", 2, 44100, 16, perSec);
    d.wWaveDeviceId = Device("Monitor of Null Output", waveInGetNumDevs(), WaveInDeviceName);
    ASSERT_LT(d.wWaveDeviceId, waveInGetNumDevs()) << "no input device for the sink's monitor";
    int filled = 0; // buffers the device handed back
    owner.Receive = [&](unsigned uMsg, WAVEHDR* lpHdr) {
        filled += uMsg == MM_WIM_DATA;
        cdac.RecordBufferCycle(lpHdr, &owner);
    };
    cdac.InitRecord(d);
    cdac.PrimeRecordFile(&owner);
    cdac.StartRecord(&owner);
    ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes.front();
    Wait([] { return false; }, 300);

    QProcess play;
    play.start("paplay", {"-d", "test", QString::fromStdString(dir / "k.wav")});
    Wait([&] { return play.state() == QProcess::NotRunning; }, 15000);
    ASSERT_EQ(play.exitCode(), 0);
    const int after = filled + 2; // the tail is in a buffer that has come back
    Wait([&] { return filled >= after; }, 5000);
    cdac.StopRecord();

    const Bytes file = ReadBytes(dir / "rec.wav");
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(ReadLE(file.data() + 4, 4), file.size() - 8);
    EXPECT_EQ(ReadLE(file.data() + 40, 4), file.size() - 44);
    const Bytes rec(file.begin() + 44, file.end());
    const std::size_t at = ExpectContains(rec, data, 4);
    // Silence around the sound: nothing else was played.
    const auto silent = [&](std::size_t from, std::size_t to) {
        return std::all_of(rec.begin() + from, rec.begin() + to, [](auto b) { return b == 0; });
    };
    if (at + data.size() <= rec.size()) {
        EXPECT_TRUE(silent(0, at));
        EXPECT_TRUE(silent(at + data.size(), rec.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(BuffersPerSecond, RecordE2E, ::testing::Values(1, 8));

} // namespace
