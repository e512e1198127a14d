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
        owner.Receive = [this](unsigned msg, WAVEHDR* h) {
            if (msg == MM_WOM_DONE)
                cdac.PlaybackBufferCycle(h, &owner);
            else if (msg == MM_WIM_DATA)
                cdac.RecordBufferCycle(h, &owner);
        };
    }
    // A ring of eight buffers for the file of that name in the test's folder.
    CDAC::dac_init Init(const std::string& name, std::uint16_t ch, std::uint32_t rate,
                        std::uint16_t bits, std::uint16_t perSec = 1, std::uint16_t device = 0) {
        fileName = dir / name;
        return {&owner, fileName.c_str(), device, rate, ch, bits, 8, perSec};
    }
    // Starts playing as the main window does (the file is written unless empty).
    void Play(const Bytes& file, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
              std::uint16_t perSec = 1, const std::string& name = "play.wav",
              std::uint16_t device = 0) {
        if (!file.empty())
            WriteBytes(dir / name, file);
        cdac.InitPlayback(Init(name, ch, rate, bits, perSec, device));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
    }

    TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    BoxRecorder boxes;
};
