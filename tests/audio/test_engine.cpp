// The engine and the wave-device layer on the null device, whose buffers move
// only when the test steps them, and through RtAudio to PulseAudio null sinks.
#include "audio/cdac32.h"
#include "audio/soundinfo.h"
#include "audio/wavfixture.h"
#include "platform/sound/nullwave.h"

#include <QScopeGuard>

namespace {
using namespace fixture;
using Texts = std::vector<std::string>;

// The engine wired to an owner window as the main window wires it.
class Engine : public ::testing::Test {
protected:
    Engine() {
        EnsureApp();
        InstallWaveBackend(nullwave::Backend());
        nullwave::Clear();
        owner.Receive = [this](unsigned msg, WAVEHDR* h) {
            msg == MM_WOM_DONE ? cdac.PlaybackBufferCycle(h, &owner)
                               : cdac.RecordBufferCycle(h, &owner);
        };
    }
    ~Engine() override { InstallWaveBackend(nullptr); }
    // A ring of eight buffers for the file of that name in the test's folder.
    CDAC::dac_init Init(const std::string& name, std::uint16_t ch, std::uint32_t rate,
                        std::uint16_t bits, std::uint16_t perSec = 1, std::uint16_t device = 0) {
        fileName = dir / name;
        return {&owner, fileName.c_str(), device, rate, ch, bits, 8, perSec};
    }
    // As the main window plays (the file is written unless empty).
    void Play(const Bytes& file, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
              std::uint16_t perSec = 1, const std::string& name = "play.wav",
              std::uint16_t device = 0) {
        if (!file.empty())
            WriteBytes(dir / name, file);
        cdac.InitPlayback(Init(name, ch, rate, bits, perSec, device));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
    }
    // Mono 8-bit at 100 frames per second: a buffer is 100 bytes, the ring holds 800.
    void Play8(const Bytes& data, std::int64_t declared = -1) {
        Play(Riff({Chunk("fmt ", Fmt(1, 1, 100, 8)), Chunk("data", data, declared)}), 1, 100, 8);
    }
    // Stereo 16-bit at 25 frames a second: 3 buffers a second of 33 bytes hold 8 whole frames.
    void Record(const std::string& name = "rec.wav", std::uint16_t perSec = 3, std::uint16_t ch = 2,
                std::uint32_t rate = 25, std::uint16_t bits = 16) {
        cdac.InitRecord(Init(name, ch, rate, bits, perSec));
        cdac.PrimeRecordFile(&owner);
        cdac.StartRecord(&owner);
    }
    static void Pump() { QCoreApplication::sendPostedEvents(); }
    // Plays one queued buffer and hands its completion to the engine.
    bool Step() { return nullwave::StepOut(1) == 1 && (Pump(), true); }
    void Feed(const Bytes& b) {
        nullwave::StepIn(reinterpret_cast<const char*>(b.data()), b.size());
        Pump();
    }
    static Bytes Played() { return {nullwave::Played().begin(), nullwave::Played().end()}; }

    TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    BoxAnswerer boxes{IDOK};
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
        for (; cdac.GetbActiveDevice() && steps < 100; ++steps)
            ASSERT_TRUE(nullwave::QueuedOut() <= 8 && Step()); // never more than the ring
        EXPECT_EQ(steps, c.steps);
        EXPECT_FALSE(nullwave::OutOpen());
        EXPECT_EQ(Played(), data);
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
    EXPECT_EQ(Played(), data);
}

TEST_F(Engine, EachFileIsRefusedWithItsReasonOrOpensTheDeviceInItsOwnFormat) {
    Bytes ext = Fmt(0xFFFE, 2, 100, 32, 24);
    const unsigned char guid[] = {3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::copy(std::begin(guid), std::end(guid), ext.begin() + 24); // sub-format: IEEE float
    const std::string cannot = "CDac: Cannot play this sound: ",
                      named = "CDac: Cannot play " + (dir / "play.wav") + ": ";
    struct Case {
        std::uint16_t tag, ch, bits;
        std::string box; // empty: plays
        std::uint32_t rate = 100;
        std::uint16_t perSec = 1;
        Bytes file = Wav(tag, ch, rate, bits, Noise(96)); // empty: no file
    } const cases[] = {
        {1, 1, 8, named + "it is not a readable WAV file.", 100, 1, Noise(8)},
        {1, 1, 8, named + "it has no sound data.", 100, 1,
         Riff({Chunk("fmt ", Fmt(1, 1, 100, 8))})},
        {1, 1, 8, named + "it is not a readable WAV file.", 100, 1, {}},
        {2, 1, 4, cannot + "it holds Microsoft ADPCM compressed samples, which cannot be played."},
        {0x31, 1, 0, cannot + "it holds GSM 6.10 compressed samples, which cannot be played."},
        {1, 1, 4, cannot + "samples of 4 bits are not supported."},
        {1, 1, 40, cannot + "samples of 40 bits are not supported."},
        {1, 0, 16, cannot + "it has no channels."},
        {1, 1, 16, cannot + "its sample rate is 0.", 0},
        {3, 1, 16, cannot + "float samples of 16 bits are not supported."},
        {1, 2, 32, cannot + "its buffers would be too large.", 0x7FFFFFFF},
        {1, 1, 8, cannot + "its buffers would be empty.", 1, 2},
        {3, 2, 64, ""},
        {3, 2, 32, "", 100, 1, Riff({Chunk("fmt ", ext), Chunk("data", Noise(40))})},
        {1, 1, 32, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        boxes.boxes.clear();
        std::remove((dir / "play.wav").c_str());
        Play(c.file, c.ch, c.rate, c.bits, c.perSec);
        EXPECT_EQ(boxes.boxes, c.box.empty() ? Texts{} : Texts{c.box});
        EXPECT_EQ(nullwave::OutOpen(), c.box.empty());
        const auto align = static_cast<std::uint16_t>(c.ch * c.bits / 8);
        const WAVEFORMATEX f = nullwave::OutFormat(),
                           want{c.tag, c.ch, 100, 100u * align, align, c.bits, 0};
        EXPECT_TRUE(!c.box.empty() || std::memcmp(&f, &want, sizeof f) == 0);
        cdac.StopPlayback();
    }
}

TEST_F(Engine, DeviceAndFileFailuresAreReportedAndAStopStillReleasesEverything) {
    nullwave::FailWriteAfter(8); // the eight of the start succeed, the first requeue fails
    Play8(Noise(2000));
    EXPECT_TRUE(Step());
    nullwave::FailWriteAfter(-1);
    while (Step()) {
    }
    EXPECT_EQ(cdac.GetbActiveDevice(), 1); // one buffer left the ring: draining for good
    cdac.StopPlayback();
    EXPECT_EQ(cdac.GetbActiveDevice(), 0);
    Record("no/such/folder/rec.wav");
    EXPECT_FALSE(nullwave::InOpen());
    nullwave::FailOpen(true); // one message for the open, then one per buffer and call
    Record();
    cdac.StopRecord();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 2, 25, 16, {}));
    nullwave::Clear();
    nullwave::FailStart(true);
    Record();
    Texts want = {"CDac: waveOutWrite Failed!",
                  "CDac: Cannot create the file " + (dir / "no/such/folder/rec.wav") + ".",
                  "CDac: waveInOpen Failed!"};
    want.resize(10, "CDac: waveInPrepareHeader Failed!");
    want.resize(17, "CDac: waveInAddBuffer Failed!");
    want.resize(19, "CDac: waveInStart Failed!");
    EXPECT_EQ(boxes.boxes, want);
    EXPECT_EQ(boxes.types, std::vector<unsigned>(19, MB_OK | MB_ICONEXCLAMATION));
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
    Record("rec.wav", 1, 1, 5, 8); // odd data gets its pad byte; late buffers change nothing
    Feed(Noise(5, 4));
    nullwave::StepIn("xxxx", 4);
    cdac.StopRecord();
    cdac.CleanUpRecord(); // after the stop: nothing left
    Pump();
    EXPECT_EQ(ReadBytes(dir / "rec.wav"), Wav(1, 1, 5, 8, Noise(5, 4)));
    EXPECT_EQ(nullwave::StepIn("yyyy", 4), 0u);
    EXPECT_EQ(boxes.boxes, Texts{});
}

// What the engine relies on: completions come through the event loop in queue
// order; a reset returns every buffer, a stop the one being filled.
TEST_F(Engine, TheDeviceReturnsBuffersInQueueOrderThroughTheEventLoop) {
    char data[4] = {1, 2, 3, 4};
    WAVEHDR hdr[3] = {{data, 4}, {data, 4}, {data, 4}};
    std::string got; // "o" (played) or "i" (recorded) and the buffer's number, each time
    owner.Receive = [&](unsigned m, WAVEHDR* h) {
        got += (m == MM_WOM_DONE ? "o" : m == MM_WIM_DATA ? "i" : "?") + std::to_string(h - hdr);
    };
    const WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0},
        odd{WAVE_FORMAT_PCM, 1, 8000, 8000, 2, 8, 0};
    EXPECT_EQ(WaveOutDeviceName(0) + "/" + WaveInDeviceName(0) + "/" + WaveOutDeviceName(1),
              "Null Output/Null Input/");
    HWAVEOUT hwo = nullptr, second = nullptr;
    ASSERT_EQ(waveOutOpen(&hwo, 0, &wf, &owner), MMSYSERR_NOERROR);
    std::vector<unsigned> codes = {waveOutOpen(&second, 0, &wf, &owner), // one at a time
                                   waveOutWrite(hwo, &hdr[0])};
    for (auto& h : hdr)
        codes.push_back(waveOutPrepareHeader(hwo, &h) + waveOutWrite(hwo, &h));
    codes.push_back(waveOutWrite(hwo, &hdr[0])); // already queued
    codes.push_back(waveOutUnprepareHeader(hwo, &hdr[0]));
    codes.push_back(waveOutClose(hwo));
    EXPECT_EQ(codes, (std::vector<unsigned>{MMSYSERR_ERROR, WAVERR_UNPREPARED, 0, 0, 0,
                                            MMSYSERR_INVALPARAM, WAVERR_STILLPLAYING,
                                            WAVERR_STILLPLAYING}));
    nullwave::StepOut(1);
    EXPECT_EQ(got, ""); // posted, not called
    Pump();
    EXPECT_EQ(got, "o0");
    waveOutReset(hwo);
    Pump();
    for (auto& h : hdr)
        EXPECT_EQ(h.dwFlags + waveOutUnprepareHeader(hwo, &h), WHDR_DONE | WHDR_PREPARED);
    EXPECT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
    HWAVEIN hwi = nullptr;
    ASSERT_EQ(waveInOpen(&hwi, 0, &wf, &owner), MMSYSERR_NOERROR);
    for (auto& h : hdr)
        waveInPrepareHeader(hwi, &h), waveInAddBuffer(hwi, &h);
    waveInStart(hwi);
    nullwave::StepIn("abcdef", 6);
    waveInStop(hwi);
    Pump();
    EXPECT_EQ(got + std::string(data, 4) + std::to_string(hdr[1].dwBytesRecorded),
              "o0o1o2i0i1efcd2");
    waveInReset(hwi);
    Pump();
    EXPECT_EQ(got, "o0o1o2i0i1i2");
    EXPECT_EQ((std::vector<unsigned>{
                  waveInClose(hwi), waveOutClose(nullptr), waveInOpen(&hwi, 1, &wf, &owner),
                  waveInOpen(nullptr, 0, &wf, &owner), waveOutOpen(&hwo, 0, &odd, &owner),
                  waveOutOpen(&hwo, 1, &wf, &owner)}),
              (std::vector<unsigned>{MMSYSERR_NOERROR, MMSYSERR_INVALHANDLE, MMSYSERR_BADDEVICEID,
                                     MMSYSERR_INVALPARAM, WAVERR_BADFORMAT, MMSYSERR_BADDEVICEID}));
    // Names are cut to 31 bytes, never inside a character ("é" is two bytes).
    EXPECT_EQ(ShortDeviceName(std::string(31, 'x') + "y"), std::string(31, 'x'));
    EXPECT_EQ(ShortDeviceName(std::string(30, 'a') + "\xC3\xA9zz"), std::string(30, 'a'));
}

