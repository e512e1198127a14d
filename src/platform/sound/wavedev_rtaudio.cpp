// The wave-device layer over RtAudio: PulseAudio when a sound server is
// reachable, ALSA otherwise.
#include "platform/sound/wavedev_impl.h"

#include <RtAudio.h>
#include <alsa/asoundlib.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

RtAudio::Api ChooseApi() {
    const char* server = std::getenv("PULSE_SERVER");
    if (server != nullptr && *server != '\0')
        return RtAudio::LINUX_PULSE;
    const char* rt = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (rt != nullptr && *rt == '/' && stat((std::string(rt) + "/pulse/native").c_str(), &st) == 0)
        return RtAudio::LINUX_PULSE;
    return RtAudio::LINUX_ALSA;
}

// ALSA reports every missing card on standard error; a machine without sound
// simply has no devices, which the callers handle.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

std::shared_ptr<RtAudio> NewAudio(RtAudio::Api api) {
    if (api == RtAudio::LINUX_ALSA)
        snd_lib_error_set_handler(&QuietAlsa);
    auto audio = std::make_shared<RtAudio>(api);
    audio->showWarnings(false);
    return audio;
}

// One RtAudio serves every device question and every stream: building one
// costs a connection to the sound system, and the sound library keeps a
// little of each for good. A new one is built only when the sound system to
// use changes, or for a second stream while the first is still open.
std::shared_ptr<RtAudio> SharedAudio() {
    static std::shared_ptr<RtAudio> shared;
    static RtAudio::Api sharedApi = RtAudio::UNSPECIFIED;
    const RtAudio::Api api = ChooseApi();
    if (!shared || api != sharedApi) {
        shared = NewAudio(api);
        sharedApi = api;
    }
    return shared;
}

std::shared_ptr<RtAudio> StreamAudio() {
    std::shared_ptr<RtAudio> audio = SharedAudio();
    return audio->isStreamOpen() ? NewAudio(ChooseApi()) : audio;
}

// RtAudio's own numbers of the devices that can play (or record), in order,
// with what RtAudio tells of each.
struct DeviceList {
    std::vector<unsigned> ids;
    std::vector<RtAudio::DeviceInfo> infos;
};

// Asking the sound server for its devices costs a connection of which the
// sound library keeps a little every time, and a play asks several times.
// The answer is therefore kept for a moment: a device plugged in shows up a
// second later at most.
DeviceList Devices(RtAudio& audio, bool output) {
    struct Kept {
        std::mutex mu;
        RtAudio* audio = nullptr;
        std::chrono::steady_clock::time_point when;
        DeviceList lists[2];
    };
    static Kept kept;
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(kept.mu);
    if (kept.audio != &audio || now - kept.when > std::chrono::seconds(1)) {
        DeviceList fresh[2];
        const unsigned n = audio.getDeviceCount();
        for (unsigned i = 0; i < n; ++i) {
            const RtAudio::DeviceInfo info = audio.getDeviceInfo(i);
            for (int dir = 0; dir < 2; ++dir)
                if (info.probed && (dir == 1 ? info.outputChannels : info.inputChannels) > 0) {
                    fresh[dir].ids.push_back(i);
                    fresh[dir].infos.push_back(info);
                }
        }
        kept.audio = &audio;
        kept.when = now;
        kept.lists[0] = std::move(fresh[0]);
        kept.lists[1] = std::move(fresh[1]);
    }
    return kept.lists[output ? 1 : 0];
}

// Asks RtAudio about the devices of one direction: f(their list);
// `fallback` when RtAudio fails.
template <class T, class F> T Ask(bool output, T fallback, F f) {
    try {
        auto audio = SharedAudio();
        return f(Devices(*audio, output));
    } catch (const std::exception&) {
        return fallback;
    }
}

