// The sound engine wired to an owner window, with its messages recorded.
#pragma once

#include "audio/cdac32.h"
#include "audio/wavfixture.h"
#include "platform/sound/nullwave.h"

using namespace fixture;

// The engine with its owner window: completions reach the engine as the
// main window would pass them on.
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

    TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    BoxRecorder boxes;
};

// On the null device, with completions delivered when the test pumps.
class EngineTest : public EngineFixture {
protected:
    void SetUp() override {
        InstallWaveBackend(nullwave::Backend());
        nullwave::Clear();
    }
    void TearDown() override {
        cdac.StopPlayback();
        cdac.StopRecord();
        Pump();
        InstallWaveBackend(nullptr);
    }

    static void Pump() { QCoreApplication::sendPostedEvents(); }

    // Plays one queued buffer and hands its completion to the engine.
    bool Step() {
        const bool played = nullwave::StepOut(1) == 1;
        Pump();
        return played;
    }
    void StepToEnd() {
        while (cdac.GetbActiveDevice() && Step()) {
        }
    }

    // Writes a file (unless empty) and starts playing it as the main window would.
    void Play(const Bytes& file, std::uint16_t ch = 1, std::uint32_t rate = 100,
              std::uint16_t bits = 8, const std::string& name = "play.wav") {
        if (!file.empty())
            WriteBytes(dir / name, file);
        cdac.InitPlayback(Init(dir / name, ch, rate, bits));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
    }

    std::vector<char> Played() const { return nullwave::Played(); }
    static std::vector<char> AsChars(const Bytes& b) { return {b.begin(), b.end()}; }
};
