// Runs one of the end-to-end scripts against the real tonsmith binary on the
// X display of scripts/with-services.sh, in a workspace of five folders, and
// hands back what the script saw as key=value pairs.
#pragma once

#include "common/tempconfig.h"
#include "common/testutil.h"
#include "platform/sound/wavedev.h"

#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace e2e {

using Seen = std::map<std::string, std::string>;

inline bool AccessibilityAvailable() {
    return std::filesystem::exists("/usr/bin/dbus-run-session") &&
           std::filesystem::exists("/usr/libexec/at-spi-bus-launcher");
}

// The output device of the PulseAudio null sink "test", or -1.
inline int NullSinkDevice() {
    for (unsigned i = 0; i < 32; ++i) {
        const std::string name = WaveOutDeviceName(i);
        if (name.empty())
            break;
        if (name == "Null Output")
            return static_cast<int>(i);
    }
    return -1;
}

// Five empty folders under the test's config root.
class Workspace {
public:
    Workspace() {
        for (const char* sub : {"orc", "sco", "src", "out", "ana"})
            std::filesystem::create_directories(work + sub);
    }
    // A tk3.ini naming the folders and Debian's csound; `extraIni` follows
    // the folders (more [DIRECTORIES] keys, then other sections).
    void WriteIni(const std::string& extraIni = {}) const {
        config.writeIni("[DIRECTORIES]\norcdir=" + work + "orc/\nscoredir=" + work +
                        "sco/\nssdir=" + work + "src/\nsfdir=" + work + "out/\nsadir=" + work +
                        "ana/\n" + extraIni +
                        "[PREFERENCES]\ncsoundver=2\n[CSOUND]\ncsound path=/usr/bin/csound\n");
    }
    std::string Path(const std::string& name) const { return work + name; }

    TempConfig config;
    const std::string work = config.root() + "/work/";
};

// Runs `script binary args...` in its own session bus; fails the test when the
// window never appeared.
inline Seen Run(const char* script, const QStringList& args, int timeoutMs = 200000) {
    QProcess run;
    run.setProgram("/usr/bin/dbus-run-session");
    run.setArguments(QStringList{"--", "/usr/bin/python3", script, TONSMITH_BINARY} + args);
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start();
    Seen seen;
    if (!run.waitForFinished(timeoutMs)) {
        ADD_FAILURE() << script << " did not finish";
        run.kill();
        run.waitForFinished();
    }
    for (const QByteArray& line : run.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            seen[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    for (const auto& [key, value] : seen) // what the script saw, for a failure's log
        std::printf("  %s=%s\n", key.c_str(), value.c_str());
    EXPECT_EQ(run.exitCode(), 0) << "the window never appeared";
    EXPECT_EQ(seen.count("failed_at"), 0u) << "stopped at: " << seen["failed_at"];
    return seen;
}

} // namespace e2e
