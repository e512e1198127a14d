// Number reading and dialog units; text capacity is covered through the dialogs.
#include "dialogs/dlgunits.h"
#include "dialogs/textfields.h"

#include <gtest/gtest.h>

TEST(AtoL, ReadsLikeTheRuntimeLibrary) {
    EXPECT_EQ(AtoL("\t-12abc"), -12);
    EXPECT_EQ(AtoL("+7 8"), 7);
    EXPECT_EQ(AtoL("- 5"), 0);
    EXPECT_EQ(AtoL("44.1"), 44);
    EXPECT_EQ(AtoL("99999999999999999999"), 2147483647);
    EXPECT_EQ(AtoL("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(AtoL(QStringLiteral(" 22050 Hz")), 22050);
}

TEST(DialogUnits, MapLikeThePlatform) {
    EXPECT_EQ(MulDiv(5, 6, 4), 8);   // 7.5 rounds up
    EXPECT_EQ(MulDiv(-3, 6, 4), -5); // halves go away from zero
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(MapDialogRect(190, 233, 50, 14, units), QRect(285, 379, 75, 22));
    // Neighbours touch exactly: edges are mapped, not sizes.
    const QRect a = MapDialogRect(1, 0, 1, 1, units);
    const QRect b = MapDialogRect(2, 0, 1, 1, units);
    EXPECT_EQ(a.x() + a.width(), b.x());
    // The Display page's 4 point template gets the smallest raster size, 8 point.
    EXPECT_EQ(BaseUnitsOf(DialogFont(4)).cx, BaseUnitsOf(DialogFont(8)).cx);
}
