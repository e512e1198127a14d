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
std::atomic<WaveBackend> gBackend{WaveBackend::Audio};
} // namespace

void SetWaveBackend(WaveBackend backend) {
    gBackend = backend;
}
WaveBackend CurrentWaveBackend() {
    return gBackend;
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

// ---- output ----

MMRESULT WaveOutDevice::Write(WAVEHDR* pwh) {
    if (pwh == nullptr)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(mu_);
    if (!(pwh->dwFlags & WHDR_PREPARED))
        return WAVERR_UNPREPARED;
    if (pwh->dwFlags & WHDR_INQUEUE)
        return MMSYSERR_INVALPARAM; // already queued: queuing twice would corrupt the order
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    queue_.push_back(pwh);
    const MMRESULT r = Queued();
    if (r != MMSYSERR_NOERROR) {
        queue_.pop_back();
        pwh->dwFlags &= ~WHDR_INQUEUE;
    }
    return r;
}

void WaveOutDevice::Complete(WAVEHDR* pwh) {
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    owner_->Post(MM_WOM_DONE, pwh);
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
    if (pwh == nullptr)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(mu_);
    if (!(pwh->dwFlags & WHDR_PREPARED))
        return WAVERR_UNPREPARED;
    if (pwh->dwFlags & WHDR_INQUEUE)
        return MMSYSERR_INVALPARAM;
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    pwh->dwBytesRecorded = 0;
    queue_.push_back(pwh);
    return MMSYSERR_NOERROR;
}

void WaveInDevice::Complete(WAVEHDR* pwh) {
    pwh->dwFlags = (pwh->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    owner_->Post(MM_WIM_DATA, pwh);
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

unsigned waveOutGetNumDevs() {
    return gBackend == WaveBackend::Null ? 1u : RtWaveOutCount();
}

std::string WaveOutDeviceName(unsigned id) {
    if (gBackend == WaveBackend::Null)
        return id == 0 ? "Null Output" : "";
    return ShortDeviceName(RtWaveOutName(id));
}

unsigned WaveOutDeviceChannels(unsigned id) {
    if (gBackend == WaveBackend::Null)
        return id == 0 ? 0xFFFFu : 0u; // the null device takes any number
    return RtWaveOutChannels(id);
}

MMRESULT waveOutOpen(HWAVEOUT* phwo, unsigned uDeviceID, const WAVEFORMATEX* pwfx,
                     WaveOwner* owner) {
    if (phwo == nullptr || pwfx == nullptr || owner == nullptr)
        return MMSYSERR_INVALPARAM;
    *phwo = nullptr;
    if (!WaveFormatPlayable(*pwfx))
        return WAVERR_BADFORMAT;
    MMRESULT err = MMSYSERR_NOERROR;
    *phwo = gBackend == WaveBackend::Null ? OpenNullWaveOut(uDeviceID, *pwfx, owner, &err)
                                          : OpenRtWaveOut(uDeviceID, *pwfx, owner, &err);
    return *phwo != nullptr ? MMSYSERR_NOERROR : err;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, WAVEHDR* pwh) {
    return hwo ? hwo->Prepare(pwh) : MMSYSERR_INVALHANDLE;
}
MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, WAVEHDR* pwh) {
    return hwo ? hwo->Unprepare(pwh) : MMSYSERR_INVALHANDLE;
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
    if (hwo == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (hwo->Busy())
        return WAVERR_STILLPLAYING; // reset first: every buffer must come back
    hwo->Close();
    ForgetNullWaveOut(hwo);
    delete hwo;
    return MMSYSERR_NOERROR;
}

unsigned waveInGetNumDevs() {
    return gBackend == WaveBackend::Null ? 1u : RtWaveInCount();
}

std::string WaveInDeviceName(unsigned id) {
    if (gBackend == WaveBackend::Null)
        return id == 0 ? "Null Input" : "";
    return ShortDeviceName(RtWaveInName(id));
}

MMRESULT waveInOpen(HWAVEIN* phwi, unsigned uDeviceID, const WAVEFORMATEX* pwfx, WaveOwner* owner) {
    if (phwi == nullptr || pwfx == nullptr || owner == nullptr)
        return MMSYSERR_INVALPARAM;
    *phwi = nullptr;
    if (!WaveFormatPlayable(*pwfx))
        return WAVERR_BADFORMAT;
    MMRESULT err = MMSYSERR_NOERROR;
    *phwi = gBackend == WaveBackend::Null ? OpenNullWaveIn(uDeviceID, *pwfx, owner, &err)
                                          : OpenRtWaveIn(uDeviceID, *pwfx, owner, &err);
    return *phwi != nullptr ? MMSYSERR_NOERROR : err;
}

MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh) {
    return hwi ? hwi->Prepare(pwh) : MMSYSERR_INVALHANDLE;
}
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh) {
    return hwi ? hwi->Unprepare(pwh) : MMSYSERR_INVALHANDLE;
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
    if (hwi == nullptr)
        return MMSYSERR_INVALHANDLE;
    if (hwi->Busy())
        return WAVERR_STILLPLAYING;
    hwi->Close();
    ForgetNullWaveIn(hwi);
    delete hwi;
    return MMSYSERR_NOERROR;
}
