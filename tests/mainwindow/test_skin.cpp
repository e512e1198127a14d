// The skin file and the cells of the tool buttons.
#include "mainwindow/dib.h"
#include "mainwindow/skincells.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {
std::vector<unsigned char> SkinBytes() {
    std::ifstream in(TONSMITH_SKIN_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(Skin, ShippedImageHasTheLayoutTheWindowReads) {
    const auto bytes = SkinBytes();
    const auto dib = ReadPackedDib(bytes.data(), bytes.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->nWidth, 306);
    EXPECT_EQ(dib->nHeight, 281);
    EXPECT_EQ(dib->nBitCount, 8);
    EXPECT_EQ(dib->palette.size(), 168u);
    // The cells stand on the tool band's gray; the strip is a coloured band
    // on light gray.
    const auto at = [&](int x, int y) { return dib->pixels[std::size_t(y) * 306 + x] & 0xFFFFFF; };
    EXPECT_EQ(at(0, 0), 0x808080u);
    EXPECT_EQ(at(305, 275), 0xC0C0C0u);
    EXPECT_NE(at(150, 277), 0xC0C0C0u);
    EXPECT_EQ(at(305, 277), 0xC0C0C0u); // the strip is 305 wide
}

TEST(Skin, TruncatedOrForeignDataIsRefused) {
    auto bytes = SkinBytes();
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_FALSE(ReadPackedDib(bytes.data(), bytes.size() - 400));
    EXPECT_FALSE(ReadPackedDib(bytes.data(), 30));
    bytes[14 + 16] = 1; // run-length compression
    EXPECT_FALSE(ReadPackedDib(bytes.data(), bytes.size()));
}

TEST(Skin, PaletteEntriesFollowTheColourCount) {
    EXPECT_EQ(DibPaletteEntries(8, 168), 168);
    EXPECT_EQ(DibPaletteEntries(8, 0), 256);
    EXPECT_EQ(DibPaletteEntries(24, 5), 0);
}

TEST(Skin, TopDownTwoByTwoImage) {
    // 2 x 2, 24 bits, stored top-down (negative height): rows of 8 bytes.
    std::vector<unsigned char> d(40 + 16, 0);
    d[0] = 40;
    d[4] = 2;
    const int32_t h = -2;
    for (int i = 0; i < 4; ++i)
        d[8 + i] = static_cast<unsigned char>(static_cast<uint32_t>(h) >> (8 * i));
    d[12] = 1;
    d[14] = 24;
    d[40] = 0xFF;         // top-left blue
    d[40 + 8 + 5] = 0xFF; // bottom-right red
    const auto dib = ReadPackedDib(d.data(), d.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->pixels[0], 0xFF0000FFu);
    EXPECT_EQ(dib->pixels[3], 0xFFFF0000u);
    EXPECT_TRUE(dib->palette.empty());
}

TEST(SkinCells, PressedCellBesideTheReleasedOneAndNoCellForOtherIds) {
    for (int id : {6001, 6005, 6011}) {
        const auto up = ButtonCell(id, false), down = ButtonCell(id, true);
        ASSERT_TRUE(up && down) << id;
        EXPECT_EQ(down->x, up->x + 35) << id;
        EXPECT_EQ(down->y, up->y) << id;
    }
    EXPECT_EQ(ButtonCell(6005, false)->y, 35);
    EXPECT_FALSE(ButtonCell(6002, false));
    EXPECT_FALSE(ButtonCell(6012, true));
}
