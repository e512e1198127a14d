// End to end through RtAudio and a PulseAudio null sink: what the engine
// plays must reach the sound server sample for sample, and what it records
// from the sink's monitor must hold what was played.
#include "audio/cdac32.h"
#include "audio/wavfixture.h"
#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace fixture;

namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool ServerUp() {
    return !RunTool("pactl", {"info"}).isEmpty();
}

#define REQUIRE_SOUND_SERVER()                                                                     \
    do {                                                                                           \
        if (!ServerUp()) {                                                                         \
            const char* s = std::getenv("TONSMITH_SERVICES");                                      \
            if (s != nullptr && std::string(s) == "1")                                             \
                FAIL() << "TONSMITH_SERVICES=1 but no PulseAudio server answers";                  \
            GTEST_SKIP() << "no PulseAudio server reachable; run under scripts/with-services.sh";  \
        }                                                                                          \
    } while (0)

// A capture of a sink's monitor into a file, running until Stop.
class Capture {
public:
    Capture(const QString& source, const QStringList& format, const std::string& file) {
        proc_.setStandardOutputFile(QString::fromStdString(file));
        proc_.start("parec", QStringList{"-d", source, "--latency-msec=20", "--raw"} + format);
        proc_.waitForStarted(5000);
        // Ready once the server lists it as a source output.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 &&
               RunTool("pactl", {"list", "short", "source-outputs"}).isEmpty())
            QThread::msleep(10);
    }
    void Stop() {
        proc_.terminate(); // SIGTERM: parec flushes what it has
        proc_.waitForFinished(5000);
    }
    ~Capture() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished(5000);
        }
    }

private:
    QProcess proc_;
};

class AudioE2E : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
        SetWaveBackend(WaveBackend::Audio);
        old_ = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned) {
                boxes.push_back(caption + ": " + text);
                return IDOK;
            });
        owner.Receive = [this](unsigned uMsg, WAVEHDR* lpHdr) {
            if (uMsg == MM_WOM_DONE)
                cdac.PlaybackBufferCycle(lpHdr, &owner);
            else if (uMsg == MM_WIM_DATA)
                cdac.RecordBufferCycle(lpHdr, &owner);
        };
    }
    void TearDown() override {
        cdac.StopPlayback();
        cdac.StopRecord();
        SetMessageBoxHandler(old_);
        for (const QString& id : modules_)
            RunTool("pactl", {"unload-module", id});
    }

    // Plays a file through the engine and waits until it has stopped.
    void PlayToEnd(const std::string& path, std::uint16_t ch, std::uint32_t rate,
                   std::uint16_t bits, std::uint16_t perSec,
                   const std::string& sink = "Null Output") {
        CDAC::dac_init d;
        d.hWnd = &owner;
        d.lpszFileName = path.c_str();
        d.dwSampleRate = rate;
        d.wNchnls = ch;
        d.wBits = bits;
        d.wTotalDacBuffers = 8;
        d.wDacBuffersPerSec = perSec;
        d.wWaveDeviceId = Device(sink, waveOutGetNumDevs(), WaveOutDeviceName);
        ASSERT_LT(d.wWaveDeviceId, waveOutGetNumDevs()) << "no output device " << sink;
        cdac.InitPlayback(d);
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
        ASSERT_EQ(cdac.GetbActiveDevice(), 1);
        Wait([this] { return cdac.GetbActiveDevice() == 0; }, 30000);
        ASSERT_EQ(cdac.GetbActiveDevice(), 0) << "playback did not end";
    }

    // The number of the device of that name; the count when there is none.
    static std::uint16_t Device(const std::string& name, unsigned count,
                                std::string (*nameOf)(unsigned)) {
        unsigned i = 0;
        while (i < count && nameOf(i) != name)
            ++i;
        return static_cast<std::uint16_t>(i);
    }

    template <class F> static void Wait(F done, int ms) {
        QTimer tick; // wakes the sleeping loop to look at the clock
        tick.start(10);
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // A null sink of its own format; its device is named after it.
    void AddSink(const QString& name, const QStringList& args) {
        const QString id =
            RunTool("pactl",
                    QStringList{"load-module", "module-null-sink", "sink_name=" + name,
                                "sink_properties=device.description=" + name, "norewinds=1"} +
                        args)
                .trimmed();
        ASSERT_FALSE(id.isEmpty());
        modules_ << id;
    }

    TempDir dir;
    WaveOwner owner;
    CDAC cdac;
    std::vector<std::string> boxes;
    MessageBoxHandler old_;
    QStringList modules_;
};

// Where `needle` begins in `hay`, at a multiple of `align`; npos when absent.
std::size_t Find(const Bytes& hay, const Bytes& needle, std::size_t align) {
    auto it = hay.begin();
    for (;;) {
        it = std::search(it, hay.end(), needle.begin(), needle.end());
        if (it == hay.end())
            return std::string::npos;
        if ((it - hay.begin()) % align == 0)
            return static_cast<std::size_t>(it - hay.begin());
        ++it;
    }
}

