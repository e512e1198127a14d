// Feeds arbitrary bytes, as a file, to the WAV reader (and libsndfile for
// what it does not read) and to the playback engine's walk of the file or
// its decoding: neither may crash or read out of bounds.
#include "audio/cdac32.h"
#include "audio/sampmmio.h"
#include "audio/soundinfo.h"
#include "platform/messagebox.h"
#include "platform/sound/nullwave.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/fuzz_wavreader." + std::to_string(getpid()) + ".wav";
    static bool once = [] {
        SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return IDOK; });
        InstallWaveBackend(nullwave::Backend());
        return true;
    }();
    (void)once;

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    SampMmio mmio;
    WAVEINFO wi;
    std::uint64_t frames = 0;
    const bool read = LoadSoundInfo(&mmio, &wi, path.c_str(), &frames) == 1;
    const std::uint64_t perSec = std::uint64_t{wi.WaveFormat.nSamplesPerSec} *
                                 wi.WaveFormat.nChannels * (wi.WaveFormat.wBitsPerSample / 8);
    if (read && perSec <= (1u << 20)) { // beyond that, buffers are just slow to clear
        // Play it as the main window would, with the format just read; the
        // null device takes nothing until stepped, so only the file is walked.
        static WaveOwner owner;
        CDAC cdac;
        CDAC::dac_init d;
        d.hWnd = &owner;
        d.lpszFileName = path.c_str();
        d.dwSampleRate = wi.WaveFormat.nSamplesPerSec;
        d.wNchnls = wi.WaveFormat.nChannels;
        d.wBits = wi.WaveFormat.wBitsPerSample;
        d.wTotalDacBuffers = 8;
        d.wDacBuffersPerSec = 50; // small buffers keep each run quick
        cdac.InitPlayback(d);
        cdac.PrimePlaybackFile();
        cdac.StopPlayback();
    }
    mmio.LoadSampleAudioData(&wi, path.c_str());
    unlink(path.c_str());
    return 0;
}
