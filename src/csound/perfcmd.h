// The Csound performance command line.
#pragma once

#include "settings/inistruct.h"

// Returned when no orchestra or no score is selected.
inline constexpr char szCmdLineError[] = "ERROR!!";
// Returned when the line would not fit its 255 characters, or a number would
// not fit its flag (8 characters); CommandLineFault() says which.
inline constexpr char szCmdLineTooLong[] = "TOO LONG!!";

namespace perf {
// The argument string of a performance (without the Csound path), in a static
// 256-byte buffer overwritten by the next call, or one of the two markers.
const char* MakeCommandLine(const INISTRUCT* lpIniStruct);
// Why the last MakeCommandLine returned szCmdLineTooLong, as a sentence for
// a message box.
const char* CommandLineFault();
} // namespace perf
