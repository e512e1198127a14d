// An engine wired to the null wave device, with its completions delivered
// when the test pumps the event queue, and its messages recorded.
#pragma once

#include "audio/cdac32.h"
#include "audio/wavfixture.h"
#include "platform/nullwave.h"

using namespace fixture;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        SetWaveBackend(WaveBackend::Null);
        nullwave::Clear();
        owner.Receive = [this](unsigned uMsg, WAVEHDR* lpHdr) {
            if (uMsg == MM_WOM_DONE)
                cdac.PlaybackBufferCycle(lpHdr, &owner);
            else if (uMsg == MM_WIM_DATA)
                cdac.RecordBufferCycle(lpHdr, &owner);
        };
    }
    void TearDown() override {
        cdac.StopPlayback();
        cdac.StopRecord();
        Pump();
        SetWaveBackend(WaveBackend::Audio);
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

    CDAC::dac_init Init(const std::string& path, std::uint16_t ch, std::uint32_t rate,
                        std::uint16_t bits) {
        fileName = path;
        CDAC::dac_init d;
        d.hWnd = &owner;
        d.lpszFileName = fileName.c_str();
        d.dwSampleRate = rate;
        d.wNchnls = ch;
        d.wBits = bits;
        d.wTotalDacBuffers = 8;
        d.wDacBuffersPerSec = 1;
        return d;
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

    TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    BoxRecorder boxes;
};
