#include "csound/analysisrun.h"

#include "csound/analysiscmd.h"
#include "csound/compile.h"
#include "csound/runfolder.h"
#include "platform/files/fileops.h"
#include "platform/files/regularfile.h"
#include "platform/messagebox.h"
#include "platform/process/launcher.h"

#include <QTimer>
#include <memory>
#include <string>
#include <vector>

namespace csound {
namespace {
struct AnalysisRun {
    std::unique_ptr<ProcessHandle> process;
    std::string program;
};

struct Watch {
    std::vector<AnalysisRun> runs;
    std::function<void()> refreshLists;
    QTimer* timer = nullptr; // made with the first run, when the event loop exists
};

Watch& TheWatch() {
    static Watch watch;
    return watch;
}

void StartWatching(AnalysisRun run) {
    Watch& w = TheWatch();
    w.runs.push_back(std::move(run));
    if (!w.timer) {
        w.timer = new QTimer; // lives as long as the program
        QObject::connect(w.timer, &QTimer::timeout, [] { PollAnalysisRuns(); });
    }
    if (!w.timer->isActive())
        w.timer->start(RUNWATCH_PERIOD_MS);
}
} // namespace

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
    // A named pipe or a device would hold the utility until someone writes to
    // it (a missing file the utility reports itself, in its console).
    const std::string why =
        PathExists(ini.szCurSoundFile) ? NotRegularFileReason(ini.szCurSoundFile) : "";
    if (!why.empty()) {
        MessageBox("Cannot analyse " + std::string(ini.szCurSoundFile) + ": " + why +
                       ". The analysis utility was not started.",
                   "Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    LaunchRequest request;
    request.args = line.args;
    request.newConsole = true;
    request.title = szConsoleTitle;
    request.reportEnd = true; // the utility's end, not the terminal's
    request.workDir = RunFolder(ini);
    LaunchResult result = Launch(request);
    if (!result.process) {
        MessageBox(LaunchErrorText(request.args[0], result.error) +
                       " The analysis utility was not started.",
                   "Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    StartWatching({std::move(result.process), request.args[0]});
    return true;
}

bool LaunchAnalysis(int iType) {
    return LaunchAnalysisFrom(analysis::LocalIniStruct, iType);
}

void SetAnalysisEndHandler(std::function<void()> refreshLists) {
    TheWatch().refreshLists = std::move(refreshLists);
}

int PollAnalysisRuns() {
    Watch& w = TheWatch();
    std::vector<AnalysisRun> ended;
    // A console given up is told too; the boxes come after the list is
    // settled, since each runs an event loop in which this poll runs again.
    std::vector<std::string> notices;
    for (auto it = w.runs.begin(); it != w.runs.end();) {
        const bool running = it->process->ExitCode() == STILL_ACTIVE;
        if (std::string notice = it->process->TakeNotice(); !notice.empty())
            notices.push_back(std::move(notice));
        if (running) {
            ++it;
        } else {
            ended.push_back(std::move(*it));
            it = w.runs.erase(it);
        }
    }
    if (w.runs.empty() && w.timer)
        w.timer->stop();
    if (!ended.empty() && w.refreshLists)
        w.refreshLists();
    for (const std::string& notice : notices)
        MessageBox(notice, szCaption, MB_OK | MB_ICONWARNING);
    for (AnalysisRun& run : ended)
        if (const unsigned long code = run.process->ExitCode())
            MessageBox(FailedRunText(run.program, code, run.process->OutputLog()), szCaption,
                       MB_OK | MB_ICONEXCLAMATION);
    return static_cast<int>(w.runs.size());
}
} // namespace csound
