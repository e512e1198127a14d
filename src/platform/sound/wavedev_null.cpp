#include "platform/sound/nullwave.h"
#include "platform/sound/wavedev_impl.h"

#include <string>

namespace {

class NullOut;
class NullIn;

struct NullState {
    NullOut* out = nullptr;
    NullIn* in = nullptr;
    WAVEFORMATEX outFormat;
    std::vector<char> played;
    bool failOpen = false;
    int failWriteAfter = -1;
    bool failStart = false;
};

NullState& S() {
    static NullState s;
    return s;
}

class NullOut : public WaveOutDevice {
public:
    using WaveOutDevice::WaveOutDevice;
    ~NullOut() override {
        if (S().out == this)
            S().out = nullptr;
    }

    std::size_t Step(std::size_t n) {
        std::lock_guard lock(mu_);
        std::size_t done = 0;
        while (done < n && !queue_.empty()) {
            WAVEHDR* h = queue_.front();
            queue_.pop_front();
            S().played.insert(S().played.end(), h->lpData, h->lpData + h->dwBufferLength);
            Complete(h);
            ++done;
        }
        return done;
    }
    std::size_t Waiting() {
        std::lock_guard lock(mu_);
        return queue_.size();
    }

protected:
    MMRESULT Queued() override {
        int& left = S().failWriteAfter;
        if (left == 0)
            return MMSYSERR_ERROR;
        if (left > 0)
            --left;
        return MMSYSERR_NOERROR;
    }
};

class NullIn : public WaveInDevice {
public:
    using WaveInDevice::WaveInDevice;
    ~NullIn() override {
        if (S().in == this)
            S().in = nullptr;
    }

    MMRESULT Start() override {
        if (S().failStart)
            return MMSYSERR_ERROR;
        started_ = true;
        return MMSYSERR_NOERROR;
    }
    std::size_t Take(const char* data, std::size_t n) { return started_ ? Fill(data, n) : 0; }
    std::size_t Waiting() {
        std::lock_guard lock(mu_);
        return queue_.size();
    }
    bool started_ = false;

protected:
    void Halt() override { started_ = false; }
};

// One output and one input device, number 0 each, opened once at a time.
template <class Device>
Device* OpenOne(Device*& slot, unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                MMRESULT* err) {
    if (id != 0) {
        *err = MMSYSERR_BADDEVICEID;
        return nullptr;
    }
    if (S().failOpen || slot != nullptr) {
        *err = MMSYSERR_ERROR;
        return nullptr;
    }
    return slot = new Device(owner, wf);
}

class NullBackend : public WaveBackend {
public:
    unsigned Count(bool) override { return 1; }
    std::string Name(unsigned id, bool output) override {
        return id != 0 ? "" : output ? "Null Output" : "Null Input";
    }
    unsigned OutChannels(unsigned id) override {
        return id == 0 ? 0xFFFFu : 0u; // the null device takes any number
    }
    WaveOutDevice* OpenOut(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                           MMRESULT* err) override {
        WaveOutDevice* dev = OpenOne(S().out, id, wf, owner, err);
        if (dev != nullptr)
            S().outFormat = wf;
        return dev;
    }
    WaveInDevice* OpenIn(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                         MMRESULT* err) override {
        return OpenOne(S().in, id, wf, owner, err);
    }
};

} // namespace

namespace nullwave {

WaveBackend* Backend() {
    static NullBackend backend;
    return &backend;
}

void Clear() {
    S().played.clear();
    S().failOpen = false;
    S().failWriteAfter = -1;
    S().failStart = false;
}

std::size_t StepOut(std::size_t n) {
    return S().out ? S().out->Step(n) : 0;
}
std::size_t QueuedOut() {
    return S().out ? S().out->Waiting() : 0;
}
bool OutOpen() {
    return S().out != nullptr;
}
WAVEFORMATEX OutFormat() {
    return S().outFormat;
}
const std::vector<char>& Played() {
    return S().played;
}

std::size_t StepIn(const char* data, std::size_t n) {
    return S().in ? S().in->Take(data, n) : 0;
}
std::size_t QueuedIn() {
    return S().in ? S().in->Waiting() : 0;
}
bool InOpen() {
    return S().in != nullptr;
}
bool InStarted() {
    return S().in != nullptr && S().in->started_;
}

void FailOpen(bool fail) {
    S().failOpen = fail;
}
void FailWriteAfter(int n) {
    S().failWriteAfter = n;
}
void FailStart(bool fail) {
    S().failStart = fail;
}

} // namespace nullwave
