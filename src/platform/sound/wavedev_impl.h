// What the backends of the wave-device layer share: the buffer queues, the
// header flags and the completion messages, all under one lock per device.
#pragma once

#include "platform/sound/fifo.h"
#include "platform/sound/wavedev.h"

#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

// The header bookkeeping output and input devices share.
class WaveDeviceCore {
public:
    WaveDeviceCore(WaveOwner* owner, const WAVEFORMATEX& wf) : owner_(owner), wf_(wf) {}
    virtual ~WaveDeviceCore() = default;
    WaveDeviceCore(const WaveDeviceCore&) = delete;
    WaveDeviceCore& operator=(const WaveDeviceCore&) = delete;

    MMRESULT Prepare(WAVEHDR* pwh);
    // A buffer still queued cannot be unprepared.
    MMRESULT Unprepare(WAVEHDR* pwh);

protected:
    std::mutex mu_;
    WaveOwner* owner_;
    WAVEFORMATEX wf_;
};

class WaveOutDevice : public WaveDeviceCore {
public:
    using WaveDeviceCore::WaveDeviceCore;

    MMRESULT Write(WAVEHDR* pwh);
    // Returns every queued buffer, in queue order, with its message.
    void Reset();
    // Stops the sound; called once, before the device is deleted.
    virtual void Close() {}
    // Buffers are still queued or not yet returned.
    bool Busy() {
        std::lock_guard lock(mu_);
        return !queue_.empty() || !finished_.empty();
    }

protected:
    // Called with the lock held after a buffer was queued.
    virtual MMRESULT Queued() { return MMSYSERR_NOERROR; }
    // Marks a buffer done and posts its message; the lock must be held.
    void Complete(WAVEHDR* pwh);

    Fifo<WAVEHDR*> queue_;   // waiting or playing, in order
    std::size_t offset_ = 0; // bytes of queue_.front() already taken
    // Taken entirely, not yet reported, with the tick at which it counts as played.
    Fifo<std::pair<WAVEHDR*, std::uint64_t>> finished_;
};

class WaveInDevice : public WaveDeviceCore {
public:
    using WaveDeviceCore::WaveDeviceCore;

    MMRESULT Add(WAVEHDR* pwh);
    virtual MMRESULT Start() = 0;
    // Stops filling; a partly filled buffer comes back with what it holds.
    MMRESULT Stop();
    // Stops and returns every buffer.
    MMRESULT Reset();
    virtual void Close() {}
    bool Busy() {
        std::lock_guard lock(mu_);
        return !queue_.empty();
    }

protected:
    virtual void Halt() = 0; // stops the stream; called without the lock
    // Appends captured bytes to the waiting buffers, returning full ones;
    // the lock must not be held. Returns the bytes taken.
    std::size_t Fill(const char* src, std::size_t n);
    void Complete(WAVEHDR* pwh); // lock held

    Fifo<WAVEHDR*> queue_;
};

// Backend factories.
WaveOutDevice* OpenRtWaveOut(unsigned uDeviceID, const WAVEFORMATEX& wf, WaveOwner* owner,
                             MMRESULT* err);
WaveInDevice* OpenRtWaveIn(unsigned uDeviceID, const WAVEFORMATEX& wf, WaveOwner* owner,
                           MMRESULT* err);
unsigned RtWaveOutCount();
unsigned RtWaveInCount();
std::string RtWaveOutName(unsigned id);
unsigned RtWaveOutChannels(unsigned id);
std::string RtWaveInName(unsigned id);

WaveOutDevice* OpenNullWaveOut(unsigned uDeviceID, const WAVEFORMATEX& wf, WaveOwner* owner,
                               MMRESULT* err);
WaveInDevice* OpenNullWaveIn(unsigned uDeviceID, const WAVEFORMATEX& wf, WaveOwner* owner,
                             MMRESULT* err);
void ForgetNullWaveOut(WaveOutDevice* dev);
void ForgetNullWaveIn(WaveInDevice* dev);

// The sample formats both backends accept: integer PCM of 8, 16, 24 or 32
// bits and float of 32 or 64 bits, with a consistent block alignment.
bool WaveFormatPlayable(const WAVEFORMATEX& wf);
