#include "mainwindow/statusbar.h"

#include "dialogs/dlgunits.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {
const char* const aPartNames[6] = {"Sample rate",   "Sample width", "Channels",
                                   "Sample frames", "Seconds",      "Playback status"};
}

namespace {
// Screen readers find the status bar by its role ("where am I" reads it).
QAccessibleInterface* StatusBarAccessible(const QString& szClass, QObject* object) {
    if (szClass == QLatin1String("StatusBar") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StatusBar);
    return nullptr;
}
} // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    static const bool bFactory = (QAccessible::installFactory(StatusBarAccessible), true);
    (void)bFactory;
    setObjectName("StatusBar");
    setAccessibleName("Status bar");
    // The parts have fixed widths: they show their texts in the dialogs' size
    // whatever the desktop's font.
    setFont(DialogFont(8));
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(2);
        label->setAccessibleName(aPartNames[i]);
        label->setAccessibleDescription(aPartNames[i]);
        m_parts[i] = label;
    }
}

void StatusBar::PlaceAtBottom() {
    const int nHeight = fontMetrics().height() + 8;
    setGeometry(0, parentWidget()->height() - nHeight, parentWidget()->width(), nHeight);
    for (auto* label : m_parts)
        label->setFixedHeight(nHeight - 2);
}

void StatusBar::SetParts(const std::array<int, 6>& aRightEdges) {
    int nLeft = 0;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        // Parts reaching past the window's edge are clipped there.
        m_parts[i]->setGeometry(nLeft, 2, aRightEdges[i] - nLeft, height() - 2);
        nLeft = aRightEdges[i];
    }
}

void StatusBar::SetText(int nPart, const QString& szText) {
    if (nPart < 0 || nPart >= 6)
        return;
    const auto n = static_cast<std::size_t>(nPart);
    QLabel* label = m_parts[n];
    m_texts[n] = szText;
    // Should a text ever not fit its part, it ends in an ellipsis and shows
    // whole in the tool tip.
    const int nRoom = label->contentsRect().width() - 2 * label->indent();
    const QString szShown = label->fontMetrics().elidedText(szText, Qt::ElideRight, nRoom);
    label->setText(szShown);
    label->setToolTip(szShown == szText ? QString() : szText);
    // A screen reader says what the part is and what it shows now.
    const QString szName = QString::fromLatin1(aPartNames[n]);
    m_parts[n]->setAccessibleName(szText.isEmpty() ? szName : szName + ": " + szText);
}

QString StatusBar::Text(int nPart) const {
    return nPart >= 0 && nPart < 6 ? m_texts[static_cast<std::size_t>(nPart)] : QString();
}
