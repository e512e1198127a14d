// The recording half of the engine.
#include "audio/cdac32.h"

#include "platform/messagebox.h"

#include <algorithm>
#include <cstring>

namespace {
void Say(const std::string& text) {
    MessageBox(text, "CDac", MB_OK | MB_ICONEXCLAMATION);
}

bool RecordFormatProblem(const CDAC::dac_init& d) {
    return d.wNchnls == 0 || d.dwSampleRate == 0 || d.wBits < 8 || d.wBits > 32 ||
           d.wBits % 8 != 0 || d.wTotalDacBuffers < 2 ||
           std::uint64_t{d.wNchnls} * d.dwSampleRate * (d.wBits / 8) >
               (64u << 20) * std::uint64_t{std::max<std::uint16_t>(d.wDacBuffersPerSec, 1)};
}
} // namespace

int CDAC::InitRecord(dac_init DacInit) {
    if (bActiveDevice || bReady || bPrimed || bRecordReady)
        return 0; // one half at a time
    if (RecordFormatProblem(DacInit)) {
        Say("Cannot record in this format.");
        return 0;
    }
    WaveFormat = DeviceFormat(DacInit, WAVE_FORMAT_PCM);
    const std::uint32_t length = std::max<std::uint32_t>(
        WaveFormat.nAvgBytesPerSec / std::max<std::uint16_t>(DacInit.wDacBuffersPerSec, 1), 1);

    std::memcpy(wavestruct.magic, "RIFF", 4);
    wavestruct.len = 16;
    wavestruct.len0 = wavestruct.len + 36;
    std::memcpy(wavestruct.magic1, "WAVE", 4);
    std::memcpy(wavestruct.magic2, "fmt ", 4);
    wavestruct.format = 1;
    wavestruct.nchns = static_cast<std::int16_t>(DacInit.wNchnls);
    wavestruct.rate = static_cast<std::int32_t>(DacInit.dwSampleRate);
    wavestruct.aver = static_cast<std::int32_t>(WaveFormat.nAvgBytesPerSec);
    wavestruct.nBlockAlign = static_cast<std::int16_t>(WaveFormat.nBlockAlign);
    wavestruct.size = static_cast<std::int16_t>(DacInit.wBits);
    std::memcpy(wavestruct.magic3, "data", 4);
    wavestruct.datasize = 9999;

    glpszFileName = DacInit.lpszFileName;
    for (xloop = 0; xloop < kMaxBuffers; ++xloop)
        dwInStale[xloop] = dwInPending[xloop];
    // One buffer fewer than asked for.
    const unsigned total = std::min<unsigned>(DacInit.wTotalDacBuffers - 1u, kMaxBuffers);
    for (xloop = 0; xloop < total; ++xloop) {
        hglbWaveInHdr[xloop] = std::make_unique<char[]>(length);
        WaveInHdr[xloop] = WAVEHDR{};
        WaveInHdr[xloop].lpData = hglbWaveInHdr[xloop].get();
        WaveInHdr[xloop].dwBufferLength = length;
    }
    bRecordReady = true;
    if (waveInOpen(&hWaveIn, DacInit.wWaveDeviceId, &WaveFormat, DacInit.hWnd) !=
        MMSYSERR_NOERROR) {
        hWaveIn = nullptr;
        Say("waveInOpen Failed!");
    }
    for (xloop = 0; xloop < total; ++xloop)
        if (waveInPrepareHeader(hWaveIn, &WaveInHdr[xloop]) != MMSYSERR_NOERROR)
            Say("waveInPrepareHeader Failed!");
    wTotalBuffers = static_cast<std::uint16_t>(total);
    dwRecorded = 0;
    return 0;
}

