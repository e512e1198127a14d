#include "mainwindow/statusbar.h"

#include <QLabel>

namespace {
const char* const aPartNames[6] = {"Sample rate",   "Sample width", "Channels",
                                   "Sample frames", "Seconds",      "Playback status"};
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusBar");
    setAccessibleName("Status bar");
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
    m_parts[n]->setText(szText);
    // A screen reader says what the part is and what it shows now.
    const QString szName = QString::fromLatin1(aPartNames[n]);
    m_parts[n]->setAccessibleName(szText.isEmpty() ? szName : szName + ": " + szText);
}

QString StatusBar::Text(int nPart) const {
    return nPart >= 0 && nPart < 6 ? m_parts[static_cast<std::size_t>(nPart)]->text() : QString();
}
