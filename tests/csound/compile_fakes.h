// A fake main window, a fake process starter and a settings record ready
// for a compile, shared by the compile run tests.
#pragma once

#include "common/testutil.h"
#include "csound/compile.h"
#include "settings/ini.h"

namespace testutil {
struct FakeWindow : csound::CompileWindow {
    int timerStarts = 0, refreshes = 0;
    bool timerOn = false;
    void SetRunWatchTimer() override { ++timerStarts, timerOn = true; }
    void KillRunWatchTimer() override { timerOn = false; }
    void RefreshLists() override { ++refreshes; }
};

// Records every request; starts a fake process (its exit code, the polls it
// saw, whether it is gone) unless told to fail.
struct FakeStarter {
    struct State {
        unsigned long exitCode = STILL_ACTIVE;
        int polls = 0;
        bool destroyed = false;
    };
    struct Process : csound::WatchedProcess {
        std::shared_ptr<State> s = std::make_shared<State>();
        ~Process() override { s->destroyed = true; }
        unsigned long ExitCode() override { return ++s->polls, s->exitCode; }
    };
    std::vector<LaunchRequest> requests;
    std::vector<std::shared_ptr<State>> processes;
    int failWith = 0;
    csound::ProcessStarter fn() {
        return [this](const LaunchRequest& r, std::unique_ptr<csound::WatchedProcess>* p) {
            requests.push_back(r);
            if (failWith == 0) {
                auto process = std::make_unique<Process>();
                processes.push_back(process->s);
                *p = std::move(process);
            }
            return failWith;
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
