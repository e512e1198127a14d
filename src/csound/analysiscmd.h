// Command lines of the three analysis utilities and their settings write-back.
#pragma once

#include "csound/commandline.h"
#include "settings/inistruct.h"

namespace analysis {
enum { PAGE_LPC = 0, PAGE_HETRO = 1, PAGE_PVOC = 2 };

// The working copy the analysis dialog edits.
extern INISTRUCT LocalIniStruct;

// The command line of page iType (0 LPC, 1 hetro, 2 pvanal) built from the
// record, with the sound file and the analysis file whole arguments. Refused
// (szLineTooLong with its fault) when it would be longer than 199 characters
// or the page is none of the three.
CommandLine MakeCommandLine(const INISTRUCT& ini, int iType);

// Writes the 31 analysis keys from LocalIniStruct; returns 1.
int RefreshIni();
} // namespace analysis
