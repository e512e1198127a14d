// End to end through RtAudio and PulseAudio null sinks: what the engine
// plays must come back sample for sample when it records the sink's monitor.
#include "audio/engineharness.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <cstring>

namespace {

QString RunTool(const QStringList& args) {
    QProcess p;
    p.start("pactl", args);
    return p.waitForFinished(10000) && p.exitCode() == 0 ? p.readAllStandardOutput() : QString();
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

// Where the whole sound starts in the capture at a multiple of align; the
// capture's size when it is not there sample for sample.
std::size_t Find(const Bytes& capture, const Bytes& data, std::size_t align) {
    auto it = capture.begin();
    while ((it = std::search(it, capture.end(), data.begin(), data.end())) != capture.end() &&
           (it - capture.begin()) % align != 0)
        ++it;
    return static_cast<std::size_t>(it - capture.begin());
}

using AudioE2E = EngineFixture;

TEST_F(AudioE2E, WhatIsPlayedComesBackFromTheMonitorSampleForSample) {
    InstallWaveBackend(nullptr);
    REQUIRE_SERVICE(!RunTool({"info"}).isEmpty(), "a PulseAudio server");
    const QString mono8 = RunTool({"load-module", "module-null-sink", "sink_name=mono8",
                                   "sink_properties=device.description=mono8", "norewinds=1",
                                   "rate=22050", "format=s16le", "channels=1"});
    ASSERT_FALSE(mono8.isEmpty());
    const auto unload = qScopeGuard([&] { RunTool({"unload-module", mono8.trimmed()}); });
    // The server mixes in 16 bits: an unsigned 8-bit sample v passes as
    // (v - 128) * 256, a float that is a whole step of 1/32768 exactly, and a
    // 24-bit sample as its top 16 bits.
    const Bytes s16 = Noise(44100 * 4 * 26 / 10, 3), u8 = Noise(22050 / 2, 5),
                f = Noise(44100 * 2, 13), s24 = Noise(44100 * 3, 17);
    Bytes floats, top16;
    for (std::size_t i = 0; i + 1 < f.size(); i += 2) {
        const float x = static_cast<std::int16_t>(f[i] | f[i + 1] << 8) / 32768.0f;
        std::uint32_t bits;
        std::memcpy(&bits, &x, 4);
        Put(floats, bits, 4);
    }
    for (std::size_t i = 0; i + 2 < s24.size(); i += 3)
        top16.insert(top16.end(), {s24[i + 1], s24[i + 2]});
    // Recorded in buffers of an eighth of a second: for stereo 16-bit 22050
    // bytes, which no whole number of frames fills. 8-bit is recorded as 8-bit.
    struct Case {
        Bytes data, expected;
        std::uint16_t tag, ch;
        std::uint32_t rate;
        std::uint16_t bits, perSec;
        std::string sink;
    } const cases[] = {
        {s16, s16, 1, 2, 44100, 16, 4, "Null Output"}, // 2.6 seconds outlast the ring
        {u8, u8, 1, 1, 22050, 8, 1, "mono8"},          // shorter than one buffer
        {floats, f, 3, 2, 44100, 32, 1, "Null Output"},
        {s24, top16, 1, 2, 44100, 24, 1, "Null Output"},
    };
    CDAC recorder;  // the engine plays or records, one at a time
    int filled = 0; // buffers the input device handed back
    owner.Receive = [&](unsigned msg, WAVEHDR* h) {
        if (msg == MM_WOM_DONE)
            cdac.PlaybackBufferCycle(h, &owner);
        else
            ++filled, recorder.RecordBufferCycle(h, &owner);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const auto in = Device("Monitor of " + c.sink, waveInGetNumDevs(), WaveInDeviceName),
                   out = Device(c.sink, waveOutGetNumDevs(), WaveOutDeviceName);
        ASSERT_LT(in, waveInGetNumDevs()) << "no input device for the sink's monitor";
        ASSERT_LT(out, waveOutGetNumDevs()) << "no output device " << c.sink;
        const std::uint16_t recBits = c.bits == 8 ? 8 : 16;
        recorder.InitRecord(Init("rec.wav", c.ch, c.rate, recBits, 8, in));
        recorder.PrimeRecordFile(&owner);
        recorder.StartRecord(&owner);
        Wait([] { return false; }, 300);
        Play(Wav(c.tag, c.ch, c.rate, c.bits, c.data), c.ch, c.rate, c.bits, c.perSec, "play.wav",
             out);
        EXPECT_EQ(cdac.GetbActiveDevice(), 1);
        Wait([this] { return cdac.GetbActiveDevice() == 0; }, 30000);
        EXPECT_EQ(cdac.GetbActiveDevice(), 0) << "playback did not end";
        const int after = filled + 4; // the tail has reached the monitor and come back
        Wait([&] { return filled >= after; }, 5000);
        recorder.StopRecord();
        EXPECT_EQ(boxes.boxes, std::vector<std::string>{});
        const Bytes file = ReadBytes(dir / "rec.wav");
        ASSERT_GT(file.size(), 44u);
        EXPECT_EQ(ReadLE(file.data() + 4, 4), file.size() - 8);
        EXPECT_EQ(ReadLE(file.data() + 40, 4), file.size() - 44);
        const Bytes rec(file.begin() + 44, file.end());
        const std::size_t at = Find(rec, c.expected, c.ch * recBits / 8u),
                          end = at + c.expected.size();
        ASSERT_LT(at, rec.size()) << "the sound is not whole and unchanged in the recording";
        // Silence around the sound: nothing else was played.
        const unsigned char quiet = recBits == 8 ? 128 : 0;
        EXPECT_EQ(std::count(rec.begin(), rec.begin() + at, quiet) +
                      std::count(rec.begin() + end, rec.end(), quiet),
                  static_cast<std::ptrdiff_t>(at + rec.size() - end));
    }
    // Six channels for a stereo sink: refused with the reason.
    WriteBytes(dir / "six.wav", Wav(1, 6, 44100, 16, Noise(44100 * 6)));
    cdac.InitPlayback(Init("six.wav", 6, 44100, 16, 1,
                           Device("Null Output", waveOutGetNumDevs(), WaveOutDeviceName)));
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"CDac: Cannot play this sound: it has 6 "
                                                    "channels, but the output device plays at "
                                                    "most 2."});
}

} // namespace
