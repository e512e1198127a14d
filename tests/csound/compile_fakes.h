// A fake main window, a fake process starter and a settings record ready
// for a compile, shared by the compile run tests.
#pragma once

#include "csound/compile.h"
#include "platform/launcher_testutil.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace testutil {
struct FakeWindow : csound::CompileWindow {
    int timerStarts = 0;
    int timerKills = 0;
    int refreshes = 0;
    bool timerOn = false;
    void SetRunWatchTimer() override {
        ++timerStarts;
        timerOn = true;
    }
    void KillRunWatchTimer() override {
        ++timerKills;
        timerOn = false;
    }
    void RefreshLists() override { ++refreshes; }
};

struct FakeProcessState {
    unsigned long exitCode = STILL_ACTIVE;
    int polls = 0;
    bool destroyed = false;
};

class FakeProcess : public csound::WatchedProcess {
public:
    explicit FakeProcess(std::shared_ptr<FakeProcessState> s) : m_s(std::move(s)) {}
    ~FakeProcess() override { m_s->destroyed = true; }
    unsigned long ExitCode() override {
        ++m_s->polls;
        return m_s->exitCode;
    }

private:
    std::shared_ptr<FakeProcessState> m_s;
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

struct Box {
    std::string text, caption;
    unsigned type;
};

// Records message boxes and answers them with the given button.
class BoxRecorder {
public:
    explicit BoxRecorder(int answer = IDOK) {
        m_old = SetMessageBoxHandler(
            [this, answer](const std::string& t, const std::string& c, unsigned type) {
                boxes.push_back({t, c, type});
                return answer;
            });
    }
    ~BoxRecorder() { SetMessageBoxHandler(std::move(m_old)); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;
    std::vector<Box> boxes;

private:
    MessageBoxHandler m_old;
};

template <std::size_t N> void Set(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N);
    std::memcpy(field, text.c_str(), text.size() + 1);
}

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