RtAudioFormat Format(const WAVEFORMATEX& wf) {
    if (wf.wFormatTag == WAVE_FORMAT_IEEE_FLOAT)
        return wf.wBitsPerSample == 64 ? RTAUDIO_FLOAT64 : RTAUDIO_FLOAT32;
    switch (wf.wBitsPerSample) {
    case 8:
        return RTAUDIO_SINT8;
    case 16:
        return RTAUDIO_SINT16;
    case 24:
        return RTAUDIO_SINT24;
    default:
        return RTAUDIO_SINT32;
    }
}

// 8-bit WAV samples are unsigned; RtAudio's are signed.
bool Unsigned8(const WAVEFORMATEX& wf) {
    return wf.wFormatTag == WAVE_FORMAT_PCM && wf.wBitsPerSample == 8;
}

void Flip(char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        p[i] = static_cast<char>(p[i] ^ 0x80);
}

// Stops the stream, and closes it too when asked.
void Shut(RtAudio* audio, bool close) {
    try {
        if (audio && audio->isStreamRunning())
            audio->stopStream();
        if (close && audio && audio->isStreamOpen())
            audio->closeStream();
    } catch (const std::exception&) {
    }
}

// An RtAudio with a stream open on the chosen device; nullptr with *err set
// when it cannot be opened.
std::shared_ptr<RtAudio> OpenAudio(unsigned uDeviceID, const WAVEFORMATEX& wf, bool output,
                                   RtAudioCallback cb, void* user, unsigned* frames,
                                   MMRESULT* err) {
    try {
        auto audio = StreamAudio();
        const auto ids = Devices(*audio, output).ids;
        if (uDeviceID >= ids.size()) {
            *err = MMSYSERR_BADDEVICEID;
            return nullptr;
        }
        RtAudio::StreamParameters params;
        params.deviceId = ids[uDeviceID];
        params.nChannels = wf.nChannels;
        RtAudio::StreamOptions options;
        options.streamName = "Tonsmith";
        *frames = std::max(256u, wf.nSamplesPerSec / 50);
        audio->openStream(output ? &params : nullptr, output ? nullptr : &params, Format(wf),
                          wf.nSamplesPerSec, frames, cb, user, &options);
        if (!audio->isStreamOpen()) {
            Shut(audio.get(), true);
            *err = WAVERR_BADFORMAT;
            return nullptr;
        }
        return audio;
    } catch (const std::exception&) {
        *err = MMSYSERR_ERROR;
        return nullptr;
    }
}

class RtOut : public WaveOutDevice {
public:
    using WaveOutDevice::WaveOutDevice;

    bool Open(unsigned uDeviceID, MMRESULT* err) {
        unsigned frames = 0;
        audio_ = OpenAudio(uDeviceID, wf_, true, &RtOut::Callback, this, &frames, err);
        try {
            if (audio_)
                audio_->startStream();
            return audio_ != nullptr;
        } catch (const std::exception&) {
            *err = MMSYSERR_ERROR;
            return false;
        }
    }

    void Close() override { Shut(audio_.get(), true); }
    // The shared RtAudio outlives the device: its stream, which calls back
    // into this object, must not.
    ~RtOut() override { Shut(audio_.get(), true); }

private:
    static int Callback(void* out, void*, unsigned nFrames, double, RtAudioStreamStatus,
                        void* user) {
        auto* self = static_cast<RtOut*>(user);
        self->Pull(static_cast<char*>(out), std::size_t{nFrames} * self->wf_.nBlockAlign);
        return 0;
    }

