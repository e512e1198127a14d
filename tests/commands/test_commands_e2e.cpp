// End to end with Debian's csound and the PulseAudio null sink "test": New,
// Compile, the output listed, played and captured byte for byte, stopped.
#include "../audio/wavfixture.h"
#include "../mainwindow/windowfixture.h"
#include "commands/windowcommands.h"
#include "common/testutil.h"
#include "dialogs/small/smalldialogs.h"
#include "mainwindow/cdacsound.h"
#include "mainwindow/filelists.h"
#include "mainwindow/runwatch.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {
QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

template <class F> bool WaitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class E2E : public WindowTest {
protected:
    void TearDown() override {
        commands.reset();
        WindowTest::TearDown();
    }
    void NewFile(int nButton, const char* szName) {
        QTimer::singleShot(0, [szName, nButton] {
            auto* d = dynamic_cast<NewFileDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->findChild<QLineEdit*>(nButton == 6004 ? "ctl201" : "ctl202")->setText(szName);
            d->OnCommand(1);
        });
        window->hWndButton[static_cast<std::size_t>(nButton - 6001)]->click();
    }
    std::unique_ptr<WindowCommands> commands;
};
} // namespace

TEST_F(E2E, NewCompileListPlayAndStop) {
    REQUIRE_SERVICE(!RunTool("pactl", {"info"}).isEmpty() &&
                        !QStandardPaths::findExecutable("csound").isEmpty(),
                    "csound or a PulseAudio server");
    Settings();
    CdacSound engine;
    window = std::make_unique<MainWindow>(&engine);
    engine.SetWindow(window.get());
    RunWatch runWatch(*window);
    commands = std::make_unique<WindowCommands>(*window, &engine, &runWatch.Run());
    std::vector<std::string> editors;
    commands->startProgram = [&editors](const std::string& s) {
        editors.push_back(s);
        return 33u;
    };
    const std::vector<std::string> devices = WaveOutDeviceNames();
    const auto dev = std::find(devices.begin(), devices.end(), "Null Output");
    ASSERT_NE(dev, devices.end()) << "no output device of the null sink";
    window->dacinit.wWaveDeviceId = static_cast<std::uint16_t>(dev - devices.begin());
    std::strcpy(IniStruct.szCsoundPath, "/usr/bin/csound");
    IniStruct.nCSoundVer = 2;
    IniStruct.nShowCmdLine = 2;

    // New orchestra and score; the user writes them in the editor.
    for (int nButton : {6004, 6005})
        NewFile(nButton, "tone");
    ASSERT_EQ(editors.size(), 2u);
    std::ofstream(Dir("orc") + "tone.orc", std::ios::trunc)
        << "sr = 44100\nksmps = 10\nnchnls = 2\n0dbfs = 1\n"
           "instr 1\na1 oscili 0.5, 440\nouts a1, a1*0.5\nendin\n";
    std::ofstream(Dir("sco") + "tone.sco", std::ios::trunc) << "i1 0 1.5\ne\n";
    Paint(); // the first orchestra and score become current
    ASSERT_STREQ(IniStruct.szOrc, "tone.orc");

    messages.clear();
    Command(6001); // Compile; the message box confirms the command line
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "CMDLINE");
    ASSERT_TRUE(WaitFor([&] { return Items(LIST_OUTPUT).contains("test"); }, 30000))
        << "the output never appeared in the Output list";

    Select(LIST_OUTPUT, "test");
    EXPECT_EQ(Status().mid(0, 3), (QStringList{"44100", "16 bit", "Stereo"}));

    // Play it whole and capture the sink's monitor.
    const fixture::Bytes file = fixture::ReadBytes(Dir("out") + "test");
    const fixture::Bytes data(file.end() - 44100 * 4 * 3 / 2, file.end());
    const std::string cap = config.root() + "/cap.raw";
    QProcess parec;
    parec.setStandardOutputFile(QString::fromStdString(cap));
    parec.start("parec", {"-d", "test.monitor", "--latency-msec=20", "--raw", "--format=s16le",
                          "--rate=44100", "--channels=2"});
    ASSERT_TRUE(WaitFor(
        [] {
            return !RunTool("pactl", {"list", "short", "source-outputs"}).isEmpty();
        },
        5000));
    DoubleClick(LIST_OUTPUT);
    EXPECT_EQ(Status()[5], "Status - Playing");
    ASSERT_TRUE(WaitFor([&] { return !engine.IsActive(); }, 20000));
    QThread::msleep(100);
    parec.terminate();
    parec.waitForFinished(5000);
    const fixture::Bytes got = fixture::ReadBytes(cap);
    const auto at = std::search(got.begin(), got.end(), data.begin(), data.begin() + 4096);
    ASSERT_NE(at, got.end()) << "the sound is not in the capture";
    ASSERT_GE(got.end() - at, static_cast<std::ptrdiff_t>(data.size()));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), at));

    // Again, stopped with the right button.
    DoubleClick(LIST_OUTPUT);
    ASSERT_TRUE(engine.IsActive());
    window->WndProc(0x0204, 0, 0);
    QCoreApplication::processEvents();
    window->StatusBarRefresh();
    EXPECT_EQ(Status()[5], "Status - Stopped");
    commands.reset();
    engine.SetWindow(nullptr);
}
