// The six-part status bar along the bottom of the main window. Each part is
// a sunken label from the previous part's right edge to its own.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLabel;

class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent);

    // SB_SETPARTS: the right edge of each part, left to right.
    void SetParts(const std::array<int, 6>& aRightEdges);
    // SB_SETTEXT / SB_GETTEXT.
    void SetText(int nPart, const QString& szText);
    QString Text(int nPart) const;
    QLabel* Part(int nPart) const { return m_parts.at(static_cast<std::size_t>(nPart)); }

    // Places the bar along the bottom of its parent at the default height.
    void PlaceAtBottom();

private:
    std::array<QLabel*, 6> m_parts{};
    std::array<QString, 6> m_texts;
};
