// The real program under Xvfb with Debian's csound: a format chosen in
// Preferences reaches the rendered file, which plays, as does a float WAV
// csound rendered, and each
// analysis utility started from the Analysis dialog leaves its result in the
// Analysis Files list.
#include "e2erun.h"

#include <QStandardPaths>
#include <fstream>

TEST(EndToEnd, PreferencesFormatRendersAndEachAnalysisIsListed) {
    REQUIRE_SERVICE(std::getenv("DISPLAY") && e2e::AccessibilityAvailable(),
                    "an X display and the accessibility bus");
    REQUIRE_SERVICE(!QStandardPaths::findExecutable("csound").isEmpty(), "csound");
    const int nDevice = e2e::NullSinkDevice();
    REQUIRE_SERVICE(nDevice >= 0, "the PulseAudio null sink \"test\"");

    e2e::Workspace ws;
    ws.WriteIni("[WAVE]\nWaveOutDev=" + std::to_string(nDevice) + "\n");
    std::ofstream(ws.Path("orc/tone.orc")) << "sr = 44100\nksmps = 10\nnchnls = 1\n0dbfs = 1\n"
                                              "instr 1\nout oscili(0.5, 220)\nendin\n";
    std::ofstream(ws.Path("sco/tone.sco")) << "i1 0 1\ne\n";
    ASSERT_EQ(QProcess::execute("csound",
                                {"-W", "-f", "-o", QString::fromStdString(ws.Path("src/float.wav")),
                                 QString::fromStdString(ws.Path("orc/tone.orc")),
                                 QString::fromStdString(ws.Path("sco/tone.sco"))}),
              0);

    e2e::Seen seen = e2e::Run(TONSMITH_E2E_PREFS, {QString::fromStdString(ws.work)});

    EXPECT_EQ(seen["long_checked"], "True");
    EXPECT_EQ(seen["wave_checked"], "True");
    EXPECT_NE(ws.config.readIni().find("type=308"), std::string::npos) << ws.config.readIni();
    EXPECT_EQ(seen["file_format"], "tag 1, 1 ch, 44100 Hz, 32 bit");
    EXPECT_EQ(seen["status_selected"],
              "44100|32 bit|Mono|Sample Frames - 44100|Seconds - 1|Status - Stopped");
    EXPECT_EQ(seen["long_played"], "44100 of 44100 frames, largest error 0");
    EXPECT_EQ(seen["status_float"],
              "44100|32 bit|Mono|Sample Frames - 44100|Seconds - 1|Status - Stopped");
    // Rounding to the sink's 16 bits may differ by one step from ours.
    EXPECT_TRUE(seen["float_played"] == "44100 of 44100 frames, largest error 0" ||
                seen["float_played"] == "44100 of 44100 frames, largest error 1")
        << seen["float_played"];

    EXPECT_EQ(seen["analysis_input"], ws.Path("out/test"));
    for (const char* name : {"made_tone.lpc", "made_tone.htr", "made_tone.pvc"})
        EXPECT_EQ(seen[name], "True") << name;
    EXPECT_EQ(seen["analysis_files"], "tone.htr,tone.lpc,tone.pvc");
}
