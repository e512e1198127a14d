#include "platform/sound/wavedev_impl.h"

#include <QMetaObject>

#include <algorithm>
#include <atomic>

void WaveOwner::Post(unsigned uMsg, WAVEHDR* lpHdr) {
    QMetaObject::invokeMethod(
        this,
        [this, uMsg, lpHdr] {
            if (Receive)
                Receive(uMsg, lpHdr);
        },
        Qt::QueuedConnection);
}

namespace {
std::atomic<WaveBackend*> gBackend{nullptr};

WaveBackend& Backend() {
    WaveBackend* b = gBackend;
    return b != nullptr ? *b : RtAudioWaveBackend();
}
} // namespace

void InstallWaveBackend(WaveBackend* backend) {
    gBackend = backend;
}

std::string ShortDeviceName(const std::string& name) {
    if (name.size() <= 31)
        return name;
    std::size_t n = 31;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
        --n; // name[n] continues a character that began before it
    return name.substr(0, n);
}

bool WaveFormatPlayable(const WAVEFORMATEX& wf) {
    if (wf.nChannels == 0 || wf.nSamplesPerSec == 0 || wf.wBitsPerSample % 8 != 0)
        return false;
    if (wf.nBlockAlign != wf.nChannels * (wf.wBitsPerSample / 8))
        return false;
    switch (wf.wFormatTag) {
    case WAVE_FORMAT_PCM:
        return wf.wBitsPerSample >= 8 && wf.wBitsPerSample <= 32;
    case WAVE_FORMAT_IEEE_FLOAT:
        return wf.wBitsPerSample == 32 || wf.wBitsPerSample == 64;
    default:
        return false;
    }
}

// ---- both directions ----

