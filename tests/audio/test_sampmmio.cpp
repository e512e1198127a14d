#include "audio/sampmmio.h"
#include "audio/wavfixture.h"
#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace fixture;

namespace {

class SampMmioTest : public ::testing::Test {
protected:
    int Load(const Bytes& file) {
        WriteFile(dir / "t.wav", file);
        return mmio.LoadSampleInfo(&wi, (dir / "t.wav").c_str());
    }
    TempDir dir;
    SampMmio mmio;
    WAVEINFO wi;
};

Bytes Cut(Bytes b, std::size_t n) {
    b.resize(n);
    return b;
}

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

TEST_F(SampMmioTest, CanonicalFileGivesFormatAndDataSizeAndKeepsCbSize) {
    wi.WaveFormat.cbSize = 77;
    ASSERT_EQ(Load(Wav(1, 2, 44100, 16, Noise(1000))), 1);
    EXPECT_EQ(wi.WaveFormat.wFormatTag, 1);
    EXPECT_EQ(wi.WaveFormat.nChannels, 2);
    EXPECT_EQ(wi.WaveFormat.nSamplesPerSec, 44100u);
    EXPECT_EQ(wi.WaveFormat.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(wi.WaveFormat.nBlockAlign, 4);
    EXPECT_EQ(wi.WaveFormat.wBitsPerSample, 16);
    EXPECT_EQ(wi.WaveFormat.cbSize, 77);
    EXPECT_EQ(wi.dwDataSize, 1000u);
}

TEST_F(SampMmioTest, SkipsOtherChunksIncludingOddSizedOnesWithTheirPad) {
    const Bytes file = Riff({Chunk("fmt ", Fmt(1, 1, 22050, 8)), Chunk("LIST", Noise(33)),
                             Chunk("junk", Noise(1)), Chunk("data", Noise(501))});
    ASSERT_EQ(Load(file), 1);
    EXPECT_EQ(wi.WaveFormat.nSamplesPerSec, 22050u);
    EXPECT_EQ(wi.dwDataSize, 501u);
}

TEST_F(SampMmioTest, LongFormatChunksGiveExactlyEighteenBytes) {
    for (unsigned extra : {2u, 24u}) { // 18- and 40-byte format chunks
        const Bytes file =
            Riff({Chunk("fmt ", Fmt(0xFFFE, 6, 48000, 24, extra)), Chunk("data", Noise(36))});
        ASSERT_EQ(Load(file), 1) << extra;
        EXPECT_EQ(wi.WaveFormat.wFormatTag, 0xFFFE);
        EXPECT_EQ(wi.WaveFormat.nChannels, 6);
        EXPECT_EQ(wi.WaveFormat.cbSize, extra - 2);
        EXPECT_EQ(wi.dwDataSize, 36u);
    }
}

TEST_F(SampMmioTest, SamplerChunkAfterDataKeepsHeaderAndFirstTwoLoops) {
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 16)), Chunk("data", Noise(10)),
                         Chunk("smpl", Smpl(3))})),
              1);
    EXPECT_EQ(wi.SamplerData.dwManufacturer, 101u);
    EXPECT_EQ(wi.SamplerData.dwSMPTEOffset, 107u);
    EXPECT_EQ(wi.SamplerData.cSampleLoops, 3u);
    EXPECT_EQ(wi.SamplerData.SustainLoop.dwIdentifier, 1000u);
    EXPECT_EQ(wi.SamplerData.SustainLoop.dwPlayCount, 1005u);
    EXPECT_EQ(wi.SamplerData.ReleaseLoop.dwIdentifier, 2000u);
    EXPECT_EQ(wi.SamplerData.ReleaseLoop.dwPlayCount, 2005u);

    // A sampler chunk before the data is not found; the old loops are gone.
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 16)), Chunk("smpl", Smpl(1)),
                         Chunk("data", Noise(10))})),
              1);
    EXPECT_EQ(wi.SamplerData.cSampleLoops, 0u);
    EXPECT_EQ(wi.SamplerData.SustainLoop.dwIdentifier, 0u);
    EXPECT_EQ(wi.dwDataSize, 10u);
}

TEST_F(SampMmioTest, RefusesWhatIsNoWaveAndLeavesTheRecordAlone) {
    ASSERT_EQ(Load(Wav(1, 2, 44100, 16, Noise(8))), 1);
    const WAVEINFO before = wi;
    Bytes aiff = Riff({Chunk("COMM", Noise(18)), Chunk("SSND", Noise(8))}, "AIFF");
    aiff[0] = 'F', aiff[1] = 'O', aiff[2] = 'R', aiff[3] = 'M';
    const Bytes cases[] = {
        aiff,
        {},
        Riff({Chunk("data", Noise(8))}),                                    // no format
        Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8))}),                          // no data
        Riff({Chunk("data", Noise(8)), Chunk("fmt ", Fmt(1, 1, 8000, 8))}), // data first
        Cut(Wav(1, 1, 8000, 8, Noise(8)), 30), // ends inside the format
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(c), 0);
        EXPECT_EQ(wi.WaveFormat.nSamplesPerSec, before.WaveFormat.nSamplesPerSec);
        EXPECT_EQ(wi.dwDataSize, before.dwDataSize);
    }
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(mmio.LoadSampleInfo(&wi, dir.path().c_str()), 0);
}

TEST_F(SampMmioTest, LyingSizesNeverLeadOutsideTheFile) {
    // A data chunk that declares more than the file holds reports its
    // declared size; a chunk whose size runs past the RIFF end hides "data".
    Bytes file = Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", Noise(4), 0x7FFFFFF0)});
    ASSERT_EQ(Load(file), 1);
    EXPECT_EQ(wi.dwDataSize, 0x7FFFFFF0u);
    EXPECT_EQ(Load(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("LIST", Noise(4), 0xFFFFFFF0),
                         Chunk("data", Noise(4))})),
              0);
    // A short format chunk replaces only the bytes it has.
    wi.WaveFormat.wBitsPerSample = 99;
    ASSERT_EQ(Load(Riff({Chunk("fmt ", Bytes{3, 0, 2, 0}), Chunk("data", Noise(2))})), 1);
    EXPECT_EQ(wi.WaveFormat.wFormatTag, 3);
    EXPECT_EQ(wi.WaveFormat.nChannels, 2);
    EXPECT_EQ(wi.WaveFormat.wBitsPerSample, 99);
}

TEST_F(SampMmioTest, AudioDataHoldsWhatTheFileHas) {
    const Bytes data = Noise(1001);
    WriteFile(dir / "a.wav", Wav(1, 1, 8000, 8, data));
    ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "a.wav").c_str()), 1);
    ASSERT_EQ(wi.dwDataSize, 1001u);
    EXPECT_EQ(0, std::memcmp(wi.lpSample, data.data(), data.size()));

    // Declared 1 GB, present 4 bytes: only the 4 bytes are taken.
    WriteFile(dir / "b.wav", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)),
                                   Chunk("data", Bytes{1, 2, 3, 4}, 1u << 30)}));
    ASSERT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "b.wav").c_str()), 1);
    EXPECT_EQ(wi.dwDataSize, 4u);

    std::string shown;
    auto old =
        SetMessageBoxHandler([&](const std::string& text, const std::string& caption, unsigned) {
            shown = caption + ": " + text;
            return IDOK;
        });
    EXPECT_EQ(mmio.LoadSampleAudioData(&wi, (dir / "missing.wav").c_str()), 0);
    EXPECT_EQ(shown, "Quorvel debug: Invalid hMmio!");
    SetMessageBoxHandler(old);
}

} // namespace
