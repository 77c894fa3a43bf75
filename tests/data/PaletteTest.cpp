#include "data/Color.h"

#include <gtest/gtest.h>

TEST(Palette, ColourOfAnIndexTakesTheIndexAsASignedByte)
{
    EXPECT_EQ(PaletteColor(0), 0xFFFFFFu);
    EXPECT_EQ(PaletteColor(3), 0x444444u);
    EXPECT_EQ(PaletteColor(18), 0xCC9933u);
    EXPECT_EQ(PaletteColor(19), 0xFFFFFFu);
    EXPECT_EQ(PaletteColor(-1), 0xFFFFFFu);
    EXPECT_EQ(PaletteColor(0xFF), 0xFFFFFFu); // -1 as a byte
    EXPECT_EQ(PaletteColor(256 + 11), 0xFF0000u); // only the low byte counts
}

TEST(Palette, IndexOfAColourIsExactOrZero)
{
    for (int i = 0; i < kPaletteSize; ++i)
        EXPECT_EQ(PaletteIndex(kPalette[i]), i);
    EXPECT_EQ(PaletteIndex(0x000000), 0);
    EXPECT_EQ(PaletteIndex(0x444445), 0);
}

TEST(Palette, CursorOfAColour)
{
    EXPECT_EQ(ColorCursor(0xFFFFFF), 21);
    EXPECT_EQ(ColorCursor(0x000000), 21);
    EXPECT_EQ(ColorCursor(0xCCCCCC), 21);
    EXPECT_EQ(ColorCursor(0x444444), 23);
    EXPECT_EQ(ColorCursor(0xCC9933), 38);
}
