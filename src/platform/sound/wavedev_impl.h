// What the backends of the wave-device layer share: the buffer queues, the
// header flags and the completion messages, all under one lock per device.
#pragma once

#include "platform/sound/fifo.h"
#include "platform/sound/wavedev.h"

#include <cstddef>
#include <mutex>
#include <string>
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
    // Buffers are still queued or not yet returned.
    virtual bool Busy() = 0;
    // Stops the device; called once, before it is deleted.
    virtual void Close() {}

protected:
    // Queues a prepared buffer that is not queued yet; the lock must be held.
    MMRESULT Enqueue(Fifo<WAVEHDR*>& queue, WAVEHDR* pwh);
    // Marks a buffer done and posts its message; the lock must be held.
    void Complete(WAVEHDR* pwh, unsigned uMsg);

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
    bool Busy() override {
        std::lock_guard lock(mu_);
        return !queue_.empty() || !finished_.empty();
    }

protected:
    // Called with the lock held after a buffer was queued.
    virtual MMRESULT Queued() { return MMSYSERR_NOERROR; }
    void Complete(WAVEHDR* pwh) { WaveDeviceCore::Complete(pwh, MM_WOM_DONE); }

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
    bool Busy() override {
        std::lock_guard lock(mu_);
        return !queue_.empty();
    }

protected:
    virtual void Halt() = 0; // stops the stream; called without the lock
    // Appends captured bytes to the waiting buffers, returning full ones;
    // the lock must not be held. Returns the bytes taken.
    std::size_t Fill(const char* src, std::size_t n);
    void Complete(WAVEHDR* pwh) { WaveDeviceCore::Complete(pwh, MM_WIM_DATA); }

    Fifo<WAVEHDR*> queue_;
};

// A source of devices, numbered from 0 in each direction.
class WaveBackend {
public:
    virtual ~WaveBackend() = default;
    virtual unsigned Count(bool output) = 0;
    virtual std::string Name(unsigned id, bool output) = 0; // empty when there is none
    // The most channels an output device plays at once; 0 when there is none.
    virtual unsigned OutChannels(unsigned id) = 0;
    // Each returns nullptr with *err set when the device cannot be opened.
    virtual WaveOutDevice* OpenOut(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                                   MMRESULT* err) = 0;
    virtual WaveInDevice* OpenIn(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                                 MMRESULT* err) = 0;
};

// The backend in use when no other is installed.
WaveBackend& RtAudioWaveBackend();

// The sample formats both backends accept: integer PCM of 8, 16, 24 or 32
// bits and float of 32 or 64 bits, with a consistent block alignment.
bool WaveFormatPlayable(const WAVEFORMATEX& wf);
