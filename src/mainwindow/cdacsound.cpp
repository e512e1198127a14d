#include "mainwindow/cdacsound.h"

#include "mainwindow/winmsg.h"

CdacSound::CdacSound() {
    owner.Receive = [this](unsigned uMsg, WAVEHDR* lpHdr) {
        SendMessage(m_hWnd, uMsg, 0, reinterpret_cast<std::intptr_t>(lpHdr));
    };
}

bool CdacSound::LoadSampleInfo(const char* szPath, WaveFacts& facts) {
    std::uint64_t qwFrames = 0;
    if (!LoadSoundInfo(&mmio, &wi, szPath, &qwFrames))
        return false;
    facts.qwFrames = qwFrames;
    facts.dwSampleRate = wi.WaveFormat.nSamplesPerSec;
    facts.wNchnls = wi.WaveFormat.nChannels;
    facts.wBits = wi.WaveFormat.wBitsPerSample;
    facts.dwDataSize = wi.dwDataSize;
    return true;
}

void CdacSound::PlaybackBufferCycle(std::intptr_t lParam, QObject*) {
    cdac.PlaybackBufferCycle(reinterpret_cast<WAVEHDR*>(lParam), &owner);
}
