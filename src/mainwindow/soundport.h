// What the main window asks of the sound side: the format of a selected
// sound file, and the playback engine's stop, state and buffer returns.
#pragma once

#include <cstdint>

class QObject;

// The facts of a WAV file that the window keeps and shows.
struct WaveFacts {
    std::uint32_t dwSampleRate = 0; // nSamplesPerSec
    std::uint16_t wNchnls = 0;      // nChannels
    std::uint16_t wBits = 0;        // wBitsPerSample
    std::uint32_t dwDataSize = 0;   // bytes of sample data
    // The frames the file holds where its data size cannot tell them
    // (compressed samples, a file of over 4 GB); 0: counted from the size.
    std::uint64_t qwFrames = 0;
};

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // Reads the file's format and data size; false (facts untouched) when it
    // is no readable WAV file.
    virtual bool LoadSampleInfo(const char* szPath, WaveFacts& facts) = 0;
    // Stops playback; harmless when nothing plays.
    virtual void Stop() = 0;
    // True while the engine holds the output device (playing or draining).
    virtual bool IsActive() const = 0;
    // A buffer came back from the device (MM_WOM_DONE's lParam).
    virtual void PlaybackBufferCycle(std::intptr_t lParam, QObject* hWnd) = 0;
};