void ExpectContains(const Bytes& capture, const Bytes& data, std::size_t align) {
    const Bytes head(data.begin(), data.begin() + std::min<std::size_t>(data.size(), 4096));
    const std::size_t at = Find(capture, head, align);
    ASSERT_NE(at, std::string::npos)
        << "the start of the sound is not in the capture (" << capture.size() << " bytes)";
    ASSERT_GE(capture.size() - at, data.size()) << "the capture ends before the sound does";
    const auto mismatch = std::mismatch(data.begin(), data.end(), capture.begin() + at);
    EXPECT_EQ(mismatch.first, data.end())
        << "first difference at byte " << (mismatch.first - data.begin()) << " of " << data.size();
}

TEST_F(AudioE2E, StereoSixteenBitLongerThanTheRingArrivesUnchanged) {
    REQUIRE_SOUND_SERVER();
    // Eight buffers of a quarter second: 2.6 seconds outlast the ring.
    Bytes data = Noise(44100 * 4 * 26 / 10, 3);
    WriteFile(dir / "s.wav", Wav(1, 2, 44100, 16, data));
    Capture cap("test.monitor", {"--format=s16le", "--rate=44100", "--channels=2"},
                dir / "cap.raw");
    PlayToEnd(dir / "s.wav", 2, 44100, 16, 4);
    QThread::msleep(100);
    cap.Stop();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    ExpectContains(ReadFile(dir / "cap.raw"), data, 4);
}

TEST_F(AudioE2E, MonoEightBitShorterThanABufferArrivesUnchanged) {
    REQUIRE_SOUND_SERVER();
    // The server mixes in 16 bits: an 8-bit sample v arrives as (v - 128) * 256.
    AddSink("mono8", {"rate=22050", "format=s16le", "channels=1"});
    Bytes data = Noise(22050 / 2, 5); // half a second, one buffer of a second
    WriteFile(dir / "m.wav", Wav(1, 1, 22050, 8, data));
    Capture cap("mono8.monitor", {"--format=s16le", "--rate=22050", "--channels=1"},
                dir / "cap.raw");
    PlayToEnd(dir / "m.wav", 1, 22050, 8, 1, "mono8");
    QThread::msleep(100);
    cap.Stop();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    Bytes wide;
    for (unsigned char v : data)
        Put16(wide, static_cast<std::uint16_t>((v - 128) * 256));
    ExpectContains(ReadFile(dir / "cap.raw"), wide, 2);
}

TEST_F(AudioE2E, FloatFilesPlayAsFloat) {
    REQUIRE_SOUND_SERVER();
    // Float samples that are whole steps of 1/32768 reach a 16-bit sink exactly.
    const Bytes steps = Noise(44100 * 2 / 2, 13); // half a second, stereo
    Bytes floats, expected;
    for (std::size_t i = 0; i + 1 < steps.size(); i += 2) {
        const auto v = static_cast<std::int16_t>(steps[i] | steps[i + 1] << 8);
        const float f = static_cast<float>(v) / 32768.0f;
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Put32(floats, bits);
        Put16(expected, static_cast<std::uint16_t>(v));
    }
    WriteFile(dir / "f.wav", Wav(3, 2, 44100, 32, floats));
    Capture cap("test.monitor", {"--format=s16le", "--rate=44100", "--channels=2"},
                dir / "cap.raw");
    PlayToEnd(dir / "f.wav", 2, 44100, 32, 1);
    QThread::msleep(100);
    cap.Stop();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    ExpectContains(ReadFile(dir / "cap.raw"), expected, 4);
}

TEST_F(AudioE2E, RecordingTheMonitorHoldsWhatWasPlayed) {
    REQUIRE_SOUND_SERVER();
    Bytes data = Noise(44100 * 4 * 3 / 2, 11); // 1.5 seconds
    WriteFile(dir / "k.wav", Wav(1, 2, 44100, 16, data));

    CDAC::dac_init d;
    d.hWnd = &owner;
    const std::string rec = dir / "rec.wav";
    d.lpszFileName = rec.c_str();
    d.dwSampleRate = 44100;
    d.wNchnls = 2;
    d.wBits = 16;
    d.wTotalDacBuffers = 9;
    d.wDacBuffersPerSec = 4;
    d.wWaveDeviceId = Device("Monitor of Null Output", waveInGetNumDevs(), WaveInDeviceName);
    ASSERT_LT(d.wWaveDeviceId, waveInGetNumDevs()) << "no input device for the sink's monitor";
    cdac.InitRecord(d);
    cdac.PrimeRecordFile(&owner);
    cdac.StartRecord(&owner);
    ASSERT_TRUE(boxes.empty()) << boxes.front();
    Wait([] { return false; }, 300);

    QProcess play;
    play.start("paplay", {"-d", "test", QString::fromStdString(dir / "k.wav")});
    Wait([&] { return play.state() == QProcess::NotRunning; }, 15000);
    ASSERT_EQ(play.exitCode(), 0);
    Wait([] { return false; }, 700);
    cdac.StopRecord();

    const Bytes file = ReadFile(rec);
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(ReadLE32(file.data() + 40), file.size() - 44);
    ExpectContains(Bytes(file.begin() + 44, file.end()), data, 4);
}

} // namespace
