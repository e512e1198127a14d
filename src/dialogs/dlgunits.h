// Dialog units: layouts are given in units of the dialog font, a quarter of
// its average character width across and an eighth of its height down.
#pragma once

#include <QFont>
#include <QRect>

struct DialogBaseUnits {
    int cx = 0; // average character width in pixels
    int cy = 0; // character height in pixels
};

// The dialog font of a template asking for "MS Sans Serif" at nPointSize.
// That face is a raster font whose smallest size is 8 point, so smaller
// requests get the 8 point size, as the font mapper gives them. The pixel
// size is fixed (96 dots per inch) so layouts do not depend on the screen.
QFont DialogFont(int nPointSize);

// Average width of the 52 letters rounded to a whole pixel, and the height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

// A rectangle in dialog units to pixels; left/right and top/bottom edges are
// mapped separately, so neighbouring controls never overlap by rounding.
QRect MapDialogRect(int x, int y, int cx, int cy, DialogBaseUnits units);
