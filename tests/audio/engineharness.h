// An engine wired to the null wave device, with its completions delivered
// when the test pumps the event queue, and its messages recorded.
#pragma once

#include "audio/cdac32.h"
#include "audio/wavfixture.h"
#include "platform/messagebox.h"
#include "platform/nullwave.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        static QCoreApplication* app =
            QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
        (void)app;
        SetWaveBackend(WaveBackend::Null);
        nullwave::Clear();
        oldBox = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned) {
                boxes.push_back(caption + ": " + text);
                return IDOK;
            });
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
        SetMessageBoxHandler(oldBox);
        SetWaveBackend(WaveBackend::Audio);
    }

    static void Pump() { QCoreApplication::sendPostedEvents(); }

    // Plays one queued buffer and hands its completion to the engine.
    bool Step() {
        const bool played = nullwave::StepOut(1) == 1;
        Pump();
        return played;
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

    // Writes a file and starts playing it as the main window would.
    void Play(const fixture::Bytes& file, std::uint16_t ch = 1, std::uint32_t rate = 100,
              std::uint16_t bits = 8) {
        fixture::WriteFile(dir / "play.wav", file);
        cdac.InitPlayback(Init(dir / "play.wav", ch, rate, bits));
        cdac.PrimePlaybackFile();
        cdac.StartPlayback(&owner);
    }

    std::vector<char> Played() const { return nullwave::Played(); }

    fixture::TempDir dir;
    std::string fileName;
    WaveOwner owner;
    CDAC cdac;
    std::vector<std::string> boxes;
    MessageBoxHandler oldBox;
};

inline std::vector<char> AsChars(const fixture::Bytes& b) {
    return {b.begin(), b.end()};
}
