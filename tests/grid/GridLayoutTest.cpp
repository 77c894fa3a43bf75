#include "grid/ZoomFit.h"
#include "TestGrids.h"
#include "grid/GridLayout.h"
#include "grid/GridModel.h"

#include <gtest/gtest.h>

using testgrids::crossword;

namespace {

// A 10 x 10 field with 3 clue slots per row and 2 per column.
GridLayout tenByTen(int size = 15)
{
    GridLayout layout;
    layout.setShape(10, 10, 3, 2);
    layout.setCellSize(size);
    return layout;
}

} // namespace

TEST(GridLayout, EveryFifthLineIsDoubled)
{
    const GridLayout g = tenByTen();
    EXPECT_EQ(g.controlWidth(), 13 * 15 + 2);
    EXPECT_EQ(g.controlHeight(), 12 * 15 + 2);
    EXPECT_EQ(g.cellX(4), 105);
    EXPECT_EQ(g.cellX(5), 121);
    EXPECT_EQ(g.cellY(5), 30 + 75 + 1);
    EXPECT_EQ(g.leftClueRect(2, 5), (PixelRect{30, 106, 16, 16}));
    EXPECT_EQ(g.topClueRect(5, 1), (PixelRect{121, 15, 16, 16}));
}

// The control ends with the outline of the last cell, whatever the field's
// size: a pixel less and the field is open on the right or below.
TEST(GridLayout, ControlHoldsTheFieldsClosingLines)
{
    const struct {
        int columns, rows, rowClues, colClues;
    } shapes[] = {{13, 9, 2, 2}, {10, 10, 3, 2}, {1, 1, 1, 1}, {80, 50, 20, 13}, {7, 16, 0, 0}};
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

TEST(GridLayout, CellSizeAcceptsThreeToThirtyOnly)
{
    GridLayout g = tenByTen();
    EXPECT_FALSE(g.setCellSize(31));
    EXPECT_FALSE(g.setCellSize(2));
    EXPECT_EQ(g.cellSize(), 15);
    EXPECT_TRUE(g.setCellSize(30));
    EXPECT_TRUE(g.setCellSize(3));
    EXPECT_EQ(g.controlWidth(), 13 * 3 + 2);
    EXPECT_EQ(g.cellX(5), (3 + 5) * 3 + 1);
}

TEST(GridLayout, FitToWindowTakesTheLargestSizeThatShowsEverything)
{
    struct Case {
        int width, height, rowClues, colClues, roomWidth, roomHeight, expected;
    } cases[] = {
        {40, 30, 10, 8, 600, 500, 11}, // the width decides
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
        {lw, th, {HitResult::OnCell, 0, 0}},
        {lw + 14, th, {HitResult::OnCell, 0, 0}},
        {lw + 15, th, {HitResult::OnCell, 1, 0}},
        // x' = 75: (75 - 1) / 15 = 4, the doubled line still belongs to column 4.
        {lw + 75, th, {HitResult::OnCell, 4, 0}},
        {lw + 76, th, {HitResult::OnCell, 5, 0}},
        {lw + 75, th + 75, {HitResult::OnCell, 4, 4}},
        // Far edge: x' = 10 * 15 + 2 = 152 is inside the field but no cell.
        {lw + 151, th, {HitResult::OnCell, 9, 0}},
        {lw + 152, th, {}},
        {lw + 153, th, {}},
        {lw, th + 152, {}},
        // Clue areas.
        {lw + 76, 29, {HitResult::OnTopClue, 5, 1}},
        {lw, 0, {HitResult::OnTopClue, 0, 0}},
        {44, th + 76, {HitResult::OnLeftClue, 2, 5}},
        {0, th, {HitResult::OnLeftClue, 0, 0}},
        // The top-left corner and points outside are nobody's.
        {10, 10, {}},
        {-1, th, {}},
        {lw, -1, {}},
        {lw + 400, 5, {}},
        {5, th + 400, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.hitTest(c.x, c.y), c.want) << c.x << "," << c.y;
    EXPECT_EQ(GridLayout().hitTest(0, 0).kind, HitResult::None); // no crossword yet
}

TEST(GridModelLoad, BuildsClueSlotsFromTheRight)
{
    GridModel g;
    // Row 0 is 2 1 1 (colours 1 2 1) in three slots; row 1 holds one block of 5.
    g.SetDataSource(crossword({"112..1", "22222.", "......"}));
    ASSERT_EQ(g.rowClueCount(), 3);
    struct Slot { int colour, number; };
    const Slot row0[] = {{1, 2}, {2, 1}, {1, 1}}, row1[] = {{0, 0}, {0, 0}, {2, 5}}, row2[] = {{0, 0}, {0, 0}, {0, 0}};
    const Slot* rows[] = {row0, row1, row2};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(g.leftClue(k, r).colourIndex, rows[r][k].colour) << k << "," << r;
            EXPECT_EQ(g.leftClue(k, r).number, rows[r][k].number) << k << "," << r;
        }
}

TEST(GridModelLoad, SavedProgressAccessAndANewLoadForgetsIt)
{
    GridModel g;
    g.SetDataSource(crossword({"#4", ".i"}));
    g.ShowSolution();
    EXPECT_EQ(g.cell(0, 0).colour, 0x444444u);
    EXPECT_EQ(g.cell(0, 1).state, Empty);
    EXPECT_EQ(g.cell(0, 1).colour, 0xFFFFFFu);
    EXPECT_EQ(g.cellColourIndex(1, 1), 18);
    g.restoreCell(1, 0, DefNo, 40); // outside the palette: white
    EXPECT_EQ(g.cell(1, 0).colour, 0xFFFFFFu);
    g.setTopMark(1, 0, 7);
    EXPECT_EQ(g.topMark(1, 0), 1);
    g.SetDataSource(crossword({"#4", ".i"}));
    EXPECT_EQ(g.topMark(1, 0), 0);
    EXPECT_EQ(g.cellState(0, 0), Empty);
}

namespace {
struct ButtonHost : GridHost {
    bool button = false;
    RGB shown = 0;
    int previewW = -1, previewH = -1;
    bool hasColourButton() const override { return button; }
    void showCurrentColour(RGB c) override { shown = c; }
    void previewResize(int w, int h) override { previewW = w; previewH = h; }
};
}

TEST(GridModelLoad, LoadResetsTheColourOnceTheColourButtonExists)
{
    GridModel g;
    ButtonHost host;
    g.setHost(&host);
    g.SetDataSource(crossword({"#.", ".#", "##"}));
    EXPECT_EQ(g.currentColour(), 0xFFFFFFu);
    EXPECT_EQ(host.previewW, 6);
    EXPECT_EQ(host.previewH, 9);
    host.button = true;
    g.SetColor(0xFF0000);
    g.SetDataSource(crossword({"#"}));
    EXPECT_EQ(g.currentColour(), 0x444444u);
    EXPECT_EQ(host.shown, 0x444444u);
}
