// The pointer and the layout it reads: where everything sits in pixels, and
// how presses, drags and releases there become editing commands; the rubber
// band and the hover crosshair live in the pointer.
#include "GridText.h"
#include "TestGrids.h"
#include "grid/GridPointer.h"
#include "grid/ZoomFit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testgrids::cellsOf;
using testgrids::crossword;
using testgrids::Rows;

// The fixture is the pointer's view and the model's host, and keeps what it hears.
class Pointer : public ::testing::Test, public GridPointer::View, public GridHost {
protected:
    void cellChanged(int, int) override {}
    void invalidateRect(const PixelRect& rect) override { rects.push_back(rect); }
    void setCursorId(int id) override { cursor = id; }
    void pointerOver(int c, int r) override { over.emplace_back(c, r); }
    bool hoverEnabled() const override { return hover; }

    void load(const Rows& rows)
    {
        model.setHost(this);
        model.SetDataSource(crossword(rows));
        model.SetColor(PaletteColor(3));
        layout.setShape(model.width(), model.height(), model.rowClueCount(), model.colClueCount());
        pointer.reset();
        pointer.setView(this);
    }
    int x(int c) const { return layout.cellX(c) + 7; }
    int y(int r) const { return layout.cellY(r) + 7; }
    void press(int c, int r, MouseButton b = MouseButton::Left, MouseFlags f = {}) { pointer.press(x(c), y(r), b, f); }
    void drag(int c, int r, MouseButton b = MouseButton::Left, MouseFlags f = {})
    {
        (b == MouseButton::Left ? f.leftHeld : f.rightHeld) = true;
        pointer.move(x(c), y(r), f);
    }
    void release(int c, int r, MouseButton b = MouseButton::Left) { pointer.release(x(c), y(r), b, {}); }

    bool hover = true;
    std::vector<std::pair<int, int>> over;
    std::vector<PixelRect> rects;
    int cursor = -1;
    GridModel model;
    GridLayout layout;
    GridPointer pointer{model, layout};
};

const MouseFlags kCtrl{false, true, false, false};
const MouseFlags kShift{true, false, false, false};

TEST_F(Pointer, BrushPaintsEachCellOnceInTheStateOfButtonAndCtrl)
{
    load({"#####", "#####"});
    press(0, 0);
    for (int c = 1; c < 5; ++c)
        drag(c, 0);
    drag(4, 0); // staying on a cell adds nothing
    release(4, 0);
    EXPECT_EQ(model.history().size(), 5u);
    press(0, 1, MouseButton::Right);
    press(1, 1, MouseButton::Right, kCtrl);
    press(0, 0, MouseButton::Left, kCtrl);
    // The middle button keeps the last chosen paint state (Empty here).
    press(1, 0, MouseButton::Middle);
    EXPECT_EQ(cellsOf(model), (Rows{"..###", "x+..."}));
    EXPECT_EQ(cursor, ColorCursor(model.currentColour()));
    // A click without a drag paints nothing in the other modes.
    for (DrawMode mode : {DrawMode::Line, DrawMode::Rect}) {
        pointer.setDrawMode(mode);
        press(4, 1);
        release(4, 1);
    }
    EXPECT_EQ(cellsOf(model)[1], "x+...");
}

