// Plays one WAV file through the engine, as the main window does (eight
// buffers of one second), and reports how many buffer cycles ran and how many
// allocations the owner's thread made while the buffers circulated.
//   bench_play_helper FILE         play it
//   bench_play_helper --idle FILE  open the device in the file's format and
//                                  close it after a second: the baseline
#include "audio/cdac32.h"
#include "audio/sampmmio.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
std::atomic<long> gAllocs{0};
thread_local bool tCounting = false;
} // namespace

void* operator new(std::size_t n) {
    if (tCounting)
        ++gAllocs;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool idle = argc == 3 && std::strcmp(argv[1], "--idle") == 0;
    if (argc != 2 && !idle) {
        std::fprintf(stderr, "usage: bench_play_helper [--idle] FILE\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    SampMmio mmio;
    WAVEINFO wi;
    if (!mmio.LoadSampleInfo(&wi, path)) {
        std::fprintf(stderr, "Invalid Wave!\n");
        return 1;
    }
    WaveOwner owner;
    if (idle) {
        HWAVEOUT hwo = nullptr;
        if (waveOutOpen(&hwo, 0, &wi.WaveFormat, &owner) != MMSYSERR_NOERROR)
            return 1;
        QThread::msleep(1000);
        waveOutClose(hwo);
        std::printf("cycles=0 allocs=0\n");
        return 0;
    }
    CDAC cdac;
    long cycles = 0;
    long allocs = 0;
    owner.Receive = [&](unsigned uMsg, WAVEHDR* lpHdr) {
        if (uMsg != MM_WOM_DONE)
            return;
        ++cycles;
        const long before = gAllocs;
        tCounting = true;
        cdac.PlaybackBufferCycle(lpHdr, &owner);
        tCounting = false;
        // The last cycle releases the device and the ring: not circulation.
        if (cdac.GetbActiveDevice())
            allocs += gAllocs - before;
        else
            QCoreApplication::quit();
    };
    CDAC::dac_init d;
    d.hWnd = &owner;
    d.lpszFileName = path;
    d.dwSampleRate = wi.WaveFormat.nSamplesPerSec;
    d.wNchnls = wi.WaveFormat.nChannels;
    d.wBits = wi.WaveFormat.wBitsPerSample;
    d.wTotalDacBuffers = 8;
    d.wDacBuffersPerSec = 1;
    cdac.InitPlayback(d);
    cdac.PrimePlaybackFile();
    cdac.StartPlayback(&owner);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit); // a stuck device
    if (cdac.GetbActiveDevice())
        app.exec(); // sleeps until each completion arrives
    std::printf("cycles=%ld allocs=%ld\n", cycles, allocs);
    return cdac.GetbActiveDevice() ? 1 : 0;
}