// Files of csound, sox, ffmpeg and Debian's csound-doc: their format and length as ffprobe
// reads them, their sound as ffmpeg decodes it to the format the device was opened with.
TEST_F(Engine, RealFilesShowWhatFfprobeSaysAndPlayWhatFfmpegDecodes) {
    REQUIRE_SERVICE(RunProgram({"ffprobe", "-version"}).status == 0, "csound, sox and ffmpeg");
    WriteFile(dir / "t.orc", "sr=8000\nksmps=10\nnchnls=2\n0dbfs=1\ninstr 1\n"
                             "outs oscili(0.7, 441), oscili(0.4, 660)\nendin\n");
    WriteFile(dir / "t.sco", "i1 0 0.3\ne\n");
    const Texts sine = {"ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=d=0.3:r=8000"};
    const auto ff = [&](Texts more) {
        return more.insert(more.begin(), sine.begin(), sine.end()), more;
    };
    const std::string docs = "/usr/share/doc/csound-doc/html/examples/";
    struct Row {
        std::string name; // made in the test folder, or copied from csound-doc
        Texts make;       // writes % (to its standard output when the last word is pipe:1)
        std::string compression = {}; // refused, naming it
    };
    std::vector<Row> all = {
        {"sox.aiff",
         {"sox", "-n", "-r", "11025", "-c", "3", "-b", "24", "%", "synth", "0.2", "sine", "300"}},
        {"rf64.wav", ff({"-rf64", "always", "%"})},
        {"six.wav", ff({"-ac", "6", "-c:a", "pcm_s24le", "%"})}, // extensible
        {"piped.wav", ff({"-ac", "2", "-f", "wav", "pipe:1"})},
        {"ms.wav", ff({"-c:a", "adpcm_ms", "%"}), "Microsoft ADPCM"},
        {"ima.wav", ff({"-c:a", "adpcm_ima_wav", "%"}), "IMA ADPCM"},
        {"gsm.wav", ff({"-c:a", "gsm_ms", "%"}), "GSM 6.10"},
        {"ahh.aiff", {}},
        {"marmstk1.wav", {}},
    };
    for (const char* flags :
         {"W8", "Wa", "Wu", "Ws", "Wl", "Wf", "Ac", "Aa", "Au", "As", "Al", "Af"})
        all.push_back(
            {std::string("cs") + flags,
             {"csound", std::string("-d") + flags, "-o", "%", dir / "t.orc", dir / "t.sco"}});
    for (Row& r : all) {
        const std::string path = dir / r.name;
        SCOPED_TRACE(path);
        std::replace(r.make.begin(), r.make.end(), std::string("%"), path);
        const Outcome made =
            r.make.empty() ? Outcome{0, ReadFile(docs + r.name)} : RunProgram(r.make);
        ASSERT_EQ(made.status, 0);
        if (r.make.empty() || r.make.back() == "pipe:1")
            WriteFile(path, made.output);
        SampMmio mmio;
        WAVEINFO wi;
        std::uint64_t frames = 0;
        ASSERT_EQ(LoadSoundInfo(&mmio, &wi, path.c_str(), &frames), 1);
        const WAVEFORMATEX& f = wi.WaveFormat;
        frames = frames ? frames : wi.dwDataSize / (f.nChannels * (f.wBitsPerSample / 8u));
        EXPECT_EQ(RunProgram({"ffprobe", "-v", "error", "-show_entries",
                              "stream=sample_rate,channels,bits_per_sample,duration_ts", "-of",
                              "csv=p=0", path})
                      .output,
                  std::to_string(f.nSamplesPerSec) + "," + std::to_string(f.nChannels) + "," +
                      std::to_string(f.wBitsPerSample) + "," + std::to_string(frames) + "\n");
        boxes.boxes.clear();
        nullwave::Clear();
        Play({}, f.nChannels, f.nSamplesPerSec, f.wBitsPerSample, 1, r.name);
        while (cdac.GetbActiveDevice() && Step()) {
        }
        EXPECT_EQ(boxes.boxes,
                  r.compression.empty()
                      ? Texts{}
                      : Texts{"CDac: Cannot play this sound: it holds " + r.compression +
                              " compressed samples, which cannot be played."});
        const WAVEFORMATEX o = nullwave::OutFormat();
        const char* pcm[] = {"", "u8", "s16le", "s24le", "s32le"};
        const std::string as = o.wFormatTag == WAVE_FORMAT_IEEE_FLOAT
                                   ? "f" + std::to_string(o.wBitsPerSample) + "le"
                                   : pcm[o.wBitsPerSample / 8];
        const auto& played = nullwave::Played();
        EXPECT_TRUE(
            !r.compression.empty() ||
            std::string(played.begin(), played.end()) ==
                RunProgram({"ffmpeg", "-v", "error", "-i", path, "-f", as, "pipe:1"}).output)
            << as;
    }
}

