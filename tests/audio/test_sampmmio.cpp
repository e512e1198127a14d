#include "audio/sampmmio.h"
#include "audio/wavfixture.h"

#include <cstring>

using namespace fixture;

namespace {

// The 21 numbers of a sampler chunk: header fields 101..107, the loop count,
// 0, then loops whose six fields are 1000 * (loop + 1) + field.
std::vector<std::uint32_t> SmplFields(unsigned loops) {
    std::vector<std::uint32_t> v = {101, 102, 103, 104, 105, 106, 107, loops, 0};
    for (std::uint32_t l = 0; l < loops; ++l)
        for (std::uint32_t f = 0; f < 6; ++f)
            v.push_back(1000 * (l + 1) + f);
    return v;
}
Bytes Smpl(unsigned loops) {
    Bytes b;
    for (std::uint32_t x : SmplFields(loops))
        Put32(b, x);
    return b;
}
std::vector<std::uint32_t> Fields(const SAMPLERDATA& s) {
    std::vector<std::uint32_t> v = {s.dwManufacturer,  s.dwProduct,           s.dwSamplePeriod,
                                    s.dwMIDIUnityNote, s.dwMIDIPitchFraction, s.dwSMPTEFormat,
                                    s.dwSMPTEOffset,   s.cSampleLoops,        s.cbSamplerData};
    for (const SAMPLELOOP& l : {s.SustainLoop, s.ReleaseLoop})
        v.insert(v.end(),
                 {l.dwIdentifier, l.dwType, l.dwStart, l.dwEnd, l.dwFraction, l.dwPlayCount});
    return v;
}
std::vector<std::uint32_t> Fields(const WAVEFORMATEX& f) {
    return {f.wFormatTag,  f.nChannels,      f.nSamplesPerSec, f.nAvgBytesPerSec,
            f.nBlockAlign, f.wBitsPerSample, f.cbSize};
}

TEST(WavInfo, EachFileGivesItsFormatDataSizeAndSamplerChunkOrChangesNothing) {
    const std::vector<std::uint32_t> before = {7, 0x0105, 11, 12, 13, 99, 77},
                                     pcm = {1, 2, 44100, 176400, 4, 16, 77};
    const Bytes fmt = Chunk("fmt ", Fmt(1, 2, 44100, 16));
    Bytes aiff = Riff({Chunk("COMM", Noise(18)), Chunk("SSND", Noise(8))}, "AIFF");
    std::memcpy(aiff.data(), "FORM", 4);
    Bytes cut = Wav(1, 1, 8000, 8, Noise(8));
    cut.resize(30); // ends inside the format
    struct Case {
        Bytes file;
        std::vector<std::uint32_t> format; // empty: refused, the record unchanged
        std::uint32_t dataSize = 0;
        int loops = -1; // the sampler chunk read, with that many loops; -1: none
    };
    const Case cases[] = {
        // A 16-byte format keeps cbSize; other chunks are passed over with their pad.
        {Riff({fmt, Chunk("LIST", Noise(33)), Chunk("junk", Noise(1)), Chunk("data", Noise(501))}),
         pcm, 501},
        {Riff({Chunk("fmt ", Fmt(0xFFFE, 6, 48000, 24, 24)), Chunk("data", Noise(36))}),
         {0xFFFE, 6, 48000, 864000, 18, 24, 22},
         36},
        {Riff({Chunk("fmt ", Fmt(3, 1, 8000, 32, 2)), Chunk("data", Noise(4))}),
         {3, 1, 8000, 32000, 4, 32, 0},
         4},
        // A short format replaces only the bytes it has, even half a field.
        {Riff({Chunk("fmt ", Bytes{3, 0, 2}), Chunk("data", Noise(2))}),
         {3, 0x0102, 11, 12, 13, 99, 77},
         2},
        // The sampler chunk after the data: its header and first two loops.
        {Riff({fmt, Chunk("data", Noise(11)), Chunk("smpl", Smpl(3))}), pcm, 11, 3},
        {Riff({fmt, Chunk("data", Noise(10)), Chunk("smpl", Smpl(1))}), pcm, 10, 1},
        {Riff({fmt, Chunk("smpl", Smpl(1)), Chunk("data", Noise(10))}), // before: not found
         pcm, 10},
        {Riff({fmt, Chunk("data", Noise(4), 0x7FFFFFF0)}), pcm,
         0x7FFFFFF0}, // a lying size is reported as declared
        {aiff, {}},
        {{}, {}},
        {cut, {}},
        {Riff({Chunk("data", Noise(8))}), {}},
        {Riff({fmt}), {}},
        {Riff({Chunk("data", Noise(8)), fmt}), {}},
        {Riff({fmt, Chunk("LIST", Noise(4), 0xFFFFFFF0), Chunk("data", Noise(4))}), {}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SampMmio mmio;
        WAVEINFO wi;
        wi.WaveFormat = {7, 0x0105, 11, 12, 13, 99, 77};
        wi.dwDataSize = 5;
        wi.SamplerData.cSampleLoops = 9;
        WriteBytes(dir / "t.wav", c.file);
        EXPECT_EQ(mmio.LoadSampleInfo(&wi, (dir / "t.wav").c_str()), c.format.empty() ? 0 : 1);
        EXPECT_EQ(Fields(wi.WaveFormat), c.format.empty() ? before : c.format);
        EXPECT_EQ(wi.dwDataSize, c.format.empty() ? 5u : c.dataSize);
        std::vector<std::uint32_t> sampler = SmplFields(c.loops < 0 ? 0 : c.loops);
        sampler.resize(21);
        if (c.loops < 0)
            std::fill(sampler.begin(), sampler.end(), 0);
        if (c.format.empty())
            sampler[7] = 9;
        EXPECT_EQ(Fields(wi.SamplerData), sampler);
    }
    SampMmio mmio;
    WAVEINFO wi;
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, dir.path().c_str()), 0); // a folder
}

TEST(WavInfo, AudioDataHoldsWhatTheFileHas) {
    TempDir dir;
    SampMmio mmio;
    WAVEINFO wi;
    const Bytes data = Noise(1001);
    struct Case {
        Bytes file;
        int ok;
        Bytes got;
    } const cases[] = {
        {Riff({Chunk("LIST", Noise(3)), Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", data)}), 1,
         data},
        // Declared 1 GB, present 4 bytes: only the 4 bytes are taken.
        {Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", {1, 2, 3, 4}, 1u << 30)}),
         1,
         {1, 2, 3, 4}},
        {Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8))}), 0, {1, 2, 3, 4}}, // no data: unchanged
    };
    BoxRecorder boxes;
    for (const Case& c : cases) {
        WriteBytes(dir / "a.wav", c.file);
        ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "a.wav").c_str()), c.ok);
        ASSERT_EQ(wi.dwDataSize, c.got.size());
        EXPECT_EQ(0, std::memcmp(wi.lpSample, c.got.data(), c.got.size()));
    }
    EXPECT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Quorvel debug: Invalid hMmio!"});
    EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_OK});
}

} // namespace
