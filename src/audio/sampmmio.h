// The WAV file information reader: the sample format, the size of the sample
// data and the sampler chunk of a RIFF WAVE file.
#pragma once

#include "audio/riff.h"
#include "platform/sound/waveformat.h"

#include <cstdint>
#include <memory>

class SampMmio {
public:
    struct sampleloop_tag {
        std::uint32_t dwIdentifier = 0;
        std::uint32_t dwType = 0;
        std::uint32_t dwStart = 0;
        std::uint32_t dwEnd = 0;
        std::uint32_t dwFraction = 0;
        std::uint32_t dwPlayCount = 0;
    };
    struct samplerdata_tag {
        std::uint32_t dwManufacturer = 0;
        std::uint32_t dwProduct = 0;
        std::uint32_t dwSamplePeriod = 0;
        std::uint32_t dwMIDIUnityNote = 0;
        std::uint32_t dwMIDIPitchFraction = 0;
        std::uint32_t dwSMPTEFormat = 0;
        std::uint32_t dwSMPTEOffset = 0;
        std::uint32_t cSampleLoops = 0;
        std::uint32_t cbSamplerData = 0;
        sampleloop_tag SustainLoop;
        sampleloop_tag ReleaseLoop;
    };

    struct waveinfo_tag {
        // The sample data, set only by LoadSampleAudioData. The block is
        // released when the record is loaded again or destroyed.
        std::shared_ptr<std::int16_t[]> hglbWaveBuffer;
        std::int16_t* lpSample = nullptr;
        WAVEFORMATEX WaveFormat;
        std::uint32_t dwDataSize = 0;
        samplerdata_tag SamplerData;
    };

    // Reads the format, the data size and the sampler chunk of the file. The
    // data size is what the file holds, also when its header says otherwise
    // (see DataChunkBytes).
    // Returns 1 on success; 0 (and leaves *wi unchanged) when the file cannot
    // be opened, is not a RIFF file, or lacks a "fmt " or "data" chunk.
    int LoadSampleInfo(waveinfo_tag* wi, const char* path);

    // Loads the whole sample data into wi->hglbWaveBuffer. Returns 1 on
    // success; 0 when the file cannot be opened (with a message) or has no
    // "data" chunk. The block holds the data the file really has, so a header
    // that declares more than the file holds never allocates or reads more.
    int LoadSampleAudioData(waveinfo_tag* wi, const char* path);

private:
    RiffFile hMmio;
    MMCKINFO ckinfo;
    MMCKINFO ckchild;
};

using WAVEINFO = SampMmio::waveinfo_tag;
using SAMPLERDATA = SampMmio::samplerdata_tag;
using SAMPLELOOP = SampMmio::sampleloop_tag;
static_assert(sizeof(SAMPLELOOP) == 24);
static_assert(sizeof(SAMPLERDATA) == 84);

// Decodes the first n (at most 18) bytes of a format chunk over *wf; the
// fields the bytes do not reach keep their values.
void DecodeWaveFormat(WAVEFORMATEX* wf, const unsigned char* bytes, unsigned n);

// Decodes the first n (at most 84) bytes of a "smpl" chunk over *sd.
void DecodeSamplerData(SAMPLERDATA* sd, const unsigned char* bytes, unsigned n);
