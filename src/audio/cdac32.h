// The audio engine: plays the sample data of a WAV file through a wave-output
// device in a ring of equal buffers, and records from a wave-input device into
// a new WAV file the same way.
//
// The engine has no thread and no timer. The device posts each finished
// buffer to the owner named in dac_init::hWnd (a WaveOwner, see
// platform/sound/wavedev.h), on the owner's thread. The owner hands it back:
//
//     MM_WOM_DONE -> cdac.PlaybackBufferCycle(lpHdr, owner), then refresh the
//                    status bar ("Status - Playing" while GetbActiveDevice()).
//     MM_WIM_DATA -> cdac.RecordBufferCycle(lpHdr, owner).
//
// Only one half, playback or recording, may be in use at a time. Every
// operation returns 0. Problems are shown through MessageBox with caption
// "CDac".
#pragma once

#include "audio/riff.h"
#include "audio/sndsource.h"
#include "platform/sound/wavedev.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class CDAC {
public:
    static constexpr unsigned kMaxBuffers = 64;

    struct dac_init {
        WaveOwner* hWnd = nullptr;          // receives the completions
        const char* lpszFileName = nullptr; // kept, not copied: valid until primed
        std::uint16_t wWaveDeviceId = 0;
        std::uint32_t dwSampleRate = 0;
        std::uint16_t wNchnls = 0;
        std::uint16_t wBits = 0;
        std::uint16_t wTotalDacBuffers = 0;  // 1 to 64 (recording: 2 to 65)
        std::uint16_t wDacBuffersPerSec = 0; // at least 1
    };

    // The 44-byte header of a recorded file (written byte by byte,
    // little-endian, by EncodeWavHead).
    struct wav_head {
        char magic[4];
        std::int32_t len0;
        char magic1[4];
        char magic2[4];
        std::int32_t len;
        std::int16_t format;
        std::int16_t nchns;
        std::int32_t rate;
        std::int32_t aver;
        std::int16_t nBlockAlign;
        std::int16_t size;
        char magic3[4];
        std::int32_t datasize;
    };

    CDAC() = default;
    CDAC(const CDAC&) = delete;
    CDAC& operator=(const CDAC&) = delete;
    ~CDAC(); // stops whatever still runs, so no device outlives the engine

    // Playback. The caller fills dac_init from the file's format, then calls
    // InitPlayback, PrimePlaybackFile and StartPlayback in one go, and only
    // while GetbActiveDevice() is 0.
    int InitPlayback(dac_init DacInit);
    int PrimePlaybackFile();
    int StartPlayback(WaveOwner* hWnd);
    int PlaybackBufferCycle(WAVEHDR* lpHdr, WaveOwner* hWnd);
    int StopPlayback();
    int CleanUpPlayback();
    int GetbActive() const { return bActive; }
    int GetbActiveDevice() const { return bActiveDevice; }

    // Recording: InitRecord, PrimeRecordFile, StartRecord; StopRecord ends it
    // and brings the file's header up to date.
    int InitRecord(dac_init DacInit);
    int PrimeRecordFile(WaveOwner* hWnd);
    int StartRecord(WaveOwner* hWnd);
    int RecordBufferCycle(WAVEHDR* lpHdr, WaveOwner* hWnd);
    int StopRecord();
    int CleanUpRecord();

    const WAVEFORMATEX& Format() const { return WaveFormat; }

private:
    void ReleasePlayback();
    void Requeue(WAVEHDR* lpHdr);
    // Counts a completion of one of our headers; false when it belongs to an
    // earlier run (stopped, then followed by a new start before it arrived).
    bool Arrived(const WAVEHDR* lpHdr, const WAVEHDR* ring, std::uint32_t* pending,
                 std::uint32_t* stale);
    MMRESULT WriteOut(WAVEHDR* lpHdr);
    MMRESULT AddIn(WAVEHDR* lpHdr);
    void FreeInBuffers();

    HWAVEOUT hWaveOut = nullptr;
    HWAVEIN hWaveIn = nullptr;
    WAVEFORMATEX WaveFormat;
    std::unique_ptr<char[]> hglbWaveOutHdr[kMaxBuffers];
    WAVEHDR WaveOutHdr[kMaxBuffers];
    std::unique_ptr<char[]> hglbWaveInHdr[kMaxBuffers];
    WAVEHDR WaveInHdr[kMaxBuffers];
    const char* glpszFileName = nullptr;
    std::FILE* lpFile = nullptr;
    unsigned xloop = 0;
    int bActive = 0;
    int bActiveDevice = 0;
    wav_head wavestruct{};
    std::uint16_t wTotalBuffers = 0;
    std::uint16_t wCleanBuffers = 0;
    RiffFile hMmio;
    MMCKINFO ckinfo;
    MMCKINFO ckchild;
    std::uint64_t bytesread = 0;
    std::uint32_t buffersused = 0;

    // Bookkeeping of our own.
    // Per header: completions still to come, and how many of those belong to
    // an earlier run. The device returns a header's completions in order.
    std::uint32_t dwOutPending[kMaxBuffers] = {};
    std::uint32_t dwOutStale[kMaxBuffers] = {};
    std::uint32_t dwInPending[kMaxBuffers] = {};
    std::uint32_t dwInStale[kMaxBuffers] = {};
    // The sound data: the bytes the device gets in all, and where they come
    // from: the data chunk as it is, or decoded.
    std::uint64_t qwDataBytes = 0;
    bool bDecode = false;
    SndSource source;
    std::uint32_t Fetch(char* p, std::uint32_t n) {
        return bDecode ? source.Read(p, n) : hMmio.Read(p, n);
    }
    bool bReady = false;          // initialised, not yet primed
    bool bPrimed = false;         // primed, not yet started
    bool bRecordReady = false;    // record buffers allocated
    std::uint64_t dwRecorded = 0; // sample bytes written to the recording
};

using DACINIT = CDAC::dac_init;
using WAVESTRUCT = CDAC::wav_head;

// How a sound is played: the device format, and whether its samples are
// decoded (libsndfile) or go to the device byte for byte from the data chunk.
struct PlayPlan {
    WAVEFORMATEX device;
    bool bDecode = false;
};

// Why a sound cannot be played as given on the device it names, as the rest
// of a sentence ("it has no channels."), or an empty text when it can; then
// *plan says how. A RIFF WAVE file's PCM or float samples play as stored;
// A-law and mu-law samples, other kinds of file (AIFF, RF64, ...) and more
// channels than the device has are decoded. Compressed samples are refused
// with the compression's name.
std::string PlaybackFormatReason(const CDAC::dac_init& d, PlayPlan* plan);
// The same as the engine says it: "Cannot play this sound: " and the reason.
std::string PlaybackFormatProblem(const CDAC::dac_init& d, PlayPlan* plan);

// The device format for the sound dac_init describes, with that format tag.
WAVEFORMATEX DeviceFormat(const CDAC::dac_init& d, std::uint16_t tag);

// The 44-byte image of a header, little-endian.
void EncodeWavHead(const CDAC::wav_head& h, unsigned char out[44]);
