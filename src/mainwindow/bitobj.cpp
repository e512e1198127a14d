#include "mainwindow/bitobj.h"

#include "mainwindow/dib.h"
#include "mainwindow/skincells.h"

#include <QFile>
#include <QPainter>

BitObj::BitObj(const QString& lpString) {
    QFile file(lpString);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    const auto dib = ReadPackedDib(reinterpret_cast<const unsigned char*>(data.constData()),
                                   static_cast<std::size_t>(data.size()));
    if (!dib)
        return;
    m_palette = dib->palette;
    QImage image(dib->nWidth, dib->nHeight, QImage::Format_RGB32);
    for (int y = 0; y < dib->nHeight; ++y)
        std::copy_n(dib->pixels.data() + static_cast<std::size_t>(y) * dib->nWidth, dib->nWidth,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    m_image = std::move(image);
}

void BitObj::PaintBitmap(QPainter& hDC, int x, int y) const {
    if (IsValid())
        hDC.drawImage(0, 0, m_image, x, y, nButtonSide, nButtonSide);
}

namespace {
void DrawButton(const BitObj* boBitmap, QPainter& hDC, int ButtonID, bool bPressed) {
    const auto cell = ButtonCell(ButtonID, bPressed);
    if (boBitmap && cell)
        boBitmap->PaintBitmap(hDC, cell->x, cell->y);
}
} // namespace

void DrawButtonUp(const BitObj* boBitmap, QPainter& hDC, int ButtonID) {
    DrawButton(boBitmap, hDC, ButtonID, false);
}

void DrawButtonDown(const BitObj* boBitmap, QPainter& hDC, int ButtonID) {
    DrawButton(boBitmap, hDC, ButtonID, true);
}

int OnQueryNewPalette(QWidget*) {
    return 0;
}
