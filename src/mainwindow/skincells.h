// Where the skin keeps each tool button's released and pressed image, and
// the strip painted under the lists.
#pragma once

#include <optional>

struct SkinCell {
    int x;
    int y;
};

inline constexpr int nButtonSide = 34;
inline constexpr int nStripLeft = 0, nStripTop = 276, nStripWidth = 305, nStripHeight = 4;

// The top-left corner of the button's 34 x 34 image; nothing for an id that
// has no image.
std::optional<SkinCell> ButtonCell(int nButtonId, bool bPressed);
