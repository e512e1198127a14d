// The sound side of the main window: the WAV reader for selections and the
// one playback engine, with its completions handed to the window. The engine
// stays behind this header, so window code that includes it does not see
// the wave-device declarations.
#pragma once

#include "mainwindow/soundport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CdacSound : public SoundPort {
public:
    // onDone receives each finished buffer (as MM_WOM_DONE's lParam) on the
    // window's thread; the window passes it back to PlaybackBufferCycle.
    explicit CdacSound(std::function<void(std::intptr_t lParam)> onDone);
    ~CdacSound() override;

    bool LoadSampleInfo(const char* szPath, WaveFacts& facts) override;
    void StopPlayback() override;
    bool IsActive() const override;
    void PlaybackBufferCycle(std::intptr_t lParam, QObject* hWnd) override;

    // The playback record as the window keeps it: device and last format.
    struct Kept {
        std::uint16_t wWaveDeviceId = 0;
        std::uint32_t dwSampleRate = 0;
        std::uint16_t wNchnls = 0;
        std::uint16_t wBits = 0;
    };
    // Why the file cannot be played with the kept format, or "".
    std::string UnplayableReason(const char* szPath, const Kept& kept) const;
    // Fills the start record (8 buffers of one second) and starts the
    // engine: initialise, prime, start.
    void StartPlayback(const char* szPath, const Kept& kept);

private:
    struct Engine;
    std::unique_ptr<Engine> m;
};

// The number of wave-output devices.
unsigned WaveOutDeviceCount();
