// Switches the wave devices to the null device and back, kept apart from
// the window's headers (both name the device messages).
#include "platform/sound/nullwave.h"

void UseNullWaveDevice(bool bNull) {
    InstallWaveBackend(bNull ? nullwave::Backend() : nullptr);
}
