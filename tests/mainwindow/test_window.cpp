// The main window's layout, painting and message routing.
#include "mainwindow/bitobj.h"
#include "mainwindow/qtmessagebox.h"
#include "mainwindow/skincells.h"
#include "menuids.h"
#include "platform/sound/wavedev.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QMenuBar>
#include <QTimer>

// Title, size, centring and first selections: end to end; here what a user cannot see.
TEST_F(WindowTest, FixedSizeNamedControlsAndStatusBarAtTheBottom) {
    MainWindow& w = Open(1);
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.dacinit.wWaveDeviceId, 1); // 65537 cut to 16 bits
    EXPECT_EQ(w.hWndButton[1], nullptr);   // no control 6002
    EXPECT_EQ(w.hWndButton[11]->text(), "Analysis");
    EXPECT_EQ(w.hWndStatus->geometry().bottom(), w.hClient->height() - 1);
    EXPECT_GT(w.hWndStatus->y(), 330);       // below the strip
    w.CenterOn(QRect(1280, 100, 1024, 768)); // a screen right of another
    EXPECT_EQ(w.pos(), QPoint(1280 + 237, 100 + 184));
    const QImage shot = w.hClient->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 20), QColor(128, 128, 128));   // tool band
    EXPECT_EQ(shot.pixelColor(5, 40), QColor(0, 0, 0));         // its outline
    EXPECT_EQ(shot.pixelColor(140, 60), QColor(192, 192, 192)); // background
    EXPECT_EQ(shot.pixelColor(200, 326), w.boBitmap->Image().pixelColor(80, 277));
    EXPECT_EQ(shot.pixelColor(430, 326), QColor(192, 192, 192)); // strip ends at 424
}
TEST_F(WindowTest, MenuAndButtonsReachTheirCommands) {
    File("sco", "a.sco");
    MainWindow& w = Open();
    std::vector<int> ran;
    for (int id = CM_FILENEW; id <= CM_DELETEANALYSIS; ++id)
        w.SetCommandHandler(id, [&ran, id] { ran.push_back(id); });
    for (std::size_t nButton : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})
        QTest::mouseClick(w.hWndButton[nButton], Qt::LeftButton);
    w.findChild<QAction*>("command24344")->trigger(); // Help > About
    w.SetCommandHandler(CM_PREFERENCES, {});
    w.findChild<QAction*>("command24340")->trigger(); // no handler: nothing
    SendMessage(&w, WM_COMMAND, 6002, 0);             // no such control
    EXPECT_EQ(ran, (std::vector<int>{CM_COMPILE, CM_CALLEDITOR, CM_NEWORC, CM_NEWSCO, CM_RENAMEORC,
                                     CM_RENAMESCO, CM_DELETEORC, CM_DELETESCO, CM_RENAMESOUND,
                                     CM_DELETESOUND, CM_ANALYSIS, CM_ABOUT}));
    int clicked = -1;
    w.SetListDoubleClickHandler([&](int n) { clicked = n; });
    QTest::keyClick(List(2), Qt::Key_Return); // nothing selected there
    EXPECT_EQ(clicked, -1);
    List(1)->setCurrentRow(0);
    QTest::keyClick(List(1), Qt::Key_Return); // Enter does what a double-click does
    EXPECT_EQ(clicked, 1);
}
TEST_F(WindowTest, TimersRightClickAndExit) {
    MainWindow& w = Open();
    int watches = 0;
    w.SetRunWatchHandler([&] { ++watches; });
    SendMessage(&w, WM_TIMER, 12, 0);
    EXPECT_EQ(watches, 0);
    ASSERT_TRUE(SetTimer(&w, IDT_RUNWATCH, 10) && SetTimer(&w, IDT_RUNWATCH, 10)); // restarted
    EXPECT_TRUE(KillTimer(&w, IDT_RUNWATCH));
    EXPECT_FALSE(KillTimer(&w, IDT_RUNWATCH));
    QTest::qWait(50);
    EXPECT_EQ(watches, 0);
    // The right button anywhere in the window stops playback; the left does not.
    QTest::mouseClick(w.hClient, Qt::RightButton, {}, QPoint(540, 340));
    QTest::mouseClick(w.hClient, Qt::LeftButton, {}, QPoint(540, 340));
    EXPECT_EQ(sound.nStops, 1);
    w.findChild<QAction*>("command24343")->trigger(); // File > Exit
    EXPECT_EQ(sound.nStops, 2);
}
TEST_F(WindowTest, SkinButtonsShowTheirCellAndKeyboardFocus) {
    MainWindow& w = Open();
    ASSERT_TRUE(w.boBitmap && w.boBitmap->IsValid());
    for (int id : {6001, 6005, 6010}) {
        QAbstractButton* button = w.hWndButton[static_cast<std::size_t>(id - 6001)];
        for (bool pressed : {false, true}) {
            button->setDown(pressed);
            const auto cell = ButtonCell(id, pressed);
            EXPECT_EQ(button->grab().toImage().convertToFormat(QImage::Format_RGB32),
                      w.boBitmap->Image().copy(cell->x, cell->y, 34, 34))
                << id << pressed;
        }
        button->setDown(false);
    }
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QAbstractButton* compile = w.hWndButton[0];
    EXPECT_EQ(compile->focusPolicy(), Qt::TabFocus);
    const QImage plain = compile->grab().toImage();
    compile->setFocus(Qt::TabFocusReason);
    EXPECT_NE(compile->grab().toImage(), plain);
}
TEST(QtMessageBox, FlagsBecomeButtonsAndIcons) {
    using B = QMessageBox;
    using Look = std::tuple<QMessageBox::StandardButtons, B::Icon, B::StandardButton>;
    const std::pair<unsigned, Look> cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, {B::Ok, B::Warning, B::NoButton}},
        {MB_YESNO | MB_DEFBUTTON2, {B::Yes | B::No, B::NoIcon, B::No}},
        {MB_OKCANCEL | MB_ICONHAND | MB_DEFBUTTON2, {B::Ok | B::Cancel, B::Critical, B::Cancel}},
        {MB_YESNOCANCEL | MB_ICONQUESTION, {B::Yes | B::No | B::Cancel, B::Question, B::NoButton}},
        {MB_ICONASTERISK, {B::Ok, B::Information, B::NoButton}},
    };
    for (const auto& [type, want] : cases) {
        const MessageBoxLook look = MessageBoxLookFor(type);
        EXPECT_EQ(Look(look.buttons, look.icon, look.defaultButton), want) << type;
    }
    EXPECT_EQ((std::array{MessageBoxResult(B::Ok), MessageBoxResult(B::Cancel),
                          MessageBoxResult(B::Yes), MessageBoxResult(B::No)}),
              (std::array<int, 4>{IDOK, IDCANCEL, IDYES, IDNO}));
}
TEST(QtMessageBox, CoreQuestionShowsARealDialogHeadedByItsCaptionAndSafeOnEnter) {
    App();
    const MessageBoxHandler before = SetMessageBoxHandler({});
    InstallQtMessageBox(nullptr);
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        seen << box->windowTitle() << box->text() << box->informativeText();
        QTest::keyClick(box, Qt::Key_Return);
    });
    const char* szCaption = "Are you sure you want to DELETE this ORCHESTRA?";
    EXPECT_EQ(MessageBox("/orc/<b>a.orc", szCaption, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(seen, (QStringList{szCaption, szCaption, "/orc/<b>a.orc"}));
    SetMessageBoxHandler(before);
}
