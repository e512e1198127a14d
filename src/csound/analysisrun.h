// Starting an analysis utility (lpanal, hetro, pvanal) for the analysis
// dialog. The utility runs in its own console window when there is a display
// and is never waited for (it is reaped when it ends).
#pragma once

#include "settings/inistruct.h"

namespace csound {
// Builds the command line of page iType (0 LPC, 1 hetro, 2 pvanal) from the
// given record and starts it. A line that is too long, or a program that
// cannot be started, is reported in a message box. True when started.
bool LaunchAnalysisFrom(const INISTRUCT& ini, int iType);

// Same, from the analysis dialog's working copy (analysis::LocalIniStruct). The
// dialog's launcher seam takes it as [](int iPage) { LaunchAnalysis(iPage); }.
bool LaunchAnalysis(int iType);
} // namespace csound
