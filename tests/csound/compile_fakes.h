// A fake main window, a fake process starter and a settings record ready
// for a compile, shared by the compile run tests.
#pragma once

#include "common/testutil.h"
#include "csound/compile.h"
#include "settings/ini.h"

#include <memory>

namespace testutil {
struct FakeWindow : csound::CompileWindow {
    int timerStarts = 0;
    int refreshes = 0;
    bool timerOn = false;
    void SetRunWatchTimer() override { ++timerStarts, timerOn = true; }
    void KillRunWatchTimer() override { timerOn = false; }
    void RefreshLists() override { ++refreshes; }
};

struct FakeProcessState {
    unsigned long exitCode = STILL_ACTIVE;
    int polls = 0;
    bool destroyed = false;
};

struct FakeProcess : csound::WatchedProcess {
    std::shared_ptr<FakeProcessState> s;
    explicit FakeProcess(std::shared_ptr<FakeProcessState> state) : s(std::move(state)) {}
    ~FakeProcess() override { s->destroyed = true; }
    unsigned long ExitCode() override { return ++s->polls, s->exitCode; }
};

// Records every request; starts a fake process unless told to fail.
struct FakeStarter {
    std::vector<LaunchRequest> requests;
    std::vector<std::shared_ptr<FakeProcessState>> processes;
    int failWith = 0;
    csound::ProcessStarter fn() {
        return [this](const LaunchRequest& r, std::unique_ptr<csound::WatchedProcess>* p) {
            requests.push_back(r);
            if (failWith)
                return failWith;
            processes.push_back(std::make_shared<FakeProcessState>());
            *p = std::make_unique<FakeProcess>(processes.back());
            return 0;
        };
    }
};

// The defaults of a fresh start with an orchestra, a score, the three folders
// under root and a Csound path chosen; no confirmation box.
inline INISTRUCT ReadyRecord(const std::string& root, const std::string& csound) {
    INISTRUCT ini{};
    InitAppInto(ini);
    Set(ini.szOrcDir, root + "/orc/");
    Set(ini.szScoreDir, root + "/sco/");
    Set(ini.szSSDIR, root + "/src/");
    Set(ini.szSFDIR, root + "/out/");
    Set(ini.szSADIR, root + "/ana/");
    Set(ini.szOrc, "tone.orc");
    Set(ini.szScore, "tone.sco");
    Set(ini.szCsoundPath, csound);
    ini.nShowCmdLine = 1;
    return ini;
}
} // namespace testutil
