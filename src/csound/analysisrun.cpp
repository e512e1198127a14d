#include "csound/analysisrun.h"

#include "csound/analysiscmd.h"
#include "csound/compile.h"
#include "platform/messagebox.h"
#include "platform/process/launcher.h"

#include <string>

namespace csound {
bool LaunchAnalysisFrom(const INISTRUCT& ini, int iType) {
    const CommandLine line = analysis::MakeCommandLine(ini, iType);
    if (line.args.empty()) {
        MessageBox(line.fault + " The utility was not started; the settings were saved.", "Error",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    LaunchRequest request;
    request.args = line.args;
    request.newConsole = true;
    request.title = szConsoleTitle;
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
