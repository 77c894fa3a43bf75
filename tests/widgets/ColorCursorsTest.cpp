#include "widgets/ColorCursors.h"

#include "data/Color.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QColor qc(RGB c) { return QColor(red(c), green(c), blue(c)); }

// The middle of the colour swatch in the lower right of every cursor.
constexpr QPoint kSwatchCentre{25, 25};

}  // namespace

TEST(ColorCursors, EachPaletteColourIsRegisteredUnderTwentyPlusItsIndex)
{
    ColorCursors::registerCursors();
    for (int index = 1; index <= 18; ++index) {
        const int id = 20 + index;
        SCOPED_TRACE(id);
        ASSERT_TRUE(ColorCursors::isRegistered(id));
        const QCursor cursor = ColorCursors::cursor(id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), ColorCursors::kHotSpot);
        const QImage img = cursor.pixmap().toImage();
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.pixelColor(kSwatchCentre), qc(PaletteColor(index)));
    }
    EXPECT_FALSE(ColorCursors::isRegistered(20));
    EXPECT_FALSE(ColorCursors::isRegistered(39));
}

TEST(ColorCursors, IdentifiersWithoutACursorGiveTheArrow)
{
    for (int id : {-1, 0, 1, 20, 39, 1000})
        EXPECT_EQ(ColorCursors::cursor(id).shape(), Qt::ArrowCursor) << id;
}

TEST(ColorCursors, CursorOfTheCoreMappingShowsTheDrawingColour)
{
    // What the grid asks for must show the colour it draws with; colours
    // outside the palette (white, black) fall back to the first cursor.
    for (int index = 1; index <= 18; ++index) {
        const QImage img = ColorCursors::cursor(ColorCursor(PaletteColor(index))).pixmap().toImage();
        EXPECT_EQ(img.pixelColor(kSwatchCentre), qc(PaletteColor(index))) << index;
    }
    for (RGB outside : {kWhite, kBlack, RGB(0x123456)}) {
        const QImage img = ColorCursors::cursor(ColorCursor(outside)).pixmap().toImage();
        EXPECT_EQ(img.pixelColor(kSwatchCentre), qc(PaletteColor(1)));
    }
}

TEST(ColorCursors, HotSpotIsOnThePencilTipAndTheCornersAreClear)
{
    for (int index = 1; index <= 18; ++index) {
        const QImage img = ColorCursors::image(index).toImage();
        const QColor tip = img.pixelColor(ColorCursors::kHotSpot);
        EXPECT_GT(tip.alpha(), 128) << index;
        EXPECT_LT(tip.lightness(), 110) << index;
        EXPECT_EQ(img.pixelColor(31, 0).alpha(), 0) << index;
        EXPECT_EQ(img.pixelColor(0, 31).alpha(), 0) << index;
    }
}

TEST(ColorCursors, AllEighteenPicturesDiffer)
{
    QSet<QByteArray> seen;
    for (int index = 1; index <= 18; ++index) {
        const QImage img = ColorCursors::image(index).toImage().convertToFormat(QImage::Format_ARGB32);
        seen.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), int(img.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 18);
}

TEST(ColorCursors, PicturesScaleForDoubledScreensAndRefuseOtherIndices)
{
    const QPixmap big = ColorCursors::image(5, 2.0);
    EXPECT_EQ(big.size(), QSize(64, 64));
    EXPECT_DOUBLE_EQ(big.devicePixelRatio(), 2.0);
    EXPECT_EQ(big.toImage().pixelColor(kSwatchCentre * 2), qc(PaletteColor(5)));

    EXPECT_TRUE(ColorCursors::image(0).isNull());
    EXPECT_TRUE(ColorCursors::image(19).isNull());
    EXPECT_EQ(ColorCursors::resourceName(1), QStringLiteral("CUR_DRAW1C01"));
    EXPECT_EQ(ColorCursors::resourceName(18), QStringLiteral("CUR_DRAW1C18"));
}
