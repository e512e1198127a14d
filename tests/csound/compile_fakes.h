// A fake main window and a settings record ready for a compile, shared by
// the compile tests.
#pragma once

#include "common/tempconfig.h"
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

// A fresh start (never the user's settings) with tone.orc, tone.sco, the five
// folders under root, a sound file and a Csound path chosen; no confirmation box.
inline INISTRUCT ReadyRecord(const std::string& root = "/w",
                             const std::string& csound = "/usr/bin/csound") {
    TempConfig cfg;
    INISTRUCT ini{};
    InitAppInto(ini);
    Set(ini.szOrcDir, root + "/orc/"), Set(ini.szScoreDir, root + "/sco/");
    Set(ini.szSSDIR, root + "/src/"), Set(ini.szSFDIR, root + "/out/");
    Set(ini.szSADIR, root + "/ana/"), Set(ini.szCsoundPath, csound);
    Set(ini.szOrc, "tone.orc"), Set(ini.szScore, "tone.sco");
    Set(ini.szCurSoundFile, "/snd/voice.wav"), ini.nShowCmdLine = 1;
    return ini;
}
} // namespace testutil
