#include "dialogs/dlgunits.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdlib>

QFont DialogFont(int nPointSize) {
    if (nPointSize < 8)
        nPointSize = 8;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                                 QStringLiteral("Sans Serif")});
    font.setPixelSize(MulDiv(nPointSize, 96, 72));
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int nWidth = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(nWidth / 26 + 1) / 2, fm.ascent() + fm.descent()};
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long p = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (p < 0) != (c < 0);
    const long long q = (std::llabs(p) + half) / std::llabs(c);
    return static_cast<int>(negative ? -q : q);
}

QRect MapDialogRect(int x, int y, int cx, int cy, DialogBaseUnits units) {
    const int left = MulDiv(x, units.cx, 4);
    const int top = MulDiv(y, units.cy, 8);
    const int right = MulDiv(x + cx, units.cx, 4);
    const int bottom = MulDiv(y + cy, units.cy, 8);
    return QRect(left, top, right - left, bottom - top);
}
