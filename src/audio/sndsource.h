// Sound files read through libsndfile: the kinds the WAV reader does not read
// itself (AIFF and AIFC, RF64, big-endian RIFX) and the samples the wave
// device cannot play as they are stored (A-law, mu-law, more channels than the
// device has), decoded into the little-endian samples the device plays.
#pragma once

#include "platform/sound/waveformat.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

typedef struct sf_private_tag SNDFILE;

// What libsndfile says of a sound file.
struct SndFacts {
    // Tag PCM or IEEE float, or A-law or mu-law with 8 bits; rate, channels
    // and the stored sample width. Compressed files have the tag 0 and no width.
    WAVEFORMATEX WaveFormat;
    std::uint64_t qwFrames = 0;
    // The name of a compression that is not played ("IMA ADPCM"); empty for
    // samples that are.
    std::string szCompression;
};

// Reads the facts of the file; false when libsndfile cannot read it.
bool ReadSndFacts(const char* path, SndFacts* facts);

// The device format that plays a file of these facts on a device of at most
// nMostChannels (0: any number): the stored integer width, float as stored,
// A-law and mu-law decoded to 16 bits; more channels than the device has are
// mixed down to its channels in 32-bit float.
WAVEFORMATEX SndDeviceFormat(const SndFacts& facts, unsigned nMostChannels);

// The samples of a file in a device format made by SndDeviceFormat.
class SndSource {
public:
    SndSource() = default;
    SndSource(const SndSource&) = delete;
    SndSource& operator=(const SndSource&) = delete;
    ~SndSource() { Close(); }

    bool Open(const char* path, const WAVEFORMATEX& device);
    void Close();
    // The bytes the whole file gives in the device format.
    std::uint64_t Bytes() const { return qwFrames_ * device_.nBlockAlign; }
    // Reads whole frames, at most n bytes; returns the bytes given, short at
    // the end of the file.
    std::uint32_t Read(char* dst, std::uint32_t n);

private:
    std::FILE* fp_ = nullptr;
    SNDFILE* sf_ = nullptr;
    WAVEFORMATEX device_;
    unsigned nFileChannels_ = 0;
    std::uint64_t qwFrames_ = 0;
    std::vector<int> ints_;
    std::vector<float> floats_;
    std::vector<double> doubles_;
};

// The channels of a frame of nIn channels mixed down to nOut (fewer):
// channel c goes to output c modulo nOut, every channel with the same gain,
// 1 over the most channels any output receives, so the sum never clips.
void DownmixFrame(const float* in, unsigned nIn, float* out, unsigned nOut);
