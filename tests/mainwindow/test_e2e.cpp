// The real program on a real X display: the window a user gets, read from
// outside the process (window system and accessibility), and one compile with
// Debian's csound.
#include "../audio/wavfixture.h"
#include "common/tempconfig.h"
#include "common/testutil.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

TEST(EndToEnd, WindowOpensCentredWithListsAndStatusBar) {
    REQUIRE_SERVICE(std::getenv("DISPLAY"), "an X display");
    REQUIRE_SERVICE(std::filesystem::exists("/usr/bin/dbus-run-session") &&
                        std::filesystem::exists("/usr/libexec/at-spi-bus-launcher"),
                    "the accessibility bus (dbus-run-session, at-spi-bus-launcher)");

    TempConfig config;
    const std::string work = config.root() + "/work/";
    for (const char* sub : {"orc", "sco", "src", "out", "ana"})
        std::filesystem::create_directories(work + sub);
    for (const char* name : {"orc/b.orc", "sco/two.sco"})
        std::ofstream(work + name) << "x";
    std::ofstream(work + "orc/a.orc") << "sr = 8000\nkr = 800\nksmps = 10\nnchnls = 1\n"
                                         "instr 1\n  out oscil(1000, 440, 1)\nendin\n";
    std::ofstream(work + "sco/one.sco") << "f1 0 1024 10 1\ni1 0 0.2\ne\n";
    fixture::WriteBytes(work + "src/tone.wav",
                        fixture::Wav(1, 2, 44100, 16, fixture::Bytes(176400)));
    config.writeIni("[DIRECTORIES]\norcdir=" + work + "orc/\nscoredir=" + work +
                    "sco/\nssdir=" + work + "src/\nsfdir=" + work + "out/\nsadir=" + work +
                    "ana/\n[PREFERENCES]\ncsoundver=2\n[CSOUND]\ncsound path=/usr/bin/csound\n");

    QProcess run;
    run.setProgram("/usr/bin/dbus-run-session");
    run.setArguments({"--", "/usr/bin/python3", TONSMITH_E2E_SCRIPT, TONSMITH_BINARY});
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start();
    ASSERT_TRUE(run.waitForFinished(180000)) << "the end-to-end script did not finish";
    std::map<std::string, std::string> seen;
    for (const QByteArray& line : run.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            seen[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    ASSERT_EQ(run.exitCode(), 0) << "the window never appeared";

    EXPECT_EQ(seen["title"], "Tonsmith32 V3.3");
    EXPECT_EQ(seen["width"], "550");
    EXPECT_EQ(seen["height"], "400");
    const std::string screen = seen["screen"];
    const auto cross = screen.find('x');
    ASSERT_NE(cross, std::string::npos) << screen;
    const int w = std::stoi(screen.substr(0, cross)), h = std::stoi(screen.substr(cross + 1));
    EXPECT_EQ(seen["x"], std::to_string(w / 2 - 275));
    EXPECT_EQ(seen["y"], std::to_string(h / 2 - 200));

    ASSERT_NE(seen["accessibility"], "none") << "the program was not on the accessibility bus";
    EXPECT_EQ(seen["selected_Orchestras"], "a.orc");
    EXPECT_EQ(seen["selected_Scores"], "one.sco");
    EXPECT_EQ(seen["selected_Source"], "");
    EXPECT_EQ(seen["status_before"], "|||||");
    EXPECT_EQ(seen["selected_Source_after"], "tone.wav");
    EXPECT_EQ(seen["status_after"], TONSMITH_E2E_STATUS);
    EXPECT_EQ(seen["output_after_compile"], "test");
    std::printf("seconds to window: %s\n", seen["seconds_to_window"].c_str());
}
