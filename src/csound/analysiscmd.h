// Command lines of the three analysis utilities and their settings write-back.
#pragma once

#include "settings/inistruct.h"

namespace analysis {
enum { PAGE_LPC = 0, PAGE_HETRO = 1, PAGE_PVOC = 2 };

// Returned when the line would not fit its 199 characters.
inline constexpr char szAnalysisTooLong[] = "TOO LONG!!";

// The working copy the analysis dialog edits; the builders read it.
extern INISTRUCT LocalIniStruct;

// The command line of page iType (0 LPC, 1 hetro, 2 pvanal) built from
// LocalIniStruct, in a static 200-byte buffer, or szAnalysisTooLong.
const char* MakeCommandLine(int iType);
// Same, from any record.
const char* MakeCommandLineFrom(const INISTRUCT* lpIni, int iType);

// Why the last MakeCommandLine returned szAnalysisTooLong, as a sentence.
const char* CommandLineFault();

// Writes the 31 analysis keys from LocalIniStruct; returns 1.
int RefreshIni();
} // namespace analysis
