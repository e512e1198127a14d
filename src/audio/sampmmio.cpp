#include "audio/sampmmio.h"

#include "platform/messagebox.h"

#include <algorithm>
#include <iterator>

namespace {
// The field of `width` bytes at `at` of n decoded bytes: what of it the bytes
// reach replaces the field's own.
template <class Field>
void Decode(Field* field, const unsigned char* bytes, unsigned n, unsigned at, unsigned width) {
    if (n > at)
        *field = static_cast<Field>(ReadLE(bytes + at, std::min(n - at, width), *field));
}
} // namespace

void DecodeWaveFormat(WAVEFORMATEX* wf, const unsigned char* bytes, unsigned n) {
    std::uint16_t tag = wf->wFormatTag, ch = wf->nChannels, align = wf->nBlockAlign,
                  bits = wf->wBitsPerSample, cb = wf->cbSize;
    std::uint32_t rate = wf->nSamplesPerSec, avg = wf->nAvgBytesPerSec;
    Decode(&tag, bytes, n, 0, 2);
    Decode(&ch, bytes, n, 2, 2);
    Decode(&rate, bytes, n, 4, 4);
    Decode(&avg, bytes, n, 8, 4);
    Decode(&align, bytes, n, 12, 2);
    Decode(&bits, bytes, n, 14, 2);
    Decode(&cb, bytes, n, 16, 2);
    *wf = WAVEFORMATEX{tag, ch, rate, avg, align, bits, cb};
}

void DecodeSamplerData(SAMPLERDATA* sd, const unsigned char* bytes, unsigned n) {
    std::uint32_t* fields[] = {&sd->dwManufacturer,          &sd->dwProduct,
                               &sd->dwSamplePeriod,          &sd->dwMIDIUnityNote,
                               &sd->dwMIDIPitchFraction,     &sd->dwSMPTEFormat,
                               &sd->dwSMPTEOffset,           &sd->cSampleLoops,
                               &sd->cbSamplerData,           &sd->SustainLoop.dwIdentifier,
                               &sd->SustainLoop.dwType,      &sd->SustainLoop.dwStart,
                               &sd->SustainLoop.dwEnd,       &sd->SustainLoop.dwFraction,
                               &sd->SustainLoop.dwPlayCount, &sd->ReleaseLoop.dwIdentifier,
                               &sd->ReleaseLoop.dwType,      &sd->ReleaseLoop.dwStart,
                               &sd->ReleaseLoop.dwEnd,       &sd->ReleaseLoop.dwFraction,
                               &sd->ReleaseLoop.dwPlayCount};
    for (unsigned i = 0; i < std::size(fields); ++i)
        Decode(fields[i], bytes, n, 4 * i, 4);
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
        if (hMmio.FindChunk(&ckchild, &ckinfo, FOURCC_FMT)) {
            unsigned char fmt[18];
            const std::uint32_t want = std::min<std::uint32_t>(ckchild.cksize, 18);
            DecodeWaveFormat(&wf, fmt, hMmio.Read(fmt, want));
            hMmio.Ascend(&ckchild);

            if (hMmio.FindChunk(&ckchild, &ckinfo, FOURCC_DATA)) {
                // The length is what the file holds (see DataChunkBytes).
                dataSize = static_cast<std::uint32_t>(
                    std::min<std::uint64_t>(DataChunkBytes(hMmio, ckinfo, ckchild), 0xFFFFFFFFu));
                ok = 1;
                // Data that runs to the end of the file has nothing after it.
                const bool bStreamed = dataSize != ckchild.cksize;
                hMmio.Ascend(&ckchild);
                if (!bStreamed && hMmio.FindChunk(&ckchild, &ckinfo, FOURCC_SMPL)) {
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
    if (!hMmio.Descend(&ckinfo, nullptr, 0) || !hMmio.FindChunk(&ckchild, &ckinfo, FOURCC_DATA)) {
        hMmio.Close();
        return 0;
    }
    const auto size = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(DataChunkBytes(hMmio, ckinfo, ckchild), 0xFFFFFFFFu));
    std::shared_ptr<std::int16_t[]> block(new std::int16_t[size / 2 + 1]());
    const std::uint32_t got = hMmio.Read(block.get(), size);
    hMmio.Close();
    wi->hglbWaveBuffer = std::move(block);
    wi->lpSample = wi->hglbWaveBuffer.get();
    wi->dwDataSize = got;
    return 1;
}
