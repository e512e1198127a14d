#include "mainwindow/skinbutton.h"

#include "mainwindow/bitobj.h"

#include <QPainter>
#include <QPen>

SkinButton::SkinButton(int nId, const std::unique_ptr<BitObj>& skin, QWidget* parent)
    : QAbstractButton(parent), m_nId(nId), m_skin(skin) {
    setFocusPolicy(Qt::TabFocus);
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The whole face is redrawn each time.
    if (isDown())
        DrawButtonDown(m_skin.get(), painter, m_nId);
    else
        DrawButtonUp(m_skin.get(), painter, m_nId);
    if (hasFocus()) {
        // A dotted frame inside the face, light on dark so it shows on any
        // part of the skin: the button Space presses.
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}
