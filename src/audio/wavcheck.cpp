// Deciding whether a sound can be played, and as what.
#include "audio/cdac32.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The sub-format GUID of an extensible format chunk ends in these 14 bytes
// when its first two name a plain format tag.
constexpr unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::string TagName(std::uint16_t tag) {
    switch (tag) {
    case WAVE_FORMAT_ALAW:
        return "A-law compressed";
    case WAVE_FORMAT_MULAW:
        return "mu-law compressed";
    case WAVE_FORMAT_ADPCM:
        return "ADPCM compressed";
    default: {
        char buf[48];
        std::snprintf(buf, sizeof buf, "compressed (format 0x%04X)", tag);
        return buf;
    }
    }
}

// Reads the file's format tag, resolving an extensible one to its sub-format.
// Returns false when the file has no readable format chunk.
bool FileFormatTag(const char* path, std::uint16_t* tag) {
    RiffFile f;
    MMCKINFO riff, fmt;
    if (!f.Open(path) || !f.Descend(&riff, nullptr, MMIO_FINDRIFF) ||
        !f.FindChunk(&fmt, &riff, FOURCC_FMT) || fmt.cksize < 2)
        return false;
    unsigned char b[40] = {};
    const std::uint32_t got = f.Read(b, fmt.cksize < 40 ? fmt.cksize : 40);
    if (got < 2)
        return false;
    *tag = static_cast<std::uint16_t>(ReadLE(b, 2));
    if (*tag == WAVE_FORMAT_EXTENSIBLE && got >= 40 && std::memcmp(b + 26, kGuidTail, 14) == 0)
        *tag = static_cast<std::uint16_t>(ReadLE(b + 24, 2));
    return true;
}

constexpr char kUnreadable[] = "it is not a readable WAV file.";

} // namespace

std::string PlaybackFormatReason(const CDAC::dac_init& d, std::uint16_t* tag) {
    if (d.wNchnls == 0)
        return "it has no channels.";
    if (d.dwSampleRate == 0)
        return "its sample rate is 0.";
    if (d.wBits < 8 || d.wBits % 8 != 0)
        return "samples of " + std::to_string(d.wBits) + " bits are not supported.";
    if (!FileFormatTag(d.lpszFileName, tag))
        return kUnreadable;
    if (*tag == WAVE_FORMAT_IEEE_FLOAT) {
        if (d.wBits != 32 && d.wBits != 64)
            return "float samples of " + std::to_string(d.wBits) + " bits are not supported.";
    } else if (*tag == WAVE_FORMAT_PCM) {
        if (d.wBits > 32)
            return "samples of " + std::to_string(d.wBits) + " bits are not supported.";
    } else {
        return TagName(*tag) + " data is not supported.";
    }
    const std::uint64_t perSec = std::uint64_t{d.wNchnls} * d.dwSampleRate * (d.wBits / 8);
    const std::uint64_t perBuffer = perSec / (d.wDacBuffersPerSec ? d.wDacBuffersPerSec : 1);
    if (d.wNchnls * (d.wBits / 8) > 0xFFFF || perSec > 0xFFFFFFFFu || perBuffer > (64u << 20))
        return "its buffers would be too large.";
    if (perBuffer == 0)
        return "its buffers would be empty.";
    // A device would refuse more channels than it has with no word of why
    // (a device that does not exist fails to open as before).
    const unsigned nMost = WaveOutDeviceChannels(d.wWaveDeviceId);
    if (nMost != 0 && d.wNchnls > nMost)
        return "it has " + std::to_string(d.wNchnls) +
               " channels, but the output device plays at most " + std::to_string(nMost) + ".";
    return {};
}

std::string PlaybackFormatProblem(const CDAC::dac_init& d, std::uint16_t* tag) {
    const std::string why = PlaybackFormatReason(d, tag);
    if (why.empty())
        return why;
    if (why == kUnreadable)
        return "Cannot play " + std::string(d.lpszFileName ? d.lpszFileName : "") + ": " + why;
    return "Cannot play this sound: " + why;
}

WAVEFORMATEX DeviceFormat(const CDAC::dac_init& d, std::uint16_t tag) {
    WAVEFORMATEX wf;
    wf.wFormatTag = tag;
    wf.nChannels = d.wNchnls;
    wf.nSamplesPerSec = d.dwSampleRate;
    wf.nAvgBytesPerSec = d.wNchnls * d.dwSampleRate * (d.wBits / 8u);
    wf.nBlockAlign = static_cast<std::uint16_t>(d.wNchnls * (d.wBits / 8));
    wf.wBitsPerSample = d.wBits;
    return wf;
}

void EncodeWavHead(const CDAC::wav_head& h, unsigned char out[44]) {
    const auto le = [&](unsigned at, std::int32_t v, unsigned n) {
        WriteLE(out + at, static_cast<std::uint32_t>(v), n);
    };
    std::memcpy(out + 0, h.magic, 4);
    le(4, h.len0, 4);
    std::memcpy(out + 8, h.magic1, 4);
    std::memcpy(out + 12, h.magic2, 4);
    le(16, h.len, 4);
    le(20, h.format, 2);
    le(22, h.nchns, 2);
    le(24, h.rate, 4);
    le(28, h.aver, 4);
    le(32, h.nBlockAlign, 2);
    le(34, h.size, 2);
    std::memcpy(out + 36, h.magic3, 4);
    le(40, h.datasize, 4);
}
