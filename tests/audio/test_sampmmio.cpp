#include "audio/sampmmio.h"
#include "audio/wavfixture.h"

#include <cstring>
#include <tuple>

using namespace fixture;

namespace {

class SampMmioTest : public ::testing::Test {
protected:
    int Load(const Bytes& file) {
        WriteBytes(dir / "t.wav", file);
        return mmio.LoadSampleInfo(&wi, (dir / "t.wav").c_str());
    }
    TempDir dir;
    SampMmio mmio;
    WAVEINFO wi;
};

// A sampler chunk: seven header fields 101..107, the loop count, then loops
// whose six fields are 1000 * (loop + 1) + field.
Bytes Smpl(unsigned loops) {
    Bytes b;
    for (std::uint32_t i = 1; i <= 7; ++i)
        Put32(b, 100 + i);
    Put32(b, loops);
    Put32(b, 0);
    for (std::uint32_t l = 0; l < loops; ++l)
        for (std::uint32_t f = 0; f < 6; ++f)
            Put32(b, 1000 * (l + 1) + f);
    return b;
}

TEST_F(SampMmioTest, FormatAndDataSizeAreFoundPastOtherChunksAndKeepCbSize) {
    wi.WaveFormat.cbSize = 77;
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 2, 44100, 16)), Chunk("LIST", Noise(33)),
                         Chunk("junk", Noise(1)), Chunk("data", Noise(501))})),
              1);
    const WAVEFORMATEX& f = wi.WaveFormat;
    EXPECT_EQ(std::tie(f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.nAvgBytesPerSec,
                       f.nBlockAlign, f.wBitsPerSample, f.cbSize),
              std::make_tuple(1, 2, 44100u, 176400u, 4, 16, 77));
    EXPECT_EQ(wi.dwDataSize, 501u);

    for (unsigned extra : {2u, 24u}) { // 18- and 40-byte format chunks give exactly 18
        ASSERT_EQ(
            Load(Riff({Chunk("fmt ", Fmt(0xFFFE, 6, 48000, 24, extra)), Chunk("data", Noise(36))})),
            1);
        EXPECT_EQ(std::tie(f.wFormatTag, f.nChannels, f.cbSize),
                  std::make_tuple(0xFFFE, 6, static_cast<int>(extra) - 2));
    }
}

TEST_F(SampMmioTest, SamplerChunkAfterDataKeepsHeaderAndFirstTwoLoops) {
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 16)), Chunk("data", Noise(10)),
                         Chunk("smpl", Smpl(3))})),
              1);
    const SAMPLERDATA& s = wi.SamplerData;
    EXPECT_EQ(std::tie(s.dwManufacturer, s.dwSMPTEOffset, s.cSampleLoops),
              std::make_tuple(101u, 107u, 3u));
    EXPECT_EQ(std::tie(s.SustainLoop.dwIdentifier, s.SustainLoop.dwPlayCount,
                       s.ReleaseLoop.dwIdentifier, s.ReleaseLoop.dwPlayCount),
              std::make_tuple(1000u, 1005u, 2000u, 2005u));

    // A sampler chunk before the data is not found; the old loops are gone.
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 16)), Chunk("smpl", Smpl(1)),
                         Chunk("data", Noise(10))})),
              1);
    EXPECT_EQ(s.cSampleLoops, 0u);
    EXPECT_EQ(s.SustainLoop.dwIdentifier, 0u);
}

TEST_F(SampMmioTest, RefusesWhatIsNoWaveAndLeavesTheRecordAlone) {
    ASSERT_EQ(Load(Wav(1, 2, 44100, 16, Noise(8))), 1);
    Bytes aiff = Riff({Chunk("COMM", Noise(18)), Chunk("SSND", Noise(8))}, "AIFF");
    std::memcpy(aiff.data(), "FORM", 4);
    Bytes cut = Wav(1, 1, 8000, 8, Noise(8));
    cut.resize(30); // ends inside the format
    const Bytes cases[] = {
        aiff,
        {},
        cut,
        Riff({Chunk("data", Noise(8))}),                                    // no format
        Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8))}),                          // no data
        Riff({Chunk("data", Noise(8)), Chunk("fmt ", Fmt(1, 1, 8000, 8))}), // data first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(c), 0);
        EXPECT_EQ(wi.WaveFormat.nSamplesPerSec, 44100u);
        EXPECT_EQ(wi.dwDataSize, 8u);
    }
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, dir.path().c_str()), 0);
}

TEST_F(SampMmioTest, LyingSizesNeverLeadOutsideTheFile) {
    // A data chunk that declares more than the file holds reports its
    // declared size; a chunk whose size runs past the RIFF end hides "data".
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", Noise(4), 0x7FFFFFF0)})),
              1);
    EXPECT_EQ(wi.dwDataSize, 0x7FFFFFF0u);
    EXPECT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("LIST", Noise(4), 0xFFFFFFF0),
                         Chunk("data", Noise(4))})),
              0);
    // A short format chunk replaces only the bytes it has.
    wi.WaveFormat.wBitsPerSample = 99;
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Bytes{3, 0, 2, 0}), Chunk("data", Noise(2))})), 1);
    EXPECT_EQ(
        std::tie(wi.WaveFormat.wFormatTag, wi.WaveFormat.nChannels, wi.WaveFormat.wBitsPerSample),
        std::make_tuple(3, 2, 99));
}

TEST_F(SampMmioTest, AudioDataHoldsWhatTheFileHas) {
    const Bytes data = Noise(1001);
    WriteBytes(dir / "a.wav", Wav(1, 1, 8000, 8, data));
    ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "a.wav").c_str()), 1);
    ASSERT_EQ(wi.dwDataSize, 1001u);
    EXPECT_EQ(0, std::memcmp(wi.lpSample, data.data(), data.size()));

    // Declared 1 GB, present 4 bytes: only the 4 bytes are taken.
    WriteBytes(dir / "b.wav", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)),
                                    Chunk("data", Bytes{1, 2, 3, 4}, 1u << 30)}));
    ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "b.wav").c_str()), 1);
    EXPECT_EQ(wi.dwDataSize, 4u);

    BoxRecorder boxes;
    EXPECT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Quorvel debug: Invalid hMmio!"});
}

} // namespace
