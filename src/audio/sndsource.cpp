#include "audio/sndsource.h"

#include "audio/riff.h"

#include <sndfile.h>

#include <algorithm>
#include <bit>

namespace {

// Opens the file through the one opening of sound files, then hands its
// descriptor to libsndfile, which does not close it.
SNDFILE* OpenSnd(const char* path, std::FILE** fp, SF_INFO* info) {
    std::uint64_t size = 0;
    *fp = OpenSoundFile(path, &size);
    if (*fp == nullptr)
        return nullptr;
    *info = SF_INFO{};
    SNDFILE* sf = sf_open_fd(fileno(*fp), SFM_READ, info, SF_FALSE);
    if (sf == nullptr || info->channels <= 0 || info->samplerate <= 0 || info->channels > 0xFFFF) {
        if (sf != nullptr)
            sf_close(sf);
        std::fclose(*fp);
        *fp = nullptr;
        return nullptr;
    }
    return sf;
}

// The tag and stored width of the samples libsndfile plays; tag 0 for the rest.
void Encoding(int subtype, std::uint16_t* tag, std::uint16_t* bits) {
    switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        *tag = WAVE_FORMAT_PCM, *bits = 8;
        return;
    case SF_FORMAT_PCM_16:
        *tag = WAVE_FORMAT_PCM, *bits = 16;
        return;
    case SF_FORMAT_PCM_24:
        *tag = WAVE_FORMAT_PCM, *bits = 24;
        return;
    case SF_FORMAT_PCM_32:
        *tag = WAVE_FORMAT_PCM, *bits = 32;
        return;
    case SF_FORMAT_FLOAT:
        *tag = WAVE_FORMAT_IEEE_FLOAT, *bits = 32;
        return;
    case SF_FORMAT_DOUBLE:
        *tag = WAVE_FORMAT_IEEE_FLOAT, *bits = 64;
        return;
    case SF_FORMAT_ALAW:
        *tag = WAVE_FORMAT_ALAW, *bits = 8;
        return;
    case SF_FORMAT_ULAW:
        *tag = WAVE_FORMAT_MULAW, *bits = 8;
        return;
    default:
        *tag = 0, *bits = 0;
    }
}

std::string SubtypeName(int subtype) {
    SF_FORMAT_INFO fi{};
    fi.format = subtype;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &fi, sizeof fi) == 0 && fi.name != nullptr)
        return fi.name;
    return "an unknown kind of";
}

// libsndfile's frame count; 0 when it does not know it (a file it reads as a
// stream of unknown length).
std::uint64_t Frames(const SF_INFO& info) {
    return info.frames > 0 && info.frames < SF_COUNT_MAX ? static_cast<std::uint64_t>(info.frames)
                                                         : 0;
}

WAVEFORMATEX Format(std::uint16_t tag, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits) {
    const auto align = static_cast<std::uint16_t>(ch * (bits / 8));
    return {tag, ch, rate, rate * align, align, bits, 0};
}

} // namespace

bool ReadSndFacts(const char* path, SndFacts* facts) {
    std::FILE* fp = nullptr;
    SF_INFO info;
    SNDFILE* sf = OpenSnd(path, &fp, &info);
    if (sf == nullptr)
        return false;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    std::uint16_t tag = 0, bits = 0;
    Encoding(subtype, &tag, &bits);
    facts->WaveFormat = Format(tag, static_cast<std::uint16_t>(info.channels),
                               static_cast<std::uint32_t>(info.samplerate), bits);
    facts->qwFrames = Frames(info);
    facts->szCompression = tag == 0 ? SubtypeName(subtype) : std::string();
    sf_close(sf);
    std::fclose(fp);
    return true;
}

WAVEFORMATEX SndDeviceFormat(const SndFacts& facts, unsigned nMostChannels) {
    const WAVEFORMATEX& f = facts.WaveFormat;
    if (nMostChannels != 0 && f.nChannels > nMostChannels)
        return Format(WAVE_FORMAT_IEEE_FLOAT, static_cast<std::uint16_t>(nMostChannels),
                      f.nSamplesPerSec, 32);
    if (f.wFormatTag == WAVE_FORMAT_ALAW || f.wFormatTag == WAVE_FORMAT_MULAW)
        return Format(WAVE_FORMAT_PCM, f.nChannels, f.nSamplesPerSec, 16);
    return Format(f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.wBitsPerSample);
}

