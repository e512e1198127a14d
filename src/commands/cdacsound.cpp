#include "commands/cdacsound.h"

#include "audio/cdac32.h"
#include "audio/sampmmio.h"
#include "platform/wavedev.h"

struct CdacSound::Engine {
    CDAC cdac;
    SampMmio mmio;
    WAVEINFO wi;
    CDAC::dac_init dacinit;
    WaveOwner owner;
};

namespace {
CDAC::dac_init Record(const char* szPath, const CdacSound::Kept& kept, WaveOwner* owner) {
    CDAC::dac_init d;
    d.hWnd = owner;
    d.lpszFileName = szPath;
    d.wWaveDeviceId = kept.wWaveDeviceId;
    d.dwSampleRate = kept.dwSampleRate;
    d.wNchnls = kept.wNchnls;
    d.wBits = kept.wBits;
    d.wTotalDacBuffers = 8;
    d.wDacBuffersPerSec = 1;
    return d;
}
} // namespace

CdacSound::CdacSound(std::function<void(std::intptr_t)> onDone) : m(std::make_unique<Engine>()) {
    m->owner.Receive = [onDone = std::move(onDone)](unsigned uMsg, WAVEHDR* lpHdr) {
        if (uMsg == MM_WOM_DONE && onDone)
            onDone(reinterpret_cast<std::intptr_t>(lpHdr));
    };
}

CdacSound::~CdacSound() = default;

bool CdacSound::LoadSampleInfo(const char* szPath, WaveFacts& facts) {
    if (!m->mmio.LoadSampleInfo(&m->wi, szPath))
        return false;
    facts.dwSampleRate = m->wi.WaveFormat.nSamplesPerSec;
    facts.wNchnls = m->wi.WaveFormat.nChannels;
    facts.wBits = m->wi.WaveFormat.wBitsPerSample;
    facts.dwDataSize = m->wi.dwDataSize;
    return true;
}

void CdacSound::StopPlayback() {
    m->cdac.StopPlayback();
}

bool CdacSound::IsActive() const {
    return m->cdac.GetbActiveDevice() == 1;
}

void CdacSound::PlaybackBufferCycle(std::intptr_t lParam, QObject*) {
    m->cdac.PlaybackBufferCycle(reinterpret_cast<WAVEHDR*>(lParam), &m->owner);
}

std::string CdacSound::UnplayableReason(const char* szPath, const Kept& kept) const {
    // A file the reader rejects (as its selection did) is never handed on.
    SampMmio reader;
    WAVEINFO info;
    if (!reader.LoadSampleInfo(&info, szPath))
        return "Cannot play this sound: it is not a WAV file that can be read.";
    std::uint16_t tag = 0;
    return PlaybackFormatProblem(Record(szPath, kept, nullptr), &tag);
}

void CdacSound::StartPlayback(const char* szPath, const Kept& kept) {
    m->dacinit = Record(szPath, kept, &m->owner);
    m->cdac.InitPlayback(m->dacinit);
    m->cdac.PrimePlaybackFile();
    m->cdac.StartPlayback(&m->owner);
}

unsigned WaveOutDeviceCount() {
    return waveOutGetNumDevs();
}