TEST_F(Pointer, BandPreviewsTheFigureUntilReleasedAndGoesWhenTheDragReturnsOrEndsOutside)
{
    load({"##########", "##########", "##########"});
    pointer.setDrawMode(DrawMode::Line);
    press(0, 0);
    drag(5, 2);
    drag(9, 0);
    // While dragging nothing is committed; the band shows the preview.
    EXPECT_EQ(cellsOf(model)[0], "..........");
    EXPECT_TRUE(pointer.showsPreview(4, 0));
    EXPECT_FALSE(pointer.showsPreview(2, 1)); // the earlier band was erased
    EXPECT_EQ(pointer.shownState(4, 0), DefYes);
    release(9, 0);
    EXPECT_EQ(cellsOf(model)[0], "##########");
    EXPECT_FALSE(pointer.showsPreview(4, 0));
    model.Undo();
    EXPECT_FALSE(model.CanUndo());

    // Back at its start the band goes, and the release commits nothing.
    pointer.setDrawMode(DrawMode::Rect);
    press(0, 0);
    drag(3, 1);
    ASSERT_TRUE(pointer.showsPreview(2, 1));
    drag(0, 0);
    EXPECT_FALSE(pointer.showsPreview(2, 1));
    release(0, 0);

    // Released outside the field, the band stays pending until a move
    // without a button or the next press erases it, uncommitted.
    press(0, 0);
    drag(3, 1);
    pointer.release(-5, -5, MouseButton::Left, {});
    EXPECT_TRUE(pointer.showsPreview(3, 1));
    pointer.move(x(4), y(1), {});
    EXPECT_FALSE(pointer.showsPreview(3, 1));
    press(0, 0);
    drag(2, 0);
    pointer.release(10000, 10000, MouseButton::Left, {});
    press(4, 1);
    EXPECT_FALSE(pointer.showsPreview(1, 0));
    EXPECT_EQ(cellsOf(model), Rows(3, ".........."));
    EXPECT_FALSE(model.CanUndo());
}

