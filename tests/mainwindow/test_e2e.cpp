// The real program on a real X display: the window a user gets, read from
// outside the process (window system and accessibility).
#include "../audio/wavfixture.h"
#include "e2erun.h"

#include <fstream>

TEST(EndToEnd, WindowOpensCentredWithListsAndStatusBar) {
    REQUIRE_SERVICE(std::getenv("DISPLAY"), "an X display");
    REQUIRE_SERVICE(e2e::AccessibilityAvailable(),
                    "the accessibility bus (dbus-run-session, at-spi-bus-launcher)");

    e2e::Workspace ws;
    // Files on the home's file system go to the home trash: the test's own.
    testutil::EnvGuard home("HOME", ws.config.root());
    ws.WriteIni();
    for (const char* name : {"orc/b.orc", "orc/a.orc", "sco/two.sco", "sco/one.sco"})
        std::ofstream(ws.Path(name)) << "x";
    fixture::WriteBytes(ws.Path("src/tone.wav"),
                        fixture::Wav(1, 2, 44100, 16, fixture::Bytes(176400)));

    e2e::Seen seen = e2e::Run(TONSMITH_E2E_SCRIPT, {QString::fromStdString(ws.work)});

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
    EXPECT_EQ(seen["window_role"], "frame");
    EXPECT_EQ(seen["status_names"], "Sample rate: 44100|Playback status: Status - Stopped");
    // Without a sound server there is no output device, and the user is told.
    EXPECT_EQ(seen["no_device_box"], "Cannot Play|" + ws.Path("src/tone.wav") +
                                         " cannot be played: no sound output device was found.");
    EXPECT_EQ(seen["boxes_after_no_device"], "");

    // Desktop conventions: the right button selects nothing; Enter keeps the
    // file in a question that could delete or replace it, and each box shows
    // its caption as its heading.
    EXPECT_EQ(seen["selected_after_right_click"], "a.orc");
    EXPECT_EQ(seen["delete_box_labels"],
              "Are you sure you want to DELETE this ORCHESTRA?|" + ws.Path("orc/a.orc"));
    EXPECT_EQ(seen["replace_box_labels"],
              "New Orchestra|" + ws.Path("orc/a.orc") +
                  " already exists.\\nReplace it with a new orchestra?");
    EXPECT_EQ(seen["a_orc_after_enter"], "78"); // still "x"
    // Yes puts the file in the trash, from where a file manager restores it.
    EXPECT_EQ(seen["orchestras_after_yes"], "a.orc");
    EXPECT_EQ(seen["trash_files"], "b.orc");
    EXPECT_EQ(seen["trash_info"], "[Trash Info]|Path=" + ws.Path("orc/b.orc") + "|DeletionDate");
    EXPECT_TRUE(std::filesystem::exists(ws.config.trash() + "/files/b.orc"));

    // The real open dialog: programs in /usr/bin first, folders walked, the
    // executables filter hides what cannot run, the last pick's folder next.
    EXPECT_EQ(seen["first_look_in"], "/usr/bin");
    EXPECT_EQ(seen["first_listed"], "csound,X11");
    EXPECT_EQ(seen["filters"], "Executable Files (*.EXE)|All Files (*.*)");
    EXPECT_EQ(seen["programs_listed"], "myeditor,sub");
    EXPECT_EQ(seen["all_listed"], "myeditor,notes.txt,sub");
    EXPECT_EQ(seen["second_look_in"], ws.Path("tools"));
    EXPECT_EQ(seen["ini_editors"],
              "texteditor=" + ws.Path("tools/myeditor") + "|editor=/usr/bin/xdotool");
    std::printf("seconds to window: %s\n", seen["seconds_to_window"].c_str());
}
