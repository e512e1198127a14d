// The skin: the bitmap that holds the tool-button images, the About artwork
// and the strip under the lists, with the palette made from its colours.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;
class QWidget;

class BitObj {
public:
    // Loads the packed bitmap stored under the resource name (":/SOURCEBITMAP").
    explicit BitObj(const QString& lpString);

    // False when the resource is missing or unreadable: nothing is drawn then.
    bool IsValid() const { return !m_image.isNull(); }
    const QImage& Image() const { return m_image; }
    // The skin's logical palette; empty above 8 bits per pixel.
    const std::vector<std::uint32_t>& Palette() const { return m_palette; }

    // Copies the 34 x 34 cell whose top-left corner is (x, y) to (0, 0).
    void PaintBitmap(QPainter& hDC, int x, int y) const;

private:
    QImage m_image;
    std::vector<std::uint32_t> m_palette;
};

// Draw the released or pressed image of tool button ButtonID; any id without
// an image draws nothing, and so does a missing skin.
void DrawButtonUp(const BitObj* boBitmap, QPainter& hDC, int ButtonID);
void DrawButtonDown(const BitObj* boBitmap, QPainter& hDC, int ButtonID);

// True-colour displays realise no palette: nothing changes, nothing repaints.
int OnQueryNewPalette(QWidget* hWnd);
