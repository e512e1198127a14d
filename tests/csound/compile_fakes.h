// A fake main window and a settings record ready for a compile, shared by
// the compile run tests.
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
