// The sound engine wired to an owner window, as the main window wires it.
#pragma once

#include "audio/cdac32.h"
#include "audio/wavfixture.h"
#include "platform/sound/nullwave.h"

using namespace fixture;

class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() {
        EnsureApp();
        owner.Receive = [this](unsigned uMsg, WAVEHDR* lpHdr) {
            if (uMsg == MM_WOM_DONE)
                cdac.PlaybackBufferCycle(lpHdr, &owner);
            else if (uMsg == MM_WIM_DATA)
                cdac.RecordBufferCycle(lpHdr, &owner);
        };
    }

    CDAC::dac_init Init(const std::string& path, std::uint16_t ch, std::uint32_t rate,
                        std::uint16_t bits, std::uint16_t perSec = 1) {
        fileName = path;
        CDAC::dac_init d;
        d.hWnd = &owner;
        d.lpszFileName = fileName.c_str();
        d.dwSampleRate = rate;
        d.wNchnls = ch;
        d.wBits = bits;
        d.wTotalDacBuffers = 8;
        d.wDacBuffersPerSec = perSec;
        return d;
    }
    // Starts playing as the main window does (the file is written unless empty).
    void Play(const Bytes& file, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
              std::uint16_t perSec = 1, const std::string& name = "play.wav") {
        if (!file.empty())
            WriteBytes(dir / name, file);
        cdac.InitPlayback(Init(dir / name, ch, rate, bits, perSec));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
    }

    TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    BoxRecorder boxes;
};
