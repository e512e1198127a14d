// The playback half of the engine.
#include "audio/cdac32.h"

#include "platform/messagebox.h"

#include <algorithm>

namespace {
void Say(const std::string& text) {
    MessageBox(text, "CDac", MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

CDAC::~CDAC() {
    StopPlayback();
    StopRecord();
}

bool CDAC::Arrived(const WAVEHDR* lpHdr, const WAVEHDR* ring, std::uint32_t* pending,
                   std::uint32_t* stale) {
    if (lpHdr == nullptr || lpHdr < ring || lpHdr >= ring + kMaxBuffers)
        return false;
    const std::size_t i = static_cast<std::size_t>(lpHdr - ring);
    if (pending[i] > 0)
        --pending[i];
    if (stale[i] == 0)
        return true;
    --stale[i];
    return false;
}

MMRESULT CDAC::WriteOut(WAVEHDR* lpHdr) {
    const MMRESULT r = waveOutWrite(hWaveOut, lpHdr);
    if (r == MMSYSERR_NOERROR)
        ++dwOutPending[lpHdr - WaveOutHdr];
    return r;
}

int CDAC::InitPlayback(dac_init DacInit) {
    if (bActiveDevice || bRecordReady)
        return 0;      // one device and one ring: a busy engine ignores the request
    ReleasePlayback(); // what a refused start may have left

    PlayPlan plan;
    const std::string problem = PlaybackFormatProblem(DacInit, &plan);
    if (!problem.empty()) {
        Say(problem);
        return 0;
    }
    WaveFormat = plan.device;
    bDecode = plan.bDecode;
    std::uint32_t length =
        WaveFormat.nAvgBytesPerSec / std::max<std::uint32_t>(DacInit.wDacBuffersPerSec, 1);
    if (bDecode) // decoded samples come in whole frames
        length -= length % WaveFormat.nBlockAlign;

    glpszFileName = DacInit.lpszFileName;
    for (xloop = 0; xloop < kMaxBuffers; ++xloop)
        dwOutStale[xloop] = dwOutPending[xloop];
    const unsigned total = std::clamp<unsigned>(DacInit.wTotalDacBuffers, 1, kMaxBuffers);
    for (xloop = 0; xloop < total; ++xloop) {
        hglbWaveOutHdr[xloop] = std::make_unique<char[]>(length);
        WaveOutHdr[xloop] = WAVEHDR{};
        WaveOutHdr[xloop].lpData = hglbWaveOutHdr[xloop].get();
        WaveOutHdr[xloop].dwBufferLength = length;
    }
    if (waveOutOpen(&hWaveOut, DacInit.wWaveDeviceId, &WaveFormat, DacInit.hWnd) !=
        MMSYSERR_NOERROR) {
        hWaveOut = nullptr;
        Say("waveOutOpen Failed!");
    }
    if (hWaveOut != nullptr)
        for (xloop = 0; xloop < total; ++xloop)
            waveOutPrepareHeader(hWaveOut, &WaveOutHdr[xloop]);
    wTotalBuffers = static_cast<std::uint16_t>(total);
    wCleanBuffers = 0;
    bytesread = 0;
    buffersused = 0;
    bReady = true;
    return 0;
}

int CDAC::PrimePlaybackFile() {
    if (!bReady)
        return 0;
    bReady = false;
    ckinfo = MMCKINFO{};
    ckchild = MMCKINFO{};
    const bool bOpen = bDecode ? source.Open(glpszFileName, WaveFormat)
                               : hMmio.Open(glpszFileName) && hMmio.Descend(&ckinfo, nullptr, 0) &&
                                     hMmio.FindChunk(&ckchild, &ckinfo, FOURCC_DATA);
    if (!bOpen) {
        Say("Cannot play " + std::string(glpszFileName ? glpszFileName : "") +
            ": it has no sound data.");
        ReleasePlayback();
        return 0;
    }
    qwDataBytes = bDecode ? source.Bytes() : DataChunkBytes(hMmio, ckinfo, ckchild);
    buffersused = 0;
    std::uint64_t primed = 0;
    for (xloop = 0; xloop < wTotalBuffers; ++xloop) {
        WAVEHDR& h = WaveOutHdr[xloop];
        const std::uint64_t remaining = qwDataBytes - bytesread;
        const auto want =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(remaining, h.dwBufferLength));
        const std::uint32_t got = Fetch(h.lpData, want);
        primed += got;
        ++buffersused;
        if (want < h.dwBufferLength || got < want) {
            // The data ends in this buffer, or the file ends before it does.
            h.dwBufferLength = got;
            bytesread = qwDataBytes;
            break;
        }
        bytesread += got;
    }
    if (primed == 0) {
        // An empty data chunk (or one the file does not hold): nothing to
        // play, so the playback ends before it begins.
        ReleasePlayback();
        return 0;
    }
    bPrimed = true;
    return 0;
}

int CDAC::StartPlayback(WaveOwner*) {
    if (!bPrimed)
        return 0;
    bPrimed = false;
    if (hWaveOut != nullptr)
        for (xloop = 0; xloop < buffersused; ++xloop)
            WriteOut(&WaveOutHdr[xloop]);
    bActive = 1;
    bActiveDevice = 1;
    return 0;
}

void CDAC::Requeue(WAVEHDR* lpHdr) {
    if (hWaveOut == nullptr || WriteOut(lpHdr) != MMSYSERR_NOERROR)
        Say("waveOutWrite Failed!");
}

int CDAC::PlaybackBufferCycle(WAVEHDR* lpHdr, WaveOwner*) {
    if (!Arrived(lpHdr, WaveOutHdr, dwOutPending, dwOutStale))
        return 0;
    if (!bActive) {
        ++wCleanBuffers;
    } else {
        const std::uint64_t remaining = qwDataBytes - bytesread;
        const std::uint32_t length = lpHdr->dwBufferLength;
        const auto want = static_cast<std::uint32_t>(std::min<std::uint64_t>(remaining, length));
        const std::uint32_t got = Fetch(lpHdr->lpData, want);
        if (remaining > 0 && want == length && got == want) {
            bytesread += got;
            Requeue(lpHdr);
        } else {
            // The data ends within this buffer (or the file before the data).
            lpHdr->dwBufferLength = got;
            bytesread = qwDataBytes;
            bActive = 0;
            hMmio.Close();
            source.Close();
            if (got > 0)
                Requeue(lpHdr);
            else
                ++wCleanBuffers;
        }
    }
    if (wCleanBuffers == buffersused)
        CleanUpPlayback();
    return 0;
}

int CDAC::StopPlayback() {
    if (bRecordReady)
        return 0; // the engine is recording; bActive is the recorder's
    bActive = 0;
    hMmio.Close();
    source.Close();
    if (bActiveDevice)
        CleanUpPlayback();
    else
        ReleasePlayback(); // initialised or primed but never started
    return 0;
}

int CDAC::CleanUpPlayback() {
    if (!bActiveDevice)
        return 0;
    ReleasePlayback();
    return 0;
}

void CDAC::ReleasePlayback() {
    if (hWaveOut != nullptr) {
        waveOutReset(hWaveOut);
        for (xloop = 0; xloop < wTotalBuffers; ++xloop)
            waveOutUnprepareHeader(hWaveOut, &WaveOutHdr[xloop]);
        waveOutClose(hWaveOut);
        hWaveOut = nullptr;
    }
    for (xloop = 0; xloop < kMaxBuffers; ++xloop) {
        hglbWaveOutHdr[xloop].reset();
        WaveOutHdr[xloop].lpData = nullptr;
    }
    hMmio.Close();
    source.Close();
    bActive = 0;
    bActiveDevice = 0;
    bReady = false;
    bPrimed = false;
}
