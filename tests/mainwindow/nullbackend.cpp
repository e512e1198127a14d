// Switches the wave devices to the null device and back, kept apart from
// the window's headers (both name the device messages).
#include "platform/sound/wavedev.h"

void UseNullWaveDevice(bool bNull) {
    SetWaveBackend(bNull ? WaveBackend::Null : WaveBackend::Audio);
}
