// The main window's layout, message routing and commands.
#include "mainwindow/qtmessagebox.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/sound/wavedev.h"
#include "settings/inistruct.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <set>

// Title, size, centring and the lists' first selections are checked on the
// real program; here what a user cannot see from outside.
TEST_F(WindowTest, FixedSizeNamedControlsAndStatusBarAtTheBottom) {
    MainWindow& w = Open();
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.dacinit.wWaveDeviceId, 1); // 65537 cut to 16 bits
    EXPECT_EQ(w.hWndButton[1], nullptr);   // no control 6002
    EXPECT_EQ(w.hWndButton[11]->text(), "Analysis");
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(List(i)->accessibleName().isEmpty()) << i;
    for (std::size_t i : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_FALSE(w.hWndButton[i]->accessibleName().isEmpty()) << i;
    EXPECT_EQ(w.hWndStatus->geometry().bottom(), w.hClient->height() - 1);
    EXPECT_GT(w.hWndStatus->y(), 330);       // below the strip
    w.CenterOn(QRect(1280, 100, 1024, 768)); // a screen right of another
    EXPECT_EQ(w.pos(), QPoint(1280 + 237, 100 + 184));
}

TEST_F(WindowTest, MenuCarriesEveryCommandInItsOrder) {
    MainWindow& w = Open();
    QStringList popups, items;
    for (QAction* a : w.hMenu->actions()) {
        popups << a->text();
        for (QAction* item : a->menu()->actions())
            if (!item->isSeparator())
                items << QStringLiteral("%1 %2").arg(item->data().toInt()).arg(item->text());
    }
    EXPECT_EQ(popups, (QStringList{"&File", "&Configure", "&Help"}));
    EXPECT_EQ(items, (QStringList{"24331 &New",
                                  "24332 New &Orc",
                                  "24333 New &Sco",
                                  "24335 Rename O&rc",
                                  "24334 Rename S&co",
                                  "24336 &Rename SoundFile",
                                  "24337 D&elete Orc",
                                  "24338 De&lete Sco",
                                  "24339 &Delete SoundFile",
                                  "24348 &Analysis",
                                  "24350 Delete A&nalysis",
                                  "24349 Co&mpile",
                                  "24343 E&xit",
                                  "24340 &Preferences",
                                  "24341 &Wave Devices",
                                  "24342 &Select Csound",
                                  "24345 Select Wave &Editor",
                                  "24346 &Call Editor",
                                  "24347 Select &Text Editor",
                                  "24344 &About"}));
}

TEST_F(WindowTest, CommandsAndDoubleClicksReachTheirHandlers) {
    File("sco", "a.sco");
    MainWindow& w = Open();
    std::vector<int> ran;
    for (int id : {CM_NEWORC, CM_COMPILE, CM_ANALYSIS, CM_ABOUT})
        w.SetCommandHandler(id, [&ran, id] { ran.push_back(id); });
    w.findChild<QAction*>("command24344")->trigger();    // Help > About
    QTest::mouseClick(w.hWndButton[3], Qt::LeftButton);  // 6004: New Orc
    QTest::mouseClick(w.hWndButton[0], Qt::LeftButton);  // 6001: Compile
    QTest::mouseClick(w.hWndButton[11], Qt::LeftButton); // Analysis
    w.findChild<QAction*>("command24340")->trigger();    // no handler yet
    EXPECT_EQ(ran, (std::vector<int>{CM_ABOUT, CM_NEWORC, CM_COMPILE, CM_ANALYSIS}));
    int clicked = -1;
    w.SetListDoubleClickHandler([&](int n) { clicked = n; });
    emit List(1)->doubleClicked(List(1)->model()->index(0, 0));
    EXPECT_EQ(clicked, 1);
    clicked = -1;
    QTest::keyClick(List(2), Qt::Key_Return); // nothing selected there
    EXPECT_EQ(clicked, -1);
    List(1)->setCurrentRow(0);
    QTest::keyClick(List(1), Qt::Key_Return); // Enter does what a double-click does
    EXPECT_EQ(clicked, 1);
}

