#include "grid/GridLayout.h"
#include "grid/ZoomFit.h"

#include <gtest/gtest.h>

namespace {

// A 10 x 10 field with 3 clue slots per row and 2 per column.
GridLayout tenByTen()
{
    GridLayout layout;
    layout.setShape(10, 10, 3, 2);
    layout.setCellSize(15);
    return layout;
}

TEST(GridLayout, CellSizeIsThreeToThirtyAndEveryFifthLineIsDoubled)
{
    GridLayout g = tenByTen();
    EXPECT_EQ(g.cellX(4), 105);
    EXPECT_EQ(g.cellX(5), 121);
    EXPECT_EQ(g.cellY(5), 30 + 75 + 1);
    EXPECT_EQ(g.leftClueRect(2, 5), (PixelRect{30, 106, 16, 16}));
    EXPECT_EQ(g.topClueRect(5, 1), (PixelRect{121, 15, 16, 16}));
    EXPECT_FALSE(g.setCellSize(31));
    EXPECT_FALSE(g.setCellSize(2));
    EXPECT_EQ(g.cellSize(), 15);
    EXPECT_TRUE(g.setCellSize(30));
    EXPECT_TRUE(g.setCellSize(3));
    EXPECT_EQ(g.cellX(5), (3 + 5) * 3 + 1);
}

// The control ends with the outline of the last cell, whatever the field's
// size: a pixel less and the field is open on the right or below.
TEST(GridLayout, ControlHoldsTheFieldsClosingLines)
{
    struct Shape { int columns, rows, rowClues, colClues; };
    const Shape shapes[] = {{13, 9, 2, 2}, {10, 10, 3, 2}, {1, 1, 1, 1}, {80, 50, 20, 13}, {7, 16, 0, 0}};
    for (const auto& shape : shapes) {
        for (int size : {GridLayout::kMinCellSize, GridLayout::kInitialCellSize, GridLayout::kMaxCellSize}) {
            GridLayout g;
            g.setShape(shape.columns, shape.rows, shape.rowClues, shape.colClues);
            g.setCellSize(size);
            const PixelRect last = g.cellRect(shape.columns - 1, shape.rows - 1);
            EXPECT_EQ(g.controlWidth(), last.x + last.w) << shape.columns << " columns, size " << size;
            EXPECT_EQ(g.controlHeight(), last.y + last.h) << shape.rows << " rows, size " << size;
        }
    }
}

TEST(GridLayout, FitToWindowTakesTheLargestSizeThatShowsEverything)
{
    struct Case { int width, height, rowClues, colClues, roomWidth, roomHeight, expected; };
    const Case cases[] = {
        {40, 30, 10, 8, 600, 500, 11},  // the width decides
        {40, 30, 10, 8, 2000, 400, 10}, // the height decides
        {5, 5, 0, 0, 151, 151, 30},     // exactly the room, with the fifth-line pixel
        {5, 5, 0, 0, 150, 151, 29},
        {4, 4, 0, 0, 121, 121, 30},     // the closing line of a field that ends between fifths
        {4, 4, 0, 0, 120, 121, 29},
        {40, 30, 10, 8, 50, 50, 3},     // nothing fits: the smallest size
        {2, 2, 1, 1, 5000, 5000, 30},   // never above the largest
    };
    for (const Case& c : cases) {
        const int s = fittingCellSize(c.width, c.height, c.rowClues, c.colClues, c.roomWidth, c.roomHeight);
        EXPECT_EQ(s, c.expected) << c.width << "x" << c.height << " in " << c.roomWidth << "x" << c.roomHeight;
    }
}

TEST(GridLayout, HitTestingFollowsTheDoubledLinesAndFarEdge)
{
    const GridLayout g = tenByTen();
    const int lw = 45, th = 30;
    struct Case { int x, y; HitResult want; };
    const Case cases[] = {
        {lw + 14, th, {HitResult::OnCell, 0, 0}}, {lw + 15, th, {HitResult::OnCell, 1, 0}},
        // x' = 75: (75 - 1) / 15 = 4, the doubled line still belongs to column 4.
        {lw + 75, th + 75, {HitResult::OnCell, 4, 4}}, {lw + 76, th, {HitResult::OnCell, 5, 0}},
        // Far edge: x' = 10 * 15 + 2 = 152 is inside the field but no cell.
        {lw + 151, th, {HitResult::OnCell, 9, 0}}, {lw + 152, th, {}}, {lw, th + 152, {}},
        // Clue areas.
        {lw + 76, 29, {HitResult::OnTopClue, 5, 1}}, {lw, 0, {HitResult::OnTopClue, 0, 0}},
        {44, th + 76, {HitResult::OnLeftClue, 2, 5}}, {0, th, {HitResult::OnLeftClue, 0, 0}},
        // The top-left corner and points outside are nobody's.
        {10, 10, {}}, {-1, th, {}}, {lw, -1, {}}, {lw + 400, 5, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.hitTest(c.x, c.y), c.want) << c.x << "," << c.y;
    EXPECT_EQ(GridLayout().hitTest(0, 0).kind, HitResult::None); // no crossword yet
}

} // namespace