// The length the status bar shows while a stroke is dragged: a line's cells
// in any direction, a rectangle's size from any corner, a brush run only along
// its press cell's row or column; nothing once the button is up, wherever.
TEST_F(Pointer, DragSpanMeasuresTheStrokeWhileTheButtonIsDown)
{
    using Span = GridPointer::Span;
    load(Rows(6, "########"));
    struct Case { DrawMode mode; int c0, r0, c1, r1; Span want; };
    const Case cases[] = {
        {DrawMode::Line, 1, 2, 7, 2, {7, 7, 1}}, {DrawMode::Line, 3, 5, 3, 0, {6, 1, 6}},
        {DrawMode::Line, 7, 0, 0, 3, {8, 8, 4}}, // slanting: one cell per step of the longer side
        {DrawMode::Rect, 1, 1, 3, 4, {12, 3, 4}}, {DrawMode::Rect, 6, 5, 4, 2, {12, 3, 4}},
        {DrawMode::Brush, 5, 1, 2, 1, {4, 4, 1}}, {DrawMode::Brush, 5, 1, 5, 4, {4, 1, 4}},
        {DrawMode::Brush, 5, 1, 4, 2, {}}, // off the press cell's row and column
        {DrawMode::Line, 2, 2, 2, 2, {}},  // a stroke of one cell
        {DrawMode::Brush, 2, 2, 2, 2, {}},
    };
    for (const Case& k : cases) {
        pointer.setDrawMode(k.mode);
        press(k.c0, k.r0, MouseButton::Right);
        drag(k.c1, k.r1, MouseButton::Right);
        EXPECT_EQ(pointer.dragSpan(), k.want) << int(k.mode) << ": " << k.c1 << "," << k.r1;
        release(k.c1, k.r1, MouseButton::Right);
        EXPECT_EQ(pointer.dragSpan(), Span{});
    }
    // A brush back on its line counts again.
    pointer.setDrawMode(DrawMode::Brush);
    press(0, 0);
    drag(1, 1);
    drag(0, 3);
    EXPECT_EQ(pointer.dragSpan(), (Span{4, 1, 4}));
    // Let go outside the field, the status names the last cell without the length.
    pointer.setDrawMode(DrawMode::Rect);
    press(0, 0);
    drag(2, 1);
    over.clear();
    pointer.release(-5, -5, MouseButton::Left, {});
    EXPECT_EQ(pointer.dragSpan(), Span{});
    EXPECT_EQ(over, (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST_F(Pointer, ShiftOnlyPicksColoursAndAMarkBandShowsEachCellsOwn)
{
    load({"bbb", "..."});
    model.SetColor(PaletteColor(11));
    press(0, 0);
    press(0, 0, MouseButton::Right, kShift);
    EXPECT_EQ(model.currentColour(), PaletteColor(11));
    model.restoreCell(2, 1, Empty, 0); // as restoring progress leaves it
    press(2, 1, MouseButton::Left, kShift);
    EXPECT_EQ(model.currentColour(), kWhite);
    drag(0, 0, MouseButton::Left, kShift); // dragging with Shift too
    EXPECT_EQ(model.currentColour(), PaletteColor(11));
    EXPECT_EQ(model.history().size(), 1u);
    EXPECT_EQ(cellsOf(model), (Rows{"b..", "..."}));

    model.SetColor(PaletteColor(5));
    pointer.setDrawMode(DrawMode::Line);
    press(0, 0, MouseButton::Right, kCtrl);
    drag(2, 0, MouseButton::Right, kCtrl);
    EXPECT_EQ(pointer.shownState(1, 0), Mark);
    EXPECT_EQ(pointer.shownColour(0, 0), PaletteColor(11));
    EXPECT_EQ(pointer.shownColour(1, 0), model.cell(1, 0).colour);
}

TEST_F(Pointer, ClueClicksStrikeOutOrPickTheColour)
{
    load({"..5", "#.5"});
    const int s = layout.cellSize();
    const int leftX = layout.leftClueX(1) + s / 2, topY = layout.topClueY(model.colClueCount() - 1) + s / 2;
    pointer.press(leftX, y(0), MouseButton::Left, {});
    EXPECT_EQ(model.leftMark(1, 0), 1);
    pointer.press(x(2), topY, MouseButton::Right, {});
    EXPECT_EQ(model.currentColour(), PaletteColor(5)); // and records nothing
    pointer.press(1, 1, MouseButton::Left, {}); // the corner above the left clues is nobody's
    EXPECT_EQ(model.history().size(), 1u);
}

TEST_F(Pointer, HoverReportsTheCellAndRedrawsOnlyWhenItMoves)
{
    load({"#####", "#####", "#####"});
    pointer.move(x(2), y(1), {});
    EXPECT_EQ(over, (std::vector<std::pair<int, int>>{{2, 1}}));
    ASSERT_TRUE(pointer.crosshairShown());
    // The column down to the row, the row across to the column.
    EXPECT_EQ(rects, (std::vector<PixelRect>{{layout.cellX(2), 0, 16, layout.cellY(1) + 16},
                                                  {0, layout.cellY(1), layout.cellX(2) + 16, 16}}));
    pointer.move(x(2) + 3, y(1), {}); // same cell: nothing to redraw
    EXPECT_EQ(rects.size(), 2u);
    pointer.move(x(3), y(1), {}); // the old crosshair and the new one
    EXPECT_EQ(rects.size(), 6u);
    pointer.dropCrosshair();
    hover = false;
    pointer.move(x(4), y(2), {});
    EXPECT_FALSE(pointer.crosshairShown());
    EXPECT_EQ(over.back(), std::make_pair(4, 2)); // the status still follows
}

TEST(GridLayout, CellSizeIsThreeToThirtyAndEveryFifthLineIsDoubled)
{
    GridLayout g; // 10 x 10 cells of 15 pixels, 3 clue slots per row and 2 per column
    g.setShape(10, 10, 3, 2);
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
        // Exactly the room, with the fifth-line pixel, and a pixel less.
        {5, 5, 0, 0, 151, 151, 30}, {5, 5, 0, 0, 150, 151, 29},
        // The closing line of a field that ends between fifths.
        {4, 4, 0, 0, 121, 121, 30}, {4, 4, 0, 0, 120, 121, 29},
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
    GridLayout g; // 15-pixel cells; clue slots 3 per row and 2 per column, 45 by 30 pixels
    g.setShape(10, 10, 3, 2);
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