TEST_F(WindowTest, ButtonBufferCompletionAndTimerMessages) {
    MainWindow& w = Open();
    int watches = 0;
    w.SetRunWatchHandler([&] { ++watches; });
    SendMessage(&w, WM_TIMER, 12, 0);
    EXPECT_EQ(watches, 0);
    SendMessage(&w, WM_TIMER, IDT_RUNWATCH, 0);
    EXPECT_EQ(watches, 1);

    // A real window timer delivers WM_TIMER with its id until killed.
    ASSERT_TRUE(SetTimer(&w, IDT_RUNWATCH, 10));
    QTRY_VERIFY_WITH_TIMEOUT(watches >= 3, 2000);
    EXPECT_TRUE(KillTimer(&w, IDT_RUNWATCH));
    EXPECT_FALSE(KillTimer(&w, IDT_RUNWATCH));
    const int settled = watches;
    QTest::qWait(50);
    EXPECT_EQ(watches, settled);

    // A returned buffer goes to the engine, then the status bar is rewritten.
    sound.bActive = true;
    PostMessage(&w, MM_WOM_DONE, 0, 0x1234);
    QCoreApplication::sendPostedEvents(&w);
    EXPECT_EQ(sound.nCycles, 1);
    EXPECT_EQ(sound.lastHeader, 0x1234);
    EXPECT_EQ(w.hWndStatus->Text(5), "Status - Playing");
}

TEST_F(WindowTest, RightClickEscapeAndClosingStopPlayback) {
    File("orc", "a.orc");
    File("orc", "b.orc");
    MainWindow& w = Open();
    QTest::mouseClick(w.hClient, Qt::RightButton, {}, QPoint(540, 340));
    EXPECT_EQ(sound.nStops, 1);
    QTest::mouseClick(w.hClient, Qt::LeftButton, {}, QPoint(540, 340));
    EXPECT_EQ(sound.nStops, 1);
    // On a list entry the right button stops too, and selects nothing.
    FileListBox* orc = List(0);
    orc->setCurrentRow(0);
    const std::string szOrc = IniStruct.szOrc;
    QTest::mouseClick(orc->viewport(), Qt::RightButton, {}, orc->RowRect(1).center());
    EXPECT_EQ(sound.nStops, 2);
    EXPECT_EQ(orc->currentRow(), 0);
    EXPECT_EQ(IniStruct.szOrc, szOrc);
    // Escape, wherever the focus is in the window.
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(orc, Qt::Key_Escape);
    EXPECT_EQ(sound.nStops, 3);
    w.findChild<QAction*>("command24343")->trigger(); // File > Exit
    EXPECT_EQ(sound.nStops, 4);
}

TEST(QtMessageBox, FlagsBecomeButtonsAndIcons) {
    auto look = MessageBoxLookFor(MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(look.buttons, QMessageBox::Ok);
    EXPECT_EQ(look.icon, QMessageBox::Warning);
    look = MessageBoxLookFor(MB_YESNO);
    EXPECT_EQ(look.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(look.icon, QMessageBox::NoIcon);
    EXPECT_EQ(MessageBoxLookFor(MB_OKCANCEL | MB_ICONHAND).icon, QMessageBox::Critical);
    EXPECT_EQ(MessageBoxLookFor(MB_YESNOCANCEL).buttons,
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(MessageBoxResult(QMessageBox::No), IDNO);
    EXPECT_EQ(MessageBoxResult(QMessageBox::Cancel), IDCANCEL);
}

TEST(QtMessageBox, CoreQuestionShowsARealDialogHeadedByItsCaptionAndSafeOnEnter) {
    App();
    const MessageBoxHandler before = SetMessageBoxHandler({});
    InstallQtMessageBox(nullptr);
    QString seenTitle, seenHeading, seenText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        seenTitle = box->windowTitle();
        seenHeading = box->text();
        seenText = box->informativeText();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(MessageBox("/orc/<b>a.orc", "Are you sure you want to DELETE this ORCHESTRA?",
                         MB_YESNO | MB_DEFBUTTON2),
              IDNO);
    EXPECT_EQ(seenTitle, "Are you sure you want to DELETE this ORCHESTRA?");
    EXPECT_EQ(seenHeading, seenTitle);
    EXPECT_EQ(seenText, "/orc/<b>a.orc");
    SetMessageBoxHandler(before);
}

TEST_F(WindowTest, SkinButtonsShowKeyboardFocus) {
    MainWindow& w = Open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QAbstractButton* compile = w.hWndButton[0];
    EXPECT_EQ(compile->focusPolicy(), Qt::TabFocus);
    const QImage plain = compile->grab().toImage();
    compile->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(compile->hasFocus());
    EXPECT_NE(compile->grab().toImage(), plain);
}
