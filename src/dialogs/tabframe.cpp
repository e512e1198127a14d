#include "dialogs/tabframe.h"

#include "dialogs/clickaccess.h"
#include "dialogs/textfields.h"
#include "platform/messagebox.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setAccessibleName(QStringLiteral("Pages"));
    setAccessibleName(QStringLiteral("Tab control"));
}

void TabControl::resizeEvent(QResizeEvent* /*event*/) {
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    const int nTop = bar_->sizeHint().height() - 1;
    option.rect = QRect(0, nTop, width(), height() - nTop);
    option.shape = QTabBar::RoundedNorth;
    option.tabBarSize = bar_->sizeHint();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}

TabFrame::TabFrame(QWidget* owner, const QString& caption, const char* szOk, const char* szCancel)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      szOk_(szOk), szCancel_(szCancel) {
    setModal(false);
    setWindowTitle(caption);
    setAccessibleName(caption);
    setFont(DialogFont(8));
    units_ = BaseUnitsOf(font());
    MakeGray(this);
    InstallClickingButtons();
    // The template: at (3, 16) from the owner, 248 x 252 units of client area.
    const QRect rc = MapDialogRect(3, 16, 248, 252, units_);
    setFixedSize(rc.size());
    if (owner)
        move(owner->mapToGlobal(rc.topLeft()));

    // Created in code, in pixels: over the dialog at (5, 5), 550 x 455 pixels.
    tabs_ = new TabControl(this);
    tabs_->setGeometry(5, 5, 550, 455);
    QObject::connect(tabs_->Bar(), &QTabBar::currentChanged, this,
                     [this](int nIndex) { OnSelChange(nIndex); });

    // The keys of every tabbed dialog: Ctrl+Tab and Ctrl+Page Down to the
    // next page, Ctrl+Shift+Tab and Ctrl+Page Up to the one before, round.
    const struct {
        QKeyCombination key;
        int nStep;
    } aPageKeys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                     {Qt::CTRL | Qt::Key_PageDown, 1},
                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                     {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto& k : aPageKeys) {
        auto* shortcut = new QShortcut(QKeySequence(k.key), this);
        QObject::connect(shortcut, &QShortcut::activated, this, [this, nStep = k.nStep] {
            const int n = PageCount();
            if (n > 0)
                tabs_->Bar()->setCurrentIndex((tabs_->Bar()->currentIndex() + nStep + n) % n);
        });
    }
}

DlgPage* TabFrame::AddPage(const char* szTabText, int nPointSize) {
    const QString text = QString::fromUtf8(szTabText);
    auto* page = new DlgPage(tabs_, nPointSize, text);
    page->setGeometry(page->Map(4, 20, 234, 202));
    page->hide();
    pages_.push_back(page);
    const QSignalBlocker block(tabs_->Bar());
    tabs_->Bar()->addTab(text);
    return page;
}

void TabFrame::ShowFirstPage(int nIndex) {
    iTabOld = nIndex;
    {
        const QSignalBlocker block(tabs_->Bar());
        tabs_->Bar()->setCurrentIndex(nIndex);
    }
    Page(nIndex)->show();
    if (onPageShown)
        onPageShown(nIndex);
}

void TabFrame::FinishButtons() {
    auto* ok = qobject_cast<QPushButton*>(CreateControl(
        this, {IDC_OK, CtlKind::Push, szOk_, 190, 233, 50, 14}, units_, nullptr, [this](int) {
            if (onOk)
                onOk();
        }));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    CreateControl(this, {IDC_CANCEL, CtlKind::Push, szCancel_, 135, 233, 50, 14}, units_, nullptr,
                  [this](int) { reject(); });
}

void TabFrame::OnSelChange(int nNewTab) {
    if (nNewTab < 0 || nNewTab >= PageCount())
        return;
    if (iTabOld >= 0 && iTabOld < PageCount())
        Page(iTabOld)->hide();
    Page(nNewTab)->show();
    if (onPageShown)
        onPageShown(nNewTab);
    iTabOld = nNewTab;
}

void TabFrame::reject() {
    if (onCancel)
        onCancel();
}

void TabFrame::closeEvent(QCloseEvent* event) {
    // The close box does what Cancel or Exit does; the module destroys us.
    event->ignore();
    reject();
}

bool TabFrame::CheckFieldBox(int nPage, int nId, std::size_t nCapacity, bool bDir,
                             const char* szName) {
    const QString text = GetDlgItemText(Page(nPage), nId);
    const bool bSlash = bDir && !text.endsWith(QLatin1Char('/'));
    if (FieldBytes(text) + (bSlash ? 1 : 0) < nCapacity && !text.contains(QChar(0)))
        return true;
    tabs_->Bar()->setCurrentIndex(nPage);
    if (QWidget* edit = GetDlgItem(Page(nPage), nId))
        edit->setFocus();
    MessageBox("The " + std::string(szName) + " is too long: it can hold at most " +
                   std::to_string(nCapacity - 1) +
                   (bDir ? " bytes with its closing slash." : " bytes.") + " Nothing was saved.",
               "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void TabFrame::BringToFront() {
    show();
    raise();
    activateWindow();
}

void TabFrame::Discard() {
    hide();
    deleteLater();
}
