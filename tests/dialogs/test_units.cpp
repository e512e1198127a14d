#include "dialogs/dlgunits.h"
#include "dialogs/textfields.h"

#include <gtest/gtest.h>

TEST(AtoL, ReadsLikeTheRuntimeLibrary) {
    EXPECT_EQ(AtoL("  1024"), 1024);
    EXPECT_EQ(AtoL("\t-12abc"), -12);
    EXPECT_EQ(AtoL("+7 8"), 7);
    EXPECT_EQ(AtoL("abc"), 0);
    EXPECT_EQ(AtoL(""), 0);
    EXPECT_EQ(AtoL("- 5"), 0);
    EXPECT_EQ(AtoL("44.1"), 44);
    EXPECT_EQ(AtoL("99999999999999999999"), 2147483647);
    EXPECT_EQ(AtoL("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(AtoL(QStringLiteral(" 22050 Hz")), 22050);
}

TEST(TextFields, StoreRefusesWhatDoesNotFit) {
    char field[12];
    std::memset(field, 'x', sizeof field);
    EXPECT_TRUE(StoreText(field, QStringLiteral("abcde12.wav")));
    EXPECT_STREQ(field, "abcde12.wav");
    // Twelve characters would need thirteen bytes: refused, field untouched.
    EXPECT_FALSE(StoreText(field, QStringLiteral("abcdefgh.wav")));
    EXPECT_STREQ(field, "abcde12.wav");
    // Capacity counts bytes, not characters.
    EXPECT_FALSE(
        StoreText(field, QString::fromUtf8("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9")));
    EXPECT_EQ(FieldText(field), QStringLiteral("abcde12.wav"));
}

TEST(DialogUnits, MapLikeThePlatform) {
    EXPECT_EQ(MulDiv(5, 6, 4), 8);   // 7.5 rounds up
    EXPECT_EQ(MulDiv(3, 6, 4), 5);   // 4.5 rounds up
    EXPECT_EQ(MulDiv(-3, 6, 4), -5); // halves go away from zero
    EXPECT_EQ(MulDiv(7, 13, 8), 11); // 11.375
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(MapDialogRect(190, 233, 50, 14, units), QRect(285, 379, 75, 22));
    // Neighbours touch exactly: edges are mapped, not sizes.
    const QRect a = MapDialogRect(1, 0, 1, 1, units);
    const QRect b = MapDialogRect(2, 0, 1, 1, units);
    EXPECT_EQ(a.x() + a.width(), b.x());
    // The Display page's 4 point template gets the smallest raster size, 8 point.
    EXPECT_EQ(BaseUnitsOf(DialogFont(4)).cx, BaseUnitsOf(DialogFont(8)).cx);
}
