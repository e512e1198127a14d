// The window with the real compile run, whose process only pretends to run.
#include "mainwindow/runwatch.h"
#include "mainwindow/winmsg.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QTest>
#include <QTimer>

namespace {
struct FakeRun : csound::WatchedProcess {
    unsigned long* exitCode;
    explicit FakeRun(unsigned long* code) : exitCode(code) {}
    unsigned long ExitCode() override { return *exitCode; }
};
} // namespace

TEST_F(WindowTest, CompileStartsTheRunWatchAndItsEndRefillsTheLists) {
    File("orc", "tone.orc");
    File("sco", "tone.sco");
    MainWindow& w = Open();
    unsigned long exitCode = STILL_ACTIVE;
    int starts = 0;
    RunWatch watch(w, [&](const LaunchRequest&, std::unique_ptr<csound::WatchedProcess>* p) {
        ++starts;
        *p = std::make_unique<FakeRun>(&exitCode);
        return 0;
    });
    Paint(); // selects tone.orc and tone.sco
    std::snprintf(IniStruct.szCsoundPath, sizeof IniStruct.szCsoundPath, "/usr/bin/csound");
    QTest::mouseClick(w.hWndButton[0], Qt::LeftButton); // Compile
    ASSERT_EQ(starts, 1) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    auto* timer = w.findChild<QTimer*>("window-timer-69");
    ASSERT_TRUE(timer && timer->isActive());
    EXPECT_EQ(timer->interval(), 750);

    // Still running: nothing changes. Ended: the watch stops, the rendered
    // file shows in the Output list.
    SendMessage(&w, WM_TIMER, IDT_RUNWATCH, 0);
    EXPECT_TRUE(timer->isActive());
    File("out", "test");
    exitCode = 0;
    SendMessage(&w, WM_TIMER, IDT_RUNWATCH, 0);
    EXPECT_FALSE(w.findChild<QTimer*>("window-timer-69") &&
                 w.findChild<QTimer*>("window-timer-69")->isActive());
    EXPECT_EQ(Items(3), QStringList{"test"});
}
