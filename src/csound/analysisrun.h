// Starting an analysis utility (lpanal, hetro, pvanal) for the analysis
// dialog. The utility runs in its own console window when there is a display.
// Its end is watched on a 750 ms timer: the lists are refilled then, and a
// utility that failed (an exit code other than 0, or a signal) is told in a
// message box, as a failed render is.
#pragma once

#include "settings/inistruct.h"

#include <functional>

namespace csound {
// Builds the command line of page iType (0 LPC, 1 hetro, 2 pvanal) from the
// given record and starts it. A line that is too long, a sound file that is
// not a regular file, or a program that cannot be started, is reported in a
// message box. True when started.
bool LaunchAnalysisFrom(const INISTRUCT& ini, int iType);

// Same, from the analysis dialog's working copy (analysis::LocalIniStruct). The
// dialog's launcher seam takes it as [](int iPage) { LaunchAnalysis(iPage); }.
bool LaunchAnalysis(int iType);

// What refills the main window's lists when a utility has ended.
void SetAnalysisEndHandler(std::function<void()> refreshLists);

// Polls the utilities still watched (the timer calls it): each one that has
// ended is dropped, the lists refilled, and a failure told. Returns how many
// are still running.
int PollAnalysisRuns();
} // namespace csound
