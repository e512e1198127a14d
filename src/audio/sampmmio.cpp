#include "audio/sampmmio.h"

#include "platform/messagebox.h"

#include <algorithm>
#include <cstring>

void DecodeWaveFormat(WAVEFORMATEX* wf, const unsigned char* bytes, unsigned n) {
    // Start from the record's own bytes so a short chunk only replaces what it
    // covers, exactly as a byte copy would.
    unsigned char img[18];
    WriteLE16(img + 0, wf->wFormatTag);
    WriteLE16(img + 2, wf->nChannels);
    WriteLE32(img + 4, wf->nSamplesPerSec);
    WriteLE32(img + 8, wf->nAvgBytesPerSec);
    WriteLE16(img + 12, wf->nBlockAlign);
    WriteLE16(img + 14, wf->wBitsPerSample);
    WriteLE16(img + 16, wf->cbSize);
    std::memcpy(img, bytes, std::min(n, 18u));
    wf->wFormatTag = ReadLE16(img + 0);
    wf->nChannels = ReadLE16(img + 2);
    wf->nSamplesPerSec = ReadLE32(img + 4);
    wf->nAvgBytesPerSec = ReadLE32(img + 8);
    wf->nBlockAlign = ReadLE16(img + 12);
    wf->wBitsPerSample = ReadLE16(img + 14);
    wf->cbSize = ReadLE16(img + 16);
}

namespace {
constexpr unsigned kSamplerFields = 84 / 4;

std::uint32_t* SamplerField(SAMPLERDATA* sd, unsigned i) {
    std::uint32_t* head[] = {&sd->dwManufacturer,  &sd->dwProduct,           &sd->dwSamplePeriod,
                             &sd->dwMIDIUnityNote, &sd->dwMIDIPitchFraction, &sd->dwSMPTEFormat,
                             &sd->dwSMPTEOffset,   &sd->cSampleLoops,        &sd->cbSamplerData};
    if (i < 9)
        return head[i];
    SAMPLELOOP* loop = i < 15 ? &sd->SustainLoop : &sd->ReleaseLoop;
    std::uint32_t* fields[] = {&loop->dwIdentifier, &loop->dwType,     &loop->dwStart,
                               &loop->dwEnd,        &loop->dwFraction, &loop->dwPlayCount};
    return fields[(i - 9) % 6];
}
} // namespace

void DecodeSamplerData(SAMPLERDATA* sd, const unsigned char* bytes, unsigned n) {
    unsigned char img[84];
    for (unsigned i = 0; i < kSamplerFields; ++i)
        WriteLE32(img + 4 * i, *SamplerField(sd, i));
    std::memcpy(img, bytes, std::min(n, 84u));
    for (unsigned i = 0; i < kSamplerFields; ++i)
        *SamplerField(sd, i) = ReadLE32(img + 4 * i);
}

int SampMmio::LoadSampleInfo(waveinfo_tag* wi, const char* path) {
    if (!hMmio.Open(path))
        return 0;
    // Work on a copy so a file that turns out unreadable changes nothing.
    WAVEFORMATEX wf = wi->WaveFormat;
    SAMPLERDATA sd;
    std::uint32_t dataSize = 0;
    int ok = 0;

    ckinfo = MMCKINFO{};
    if (hMmio.Descend(&ckinfo, nullptr, MMIO_FINDRIFF)) {
        ckchild = MMCKINFO{};
        ckchild.ckid = FOURCC_FMT;
        if (hMmio.Descend(&ckchild, &ckinfo, MMIO_FINDCHUNK)) {
            unsigned char fmt[18];
            const std::uint32_t want = std::min<std::uint32_t>(ckchild.cksize, 18);
            DecodeWaveFormat(&wf, fmt, hMmio.Read(fmt, want));
            hMmio.Ascend(&ckchild);

            ckchild = MMCKINFO{};
            ckchild.ckid = FOURCC_DATA;
            if (hMmio.Descend(&ckchild, &ckinfo, MMIO_FINDCHUNK)) {
                dataSize = ckchild.cksize;
                ok = 1;
                hMmio.Ascend(&ckchild);
                ckchild = MMCKINFO{};
                ckchild.ckid = FOURCC_SMPL;
                if (hMmio.Descend(&ckchild, &ckinfo, MMIO_FINDCHUNK)) {
                    unsigned char smpl[84];
                    const std::uint32_t n = std::min<std::uint32_t>(ckchild.cksize, 84);
                    DecodeSamplerData(&sd, smpl, hMmio.Read(smpl, n));
                }
            }
        }
    }
    hMmio.Close();
    if (ok) {
        wi->WaveFormat = wf;
        wi->dwDataSize = dataSize;
        wi->SamplerData = sd; // cleared when the file has no sampler chunk
    }
    return ok;
}

int SampMmio::LoadSampleAudioData(waveinfo_tag* wi, const char* path) {
    if (!hMmio.Open(path)) {
        MessageBox("Invalid hMmio!", "Quorvel debug", MB_OK);
        return 0;
    }
    ckinfo = MMCKINFO{};
    ckchild = MMCKINFO{};
    ckchild.ckid = FOURCC_DATA;
    if (!hMmio.Descend(&ckinfo, nullptr, 0) || !hMmio.Descend(&ckchild, &ckinfo, MMIO_FINDCHUNK)) {
        hMmio.Close();
        return 0;
    }
    const std::uint64_t avail = hMmio.FileSize() - hMmio.Tell();
    const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(ckchild.cksize, avail));
    std::shared_ptr<std::int16_t[]> block(new std::int16_t[size / 2 + 1]());
    const std::uint32_t got = hMmio.Read(block.get(), size);
    hMmio.Close();
    wi->hglbWaveBuffer = std::move(block);
    wi->lpSample = wi->hglbWaveBuffer.get();
    wi->dwDataSize = got;
    return 1;
}
