#include "widgets/ColorCursors.h"

#include "data/Color.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QColor qc(RGB c) { return QColor(red(c), green(c), blue(c)); }

// The middle of the colour swatch in the lower right of every cursor.
constexpr QPoint kSwatchCentre{25, 25};

QColor swatch(const QCursor& cursor) { return cursor.pixmap().toImage().pixelColor(kSwatchCentre); }

}  // namespace

TEST(ColorCursors, TheCursorTheGridAsksForShowsItsDrawingColourWithTheTipOnTheHotSpot)
{
    ColorCursors::registerCursors();
    for (int index = 1; index <= 18; ++index) {
        SCOPED_TRACE(index);
        const QCursor cursor = ColorCursors::cursor(ColorCursor(PaletteColor(index)));
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), ColorCursors::kHotSpot);
        EXPECT_EQ(swatch(cursor), qc(PaletteColor(index)));
        const QImage img = ColorCursors::image(index).toImage();
        const QColor tip = img.pixelColor(ColorCursors::kHotSpot);
        EXPECT_GT(tip.alpha(), 128);
        EXPECT_LT(tip.lightness(), 110);
        EXPECT_EQ(img.pixelColor(31, 0).alpha(), 0);
    }
    // Colours outside the palette (white, black) fall back to the first cursor.
    for (RGB outside : {kWhite, kBlack, RGB(0x123456)})
        EXPECT_EQ(swatch(ColorCursors::cursor(ColorCursor(outside))), qc(PaletteColor(1)));
    for (int id : {-1, 0, 1, 20, 39, 1000}) {
        EXPECT_FALSE(ColorCursors::isRegistered(id)) << id;
        EXPECT_EQ(ColorCursors::cursor(id).shape(), Qt::ArrowCursor) << id;
    }
}

TEST(ColorCursors, PicturesScaleForDoubledScreensAndRefuseOtherIndices)
{
    const QPixmap big = ColorCursors::image(5, 2.0);
    EXPECT_EQ(big.size(), QSize(64, 64));
    EXPECT_DOUBLE_EQ(big.devicePixelRatio(), 2.0);
    EXPECT_EQ(big.toImage().pixelColor(kSwatchCentre * 2), qc(PaletteColor(5)));
    EXPECT_TRUE(ColorCursors::image(0).isNull());
    EXPECT_TRUE(ColorCursors::image(19).isNull());
}