void DownmixFrame(const float* in, unsigned nIn, float* out, unsigned nOut) {
    const float gain = 1.0f / static_cast<float>((nIn + nOut - 1) / nOut);
    std::fill(out, out + nOut, 0.0f);
    for (unsigned c = 0; c < nIn; ++c)
        out[c % nOut] += in[c];
    for (unsigned k = 0; k < nOut; ++k)
        out[k] *= gain;
}

bool SndSource::Open(const char* path, const WAVEFORMATEX& device) {
    Close();
    SF_INFO info;
    sf_ = OpenSnd(path, &fp_, &info);
    if (sf_ == nullptr || device.nChannels == 0 || device.nBlockAlign == 0 ||
        device.nChannels > info.channels) {
        Close();
        return false;
    }
    device_ = device;
    nFileChannels_ = static_cast<unsigned>(info.channels);
    // An unknown length plays until the samples end.
    qwFrames_ = Frames(info) != 0 ? Frames(info) : std::uint64_t{1} << 40;
    return true;
}

void SndSource::Close() {
    if (sf_ != nullptr)
        sf_close(sf_);
    if (fp_ != nullptr)
        std::fclose(fp_);
    sf_ = nullptr;
    fp_ = nullptr;
    qwFrames_ = 0;
}

std::uint32_t SndSource::Read(char* dst, std::uint32_t n) {
    if (sf_ == nullptr)
        return 0;
    const unsigned align = device_.nBlockAlign, nOut = device_.nChannels;
    const unsigned width = device_.wBitsPerSample / 8;
    const bool bFloat = device_.wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
    const bool bMix = nOut < nFileChannels_;
    constexpr sf_count_t kPiece = 4096;
    auto* out = reinterpret_cast<unsigned char*>(dst);
    std::uint32_t given = 0;
    while (n - given >= align) {
        const sf_count_t want = std::min<sf_count_t>(kPiece, (n - given) / align);
        const std::size_t samples = static_cast<std::size_t>(want) * nFileChannels_;
        sf_count_t got = 0;
        if (bFloat && width == 8) {
            doubles_.resize(samples);
            got = sf_readf_double(sf_, doubles_.data(), want);
            for (std::size_t i = 0; i < static_cast<std::size_t>(got) * nOut; ++i) {
                const auto v = std::bit_cast<std::uint64_t>(doubles_[i]);
                WriteLE(out + given + 8 * i, static_cast<std::uint32_t>(v), 4);
                WriteLE(out + given + 8 * i + 4, static_cast<std::uint32_t>(v >> 32), 4);
            }
        } else if (bFloat) {
            floats_.resize(samples + nOut); // the mixed frame after the read ones
            got = sf_readf_float(sf_, floats_.data(), want);
            float* mixed = floats_.data() + samples;
            for (sf_count_t f = 0; f < got; ++f) {
                const float* frame = floats_.data() + f * nFileChannels_;
                if (bMix)
                    DownmixFrame(frame, nFileChannels_, mixed, nOut), frame = mixed;
                for (unsigned k = 0; k < nOut; ++k)
                    WriteLE(out + given + f * align + 4 * k, std::bit_cast<std::uint32_t>(frame[k]),
                            4);
            }
        } else {
            // Integers arrive left-aligned in 32 bits: their top bytes are the
            // stored sample, exactly; 8-bit samples are unsigned on the device.
            ints_.resize(samples);
            got = sf_readf_int(sf_, ints_.data(), want);
            for (std::size_t i = 0; i < static_cast<std::size_t>(got) * nOut; ++i) {
                auto v = static_cast<std::uint32_t>(ints_[i]) >> (32 - 8 * width);
                if (width == 1)
                    v ^= 0x80;
                WriteLE(out + given + width * i, v, width);
            }
        }
        if (got <= 0)
            break;
        given += static_cast<std::uint32_t>(got) * align;
        if (got < want)
            break;
    }
    return given;
}
