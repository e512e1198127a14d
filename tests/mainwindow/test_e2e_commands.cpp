// The real program under Xvfb, Debian's csound and the PulseAudio null sink:
// New Orc and New Sco, Compile, the output listed, its format shown, played
// and captured sample for sample; Enter plays and Escape stops; the right
// button on a list entry stops and selects nothing. The run ends with csound
// whatever terminal the desktop has, even one that hands its command over.
#include "e2erun.h"

#include <QStandardPaths>
#include <fstream>
#include <sys/stat.h>

namespace {

// The script in a fresh workspace, with `terminal` as x-terminal-emulator.
e2e::Seen RunCommands(const char* terminal, bool quick) {
    const int nDevice = e2e::NullSinkDevice();
    e2e::Workspace ws;
    const std::string editor = ws.Path("editor"), log = ws.Path("editor.log");
    ws.WriteIni("texteditor=" + editor + "\n[WAVE]\nWaveOutDev=" + std::to_string(nDevice) + "\n");
    std::ofstream(editor) << "#!/bin/sh\necho \"$@\" >> " << log << "\n";
    ::chmod(editor.c_str(), 0755);
    QStringList args{QString::fromStdString(ws.work), QString::fromStdString(log), terminal};
    if (quick)
        args << "quick";
    e2e::Seen seen = e2e::Run(TONSMITH_E2E_COMMANDS, args);
    seen["editor_log_expected"] = ws.Path("orc/tone.orc") + "|" + ws.Path("sco/tone.sco");
    return seen;
}

void RequireServices() {
    REQUIRE_SERVICE(std::getenv("DISPLAY") && e2e::AccessibilityAvailable(),
                    "an X display and the accessibility bus");
    REQUIRE_SERVICE(!QStandardPaths::findExecutable("csound").isEmpty(), "csound");
    REQUIRE_SERVICE(e2e::NullSinkDevice() >= 0, "the PulseAudio null sink \"test\"");
}

} // namespace

TEST(EndToEnd, NewCompilePlayAndStopInTheRealWindow) {
    RequireServices();
    e2e::Seen seen = RunCommands("/usr/bin/xterm", false);

    // The templates, byte for byte, and each opened in the text editor.
    EXPECT_EQ(seen["template.orc"], "73723d0d0a6b723d0d0a6b736d70733d0d0a6e6368"
                                    "6e6c733d0d0a0d0a696e73747220310d0a0d0a656e64696e0d0a");
    EXPECT_EQ(seen["template.sco"], "6631203020383139322031302031");
    EXPECT_EQ(seen["editor_log"], seen["editor_log_expected"]);
    EXPECT_EQ(seen["selected_orc"], "tone.orc");
    EXPECT_EQ(seen["selected_sco"], "tone.sco");

    EXPECT_EQ(seen["console"], "tonsmith-console in xterm");
    EXPECT_EQ(seen["output_when_listed"], "complete");
    EXPECT_EQ(seen["output"], "test");
    EXPECT_EQ(seen["status_selected"],
              "44100|16 bit|Stereo|Sample Frames - 132300|Seconds - 3|Status - Stopped");
    EXPECT_EQ(seen["status_playing"].substr(0, 5), "44100");
    EXPECT_TRUE(seen["status_playing"].ends_with("Status - Playing"));
    EXPECT_EQ(seen["capture"], "equal (529200 bytes)");
    EXPECT_TRUE(seen["status_escape"].ends_with("Status - Stopped"));
    EXPECT_TRUE(seen["status_right_click"].ends_with("Status - Stopped"));
    EXPECT_EQ(seen["selected_after_right_click"], "tone.orc|tone.sco|test");
    EXPECT_EQ(seen["stopped_early"], "True");
    std::printf("ms from OK to csound running: %s\n", seen["ms_ok_to_csound"].c_str());
}

// Terminals that hand the command to an instance already running and exit at
// once: the lists wait for csound, not for the terminal.
TEST(EndToEnd, CompileEndsWithCsoundUnderHandOffTerminals) {
    RequireServices();
    for (const char* terminal : {"/usr/bin/xfce4-terminal.wrapper", "/usr/bin/lxterminal"}) {
        SCOPED_TRACE(terminal);
        REQUIRE_SERVICE(std::filesystem::exists(terminal), terminal);
        e2e::Seen seen = RunCommands(terminal, true);
        EXPECT_EQ(seen["console_is_holder"], "True") << seen["console"];
        EXPECT_EQ(seen["output_when_listed"], "complete");
        EXPECT_EQ(seen["output"], "test");
        std::printf("ms from OK to csound running: %s\n", seen["ms_ok_to_csound"].c_str());
    }
}
