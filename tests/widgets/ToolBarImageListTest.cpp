#include "widgets/ToolBarImageList.h"

#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Share of pixels that are neither transparent nor nearly so.
double coverage(const QImage& img)
{
    int opaque = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y).alpha() > 64)
                ++opaque;
    return double(opaque) / (img.width() * img.height());
}

}  // namespace

TEST(ToolBarImageList, EveryIndexHasDistinctPicturesAtOneAndTwoTimesScaleWithTheirVectorSource)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < ToolBarImageList::kCount; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = ToolBarImageList::icon(i);
        const QString path = ToolBarImageList::resourcePath(i);
        const QImage small(path);
        const QImage big(QString(path).insert(path.size() - 4, QStringLiteral("@2x")));
        ASSERT_EQ(small.size(), QSize(16, 16));
        ASSERT_EQ(big.size(), QSize(32, 32));
        // Something is drawn at both sizes.
        EXPECT_GT(coverage(small), 0.15);
        EXPECT_GT(coverage(big), 0.15);
        // A doubled screen gets the 32 px picture, not a blown-up 16 px one.
        const QPixmap hi = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(hi.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  big.convertToFormat(QImage::Format_ARGB32_Premultiplied));

        const QImage argb = small.convertToFormat(QImage::Format_ARGB32);
        seen.insert(QByteArray(reinterpret_cast<const char*>(argb.constBits()), int(argb.sizeInBytes())));
        // The pictures are renderings of the .svg beside them; one without its
        // source cannot be redrawn for another size.
        const QString svg = QStringLiteral(TESSELLOR_SOURCE_DIR "/resources/icons/") +
                            path.mid(QStringLiteral(":/icons/").size()).chopped(4) + ".svg";
        EXPECT_TRUE(QFile::exists(svg)) << svg.toStdString();
    }
    EXPECT_EQ(seen.size(), ToolBarImageList::kCount);
    for (int i : {-1, ToolBarImageList::kCount, 100}) {
        EXPECT_TRUE(ToolBarImageList::icon(i).isNull()) << i;
        EXPECT_TRUE(ToolBarImageList::resourcePath(i).isEmpty()) << i;
    }
}
