#include "widgets/ToolBarImageList.h"
#include "widgets/WidgetResources.h"

#include <QFile>
#include <QImage>
#include <QSet>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

class ToolBarImageListTest : public ::testing::Test {
protected:
    void SetUp() override { initWidgetResources(); }
};

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

// Largest channel difference between two pictures of the same size
// (premultiplied storage may round semi-transparent pixels a little).
int maxDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = pa.pixel(x, y), q = pb.pixel(x, y);
            worst = std::max({worst, std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                              std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

}  // namespace

TEST_F(ToolBarImageListTest, EveryIndexHasDistinctPicturesAtOneAndTwoTimesScaleWithTheirVectorSource)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < ToolBarImageList::kCount; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = ToolBarImageList::icon(i);
        ASSERT_FALSE(icon.isNull());
        const QString path = ToolBarImageList::resourcePath(i);
        const QImage small(path);
        const QImage big(QString(path).insert(path.size() - 4, QStringLiteral("@2x")));
        ASSERT_EQ(small.size(), QSize(16, 16));
        ASSERT_EQ(big.size(), QSize(32, 32));
        // Something is drawn, but not a solid square.
        EXPECT_GT(coverage(small), 0.15);
        EXPECT_LT(coverage(small), 1.0 + 1e-9);
        EXPECT_GT(coverage(big), 0.15);
        // A doubled screen gets the 32 px picture, not a blown-up 16 px one.
        const QPixmap hi = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(hi.size(), QSize(32, 32));
        EXPECT_LE(maxDifference(hi.toImage(), big), 2);

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
