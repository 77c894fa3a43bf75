// The pointer: presses, drags and releases in pixels become editing
// commands; the rubber band and the hover crosshair live here.
#include "GridText.h"
#include "TestGrids.h"
#include "grid/GridPointer.h"

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
    load({"..#", "#.#"});
    const int s = layout.cellSize();
    const int leftX = layout.leftClueX(1) + s / 2, topY = layout.topClueY(model.colClueCount() - 1) + s / 2;
    pointer.press(leftX, y(0), MouseButton::Left, {});
    EXPECT_EQ(model.leftMark(1, 0), 1);
    pointer.press(x(2), topY, MouseButton::Right, {});
    EXPECT_EQ(model.currentColour(), PaletteColor(3));
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

} // namespace
