#include "csound/analysisrun.h"

#include "csound/analysiscmd.h"
#include "csound/compile.h"
#include "csound/runargs.h"
#include "platform/messagebox.h"
#include "platform/process/launcher.h"

#include <string>

namespace csound {
bool LaunchAnalysisFrom(const INISTRUCT& ini, int iType) {
    const std::string line = analysis::MakeCommandLineFrom(&ini, iType);
    if (line == analysis::szAnalysisTooLong) {
        MessageBox(std::string(analysis::CommandLineFault()) +
                       " The utility was not started; the settings were saved.",
                   "Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    LaunchRequest request;
    request.args = AnalysisArguments(ini, iType, line);
    request.newConsole = true;
    request.title = szConsoleTitle;
    LaunchResult result = Launch(request);
    if (!result.process) {
        const std::string program = request.args.empty() ? std::string() : request.args[0];
        MessageBox(LaunchErrorText(program, result.error) +
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
