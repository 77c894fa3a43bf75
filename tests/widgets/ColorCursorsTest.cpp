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
        const QColor tip = cursor.pixmap().toImage().pixelColor(ColorCursors::kHotSpot);
        EXPECT_TRUE(tip.alpha() > 128 && tip.lightness() < 110);
    }
    // Colours outside the palette (white, black) fall back to the first cursor.
    for (RGB outside : {kWhite, kBlack, RGB(0x123456)})
        EXPECT_EQ(swatch(ColorCursors::cursor(ColorCursor(outside))), qc(PaletteColor(1)));
    for (int id : {-1, 0, 1, 20, 39, 1000}) {
        EXPECT_FALSE(ColorCursors::isRegistered(id)) << id;
        EXPECT_EQ(ColorCursors::cursor(id).shape(), Qt::ArrowCursor) << id;
    }
    // Doubled screens get a picture drawn at twice the size.
    const QPixmap big = ColorCursors::image(5, 2.0);
    EXPECT_EQ(big.toImage().pixelColor(kSwatchCentre * 2), qc(PaletteColor(5)));
    EXPECT_TRUE(ColorCursors::image(0).isNull() && ColorCursors::image(19).isNull());
}
