// The commands in the real main window, with playback on the null device.
#include "../audio/wavfixture.h"
#include "../mainwindow/windowfixture.h"
#include "commands/filecmds.h"
#include "dialogs/small/smalldialogs.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/filelists.h"
#include "mainwindow/windowcommands.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/sound/nullwave.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void UseNullWaveDevice(bool bNull);

namespace {
class WindowCommandsTest : public WindowTest {
protected:
    WindowCommands& Wire(SoundPort* port = nullptr, CdacSound* engine = nullptr) {
        Settings();
        window = std::make_unique<MainWindow>(port ? port : &sound);
        commands = std::make_unique<WindowCommands>(*window, engine, nullptr);
        commands->startProgram = [](const std::string&) { return 33u; }; // no real editor
        return *commands;
    }
    void TearDown() override {
        commands.reset();
        WindowTest::TearDown();
    }

    std::unique_ptr<WindowCommands> commands;
};

// Answers the next modal dialog once it is up.
template <class Dlg, class F> void WhenShown(F answer) {
    QTimer::singleShot(0, [answer] {
        auto* dlg = dynamic_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        answer(*dlg);
    });
}
} // namespace

// Delete in the real window is covered end to end (tests/mainwindow).
TEST_F(WindowCommandsTest, RenameOntoAnotherEntryIsRefusedAndTheListStays) {
    for (const char* n : {"mix.wav", "take.wav"})
        File("out", n);
    Wire();
    Select(LIST_OUTPUT, "mix.wav");
    WhenShown<RenameDlg>([](RenameDlg& d) {
        d.findChild<QLineEdit*>("ctl204")->setText("take.wav");
        d.OnCommand(1);
    });
    Command(6010);
    EXPECT_NE(boxes.shown.back().text.find("already exists"), std::string::npos);
    EXPECT_EQ(Items(LIST_OUTPUT), (QStringList{"mix.wav", "take.wav"}));
}

TEST_F(WindowCommandsTest, PlaybackRunsOnTheEngineAndTheRightButtonStopsIt) {
    UseNullWaveDevice(true);
    nullwave::Clear();
    const fixture::Bytes data = fixture::Noise(44100 * 4 * 3);
    fixture::WriteBytes(Dir("out") + "mix.wav", fixture::Wav(1, 2, 44100, 16, data));
    File("out", "junk.wav");
    CdacSound engine;
    Wire(&engine, &engine);
    engine.SetWindow(window.get());
    window->dacinit.wWaveDeviceId = 0; // the null device's only output

    Select(LIST_OUTPUT, "junk.wav");
    DoubleClick(LIST_OUTPUT);
    EXPECT_EQ(boxes.shown.back().caption, "Cannot Play");
    EXPECT_FALSE(engine.IsActive());

    Select(LIST_OUTPUT, "mix.wav");
    EXPECT_EQ(Status()[0], "44100");
    DoubleClick(LIST_OUTPUT);
    EXPECT_TRUE(engine.IsActive());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(nullwave::OutFormat().nSamplesPerSec, 44100u);
    nullwave::StepOut(1);
    QCoreApplication::processEvents(); // the completion reaches the window
    EXPECT_EQ(nullwave::Played().size(), 176400u);
    EXPECT_EQ(Status()[5], "Status - Playing");
    window->WndProc(0x0204, 0, 0); // right button
    EXPECT_FALSE(engine.IsActive());
    QCoreApplication::processEvents();

    // A stored device number past the list: the open fails, no buffer ever
    // comes back, and the right button's stop is what the status bar shows.
    window->dacinit.wWaveDeviceId = 7;
    DoubleClick(LIST_OUTPUT);
    EXPECT_EQ(boxes.shown.back().text, "waveOutOpen Failed!");
    EXPECT_EQ(Status()[5], "Status - Playing");
    window->WndProc(0x0204, 0, 0);
    EXPECT_EQ(Status()[5], "Status - Stopped");

    // A path too long to select is not played either: the window still
    // holds the format of the file before it.
    const std::string szLong = std::string(123 - Dir("out").size(), 'x') + ".wav";
    fixture::WriteBytes(Dir("out") + szLong, fixture::Wav(1, 1, 8000, 8, fixture::Bytes(800)));
    SendMessage(window.get(), WM_REFRESHLISTS, 0, 0);
    boxes.shown.clear();
    Select(LIST_OUTPUT, QString::fromStdString(szLong));
    DoubleClick(LIST_OUTPUT);
    EXPECT_FALSE(engine.IsActive());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[0].text.find("is too long: at most 126"), std::string::npos);
    EXPECT_NE(boxes.shown[1].text.find("is too long to play: at most 126"), std::string::npos);
    engine.SetWindow(nullptr);
    UseNullWaveDevice(false);
}
