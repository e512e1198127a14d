// The real program on a real X display: the window a user gets, read from
// outside the process (window system and accessibility), and one compile with
// Debian's csound.
#include "common/tempconfig.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace {
bool ServicesPromised() {
    const char* v = std::getenv("TONSMITH_SERVICES");
    return v && std::string(v) == "1";
}

void WriteWav(const std::string& path, unsigned rate, unsigned short channels, unsigned short bits,
              unsigned dataBytes) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](unsigned v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>((v >> 8) & 0xFF));
    };
    const unsigned short align = static_cast<unsigned short>(channels * bits / 8);
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * align);
    u16(align);
    u16(bits);
    out.write("data", 4);
    u32(dataBytes);
    out << std::string(dataBytes, '\0');
}
} // namespace

TEST(EndToEnd, WindowOpensCentredWithListsAndStatusBar) {
    if (!std::getenv("DISPLAY")) {
        if (ServicesPromised())
            FAIL() << "TONSMITH_SERVICES=1 but no X display (DISPLAY unset)";
        GTEST_SKIP() << "no X display; run under scripts/with-services.sh";
    }
    if (!std::filesystem::exists("/usr/bin/dbus-run-session") ||
        !std::filesystem::exists("/usr/libexec/at-spi-bus-launcher")) {
        if (ServicesPromised())
            FAIL() << "dbus-run-session or at-spi-bus-launcher missing (scripts/deps.sh)";
        GTEST_SKIP() << "accessibility bus not installed";
    }

    TempConfig config;
    const std::string work = config.root() + "/work/";
    for (const char* sub : {"orc", "sco", "src", "out", "ana"})
        std::filesystem::create_directories(work + sub);
    for (const char* name : {"orc/b.orc", "sco/two.sco"})
        std::ofstream(work + name) << "x";
    std::ofstream(work + "orc/a.orc") << "sr = 8000\nkr = 800\nksmps = 10\nnchnls = 1\n"
                                         "instr 1\n  out oscil(1000, 440, 1)\nendin\n";
    std::ofstream(work + "sco/one.sco") << "f1 0 1024 10 1\ni1 0 0.2\ne\n";
    WriteWav(work + "src/tone.wav", 44100, 2, 16, 176400);
    config.writeIni("[DIRECTORIES]\norcdir=" + work + "orc/\nscoredir=" + work +
                    "sco/\nssdir=" + work + "src/\nsfdir=" + work + "out/\nsadir=" + work +
                    "ana/\n[PREFERENCES]\ncsoundver=2\n[CSOUND]\ncsound path=/usr/bin/csound\n");

    QProcess run;
    run.setProgram("/usr/bin/dbus-run-session");
    run.setArguments({"--", "/usr/bin/python3", TONSMITH_E2E_SCRIPT, TONSMITH_BINARY});
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start();
    ASSERT_TRUE(run.waitForFinished(90000)) << "the end-to-end script did not finish";
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
