// The format and length of any sound file the program shows and plays: a
// RIFF WAVE file as the WAV reader reads it, any other kind (AIFF, AIFC,
// RF64, RIFX) as libsndfile does.
#pragma once

#include "audio/sampmmio.h"

#include <cstdint>

// The format tag of a RIFF WAVE file, an extensible one resolved to its
// sub-format, and the frames its "fact" chunk gives (0 without one). False
// when the file is no RIFF WAVE file with a format chunk.
bool WaveFileTag(const char* path, std::uint16_t* tag, std::uint32_t* pdwFactFrames = nullptr);

// Fills *wi as the WAV reader does for a RIFF WAVE file. For another kind
// that libsndfile reads, fills its WaveFormat (the tag PCM, IEEE float, A-law
// or mu-law, or 0 when compressed) and dwDataSize (the size of its samples,
// at most 4 GB) and clears the sampler data. Returns 1 or 0 as the reader.
// *pqwFrames receives the frames the file holds where its data size cannot
// tell them (a compressed WAV file's "fact" chunk, libsndfile's count for
// other kinds), else 0.
int LoadSoundInfo(SampMmio* mmio, WAVEINFO* wi, const char* path, std::uint64_t* pqwFrames);
