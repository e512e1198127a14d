#include "audio/sampmmio.h"
#include "audio/wavfixture.h"
#include "platform/files/regularfile.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixture;

namespace {

using Numbers = std::vector<std::uint32_t>;

// A sampler chunk's numbers: 101..107, the loop count, 0, six per loop
// (1000 * (loop + 1) + field); cut or padded with zeros to keep when not 0.
Numbers SmplFields(unsigned loops, unsigned keep = 0) {
    Numbers v = {101, 102, 103, 104, 105, 106, 107, loops, 0};
    for (std::uint32_t i = 0; i < 6 * loops; ++i)
        v.push_back(1000 * (i / 6 + 1) + i % 6);
    v.resize(keep ? keep : v.size());
    return v;
}
Bytes Smpl(unsigned loops) {
    Bytes b;
    for (std::uint32_t x : SmplFields(loops))
        Put(b, x, 4);
    return b;
}

TEST(WavInfo, EachFileGivesItsFormatDataSizeAndSamplerChunkOrChangesNothing) {
    const Numbers before = {7, 0x0105, 11, 12, 13, 99, 77, 5};
    const auto pcm = [](std::uint32_t size) {
        return Numbers{1, 2, 44100, 176400, 4, 16, 77, size};
    };
    const Bytes fmt = Chunk("fmt ", Fmt(1, 2, 44100, 16));
    Bytes aiff = Riff({Chunk("COMM", Noise(18)), Chunk("SSND", Noise(8))}, "AIFF"),
          cut = Wav(1, 1, 8000, 8, Noise(8));
    std::memcpy(aiff.data(), "FORM", 4);
    cut.resize(30);                                        // ends inside the format
    Bytes piped = Riff({fmt, Chunk("data", Noise(6), 0)}); // written to a pipe: sizes left 0
    std::fill_n(piped.begin() + 4, 4, 0);
    struct Case {
        Bytes file;
        Numbers format; // and the data size; empty: refused, the record unchanged
        int loops = -1; // the sampler chunk read, with that many loops; -1: none
    } const cases[] = {
        // A 16-byte format keeps cbSize; other chunks are passed over with their pad.
        {Riff({fmt, Chunk("LIST", Noise(33)), Chunk("junk", Noise(1)), Chunk("data", Noise(501))}),
         pcm(501)},
        {Riff({Chunk("fmt ", Fmt(0xFFFE, 6, 48000, 24, 24)), Chunk("data", Noise(36))}),
         {0xFFFE, 6, 48000, 864000, 18, 24, 22, 36}},
        {Riff({Chunk("fmt ", Fmt(3, 1, 8000, 32, 2)), Chunk("data", {})}),
         {3, 1, 8000, 32000, 4, 32, 0, 0}},
        // A short format replaces only the bytes it has, even half a field.
        {Riff({Chunk("fmt ", {3, 0, 2}), Chunk("data", Noise(2))}),
         {3, 0x0102, 11, 12, 13, 99, 77, 2}},
        // The sampler chunk after the data gives its header and first two loops.
        {Riff({fmt, Chunk("data", Noise(11)), Chunk("smpl", Smpl(3))}), pcm(11), 3},
        {Riff({fmt, Chunk("data", Noise(10)), Chunk("smpl", Smpl(1))}), pcm(10), 1},
        {Riff({fmt, Chunk("smpl", Smpl(1)), Chunk("data", Noise(10))}), pcm(10)}, // before it
        // The length is what the file holds: sizes past its end or left 0 by a stream.
        {Riff({fmt, Chunk("data", Noise(4), 0xFFFFFFFF)}), pcm(4)},
        {piped, pcm(6)},
        {Riff({fmt, Chunk("data", {}), Chunk("LIST", Noise(4))}), pcm(0)},
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
        const WAVEFORMATEX& f = wi.WaveFormat;
        EXPECT_EQ(Numbers({f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.nAvgBytesPerSec,
                           f.nBlockAlign, f.wBitsPerSample, f.cbSize, wi.dwDataSize}),
                  c.format.empty() ? before : c.format);
        Numbers got(21), want = c.loops < 0 ? Numbers(21, 0) : SmplFields(c.loops, 21);
        std::memcpy(got.data(), &wi.SamplerData, sizeof wi.SamplerData);
        if (c.format.empty())
            want = Numbers(21, 0), want[7] = 9;
        EXPECT_EQ(got, want);
    }
}

TEST(WavInfo, AudioDataHoldsWhatTheFileHasAndMissingFilesAreRefused) {
    TempDir dir;
    SampMmio mmio;
    WAVEINFO wi;
    BoxAnswerer boxes{IDOK};
    // Declared 1 GB, present 4 bytes: only the 4 bytes are taken.
    for (const Bytes& got : {Noise(1001), Bytes{1, 2, 3, 4}}) {
        const std::int64_t declared = got.size() == 4 ? 1 << 30 : -1;
        WriteBytes(dir / "a.wav", Riff({Chunk("LIST", Noise(3)), Chunk("data", got, declared)}));
        ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "a.wav").c_str()), 1);
        const auto* p = reinterpret_cast<const unsigned char*>(wi.lpSample);
        EXPECT_EQ(Bytes(p, p + wi.dwDataSize), got);
    }
    WriteBytes(dir / "a.wav", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8))}));
    EXPECT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "a.wav").c_str()), 0);
    EXPECT_EQ(wi.dwDataSize, 4u);
    EXPECT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Quorvel debug: Invalid hMmio!"});
    EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_OK});
}

} // namespace

TEST(WavInfo, OnlyRegularFilesAreReadAndNoneIsWaitedFor) {
    TempDir dir;
    const Bytes wav = Wav(1, 1, 8000, 8, Noise(8));
    WriteBytes(dir / "real.wav", wav);
    ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0644), 0); // opened blocking, it would hang
    const std::pair<std::string, std::string> kinds[] = {
        {dir / "real.wav", ""},
        {dir / "pipe.wav", "it is a named pipe"},
        {"/dev/zero", "it is a device"},
        {dir.path(), "it is a folder"},
        {dir / "missing.wav", "No such file or directory"}};
    for (const auto& [path, why] : kinds) {
        SampMmio mmio;
        WAVEINFO wi;
        EXPECT_EQ(NotRegularFileReason(path), why) << path;
        EXPECT_EQ(mmio.LoadSampleInfo(&wi, path.c_str()), why.empty() ? 1 : 0) << path;
    }
}