// The number of the device of that name; the count when there is none.
std::uint16_t Device(const std::string& name, bool out) {
    unsigned i = 0;
    while (i < (out ? waveOutGetNumDevs() : waveInGetNumDevs()) &&
           (out ? WaveOutDeviceName(i) : WaveInDeviceName(i)) != name)
        ++i;
    return static_cast<std::uint16_t>(i);
}

// Runs the event loop until done() holds or the time is up.
bool Wait(const std::function<bool()>& done, double seconds) {
    return WaitFor([&] { return QCoreApplication::processEvents(), done(); }, seconds);
}

using AudioE2E = Engine;

// What the engine plays must come back from the sink's monitor sample for sample.
TEST_F(AudioE2E, WhatIsPlayedComesBackFromTheMonitorSampleForSample) {
    InstallWaveBackend(nullptr);
    REQUIRE_SERVICE(RunProgram({"pactl", "info"}).status == 0, "a PulseAudio server");
    const Outcome mono8 = RunProgram({"pactl", "load-module", "module-null-sink", "sink_name=mono8",
                                      "sink_properties=device.description=mono8", "norewinds=1",
                                      "rate=22050", "format=s16le", "channels=1"});
    ASSERT_EQ(mono8.status, 0) << mono8.output;
    const auto unload = qScopeGuard([&] {
        RunProgram({"pactl", "unload-module", std::to_string(std::stoul(mono8.output))});
    });
    // The server mixes in 16 bits: 8-bit passes exactly, 24-bit as its top. (Float and many
    // channels are heard through the window's own playback.)
    const Bytes s16 = Noise(44100 * 4 * 26 / 10, 3), u8 = Noise(22050 / 2 + 1, 5),
                s24 = Noise(44100 * 3, 17);
    Bytes top16;
    for (std::size_t i = 0; i + 2 < s24.size(); i += 3)
        top16.insert(top16.end(), {s24[i + 1], s24[i + 2]});
    // Recorded in buffers of an eighth of a second (stereo 16-bit: 22050 bytes, no whole frames).
    struct Case {
        Bytes data, expected;
        std::uint16_t tag, ch;
        std::uint32_t rate;
        std::uint16_t bits, perSec;
        std::string sink;
    } const cases[] = {
        {s16, s16, 1, 2, 44100, 16, 4, "Null Output"}, // 2.6 seconds outlast the ring
        {u8, u8, 1, 1, 22050, 8, 1, "mono8"},          // shorter than one buffer
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
        const auto in = Device("Monitor of " + c.sink, false), out = Device(c.sink, true);
        ASSERT_LT(in, waveInGetNumDevs()) << "no input device for the sink's monitor";
        ASSERT_LT(out, waveOutGetNumDevs()) << "no output device " << c.sink;
        const std::uint16_t recBits = c.bits == 8 ? 8 : 16;
        recorder.InitRecord(Init("rec.wav", c.ch, c.rate, recBits, 8, in));
        recorder.PrimeRecordFile(&owner);
        recorder.StartRecord(&owner);
        Wait([] { return false; }, 0.3);
        Play(Wav(c.tag, c.ch, c.rate, c.bits, c.data), c.ch, c.rate, c.bits, c.perSec, "play.wav",
             out);
        EXPECT_TRUE(Wait([this] { return cdac.GetbActiveDevice() == 0; }, 30)) << "still playing";
        Wait([&, after = filled + 4] { return filled >= after; }, 5); // the tail came back
        recorder.StopRecord();
        EXPECT_EQ(boxes.boxes, Texts{});
        const Bytes file = ReadBytes(dir / "rec.wav");
        ASSERT_GT(file.size(), 44u);
        Bytes rec(file.begin() + 44, file.end());
        EXPECT_TRUE(file == Wav(1, c.ch, c.rate, recBits, rec)) << "the header does not fit";
        const std::size_t n = c.expected.size();
        std::size_t at = 0; // where the whole sound starts, at a frame's start
        while (at + n <= rec.size() &&
               !std::equal(c.expected.begin(), c.expected.end(), rec.begin() + at))
            at += c.ch * recBits / 8u;
        ASSERT_LE(at + n, rec.size()) << "the sound is not whole and unchanged in the recording";
        rec.erase(rec.begin() + at, rec.begin() + at + n); // silence around it: nothing else
        EXPECT_EQ(std::count(rec.begin(), rec.end(), recBits == 8 ? 128 : 0), std::ssize(rec));
    }
}

} // namespace
