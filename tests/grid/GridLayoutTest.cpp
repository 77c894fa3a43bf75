#include "grid/GridModel.h"
#include "grid/ZoomFit.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

using testgrids::crossword;

namespace {

// A 10 x 10 crossword whose rows have at most 3 blocks and columns at most 2.
CrossData tenByTen()
{
    return crossword({
        "#.#.#.....",
        "##........",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        "#.........",
        "#.........",
    });
}

struct RecordingView : GridView {
    int geometry = 0, all = 0, rects = 0, cursor = -1;
    void invalidateRect(int, int, int, int) override { ++rects; }
    void invalidateAll() override { ++all; }
    void geometryChanged() override { ++geometry; }
    void setCursorId(int id) override { cursor = id; }
};

} // namespace

TEST(GridLayout, TenByTenAtFifteenPixels)
{
    GridModel g;
    g.SetDataSource(tenByTen());
    ASSERT_EQ(g.rowClueCount(), 3);
    ASSERT_EQ(g.colClueCount(), 2);
    EXPECT_EQ(g.controlWidth(), 197);
    EXPECT_EQ(g.controlHeight(), 182);
    EXPECT_EQ(g.cell(5, 0).x, 121);
    EXPECT_EQ(g.cell(4, 0).x, 105);
    EXPECT_EQ(g.cell(0, 0).y, 30);
    EXPECT_EQ(g.cell(0, 5).y, 30 + 75 + 1);
    EXPECT_EQ(g.leftClue(2, 5).x, 30);
    EXPECT_EQ(g.leftClue(2, 5).y, g.cell(0, 5).y);
    EXPECT_EQ(g.topClue(5, 1).x, 121);
    EXPECT_EQ(g.topClue(5, 1).y, 15);
    EXPECT_EQ(g.cell(9, 9).size, 15);
}

TEST(GridLayout, ZoomAcceptsThreeToThirtyOnly)
{
    GridModel g;
    RecordingView view;
    g.setView(&view);
    g.SetDataSource(tenByTen());
    const int layouts = view.geometry;
    EXPECT_FALSE(g.SetZoom(31));
    EXPECT_FALSE(g.SetZoom(2));
    EXPECT_EQ(g.cellSize(), 15);
    EXPECT_EQ(view.geometry, layouts);
    EXPECT_TRUE(g.SetZoom(30));
    EXPECT_TRUE(g.SetZoom(3));
    EXPECT_EQ(g.cellSize(), 3);
    EXPECT_EQ(g.controlWidth(), 13 * 3 + 2);
    EXPECT_EQ(g.cell(5, 0).x, (3 + 5) * 3 + 1);
    EXPECT_EQ(g.cell(5, 0).size, 3);
    EXPECT_EQ(view.geometry, layouts + 2);
    EXPECT_GE(view.all, 2);
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
        {40, 30, 10, 8, 50, 50, 3},     // nothing fits: the smallest size
        {2, 2, 1, 1, 5000, 5000, 30},   // never above the largest
    };
    for (const Case& c : cases) {
        const int s = fittingCellSize(c.width, c.height, c.rowClues, c.colClues, c.roomWidth, c.roomHeight);
        EXPECT_EQ(s, c.expected) << c.width << "x" << c.height << " in " << c.roomWidth << "x" << c.roomHeight;
    }
}

TEST(GridLayout, StoredSizeWaitsForTheNextLoad)
{
    GridModel g;
    g.SetDataSource(tenByTen());
    g.storeCellSize(20);
    EXPECT_EQ(g.cell(1, 0).x, 4 * 15);
    g.storeCellSize(40); // out of range: kept at 20
    g.SetDataSource(tenByTen());
    EXPECT_EQ(g.cell(1, 0).x, 4 * 20);
}

TEST(GridHitTest, DoubledLinesAndFarEdge)
{
    GridModel g;
    g.SetDataSource(tenByTen());
    const int lw = 45, th = 30;
    struct Case { int x, y; HitResult want; };
    const Case cases[] = {
        {lw, th, {HitResult::OnCell, 0, 0}},
        {lw + 14, th, {HitResult::OnCell, 0, 0}},
        {lw + 15, th, {HitResult::OnCell, 1, 0}},
        {lw + 74, th, {HitResult::OnCell, 4, 0}},
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
        // The top-left corner and points outside are ignored.
        {10, 10, {}},
        {-1, th, {}},
        {lw, -1, {}},
        {lw + 400, 5, {}},
        {5, th + 400, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.hitTest(c.x, c.y), c.want) << c.x << "," << c.y;
}

TEST(GridModelLoad, BuildsClueCellsAndEmptyCells)
{
    GridModel g;
    // Row 0 is 1 1 2 0 0 1 with three slots; row 1 holds one block of 5.
    g.SetDataSource(crossword({"112..1", "22222.", "......"}));
    ASSERT_EQ(g.rowClueCount(), 3);
    EXPECT_EQ(g.leftClue(0, 0).colourIndex, 1);
    EXPECT_EQ(g.leftClue(0, 0).number, 2);
    EXPECT_EQ(g.leftClue(1, 0).colourIndex, 2);
    EXPECT_EQ(g.leftClue(1, 0).number, 1);
    EXPECT_EQ(g.leftClue(2, 0).colourIndex, 1);
    EXPECT_EQ(g.leftClue(2, 0).number, 1);
    // Blank, blank, 5.
    EXPECT_EQ(g.leftClue(0, 1).number, 0);
    EXPECT_EQ(g.leftClue(1, 1).number, 0);
    EXPECT_EQ(g.leftClue(2, 1).number, 5);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(g.leftClue(k, 2).number, 0);
        EXPECT_EQ(g.leftClue(k, 2).colourIndex, 0);
    }
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(g.cell(c, r).state, Empty);
            EXPECT_EQ(g.cell(c, r).colour, kBlack);
            EXPECT_EQ(g.cell(c, r).column, c);
            EXPECT_EQ(g.cell(c, r).row, r);
        }
}

TEST(GridModelLoad, SolutionAndSavedProgressAccess)
{
    GridModel g;
    g.SetDataSource(crossword({"#4", ".i"}));
    g.ShowSolution();
    EXPECT_EQ(g.cell(0, 0).state, DefYes);
    EXPECT_EQ(g.cell(0, 0).colour, 0x444444u);
    EXPECT_EQ(g.cell(0, 1).state, Empty);
    EXPECT_EQ(g.cell(0, 1).colour, 0xFFFFFFu);
    EXPECT_EQ(g.cellColourIndex(1, 1), 18);
    g.restoreCell(1, 0, Mark, 11);
    EXPECT_EQ(g.cellState(1, 0), Mark);
    EXPECT_EQ(g.cellColourIndex(1, 0), 11);
    g.restoreCell(1, 0, DefNo, 40); // outside the palette: white
    EXPECT_EQ(g.cell(1, 0).colour, 0xFFFFFFu);
    g.setLeftMark(0, 0, 1);
    g.setTopMark(1, 0, 7);
    EXPECT_EQ(g.leftMark(0, 0), 1);
    EXPECT_EQ(g.topMark(1, 0), 1);
    // A new load forgets all of it.
    g.SetDataSource(crossword({"#4", ".i"}));
    EXPECT_EQ(g.leftMark(0, 0), 0);
    EXPECT_EQ(g.cellState(1, 0), Empty);
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