int CDAC::PrimeRecordFile(WaveOwner*) {
    if (!bRecordReady || lpFile != nullptr)
        return 0;
    lpFile = glpszFileName ? std::fopen(glpszFileName, "wb") : nullptr;
    unsigned char head[44];
    EncodeWavHead(wavestruct, head);
    if (lpFile == nullptr || std::fwrite(head, 1, 44, lpFile) != 44) {
        Say("Cannot create the file " + std::string(glpszFileName ? glpszFileName : "") + ".");
        if (lpFile != nullptr)
            std::fclose(lpFile);
        lpFile = nullptr;
        CleanUpRecord();
        return 0;
    }
    for (xloop = 0; xloop < wTotalBuffers; ++xloop)
        if (AddIn(&WaveInHdr[xloop]) != MMSYSERR_NOERROR)
            Say("waveInAddBuffer Failed!");
    return 0;
}

int CDAC::StartRecord(WaveOwner*) {
    if (lpFile == nullptr)
        return 0; // nothing to record into
    if (waveInStart(hWaveIn) != MMSYSERR_NOERROR)
        Say("waveInStart Failed!");
    bActive = 1;
    return 0;
}

int CDAC::RecordBufferCycle(WAVEHDR* lpHdr, WaveOwner*) {
    if (!Arrived(lpHdr, WaveInHdr, dwInPending, dwInStale) || !bActive || lpFile == nullptr)
        return 0;
    const std::size_t align = WaveFormat.nBlockAlign;
    const std::size_t blocks = lpHdr->dwBytesRecorded / align;
    const std::size_t written = blocks ? std::fwrite(lpHdr->lpData, align, blocks, lpFile) : 0;
    dwRecorded += written * align;
    if (written > 0 && written == blocks) {
        if (AddIn(lpHdr) != MMSYSERR_NOERROR)
            Say("waveInAddBuffer Failed!");
    } else {
        StopRecord(); // an empty buffer, or the disk refused the data
    }
    return 0;
}

int CDAC::StopRecord() {
    if (!bRecordReady)
        return 0;
    bActive = 0;
    if (lpFile != nullptr) {
        // Bring both lengths up to date so the file is a valid WAV file of
        // exactly the recorded blocks (with the pad byte an odd size needs).
        const std::uint32_t data = static_cast<std::uint32_t>(dwRecorded);
        if (data & 1u)
            std::fputc(0, lpFile);
        unsigned char len[4];
        WriteLE(len, 36 + data + (data & 1u), 4);
        if (std::fseek(lpFile, 4, SEEK_SET) == 0)
            std::fwrite(len, 1, 4, lpFile);
        WriteLE(len, data, 4);
        if (std::fseek(lpFile, 40, SEEK_SET) == 0)
            std::fwrite(len, 1, 4, lpFile);
        std::fclose(lpFile);
        lpFile = nullptr;
    }
    CleanUpRecord();
    return 0;
}

int CDAC::CleanUpRecord() {
    if (!bRecordReady)
        return 0;
    if (lpFile != nullptr)
        return StopRecord(); // finishes the file's header, then comes back here
    bActive = 0;             // the buffers the reset returns are not recorded
    if (hWaveIn != nullptr) {
        waveInStop(hWaveIn);
        waveInReset(hWaveIn);
        for (xloop = 0; xloop < wTotalBuffers; ++xloop)
            waveInUnprepareHeader(hWaveIn, &WaveInHdr[xloop]);
        waveInClose(hWaveIn);
        hWaveIn = nullptr;
    }
    FreeInBuffers();
    bRecordReady = false;
    return 0;
}

MMRESULT CDAC::AddIn(WAVEHDR* lpHdr) {
    const MMRESULT r = waveInAddBuffer(hWaveIn, lpHdr);
    if (r == MMSYSERR_NOERROR)
        ++dwInPending[lpHdr - WaveInHdr];
    return r;
}

void CDAC::FreeInBuffers() {
    for (xloop = 0; xloop < kMaxBuffers; ++xloop) {
        hglbWaveInHdr[xloop].reset();
        WaveInHdr[xloop].lpData = nullptr;
    }
}
