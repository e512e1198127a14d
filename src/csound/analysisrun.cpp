#include "csound/analysisrun.h"

#include "csound/analysiscmd.h"
#include "csound/compile.h"
#include "csound/runfolder.h"
#include "platform/messagebox.h"
#include "platform/process/launcher.h"

#include <string>

namespace csound {
bool LaunchAnalysisFrom(const INISTRUCT& settings, int iType) {
    // The utility runs in the orchestra's folder, as Csound does: relative
    // folders must keep naming what they named from ours.
    INISTRUCT ini = settings;
    std::string fault;
    CommandLine line;
    if (MakeFoldersAbsolute(ini, &fault))
        line = analysis::MakeCommandLine(ini, iType);
    else
        line.fault = fault;
    if (line.args.empty()) {
        MessageBox(line.fault + " The utility was not started; the settings were saved.", "Error",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    LaunchRequest request;
    request.args = line.args;
    request.newConsole = true;
    request.title = szConsoleTitle;
    request.workDir = RunFolder(ini);
    LaunchResult result = Launch(request);
    if (!result.process) {
        MessageBox(LaunchErrorText(request.args[0], result.error) +
                       " The analysis utility was not started.",
                   "Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true; // the handle is dropped: the utility is reaped when it ends
}

bool LaunchAnalysis(int iType) {
    return LaunchAnalysisFrom(analysis::LocalIniStruct, iType);
}
} // namespace csound
