#include "mainwindow/tonsm32.h"

#include "dialogs/controls.h"
#include "dialogs/dlgunits.h"
#include "mainwindow/bitobj.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/filelists.h"
#include "mainwindow/skinbutton.h"
#include "mainwindow/skincells.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/winmsg.h"
#include "menuids.h"
#include "platform/sound/wavedev.h"
#include "settings/ini.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

namespace {
struct ToolButton {
    int nId;
    int x;
    const char* szName; // the command it stands for
};
constexpr ToolButton aToolButtons[] = {
    {IDB_COMPILE, 25, "Compile"},
    {IDB_CALLEDITOR, 60, "Call Editor"},
    {IDB_NEWORC, 120, "New Orc"},
    {IDB_NEWSCO, 155, "New Sco"},
    {IDB_RENAMEORC, 200, "Rename Orc"},
    {IDB_RENAMESCO, 235, "Rename Sco"},
    {IDB_DELETEORC, 280, "Delete Orc"},
    {IDB_DELETESCO, 315, "Delete Sco"},
    {IDB_RENAMESOUND, 360, "Rename SoundFile"},
    {IDB_DELETESOUND, 395, "Delete SoundFile"},
};

struct ListPlace {
    int x, y, w, h;
};
constexpr ListPlace aListPlaces[5] = {
    {20, 70, 115, 125},  {150, 70, 115, 250}, {280, 70, 115, 250},
    {410, 70, 115, 250}, {20, 214, 115, 100},
};

// Assistive tools see the main window as the application's frame, not as a
// plain container.
QAccessibleInterface* MainWindowAccessible(const QString& szClass, QObject* object) {
    if (szClass == QLatin1String("MainWindow") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// The list titles: the skin's own bold face, in pixels, so that a large
// desktop font or scale never pushes them into the lists or each other.
QFont TitleFont() {
    QFont font = DialogFont(8);
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// Without a sound side no file reads as WAV and nothing plays.
struct Silence : SoundPort {
    bool LoadSampleInfo(const char*, WaveFacts&) override { return false; }
    void Stop() override {}
    bool IsActive() const override { return false; }
    void PlaybackBufferCycle(std::intptr_t, QObject*) override {}
};
} // namespace

ClientArea::ClientArea(MainWindow* owner) : QWidget(owner), m_owner(owner) {
    setObjectName("ClientArea");
    MakeGray(this); // the light-gray class brush
}

void ClientArea::paintEvent(QPaintEvent*) {
    m_owner->OnPaint(this);
}

void ClientArea::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton)
        m_owner->WndProc(WM_RBUTTONDOWN, 0, 0);
    QWidget::mousePressEvent(e);
}

namespace {
// The icon is a PNG of our own: told so and not to guess, Qt reads it with
// its built-in reader instead of loading the MIME database at start to find
// out what it is.
QImage LoadIcon() {
    QImageReader reader(":/ICON_1", "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
} // namespace

MainWindow::MainWindow(SoundPort* sound) {
    static Silence silence;
    m_sound = sound ? sound : &silence;
    static const bool bAccessibleFrame = (QAccessible::installFactory(MainWindowAccessible), true);
    (void)bAccessibleFrame;
    setObjectName(szAppName);
    // The skin is a fixed look: its colours stay whatever the desktop's scheme.
    UseFixedPalette(this);
    setWindowTitle(szWindowTitle);
    setAccessibleName(szWindowTitle);
    setWindowIcon(QIcon(QPixmap::fromImage(LoadIcon())));
    // Caption, system menu and minimise box; no sizing, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(nWindowWidth, nWindowHeight);
    SetCommandHandler(CM_EXIT, [this] { close(); });
    OnCreate();
    // The skin exists from here on, before the first paint.
    boBitmap = std::make_unique<BitObj>(":/SOURCEBITMAP");
}

MainWindow::~MainWindow() = default;

int MainWindow::OnCreate() {
    InitApp(this);
    CreateMenu();
    hClient = new ClientArea(this);
    const int nMenuHeight = hMenu->sizeHint().height();
    hClient->setGeometry(0, nMenuHeight, nWindowWidth, nWindowHeight - nMenuHeight);

    for (int i = 0; i < nLists; ++i) {
        auto* lb = new FileListBox(hClient);
        const ListPlace& p = aListPlaces[i];
        lb->Place(QRect(p.x, p.y, p.w, p.h));
        lb->setObjectName(QStringLiteral("list%1").arg(i));
        lb->setAccessibleName(ListTitle(i));
        lb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        lb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A click moves the current row before it selects the entry: the
        // selection itself is what the handler reads.
        connect(lb, &FileListBox::EntrySelected, this, [this, i] {
            SendMessage(this, WM_COMMAND, MakeCommandParam(unsigned(i), LBN_SELCHANGE), 0);
        });
        connect(lb, &FileListBox::EntryActivated, this, [this, i] {
            SendMessage(this, WM_COMMAND, MakeCommandParam(unsigned(i), LBN_DBLCLK), 0);
        });
        lb->installEventFilter(this);
        lb->viewport()->installEventFilter(this);
        hWndListBox[static_cast<std::size_t>(i)] = lb;
    }

    for (const ToolButton& b : aToolButtons) {
        auto* button = new SkinButton(b.nId, boBitmap, hClient);
        button->setGeometry(b.x, 3, 34, 34);
        button->setObjectName(QStringLiteral("button%1").arg(b.nId));
        button->setAccessibleName(b.szName);
        button->setToolTip(b.szName);
        connect(button, &QAbstractButton::clicked, this,
                [this, id = b.nId] { SendMessage(this, WM_COMMAND, unsigned(id), 0); });
        hWndButton[static_cast<std::size_t>(b.nId - IDB_COMPILE)] = button;
    }
    auto* analysis = new QPushButton("Analysis", hClient);
    analysis->setGeometry(455, 5, 64, 30);
    // The tool band has room for its word in the dialogs' size, whatever the
    // desktop's font.
    analysis->setFont(DialogFont(8));
    analysis->setObjectName("button6012");
    analysis->setAccessibleName("Analysis");
    connect(analysis, &QAbstractButton::clicked, this,
            [this] { SendMessage(this, WM_COMMAND, unsigned(IDB_ANALYSIS), 0); });
    hWndButton[11] = analysis;

    // Escape stops playback wherever the focus is in the window.
    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stop, &QShortcut::activated, this, [this] { WndProc(WM_RBUTTONDOWN, 0, 0); });

    hWndStatus = new StatusBar(hClient);
    hWndStatus->hide();
    hWndStatus->PlaceAtBottom();

    SendMessage(this, WM_REFRESHLISTS, 0, 0);
    hWndStatus->SetParts(aWidths);
    hWndStatus->show();
    dacinit.wWaveDeviceId = static_cast<std::uint16_t>(ReadIniInt("WAVE", "WaveOutDev"));
    return 0;
}

void MainWindow::CenterOn(const QRect& screen) {
    // Integer halves of the screen's width and height (not its last pixel),
    // from wherever the screen begins on the desktop.
    move(screen.x() + screen.width() / 2 - nWindowWidth / 2,
         screen.y() + screen.height() / 2 - nWindowHeight / 2);
}

void MainWindow::SetCommandHandler(int nCommandId, std::function<void()> handler) {
    m_commands[nCommandId] = std::move(handler);
}

void MainWindow::SetListDoubleClickHandler(std::function<void(int)> handler) {
    m_onDoubleClick = std::move(handler);
}

void MainWindow::SetRunWatchHandler(std::function<void()> handler) {
    m_onRunWatch = std::move(handler);
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == WindowMessage::EventType()) {
        const auto* msg = static_cast<WindowMessage*>(e);
        WndProc(msg->nMessage, msg->wParam, msg->lParam);
        return true;
    }
    return QWidget::event(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    const auto list = std::find_if(hWndListBox.begin(), hWndListBox.end(), [watched](auto* lb) {
        return lb && (watched == lb || watched == lb->viewport());
    });
    if (list == hWndListBox.end())
        return QWidget::eventFilter(watched, e);
    const QEvent::Type t = e->type();
    if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        // The right button stops playback and never selects: the current
        // orchestra, score and sound file stay as they are.
        if (t == QEvent::MouseButtonPress)
            WndProc(WM_RBUTTONDOWN, 0, 0);
        return true;
    }
    if (t == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(e)->key();
        if ((nKey == Qt::Key_Return || nKey == Qt::Key_Enter) && (*list)->CurSel() >= 0) {
            // Enter on an entry does what a double-click does.
            const auto nList = static_cast<unsigned>(list - hWndListBox.begin());
            SendMessage(this, WM_COMMAND, MakeCommandParam(nList, LBN_DBLCLK), 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

std::intptr_t MainWindow::WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case WM_REFRESHLISTS:
        RefreshLists();
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    case WM_TIMER:
        if (wParam == IDT_RUNWATCH && m_onRunWatch)
            m_onRunWatch();
        break;
    case MM_WOM_DONE:
        m_sound->PlaybackBufferCycle(lParam, this);
        StatusBarRefresh();
        break;
    case WM_RBUTTONDOWN: {
        // A device that failed to open returns no buffer whose completion
        // would show the stop, so the stop shows itself.
        const bool bWasActive = m_sound->IsActive();
        m_sound->Stop();
        if (bWasActive)
            StatusBarRefresh();
        break;
    }
    default:
        break;
    }
    return 0;
}

void MainWindow::OnCommand(std::uintptr_t wParam) {
    const int nId = static_cast<int>(wParam & 0xFFFF);
    const unsigned nCode = static_cast<unsigned>((wParam >> 16) & 0xFFFF);
    if (nId < nLists && nCode == LBN_SELCHANGE) {
        OnListSelChange(nId);
        return;
    }
    if (nId < nLists && nCode == LBN_DBLCLK) {
        if (m_onDoubleClick)
            m_onDoubleClick(nId);
        return;
    }
    const auto it = m_commands.find(CommandOfControl(nId));
    if (it != m_commands.end() && it->second)
        it->second();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    m_sound->Stop();
    e->accept();
}

void MainWindow::OnPaint(QWidget* hWnd) {
    QPainter painter(hWnd);
    // The tool band: gray with a black outline.
    painter.setPen(Qt::black);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(0, 0, nWindowWidth - 1, 40);

    ReapplySelections();

    painter.setFont(TitleFont());
    // The Orchestras list keeps whole rows and so ends above the analysis
    // title; should it reach into the title's first rows, the title goes
    // just under it (there is room before the analysis list at y 214).
    const int nAnalysisTitle = std::max(190, hWndListBox[LIST_ORC]->geometry().bottom() + 2);
    const struct {
        int nList, x, y;
    } titles[] = {{LIST_ORC, 20, 47},
                  {LIST_ANALYSIS, 20, nAnalysisTitle},
                  {LIST_SCORE, 150, 47},
                  {LIST_SOURCE, 280, 47},
                  {LIST_OUTPUT, 410, 47}};
    for (const auto& t : titles)
        painter.drawText(QRect(t.x, t.y, 130, 18), Qt::AlignLeft | Qt::AlignTop,
                         ListTitle(t.nList));

    if (boBitmap && boBitmap->IsValid())
        painter.drawImage(QPoint(120, 325), boBitmap->Image(),
                          QRect(nStripLeft, nStripTop, nStripWidth, nStripHeight));
}