MMRESULT WaveDeviceCore::Prepare(WAVEHDR* pwh) {
    if (pwh == nullptr)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(mu_);
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_INQUEUE) | WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveDeviceCore::Unprepare(WAVEHDR* pwh) {
    if (pwh == nullptr)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(mu_);
    if (pwh->dwFlags & WHDR_INQUEUE)
        return WAVERR_STILLPLAYING;
    pwh->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveDeviceCore::Enqueue(Fifo<WAVEHDR*>& queue, WAVEHDR* pwh) {
    if (pwh == nullptr)
        return MMSYSERR_INVALPARAM;
    if (!(pwh->dwFlags & WHDR_PREPARED))
        return WAVERR_UNPREPARED;
    if (pwh->dwFlags & WHDR_INQUEUE)
        return MMSYSERR_INVALPARAM; // already queued: queuing twice would corrupt the order
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    queue.push_back(pwh);
    return MMSYSERR_NOERROR;
}

void WaveDeviceCore::Complete(WAVEHDR* pwh, unsigned uMsg) {
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    owner_->Post(uMsg, pwh);
}

// ---- output ----

MMRESULT WaveOutDevice::Write(WAVEHDR* pwh) {
    std::lock_guard lock(mu_);
    MMRESULT r = Enqueue(queue_, pwh);
    if (r == MMSYSERR_NOERROR && (r = Queued()) != MMSYSERR_NOERROR) {
        queue_.pop_back();
        pwh->dwFlags &= ~WHDR_INQUEUE;
    }
    return r;
}

void WaveOutDevice::Reset() {
    std::lock_guard lock(mu_);
    for (std::size_t i = 0; i < finished_.size(); ++i)
        Complete(finished_[i].first);
    for (std::size_t i = 0; i < queue_.size(); ++i)
        Complete(queue_[i]);
    finished_.clear();
    queue_.clear();
    offset_ = 0;
}

// ---- input ----

MMRESULT WaveInDevice::Add(WAVEHDR* pwh) {
    std::lock_guard lock(mu_);
    const MMRESULT r = Enqueue(queue_, pwh);
    if (r == MMSYSERR_NOERROR)
        pwh->dwBytesRecorded = 0;
    return r;
}

std::size_t WaveInDevice::Fill(const char* src, std::size_t n) {
    std::lock_guard lock(mu_);
    const std::size_t align = std::max<std::size_t>(wf_.nBlockAlign, 1);
    std::size_t taken = 0;
    while (taken < n && !queue_.empty()) {
        WAVEHDR* h = queue_.front();
        // A buffer holds whole frames only: a frame split across two buffers
        // would shift every sample after it for a reader that takes blocks.
        const std::size_t whole = h->dwBufferLength - h->dwBufferLength % align;
        const std::size_t room = whole - h->dwBytesRecorded;
        const std::size_t k = std::min(room, n - taken);
        std::copy(src + taken, src + taken + k, h->lpData + h->dwBytesRecorded);
        h->dwBytesRecorded += static_cast<std::uint32_t>(k);
        taken += k;
        if (h->dwBytesRecorded == whole) {
            queue_.pop_front();
            Complete(h);
        }
    }
    return taken;
}

MMRESULT WaveInDevice::Stop() {
    Halt();
    std::lock_guard lock(mu_);
    if (!queue_.empty() && queue_.front()->dwBytesRecorded > 0) {
        Complete(queue_.front());
        queue_.pop_front();
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WaveInDevice::Reset() {
    Halt();
    std::lock_guard lock(mu_);
    for (std::size_t i = 0; i < queue_.size(); ++i)
        Complete(queue_[i]);
    queue_.clear();
    return MMSYSERR_NOERROR;
}

// ---- the interface ----

namespace {

// Checks what both directions check, then opens through the backend.
template <class Device, class Open>
MMRESULT OpenDevice(Device** ph, const WAVEFORMATEX* pwfx, WaveOwner* owner, Open open) {
    if (ph == nullptr || pwfx == nullptr || owner == nullptr)
        return MMSYSERR_INVALPARAM;
    *ph = nullptr;
    if (!WaveFormatPlayable(*pwfx))
        return WAVERR_BADFORMAT;
    MMRESULT err = MMSYSERR_NOERROR;
    *ph = open(*pwfx, &err);
    return *ph != nullptr ? MMSYSERR_NOERROR : err;
}

MMRESULT CloseDevice(WaveDeviceCore* h) {
    if (h == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (h->Busy())
        return WAVERR_STILLPLAYING; // reset first: every buffer must come back
    h->Close();
    delete h;
    return MMSYSERR_NOERROR;
}

MMRESULT PrepareHeader(WaveDeviceCore* h, WAVEHDR* pwh) {
    return h ? h->Prepare(pwh) : MMSYSERR_INVALHANDLE;
}
MMRESULT UnprepareHeader(WaveDeviceCore* h, WAVEHDR* pwh) {
    return h ? h->Unprepare(pwh) : MMSYSERR_INVALHANDLE;
}

} // namespace

unsigned waveOutGetNumDevs() {
    return Backend().Count(true);
}
std::string WaveOutDeviceName(unsigned id) {
    return ShortDeviceName(Backend().Name(id, true));
}
unsigned WaveOutDeviceChannels(unsigned id) {
    return Backend().OutChannels(id);
}

MMRESULT waveOutOpen(HWAVEOUT* phwo, unsigned uDeviceID, const WAVEFORMATEX* pwfx,
                     WaveOwner* owner) {
    return OpenDevice(phwo, pwfx, owner, [&](const WAVEFORMATEX& wf, MMRESULT* err) {
        return Backend().OpenOut(uDeviceID, wf, owner, err);
    });
}
MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, WAVEHDR* pwh) {
    return PrepareHeader(hwo, pwh);
}
MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, WAVEHDR* pwh) {
    return UnprepareHeader(hwo, pwh);
}
MMRESULT waveOutWrite(HWAVEOUT hwo, WAVEHDR* pwh) {
    return hwo ? hwo->Write(pwh) : MMSYSERR_INVALHANDLE;
}
MMRESULT waveOutReset(HWAVEOUT hwo) {
    if (hwo == nullptr)
        return MMSYSERR_INVALHANDLE;
    hwo->Reset();
    return MMSYSERR_NOERROR;
}
MMRESULT waveOutClose(HWAVEOUT hwo) {
    return CloseDevice(hwo);
}

unsigned waveInGetNumDevs() {
    return Backend().Count(false);
}
std::string WaveInDeviceName(unsigned id) {
    return ShortDeviceName(Backend().Name(id, false));
}

MMRESULT waveInOpen(HWAVEIN* phwi, unsigned uDeviceID, const WAVEFORMATEX* pwfx, WaveOwner* owner) {
    return OpenDevice(phwi, pwfx, owner, [&](const WAVEFORMATEX& wf, MMRESULT* err) {
        return Backend().OpenIn(uDeviceID, wf, owner, err);
    });
}
MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh) {
    return PrepareHeader(hwi, pwh);
}
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh) {
    return UnprepareHeader(hwi, pwh);
}
MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh) {
    return hwi ? hwi->Add(pwh) : MMSYSERR_INVALHANDLE;
}
MMRESULT waveInStart(HWAVEIN hwi) {
    return hwi ? hwi->Start() : MMSYSERR_INVALHANDLE;
}
MMRESULT waveInStop(HWAVEIN hwi) {
    return hwi ? hwi->Stop() : MMSYSERR_INVALHANDLE;
}
MMRESULT waveInReset(HWAVEIN hwi) {
    return hwi ? hwi->Reset() : MMSYSERR_INVALHANDLE;
}
MMRESULT waveInClose(HWAVEIN hwi) {
    return CloseDevice(hwi);
}
