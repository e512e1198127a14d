// Deciding whether a sound can be played, and as what.
#include "audio/cdac32.h"
#include "audio/sndsource.h"
#include "audio/soundinfo.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string TagName(std::uint16_t tag) {
    switch (tag) {
    case WAVE_FORMAT_ADPCM:
        return "Microsoft ADPCM";
    case 0x0011:
        return "IMA ADPCM";
    case 0x0031:
        return "GSM 6.10";
    case 0x0040:
        return "G.721 ADPCM";
    case 0x0050:
    case 0x0055:
        return "MPEG";
    default: {
        char buf[48];
        std::snprintf(buf, sizeof buf, "format 0x%04X", tag);
        return buf;
    }
    }
}

constexpr char kUnreadable[] = "it is not a readable WAV file.";

std::string Compressed(const std::string& name) {
    return "it holds " + name + " compressed samples, which cannot be played.";
}

// The checks of the sound as the window describes it, for a RIFF WAVE file.
std::string WaveReason(const CDAC::dac_init& d, std::uint16_t tag) {
    if (tag != WAVE_FORMAT_PCM && tag != WAVE_FORMAT_IEEE_FLOAT && tag != WAVE_FORMAT_ALAW &&
        tag != WAVE_FORMAT_MULAW)
        return Compressed(TagName(tag));
    if (d.wNchnls == 0)
        return "it has no channels.";
    if (d.dwSampleRate == 0)
        return "its sample rate is 0.";
    if (d.wBits < 8 || d.wBits % 8 != 0)
        return "samples of " + std::to_string(d.wBits) + " bits are not supported.";
    if (tag == WAVE_FORMAT_IEEE_FLOAT && d.wBits != 32 && d.wBits != 64)
        return "float samples of " + std::to_string(d.wBits) + " bits are not supported.";
    if (d.wBits > (tag == WAVE_FORMAT_PCM ? 32 : tag == WAVE_FORMAT_IEEE_FLOAT ? 64 : 8))
        return "samples of " + std::to_string(d.wBits) + " bits are not supported.";
    return {};
}

} // namespace

std::string PlaybackFormatReason(const CDAC::dac_init& d, PlayPlan* plan) {
    // A device that does not exist has no count; it fails to open as before.
    const unsigned nMost = WaveOutDeviceChannels(d.wWaveDeviceId);
    std::uint16_t tag = 0;
    plan->bDecode = true;
    if (WaveFileTag(d.lpszFileName, &tag)) {
        if (std::string why = WaveReason(d, tag); !why.empty())
            return why;
        // PCM and float samples go to the device as the file has them, byte
        // for byte; A-law, mu-law and a downmix are decoded.
        plan->bDecode = (tag != WAVE_FORMAT_PCM && tag != WAVE_FORMAT_IEEE_FLOAT) ||
                        (nMost != 0 && d.wNchnls > nMost);
        plan->device = DeviceFormat(d, tag);
    }
    if (plan->bDecode) {
        SndFacts facts;
        if (!ReadSndFacts(d.lpszFileName, &facts))
            return kUnreadable;
        if (!facts.szCompression.empty())
            return Compressed(facts.szCompression);
        plan->device = SndDeviceFormat(facts, nMost);
        if (plan->device.wBitsPerSample == 0)
            return "its samples cannot be played.";
    }
    const WAVEFORMATEX& wf = plan->device;
    const std::uint64_t perSec =
        std::uint64_t{wf.nChannels} * wf.nSamplesPerSec * (wf.wBitsPerSample / 8);
    const std::uint64_t perBuffer = perSec / (d.wDacBuffersPerSec ? d.wDacBuffersPerSec : 1);
    if (wf.nChannels * (wf.wBitsPerSample / 8) > 0xFFFF || perSec > 0xFFFFFFFFu ||
        perBuffer > (64u << 20))
        return "its buffers would be too large.";
    if (perBuffer == 0 || (plan->bDecode && perBuffer < wf.nBlockAlign))
        return "its buffers would be empty.";
    return {};
}

std::string PlaybackFormatProblem(const CDAC::dac_init& d, PlayPlan* plan) {
    const std::string why = PlaybackFormatReason(d, plan);
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
