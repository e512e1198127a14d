#include "audio/soundinfo.h"

#include "audio/sndsource.h"

#include <algorithm>
#include <cstring>

namespace {
// The sub-format GUID of an extensible format chunk ends in these 14 bytes
// when its first two name a plain format tag.
constexpr unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr FOURCC FOURCC_FACT = MakeFourCC('f', 'a', 'c', 't');
} // namespace

bool WaveFileTag(const char* path, std::uint16_t* tag, std::uint32_t* pdwFactFrames) {
    RiffFile f;
    MMCKINFO riff, fmt, fact;
    riff.fccType = FOURCC_WAVE;
    if (!f.Open(path) || !f.Descend(&riff, nullptr, MMIO_FINDRIFF) ||
        !f.FindChunk(&fmt, &riff, FOURCC_FMT) || fmt.cksize < 2)
        return false;
    unsigned char b[40] = {};
    const std::uint32_t got = f.Read(b, std::min<std::uint32_t>(fmt.cksize, 40));
    if (got < 2)
        return false;
    *tag = static_cast<std::uint16_t>(ReadLE(b, 2));
    if (*tag == WAVE_FORMAT_EXTENSIBLE && got >= 40 && std::memcmp(b + 26, kGuidTail, 14) == 0)
        *tag = static_cast<std::uint16_t>(ReadLE(b + 24, 2));
    if (pdwFactFrames != nullptr) {
        *pdwFactFrames = 0;
        unsigned char n[4];
        f.Ascend(&fmt);
        if (f.FindChunk(&fact, &riff, FOURCC_FACT) && fact.cksize >= 4 && f.Read(n, 4) == 4)
            *pdwFactFrames = ReadLE(n, 4);
    }
    return true;
}

int LoadSoundInfo(SampMmio* mmio, WAVEINFO* wi, const char* path, std::uint64_t* pqwFrames) {
    *pqwFrames = 0;
    if (mmio->LoadSampleInfo(wi, path)) {
        std::uint16_t tag = 0;
        std::uint32_t dwFact = 0;
        // Compressed samples have no fixed size: their "fact" chunk counts them.
        if (WaveFileTag(path, &tag, &dwFact) && tag != WAVE_FORMAT_PCM &&
            tag != WAVE_FORMAT_IEEE_FLOAT && tag != WAVE_FORMAT_ALAW && tag != WAVE_FORMAT_MULAW)
            *pqwFrames = dwFact;
        return 1;
    }
    SndFacts facts;
    if (!ReadSndFacts(path, &facts))
        return 0;
    wi->WaveFormat = facts.WaveFormat;
    wi->dwDataSize = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(facts.qwFrames * facts.WaveFormat.nBlockAlign, 0xFFFFFFFFu));
    wi->SamplerData = SAMPLERDATA{};
    *pqwFrames = facts.qwFrames;
    return 1;
}
