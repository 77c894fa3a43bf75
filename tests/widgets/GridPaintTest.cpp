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

// A square of the control: a cell or a clue slot.
struct Sq {
    int x, y, size;
};

// The colour expected at (dx, dy) inside a square.
struct Probe {
    Sq sq;
    int dx, dy;
    QRgb colour;
};

QRgb px(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

void expectPixels(const QImage& image, std::initializer_list<Probe> probes)
{
    for (const Probe& p : probes)
        EXPECT_EQ(px(image, p.sq.x + p.dx, p.sq.y + p.dy), p.colour) << p.sq.x + p.dx << "," << p.sq.y + p.dy;
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
    QImage render(const QRect& area = {}, bool suggestLit = false) const
    {
        const GridLayout& layout = widget.layout();
        QImage image(layout.controlWidth(), layout.controlHeight(), QImage::Format_RGB32);
        image.fill(0x123456); // anything the painter leaves alone shows up
        GridPainter painter(model, layout, pointer);
        QPainter p(&image);
        const QRect r = area.isNull() ? image.rect() : area;
        p.setClipRect(r);
        painter.paint(p, r, suggestLit);
        return image;
    }
    GridWidget widget;
    GridModel& model = widget.model();
    GridPointer& pointer = widget.pointer();
};

TEST_F(GridPaint, CellsDrawTheirStateInsideABlackOutlineDoubledEveryFifthLine)
{
    load({"##.#..", "#...#.", ".#.#..", "######", "....#.", "#....."});
    model.restoreCell(0, 0, DefYes, 5);
    model.restoreCell(1, 0, DefNo, 0);
    model.restoreCell(2, 0, Mark, 11);
    const QImage image = render();
    const int s = 15, h = s / 2, d = s / 5;
    const Sq yes = cellSq(0, 0), no = cellSq(1, 0), mark = cellSq(2, 0);
    for (int i = 0; i <= s; ++i) {
        expectPixels(image, {{yes, i, 0, 0}, {yes, 0, i, 0}, {yes, s, i, 0}});
        if (i > 0 && i < s) // a dark cross from corner to corner, the far corner excluded
            expectPixels(image, {{no, i, i, 0x222222}, {no, s - i, i, 0x222222}});
    }
    expectPixels(image, {
        {yes, 5, 5, 0x3333FF}, {no, 2, 5, 0xFFFFFF}, {cellSq(3, 3), 7, 7, 0xFFFFFF},
        // A plus with arms of s / 5 around the centre, on the cell's colour.
        {mark, h, h - d, 0x222222}, {mark, h + d, h, 0x222222}, {mark, h, h + d, 0x222222},
        {mark, h, h - d - 1, 0xFF0000}, {mark, h + d + 1, h, 0xFF0000},
        // The line after the fifth column is two pixels wide.
        {cellSq(4, 2), 15, 7, 0}, {cellSq(5, 2), 0, 7, 0}, {cellSq(5, 2), 1, 7, 0xFFFFFF},
    });
}

// Colour-3 clues print white digits, other clues black, blank slots nothing;
// a struck-out clue carries dark diagonals, and the suggested cell blinks.
TEST_F(GridPaint, CluesFollowTheirBackgroundAndTheSuggestedCellBlinks)
{
    load({"#.9", "...", "..#"});
    model.setLeftMark(1, 2, 1);
    model.Suggest(); // fills and names (0, 0), the first wrong cell
    ASSERT_EQ(model.suggestedCell(), std::make_pair(0, 0));
    const QImage image = render({}, true);
    auto countInside = [&](const Sq& b, QRgb colour) {
        int n = 0;
        for (int y = b.y + 1; y < b.y + b.size; ++y)
            for (int x = b.x + 1; x < b.x + b.size; ++x)
                n += px(image, x, y) == colour;
        return n;
    };
    // Row 0 has two blocks: "1" in dark grey (white digit) and "1" in dark
    // green (black digit); row 1 none.
    EXPECT_GT(countInside(leftSq(0, 0), 0xFFFFFF), 3);
    EXPECT_GT(countInside(leftSq(1, 0), 0x000000), 3);
    const Sq blank = leftSq(0, 1), struck = leftSq(1, 2), g = cellSq(0, 0);
    EXPECT_EQ(countInside(blank, 0xFFFFFF), (blank.size - 1) * (blank.size - 1));
    const int s = struck.size;
    expectPixels(image, {
        // The pale left and top edge lines of every clue square.
        {blank, 0, 5, 0xBBBBBB}, {blank, 5, 0, 0xBBBBBB},
        // Diagonals away from the digit: near the corners.
        {struck, 1, 1, 0x333333}, {struck, s - 1, 1, 0x333333}, {struck, s - 2, s - 2, 0x333333},
        // A double frame, white then black, only while the blink is lit.
        {g, 1, 5, 0xFFFFFF}, {g, 2, 5, 0}, {g, 3, 5, 0x444444},
    });
    expectPixels(render({}, false), {{g, 1, 5, 0x444444}});
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
    const Sq a = cellSq(1, 1), b = cellSq(2, 2);
    pointer.press(a.x + 3, a.y + 3, MouseButton::Left, {});
    pointer.move(b.x + 3, b.y + 3, held);
    ASSERT_TRUE(pointer.showsPreview(1, 1));
    // The right border of the band belongs to column 3, drawn later: black.
    expectPixels(render(), {{a, 5, 0, 0xFFFFFF}, {a, 0, 5, 0xFFFFFF}, {b, 15, 5, 0}, {a, 5, 5, 0x444444}});
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
    auto inverted = [&](const Sq& q, int dx, int dy) {
        return px(image, q.x + dx, q.y + dy) == (~px(plain, q.x + dx, q.y + dy) & 0xFFFFFF);
    };
    auto same = [&](const Sq& q, int dx, int dy) {
        return px(image, q.x + dx, q.y + dy) == px(plain, q.x + dx, q.y + dy);
    };

    // Up the column, from the top clues down to the hover cell: lines 1, 2,
    // s-2 and s-1 of each square are inverted.
    for (int r = 0; r <= 3; ++r) {
        for (int dx : {1, 2, 13, 14})
            EXPECT_TRUE(inverted(cellSq(2, r), dx, 5)) << r << " " << dx;
        EXPECT_TRUE(same(cellSq(2, r), 5, 7)) << r;
    }
    for (int k = 0; k < model.colClueCount(); ++k)
        EXPECT_TRUE(inverted(topSq(2, k), 1, 5)) << k;
    // Along the row, from the left clues to the hover cell.
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(inverted(cellSq(c, 3), 5, 1) && inverted(cellSq(c, 3), 5, 14)) << c;
        EXPECT_TRUE(same(cellSq(c, 3), 1, 7)) << c;
    }
    // The hover cell gets both; where they cross, inverting twice restores.
    EXPECT_TRUE(inverted(hover, 1, 7) && inverted(hover, 7, 1));
    EXPECT_TRUE(same(hover, 1, 1));
    // Beyond the hover cell nothing changes.
    EXPECT_TRUE(same(cellSq(3, 3), 5, 1) && same(cellSq(2, 4), 1, 5));

    // A full repaint drops it.
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
                ASSERT_EQ(px(part, xx, yy), px(full, xx, yy)) << "area " << i << " at " << xx << "," << yy;
    }
}

TEST_F(GridPaint, WidgetTakesTheControlSizeAndFollowsZoom)
{
    load({"#.#.#.#.#.", "..........", "##########"});
    EXPECT_EQ(widget.size(), QSize(widget.layout().controlWidth(), widget.layout().controlHeight()));
    widget.move(7, 9);
    ASSERT_TRUE(widget.setCellSize(20));
    EXPECT_EQ(widget.size(), QSize(widget.layout().controlWidth(), widget.layout().controlHeight()));
    EXPECT_EQ(widget.pos(), QPoint(7, 9));
}

} // namespace
