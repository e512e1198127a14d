// The wave-device layer: sound output and input in queued buffers, with the
// contract the engines rely on.
//
// - Buffers queued with waveOutWrite play in queue order; buffers handed over
//   with waveInAddBuffer fill in that order, each with whole frames only (a
//   buffer whose length is not a multiple of the frame size comes back with
//   the odd bytes unused).
// - Each finished buffer comes back as a message (MM_WOM_DONE or MM_WIM_DATA)
//   posted to the owner's thread; the device never calls the engine from its
//   own audio thread. A buffer counts as played once the sound server has had
//   time to take it, so closing right after the last completion loses nothing.
// - Reset returns every queued buffer at once; each still gets its message,
//   which arrives after the caller has finished what it is doing.
// - Devices are numbered from 0 and have names of at most 31 characters.
//
// Devices come from a backend: RtAudio (PulseAudio when a sound server is
// reachable, ALSA otherwise) unless another is installed, such as the null
// device whose completions tests step by hand (platform/sound/nullwave.h).
#pragma once

#include "platform/sound/waveformat.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

using MMRESULT = unsigned;
enum : MMRESULT {
    MMSYSERR_NOERROR = 0,
    MMSYSERR_ERROR = 1,
    MMSYSERR_BADDEVICEID = 2,
    MMSYSERR_INVALHANDLE = 5,
    MMSYSERR_NODRIVER = 6,
    MMSYSERR_NOMEM = 7,
    MMSYSERR_INVALPARAM = 11,
    WAVERR_BADFORMAT = 32,
    WAVERR_STILLPLAYING = 33,
    WAVERR_UNPREPARED = 34,
};

enum : unsigned {
    MM_WOM_OPEN = 0x3BB,
    MM_WOM_CLOSE = 0x3BC,
    MM_WOM_DONE = 0x3BD,
    MM_WIM_OPEN = 0x3BE,
    MM_WIM_CLOSE = 0x3BF,
    MM_WIM_DATA = 0x3C0,
};

enum : std::uint32_t {
    WHDR_DONE = 0x01,
    WHDR_PREPARED = 0x02,
    WHDR_INQUEUE = 0x10,
};

// One buffer. The caller owns lpData and sets dwBufferLength; the device
// sets dwBytesRecorded (input) and dwFlags.
struct WAVEHDR {
    char* lpData = nullptr;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwFlags = 0;
};

// The receiver of a device's messages: the window the messages go to. The
// main window keeps one as a member and sets Receive, for example
//
//     waveOwner.Receive = [this](unsigned uMsg, WAVEHDR* lpHdr) {
//         if (uMsg == MM_WOM_DONE) {
//             cdac.PlaybackBufferCycle(lpHdr, &waveOwner);
//             UpdateStatusBar();
//         }
//     };
//
// Receive runs on the thread the owner lives in (its event loop), never on an
// audio thread. The owner must outlive every device opened for it.
class WaveOwner : public QObject {
public:
    using QObject::QObject;
    std::function<void(unsigned uMsg, WAVEHDR* lpHdr)> Receive;

    // Queues a message for Receive; safe from any thread.
    void Post(unsigned uMsg, WAVEHDR* lpHdr);
};

class WaveOutDevice;
class WaveInDevice;
using HWAVEOUT = WaveOutDevice*;
using HWAVEIN = WaveInDevice*;

// Output devices.
unsigned waveOutGetNumDevs();
std::string WaveOutDeviceName(unsigned uDeviceID); // empty when there is none
// The most channels the device plays at once; 0 when there is no such device.
unsigned WaveOutDeviceChannels(unsigned uDeviceID);
MMRESULT waveOutOpen(HWAVEOUT* phwo, unsigned uDeviceID, const WAVEFORMATEX* pwfx,
                     WaveOwner* owner);
MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, WAVEHDR* pwh);
MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, WAVEHDR* pwh);
MMRESULT waveOutWrite(HWAVEOUT hwo, WAVEHDR* pwh);
MMRESULT waveOutReset(HWAVEOUT hwo);
MMRESULT waveOutClose(HWAVEOUT hwo); // WAVERR_STILLPLAYING while buffers are queued

// Input devices.
unsigned waveInGetNumDevs();
std::string WaveInDeviceName(unsigned uDeviceID);
MMRESULT waveInOpen(HWAVEIN* phwi, unsigned uDeviceID, const WAVEFORMATEX* pwfx, WaveOwner* owner);
MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh);
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh);
MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh);
MMRESULT waveInStart(HWAVEIN hwi);
MMRESULT waveInStop(HWAVEIN hwi);
MMRESULT waveInReset(HWAVEIN hwi);
MMRESULT waveInClose(HWAVEIN hwi);

// Installs the backend that new devices, device counts and names come from;
// nullptr puts RtAudio back. The backend must outlive its devices.
class WaveBackend;
void InstallWaveBackend(WaveBackend* backend);

// Cuts a device name to at most 31 bytes without splitting a UTF-8 character.
std::string ShortDeviceName(const std::string& name);
