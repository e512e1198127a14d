// The argument lists handed to the launcher for a performance and for an
// analysis utility.
//
// The command lines are formed as plain text with nothing quoted, so a file
// or folder name holding a blank or a quote could not be told apart from the
// next argument once the text is split again. Both lines have a known shape,
// though: the names we put into them (the Csound path, the output, MIDI and
// extract files, the orchestra and score, the sound file and the analysis
// file) are taken from the settings as whole arguments, and only the flags
// between them are split. A line of any other shape is split as a whole.
#pragma once

#include "settings/inistruct.h"

#include <string>
#include <vector>

namespace csound {
// szCsoundPath followed by the arguments of the performance line szCmdLine
// (the argument string built from the same record).
std::vector<std::string> PerformanceArguments(const INISTRUCT& ini, const std::string& szCmdLine);

// The arguments of an analysis command line (Csound path first) built from
// the record for page iType.
std::vector<std::string> AnalysisArguments(const INISTRUCT& ini, int iType,
                                           const std::string& line);
} // namespace csound
