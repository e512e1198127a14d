// The Csound performance command line: the Csound path, one group of
// single-letter flags behind a dash, "-o" and the output file, the optional
// MIDI and extract files, then the orchestra and score paths; or, for a
// unified piece (.csd), its path alone.
#pragma once

#include "csound/commandline.h"
#include "settings/inistruct.h"

#include <string_view>

// The text of the line when no orchestra or no score is selected.
inline constexpr char szCmdLineError[] = "ERROR!!";

namespace perf {
// True for a unified piece: a name ending in ".csd", in any case. It holds
// its own score (and options, which the command line's flags override).
bool IsUnifiedPiece(std::string_view szOrc);

// The line of a performance with the given settings. Refused (szCmdLineError,
// or szLineTooLong with its fault) when no orchestra is selected, or no
// score for an orchestra that is not a unified piece,
// when a number would not fit its flag (8 characters) or when the argument
// string after the Csound path would be longer than 255 characters.
CommandLine MakeCommandLine(const INISTRUCT& ini);
} // namespace perf
