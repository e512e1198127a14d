// The null wave device: no sound, and nothing happens until a test says so.
// Install it with InstallWaveBackend(nullwave::Backend()); it has one output
// and one input device (number 0). Completions are posted to the owner like those of
// a real device, so the owner's event loop must run to deliver them.
#pragma once

#include "platform/sound/wavedev.h"

#include <cstddef>
#include <vector>

namespace nullwave {

WaveBackend* Backend();

// Forgets what was played and recorded and every planned failure.
void Clear();

// Plays up to n queued output buffers of the open device, oldest first: their
// bytes are appended to Played() and their completions posted. Returns the
// number played.
std::size_t StepOut(std::size_t n = 1);
std::size_t QueuedOut();           // buffers waiting on the output device
bool OutOpen();                    // an output device is open
WAVEFORMATEX OutFormat();          // format of the last output opened
const std::vector<char>& Played(); // every byte played since Clear()

// Hands captured bytes to the input device's waiting buffers; each buffer
// that fills up is posted. Returns the bytes taken (0 unless started).
std::size_t StepIn(const char* data, std::size_t n);
std::size_t QueuedIn();
bool InOpen();
bool InStarted();

// Planned failures: opening fails; the write after the next n succeed fails;
// the input device fails to start.
void FailOpen(bool fail);
void FailWriteAfter(int n); // -1: never
void FailStart(bool fail);

} // namespace nullwave
