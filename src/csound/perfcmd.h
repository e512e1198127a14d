// The Csound performance command line: the Csound path, one group of
// single-letter flags behind a dash, "-o" and the output file, the optional
// MIDI and extract files, then the orchestra and score paths.
#pragma once

#include "csound/commandline.h"
#include "settings/inistruct.h"

// The text of the line when no orchestra or no score is selected.
inline constexpr char szCmdLineError[] = "ERROR!!";

namespace perf {
// The line of a performance with the given settings. Refused (szCmdLineError,
// or szLineTooLong with its fault) when no orchestra or score is selected,
// when a number would not fit its flag (8 characters) or when the argument
// string after the Csound path would be longer than 255 characters.
CommandLine MakeCommandLine(const INISTRUCT& ini);
} // namespace perf
