#include "mainwindow/skinbutton.h"

#include "mainwindow/bitobj.h"

#include <QPainter>

SkinButton::SkinButton(int nId, const std::unique_ptr<BitObj>& skin, QWidget* parent)
    : QAbstractButton(parent), m_nId(nId), m_skin(skin) {
    setFocusPolicy(Qt::TabFocus);
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The whole face is redrawn each time; no focus rectangle.
    if (isDown())
        DrawButtonDown(m_skin.get(), painter, m_nId);
    else
        DrawButtonUp(m_skin.get(), painter, m_nId);
}