    // Runs on the audio thread: hands the server the next n bytes of the
    // queue, silence when it runs dry. A buffer taken entirely is reported two
    // callbacks later, once the server has really played it.
    void Pull(char* dst, std::size_t n) {
        std::lock_guard lock(mu_);
        ++tick_;
        while (!finished_.empty() && finished_.front().second <= tick_) {
            Complete(finished_.front().first);
            finished_.pop_front();
        }
        std::size_t k = 0;
        while (!queue_.empty()) {
            WAVEHDR* h = queue_.front();
            const std::size_t c = std::min<std::size_t>(h->dwBufferLength - offset_, n - k);
            std::memcpy(dst + k, h->lpData + offset_, c);
            if (Unsigned8(wf_))
                Flip(dst + k, c);
            k += c;
            offset_ += c;
            if (offset_ < h->dwBufferLength)
                break;
            queue_.pop_front();
            offset_ = 0;
            finished_.push_back({h, tick_ + 2});
        }
        std::memset(dst + k, 0, n - k);
    }

    std::shared_ptr<RtAudio> audio_;
    std::uint64_t tick_ = 0;
};

class RtIn : public WaveInDevice {
public:
    using WaveInDevice::WaveInDevice;

    bool Open(unsigned uDeviceID, MMRESULT* err) {
        unsigned frames = 0;
        audio_ = OpenAudio(uDeviceID, wf_, false, &RtIn::Callback, this, &frames, err);
        scratch_.resize(std::size_t{frames} * wf_.nBlockAlign);
        return audio_ != nullptr;
    }

    MMRESULT Start() override {
        try {
            if (!audio_->isStreamRunning())
                audio_->startStream();
            return MMSYSERR_NOERROR;
        } catch (const std::exception&) {
            return MMSYSERR_ERROR;
        }
    }

    void Close() override { Shut(audio_.get(), true); }
    ~RtIn() override { Shut(audio_.get(), true); }

protected:
    void Halt() override { Shut(audio_.get(), false); }

private:
    static int Callback(void*, void* in, unsigned nFrames, double, RtAudioStreamStatus,
                        void* user) {
        auto* self = static_cast<RtIn*>(user);
        self->Push(static_cast<const char*>(in), std::size_t{nFrames} * self->wf_.nBlockAlign);
        return 0;
    }

    // Runs on the audio thread.
    void Push(const char* src, std::size_t n) {
        if (src == nullptr)
            return;
        if (!Unsigned8(wf_)) {
            Fill(src, n);
            return;
        }
        for (std::size_t done = 0; done < n && !scratch_.empty();) {
            const std::size_t c = std::min(scratch_.size(), n - done);
            std::memcpy(scratch_.data(), src + done, c);
            Flip(scratch_.data(), c);
            Fill(scratch_.data(), c);
            done += c;
        }
    }

    std::shared_ptr<RtAudio> audio_;
    std::vector<char> scratch_;
};

template <class Device>
Device* OpenRt(unsigned uDeviceID, const WAVEFORMATEX& wf, WaveOwner* owner, MMRESULT* err) {
    auto dev = std::make_unique<Device>(owner, wf);
    if (!dev->Open(uDeviceID, err)) {
        dev->Close();
        return nullptr;
    }
    return dev.release();
}

class RtBackend : public WaveBackend {
public:
    unsigned Count(bool output) override {
        return Ask(output, 0u,
                   [](const DeviceList& list) { return static_cast<unsigned>(list.ids.size()); });
    }
    std::string Name(unsigned id, bool output) override {
        return Ask(output, std::string(), [id](const DeviceList& list) {
            return id < list.infos.size() ? list.infos[id].name : std::string();
        });
    }
    unsigned OutChannels(unsigned id) override {
        return Ask(true, 0u, [id](const DeviceList& list) {
            return id < list.infos.size() ? list.infos[id].outputChannels : 0u;
        });
    }
    WaveOutDevice* OpenOut(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                           MMRESULT* err) override {
        return OpenRt<RtOut>(id, wf, owner, err);
    }
    WaveInDevice* OpenIn(unsigned id, const WAVEFORMATEX& wf, WaveOwner* owner,
                         MMRESULT* err) override {
        return OpenRt<RtIn>(id, wf, owner, err);
    }
};

} // namespace

WaveBackend& RtAudioWaveBackend() {
    static RtBackend backend;
    return backend;
}
