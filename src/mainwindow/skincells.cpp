#include "mainwindow/skincells.h"

std::optional<SkinCell> ButtonCell(int nButtonId, bool bPressed) {
    struct Entry {
        int nId;
        SkinCell released;
    };
    // The pressed image stands 35 pixels right of the released one.
    static constexpr Entry cells[] = {
        {6001, {0, 0}},  {6003, {140, 0}},  {6004, {210, 0}}, {6005, {0, 35}},  {6006, {210, 35}},
        {6007, {0, 70}}, {6008, {140, 35}}, {6009, {70, 35}}, {6010, {70, 70}}, {6011, {140, 70}},
    };
    for (const auto& e : cells)
        if (e.nId == nButtonId)
            return SkinCell{e.released.x + (bPressed ? 35 : 0), e.released.y};
    return std::nullopt;
}
