// The real program under Xvfb, Debian's csound and the PulseAudio null sink:
// New Orc and New Sco, Compile, the output listed, its format shown, played
// and captured sample for sample; Enter plays and Escape stops; the right
// button on a list entry stops and selects nothing.
#include "e2erun.h"

#include <QStandardPaths>
#include <fstream>
#include <sys/stat.h>

TEST(EndToEnd, NewCompilePlayAndStopInTheRealWindow) {
    REQUIRE_SERVICE(std::getenv("DISPLAY") && e2e::AccessibilityAvailable(),
                    "an X display and the accessibility bus");
    REQUIRE_SERVICE(!QStandardPaths::findExecutable("csound").isEmpty(), "csound");
    const int nDevice = e2e::NullSinkDevice();
    REQUIRE_SERVICE(nDevice >= 0, "the PulseAudio null sink \"test\"");

    e2e::Workspace ws;
    const std::string editor = ws.Path("editor"), log = ws.Path("editor.log");
    ws.WriteIni("texteditor=" + editor + "\n[WAVE]\nWaveOutDev=" + std::to_string(nDevice) + "\n");
    std::ofstream(editor) << "#!/bin/sh\necho \"$@\" >> " << log << "\n";
    ::chmod(editor.c_str(), 0755);

    e2e::Seen seen = e2e::Run(TONSMITH_E2E_COMMANDS,
                              {QString::fromStdString(ws.work), QString::fromStdString(log)});

    // The templates, byte for byte, and each opened in the text editor.
    EXPECT_EQ(seen["template.orc"], "73723d0d0a6b723d0d0a6b736d70733d0d0a6e6368"
                                    "6e6c733d0d0a0d0a696e73747220310d0a0d0a656e64696e0d0a");
    EXPECT_EQ(seen["template.sco"], "6631203020383139322031302031");
    EXPECT_EQ(seen["editor_log"], ws.Path("orc/tone.orc") + "|" + ws.Path("sco/tone.sco"));
    EXPECT_EQ(seen["selected_orc"], "tone.orc");
    EXPECT_EQ(seen["selected_sco"], "tone.sco");

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
