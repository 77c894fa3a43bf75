#include "TestGrids.h"
#include "grid/GridModel.h"
#include "widgets/GridPainter.h"
#include "widgets/GridWidget.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using testgrids::crossword;

QImage render(const GridWidget& widget, const QRect& area = {}, bool suggestLit = false)
{
    QImage image(widget.layout().controlWidth(), widget.layout().controlHeight(), QImage::Format_RGB32);
    image.fill(0x123456); // anything the painter leaves alone shows up
    GridPainter painter(widget.model(), widget.layout(), widget.pointer());
    QPainter p(&image);
    const QRect r = area.isNull() ? image.rect() : area;
    p.setClipRect(r);
    painter.paint(p, r, suggestLit);
    return image;
}

// A square of the control: a cell or a clue slot.
struct Sq {
    int x, y, size;
};

QRgb px(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

class GridPaint : public ::testing::Test {
protected:
    void load(const std::vector<std::string>& rows, int size = 15)
    {
        widget.layout().setCellSize(size);
        model.SetDataSource(crossword(rows));
    }
    Sq cellSq(int c, int r) const { return {widget.layout().cellX(c), widget.layout().cellY(r), widget.layout().cellSize()}; }
    Sq leftSq(int k, int r) const { return {widget.layout().leftClueX(k), widget.layout().cellY(r), widget.layout().cellSize()}; }
    Sq topSq(int c, int k) const { return {widget.layout().cellX(c), widget.layout().topClueY(k), widget.layout().cellSize()}; }
    QImage render(const QRect& area = {}, bool suggestLit = false) const { return ::render(widget, area, suggestLit); }
    GridWidget widget;
    GridModel& model = widget.model();
    GridPointer& pointer = widget.pointer();
};

TEST_F(GridPaint, CellsDrawTheirStateInsideABlackSharedOutline)
{
    load({"##.#.", "#...#", ".#.#.", "#####", "....#"});
    model.restoreCell(0, 0, DefYes, 5);
    model.restoreCell(1, 0, DefNo, 0);
    model.restoreCell(2, 0, Mark, 11);
    const QImage image = render();
    const int s = 15;

    const Sq yes = cellSq(0, 0);
    EXPECT_EQ(px(image, yes.x + 5, yes.y + 5), 0x3333FFu);
    for (int i = 0; i <= s; ++i) {
        EXPECT_EQ(px(image, yes.x + i, yes.y), 0u) << i;
        EXPECT_EQ(px(image, yes.x, yes.y + i), 0u) << i;
        EXPECT_EQ(px(image, yes.x + s, yes.y + i), 0u) << i;
    }

    // A cross of #222222 from corner to corner, the far corner excluded.
    const Sq no = cellSq(1, 0);
    for (int i = 1; i < s; ++i) {
        EXPECT_EQ(px(image, no.x + i, no.y + i), 0x222222u) << i;
        EXPECT_EQ(px(image, no.x + s - i, no.y + i), 0x222222u) << i;
    }
    EXPECT_EQ(px(image, no.x + 2, no.y + 5), 0xFFFFFFu);

    // A plus with arms of s / 5 around the centre, on the cell's colour.
    const Sq mark = cellSq(2, 0);
    const int h = s / 2, d = s / 5;
    for (int i = -d; i <= d; ++i) {
        EXPECT_EQ(px(image, mark.x + h, mark.y + h + i), 0x222222u) << i;
        EXPECT_EQ(px(image, mark.x + h + i, mark.y + h), 0x222222u) << i;
    }
    EXPECT_EQ(px(image, mark.x + h, mark.y + h - d - 1), 0xFF0000u);
    EXPECT_EQ(px(image, mark.x + h + d + 1, mark.y + h), 0xFF0000u);

    // Empty cells are white inside.
    const Sq empty = cellSq(3, 3);
    EXPECT_EQ(px(image, empty.x + 7, empty.y + 7), 0xFFFFFFu);
}

TEST_F(GridPaint, EveryFifthLineIsDoubled)
{
    load({"#.........", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", "..........", ".........#"});
    const QImage image = render();
    const Sq fourth = cellSq(4, 3);
    const Sq fifth = cellSq(5, 3);
    EXPECT_EQ(fifth.x, fourth.x + 16);
    EXPECT_EQ(px(image, fourth.x + 15, fourth.y + 7), 0u);
    EXPECT_EQ(px(image, fifth.x, fifth.y + 7), 0u);
    EXPECT_EQ(px(image, fifth.x + 1, fifth.y + 7), 0xFFFFFFu);
}

// Colour-3 clues print white digits; other clues black; blank slots nothing.
TEST_F(GridPaint, ClueDigitsFollowTheirBackground)
{
    load({"#.5", "...", "..."});
    // Row 0 has two blocks: "1" in dark grey and "1" in blue.
    ASSERT_EQ(model.rowClueCount(), 2);
    const QImage image = render();
    auto countInside = [&](const Sq& b, QRgb colour) {
        int n = 0;
        for (int y = b.y + 1; y < b.y + b.size; ++y)
            for (int x = b.x + 1; x < b.x + b.size; ++x)
                n += px(image, x, y) == colour;
        return n;
    };
    const Sq grey = leftSq(0, 0), blue = leftSq(1, 0);
    ASSERT_EQ(model.leftClue(0, 0).colourIndex, 3);
    ASSERT_EQ(model.leftClue(1, 0).colourIndex, 5);
    EXPECT_GT(countInside(grey, 0xFFFFFF), 3);
    EXPECT_GT(countInside(blue, 0x000000), 3);
    // Row 1 is empty: both of its slots are blank.
    const Sq blank = leftSq(0, 1);
    EXPECT_EQ(countInside(blank, 0xFFFFFF), (blank.size - 1) * (blank.size - 1));
    // The pale left and top edge lines of every clue square.
    EXPECT_EQ(px(image, blank.x, blank.y + 5), 0xBBBBBBu);
    EXPECT_EQ(px(image, blank.x + 5, blank.y), 0xBBBBBBu);
}

TEST_F(GridPaint, StruckOutClueCarriesDarkDiagonalsAndTheSuggestedCellBlinks)
{
    load({"#..", "...", "..#"});
    model.setLeftMark(0, 0, 1);
    model.Suggest(); // fills and names (0, 0), the first wrong cell
    ASSERT_EQ(model.suggestedCell(), std::make_pair(0, 0));
    QImage image = render({}, true);
    // Diagonals away from the digit: near the corners.
    const Sq b = leftSq(0, 0);
    EXPECT_EQ(px(image, b.x + 1, b.y + 1), 0x333333u);
    EXPECT_EQ(px(image, b.x + b.size - 1, b.y + 1), 0x333333u);
    EXPECT_EQ(px(image, b.x + b.size - 2, b.y + b.size - 2), 0x333333u);
    // A double frame, white then black, only while the blink is lit.
    const Sq g = cellSq(0, 0);
    EXPECT_EQ(px(image, g.x + 1, g.y + 5), 0xFFFFFFu);
    EXPECT_EQ(px(image, g.x + 2, g.y + 5), 0u);
    EXPECT_EQ(px(image, g.x + 3, g.y + 5), 0x444444u);
    image = render({}, false);
    EXPECT_EQ(px(image, g.x + 1, g.y + 5), 0x444444u);
}

// The rubber band shows the preview state with white outlines; cells drawn
// later in column order own the shared borders, just as in a full repaint.
TEST_F(GridPaint, RubberBandCellsLoseTheirGridLines)
{
    load({"#####", "#####", "#####", "#####", "#####"});
    pointer.setDrawMode(DrawMode::Rect);
    model.SetColor(PaletteColor(3));
    MouseFlags held;
    held.leftHeld = true;
    const Sq a = cellSq(1, 1);
    const Sq b = cellSq(2, 2);
    pointer.press(a.x + 3, a.y + 3, MouseButton::Left, {});
    pointer.move(b.x + 3, b.y + 3, held);
    ASSERT_TRUE(pointer.showsPreview(1, 1));
    const QImage image = render();
    // Top and left borders of the band are white; the right border of the
    // band belongs to column 3, drawn later, and stays black.
    EXPECT_EQ(px(image, a.x + 5, a.y), 0xFFFFFFu);
    EXPECT_EQ(px(image, a.x, a.y + 5), 0xFFFFFFu);
    EXPECT_EQ(px(image, b.x + 15, b.y + 5), 0u);
    EXPECT_EQ(px(image, a.x + 5, a.y + 5), 0x444444u);
}

TEST_F(GridPaint, CrosshairInvertsDoubleLinesAlongRowAndColumn)
{
    load({"#.#.#", ".....", "#####", ".....", "#...#"});
    model.ShowSolution();
    const QImage plain = render();
    const Sq hover = cellSq(2, 3);
    pointer.move(hover.x + 4, hover.y + 4, {});
    ASSERT_TRUE(pointer.crosshairShown());
    const QImage image = render();
    auto inverted = [&](int x, int y) { return px(image, x, y) == (~px(plain, x, y) & 0xFFFFFF); };
    auto same = [&](int x, int y) { return px(image, x, y) == px(plain, x, y); };

    // Up the column: lines 1, 2, s-2 and s-1 of each object are inverted,
    // from the top clues down to the hover cell.
    for (int r = 0; r <= 3; ++r) {
        const Sq g = cellSq(2, r);
        for (int dx : {1, 2, 13, 14})
            EXPECT_TRUE(inverted(g.x + dx, g.y + 5)) << r << " " << dx;
        EXPECT_TRUE(same(g.x + 5, g.y + 7)) << r;
    }
    for (int k = 0; k < model.colClueCount(); ++k) {
        const Sq b = topSq(2, k);
        EXPECT_TRUE(inverted(b.x + 1, b.y + 5)) << k;
    }
    // Along the row, from the left clues to the hover cell.
    for (int c = 0; c < 2; ++c) {
        const Sq g = cellSq(c, 3);
        EXPECT_TRUE(inverted(g.x + 5, g.y + 1)) << c;
        EXPECT_TRUE(inverted(g.x + 5, g.y + 14)) << c;
        EXPECT_TRUE(same(g.x + 1, g.y + 7)) << c;
    }
    // The hover cell gets both; where they cross, inverting twice restores.
    EXPECT_TRUE(inverted(hover.x + 1, hover.y + 7));
    EXPECT_TRUE(inverted(hover.x + 7, hover.y + 1));
    EXPECT_TRUE(same(hover.x + 1, hover.y + 1));
    // Beyond the hover cell nothing changes.
    EXPECT_TRUE(same(cellSq(3, 3).x + 5, cellSq(3, 3).y + 1));
    EXPECT_TRUE(same(cellSq(2, 4).x + 1, cellSq(2, 4).y + 5));

    // Moving within the cell keeps the crosshair; a full repaint drops it.
    pointer.move(hover.x + 6, hover.y + 6, {});
    EXPECT_EQ(pointer.hoverColumn(), 2);
    EXPECT_TRUE(pointer.crosshairShown());
    widget.fullRepaint();
    EXPECT_FALSE(pointer.crosshairShown());
    EXPECT_EQ(render(), plain);
}

// Painting any exposed part gives exactly the pixels of a full repaint there,
// whatever the part cuts through (borders, band, crosshair, clues).
TEST_F(GridPaint, ExposedRegionMatchesFullRepaint)
{
    std::vector<std::string> rows;
    for (int r = 0; r < 17; ++r) {
        std::string row;
        for (int c = 0; c < 23; ++c)
            row += "#.5.b#.."[(r * 7 + c * 3 + r * c) % 8];
        rows.push_back(row);
    }
    load(rows, 13);
    pointer.setDrawMode(DrawMode::Rect);
    MouseFlags held;
    held.rightHeld = true;
    pointer.press(cellSq(4, 4).x + 2, cellSq(4, 4).y + 2, MouseButton::Right, {});
    pointer.move(cellSq(12, 9).x + 2, cellSq(12, 9).y + 2, held);
    pointer.move(cellSq(9, 11).x + 2, cellSq(9, 11).y + 2, held);
    model.setLeftMark(0, 3, 1);
    const QImage full = render();
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i) {
        const int x = random.bounded(full.width()), y = random.bounded(full.height());
        const QRect area = QRect(x, y, 1 + random.bounded(40), 1 + random.bounded(40)) & full.rect();
        const QImage part = render(area);
        for (int yy = area.top(); yy <= area.bottom(); ++yy)
            for (int xx = area.left(); xx <= area.right(); ++xx)
                ASSERT_EQ(px(part, xx, yy), px(full, xx, yy)) << "area " << area.x() << "," << area.y() << " "
                                                              << area.width() << "x" << area.height()
                                                              << " at " << xx << "," << yy;
    }
}

TEST(GridWidgetTest, TakesTheControlSizeAndFollowsZoom)
{
    GridWidget widget;
    widget.model().SetDataSource(crossword({"#.#.#.#.#.", "..........", "##########"}));
    EXPECT_EQ(widget.size(), QSize(widget.layout().controlWidth(), widget.layout().controlHeight()));
    widget.move(7, 9);
    ASSERT_TRUE(widget.setCellSize(20));
    EXPECT_EQ(widget.size(), QSize(widget.layout().controlWidth(), widget.layout().controlHeight()));
    EXPECT_EQ(widget.pos(), QPoint(7, 9));
    EXPECT_FALSE(widget.setCellSize(31));
    EXPECT_EQ(widget.cellSize(), 20);
}

} // namespace
