// The main window's layout, message routing and commands.
#include "mainwindow/qtmessagebox.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/wavedev.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

TEST_F(WindowTest, FixedSizeTitleAndCentring) {
    MainWindow& w = Open();
    EXPECT_EQ(w.windowTitle(), "Tonsmith32 V3.3");
    EXPECT_EQ(w.size(), QSize(550, 400));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    w.CenterOn(1024, 768);
    EXPECT_EQ(w.pos(), QPoint(237, 184));
    w.CenterOn(800, 600);
    EXPECT_EQ(w.pos(), QPoint(125, 100));
}

TEST_F(WindowTest, ChildrenStandWhereTheLayoutPutsThem) {
    MainWindow& w = Open();
    const QRect lists[] = {{20, 70, 115, 125},
                           {150, 70, 115, 250},
                           {280, 70, 115, 250},
                           {410, 70, 115, 250},
                           {20, 214, 115, 100}};
    const char* names[] = {"Orchestras", "Scores", "Source", "Output", "Analysis Files"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(List(i)->geometry(), lists[i]) << i;
        EXPECT_EQ(List(i)->accessibleName(), names[i]);
    }
    const struct {
        int id, x;
        const char* name;
    } buttons[] = {{6001, 25, "Compile"},           {6003, 60, "Call Editor"},
                   {6004, 120, "New Orc"},          {6005, 155, "New Sco"},
                   {6006, 200, "Rename Orc"},       {6007, 235, "Rename Sco"},
                   {6008, 280, "Delete Orc"},       {6009, 315, "Delete Sco"},
                   {6010, 360, "Rename SoundFile"}, {6011, 395, "Delete SoundFile"}};
    for (const auto& b : buttons) {
        const QAbstractButton* button = w.hWndButton[static_cast<std::size_t>(b.id - 6001)];
        ASSERT_TRUE(button) << b.id;
        EXPECT_EQ(button->geometry(), QRect(b.x, 3, 34, 34)) << b.id;
        EXPECT_EQ(button->accessibleName(), b.name);
    }
    EXPECT_EQ(w.hWndButton[1], nullptr); // no control 6002
    EXPECT_EQ(w.hWndButton[11]->geometry(), QRect(455, 5, 64, 30));
    EXPECT_EQ(w.hWndButton[11]->text(), "Analysis");

    // Six parts at the right edges 48, 95, 145, 340, 440, 640, empty at start,
    // along the bottom of the client area.
    const int edges[] = {48, 95, 145, 340, 440, 640};
    int left = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w.hWndStatus->Part(i)->x(), left);
        EXPECT_EQ(w.hWndStatus->Part(i)->width(), edges[i] - left);
        EXPECT_TRUE(w.hWndStatus->Text(i).isEmpty());
        EXPECT_FALSE(w.hWndStatus->Part(i)->accessibleDescription().isEmpty());
        left = edges[i];
    }
    EXPECT_EQ(w.hWndStatus->geometry().bottom(), w.hClient->height() - 1);
    EXPECT_GT(w.hWndStatus->y(), 330); // below the strip
}

TEST_F(WindowTest, WaveDeviceFromSettingsCutTo16Bits) {
    EXPECT_EQ(Open().dacinit.wWaveDeviceId, 1); // 65537
}

TEST_F(WindowTest, MenuCarriesEveryCommand) {
    MainWindow& w = Open();
    QStringList popups;
    std::vector<int> ids;
    for (QAction* a : w.hMenu->actions()) {
        popups << a->text();
        for (QAction* item : a->menu()->actions())
            if (!item->isSeparator())
                ids.push_back(item->data().toInt());
    }
    EXPECT_EQ(popups, (QStringList{"&File", "&Configure", "&Help"}));
    std::sort(ids.begin(), ids.end());
    std::vector<int> expected;
    for (int id = 24331; id <= 24350; ++id)
        expected.push_back(id);
    EXPECT_EQ(ids, expected);
}

TEST_F(WindowTest, CommandsReachTheirHandlersFromMenuAndButtons) {
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
}

TEST_F(WindowTest, DoubleClickReportsTheList) {
    File("sco", "a.sco");
    MainWindow& w = Open();
    int clicked = -1;
    w.SetListDoubleClickHandler([&](int n) { clicked = n; });
    emit List(1)->itemDoubleClicked(List(1)->item(0));
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

TEST_F(WindowTest, RightClickAndClosingStopPlayback) {
    MainWindow& w = Open();
    QTest::mouseClick(w.hClient, Qt::RightButton, {}, QPoint(540, 340));
    EXPECT_EQ(sound.nStops, 1);
    QTest::mouseClick(w.hClient, Qt::LeftButton, {}, QPoint(540, 340));
    EXPECT_EQ(sound.nStops, 1);
    w.findChild<QAction*>("command24343")->trigger(); // File > Exit
    EXPECT_EQ(sound.nStops, 2);
}

TEST(QtMessageBox, FlagsBecomeButtonsAndIcons) {
    auto look = MessageBoxLookFor(MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(look.buttons, QMessageBox::Ok);
    EXPECT_EQ(look.icon, QMessageBox::Warning);
    look = MessageBoxLookFor(MB_YESNO);
    EXPECT_EQ(look.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(look.icon, QMessageBox::NoIcon);
    look = MessageBoxLookFor(MB_OKCANCEL | MB_ICONHAND);
    EXPECT_EQ(look.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(look.icon, QMessageBox::Critical);
    EXPECT_EQ(MessageBoxLookFor(MB_ICONQUESTION).icon, QMessageBox::Question);
    EXPECT_EQ(MessageBoxLookFor(MB_ICONASTERISK).icon, QMessageBox::Information);
    EXPECT_EQ(MessageBoxResult(QMessageBox::Yes), IDYES);
    EXPECT_EQ(MessageBoxResult(QMessageBox::No), IDNO);
    EXPECT_EQ(MessageBoxResult(QMessageBox::Ok), IDOK);
    EXPECT_EQ(MessageBoxResult(QMessageBox::Cancel), IDCANCEL);
}

TEST(QtMessageBox, CoreQuestionShowsARealDialog) {
    App();
    const MessageBoxHandler before = SetMessageBoxHandler({});
    InstallQtMessageBox(nullptr);
    QString seenTitle, seenText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        seenTitle = box->windowTitle();
        seenText = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MessageBox("/orc/a.orc", "Are you sure you want to DELETE this ORCHESTRA?", MB_YESNO),
              IDNO);
    EXPECT_EQ(seenTitle, "Are you sure you want to DELETE this ORCHESTRA?");
    EXPECT_EQ(seenText, "/orc/a.orc");
    SetMessageBoxHandler(before);
}
