// The sound side of the main window: the WAV reader and the playback engine,
// with the engine's buffer completions delivered to the window as MM_WOM_DONE
// window messages.
#pragma once

#include "audio/cdac32.h"
#include "audio/sampmmio.h"
#include "audio/soundinfo.h"
#include "mainwindow/soundport.h"

class CdacSound : public SoundPort {
public:
    CdacSound();
    // The window that receives the completions (its WndProc hands them back).
    void SetWindow(QObject* hWnd) { m_hWnd = hWnd; }

    bool LoadSampleInfo(const char* szPath, WaveFacts& facts) override;
    void Stop() override { cdac.StopPlayback(); }
    bool IsActive() const override { return cdac.GetbActiveDevice() != 0; }
    void PlaybackBufferCycle(std::intptr_t lParam, QObject* hWnd) override;

    // Declared in this order so the engine, holding devices opened for the
    // owner, goes first.
    WaveOwner owner;
    SampMmio mmio;
    WAVEINFO wi;
    CDAC cdac;

private:
    QObject* m_hWnd = nullptr;
};
