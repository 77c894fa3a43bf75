#include "TestGrids.h"
#include "grid/Figures.h"
#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testgrids::crossword;

class RecordingHost : public GridHost {
public:
    bool autoMarkEnabled() const override { return autoMark; }
    bool hasColourButton() const override { return true; }
    void showCurrentColour(RGB colour) override { shownColours.push_back(colour); }
    void crosswordSolved(const std::string& name) override { solved.push_back(name); }
    bool autoMark = false;
    std::vector<RGB> shownColours;
    std::vector<std::string> solved;
};

// Drives the model with pointer events at cell and clue centres, as the
// widget does.
class Editing : public ::testing::Test {
protected:
    void load(const std::vector<std::string>& rows)
    {
        model.setHost(&host);
        model.SetDataSource(crossword(rows));
    }
    struct Point {
        int x, y;
    };
    Point centre(int c, int r) const
    {
        const GCell& g = model.cell(c, r);
        return {g.x + g.size / 2, g.y + g.size / 2};
    }
    void press(int c, int r, MouseButton b = MouseButton::Left, MouseFlags f = {})
    {
        const auto p = centre(c, r);
        model.mousePress(p.x, p.y, b, f);
    }
    void drag(int c, int r, MouseButton b = MouseButton::Left, MouseFlags f = {})
    {
        (b == MouseButton::Left ? f.leftHeld : f.rightHeld) = true;
        const auto p = centre(c, r);
        model.mouseMove(p.x, p.y, f);
    }
    void release(int c, int r, MouseButton b = MouseButton::Left)
    {
        const auto p = centre(c, r);
        model.mouseRelease(p.x, p.y, b, {});
    }
    void pressClue(const BCell& clue, MouseButton b = MouseButton::Left)
    {
        model.mousePress(clue.x + clue.size / 2, clue.y + clue.size / 2, b, {});
    }
    // The committed picture as text: '.' Empty, 'x' DefNo, '+' Mark, and the
    // palette index for DefYes (as in the test pictures).
    std::string row(int r) const
    {
        std::string out;
        for (int c = 0; c < model.width(); ++c) {
            const GCell& g = model.cell(c, r);
            switch (g.state) {
            case Empty: out += '.'; break;
            case DefNo: out += 'x'; break;
            case Mark: out += '+'; break;
            case DefYes: {
                const int i = PaletteIndex(g.colour);
                out += i == 3 ? '#' : i < 10 ? char('0' + i) : char('a' + i - 10);
            }
            }
        }
        return out;
    }

    RecordingHost host;
    GridModel model;
};

TEST(LineCells, FollowTheDoubleSlopeRule)
{
    std::vector<std::pair<int, int>> cells;
    lineCells(0, 0, 4, 2, cells);
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    lineCells(3, 5, 3, 1, cells); // vertical, upwards: rows are major
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{3, 5}, {3, 4}, {3, 3}, {3, 2}, {3, 1}}));
    lineCells(2, 2, 7, 2, cells); // horizontal stays in its row
    for (const auto& [c, r] : cells)
        EXPECT_EQ(r, 2);
    EXPECT_EQ(cells.size(), 6u);
    lineCells(0, 0, -3, -3, cells); // equal lengths: columns major
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, 0}, {-1, -1}, {-2, -2}, {-3, -3}}));
    lineCells(0, 0, 1, 6, cells);
    EXPECT_EQ(cells.front(), std::make_pair(0, 0));
    EXPECT_EQ(cells.back(), std::make_pair(1, 6));
    EXPECT_EQ(cells.size(), 7u);
}

TEST_F(Editing, PaintStatesFollowButtonAndCtrl)
{
    load({"#####", "#####"});
    model.SetColor(PaletteColor(5));
    MouseFlags ctrl;
    ctrl.ctrl = true;
    press(0, 0);
    press(1, 0, MouseButton::Right);
    press(2, 0, MouseButton::Right, ctrl);
    press(0, 0, MouseButton::Left, ctrl);
    EXPECT_EQ(row(0), ".x+..");
    // The middle button keeps the last chosen paint state (Empty here).
    press(2, 0, MouseButton::Middle);
    EXPECT_EQ(row(0), ".x...");
}

TEST_F(Editing, ClickWithoutMovementOnlyPaintsInBrushMode)
{
    load({"###", "###"});
    model.setDrawMode(DrawMode::Line);
    press(1, 1);
    release(1, 1);
    model.setDrawMode(DrawMode::Rect);
    press(1, 1);
    release(1, 1);
    EXPECT_EQ(row(1), "...");
    EXPECT_FALSE(model.CanUndo());
    model.setDrawMode(DrawMode::Brush);
    press(1, 1);
    EXPECT_EQ(row(1), ".#.");
}

TEST_F(Editing, BrushRecordsEveryCellAndUndoesOneAtATime)
{
    load({"##########", "##########"});
    press(0, 0);
    for (int c = 1; c < 10; ++c)
        drag(c, 0);
    drag(9, 0); // staying on a cell adds nothing
    release(9, 0);
    EXPECT_EQ(model.history().size(), 10u);
    for (int i = 0; i < 9; ++i)
        model.Undo();
    EXPECT_EQ(row(0), "#.........");
    model.Undo();
    EXPECT_EQ(row(0), "..........");
    EXPECT_FALSE(model.CanUndo());
    model.Undo(); // empty history: nothing
    EXPECT_EQ(row(0), "..........");
}

TEST_F(Editing, LineIsPreviewedThenCommittedAsOneStep)
{
    load({"##########", "##########", "##########"});
    model.setDrawMode(DrawMode::Line);
    press(0, 0);
    drag(5, 2);
    drag(9, 0);
    // While dragging nothing is committed; the band shows the preview.
    EXPECT_EQ(row(0), "..........");
    EXPECT_TRUE(model.showsPreview(4, 0));
    EXPECT_FALSE(model.showsPreview(2, 1)); // the earlier band was erased
    EXPECT_EQ(model.shownState(4, 0), DefYes);
    release(9, 0);
    EXPECT_EQ(row(0), "##########");
    EXPECT_FALSE(model.showsPreview(4, 0));
    EXPECT_EQ(model.history().size(), 11u); // marker and ten cells
    model.Undo();
    EXPECT_EQ(row(0), "..........");
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(Editing, DraggingBackToTheStartDropsTheBand)
{
    load({"#####", "#####"});
    model.setDrawMode(DrawMode::Rect);
    press(0, 0);
    drag(3, 1);
    ASSERT_TRUE(model.showsPreview(2, 1));
    drag(0, 0);
    EXPECT_FALSE(model.showsPreview(2, 1));
    release(0, 0);
    EXPECT_EQ(row(1), ".....");
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(Editing, ReleaseOutsideLeavesTheFigurePendingUntilTheNextMoveOrPress)
{
    load({"#####", "#####"});
    model.setDrawMode(DrawMode::Rect);
    press(0, 0);
    drag(3, 1);
    model.mouseRelease(-5, -5, MouseButton::Left, {});
    EXPECT_TRUE(model.showsPreview(3, 1));
    EXPECT_EQ(row(1), ".....");
    // A move without a button erases it, uncommitted.
    const GCell& g = model.cell(4, 1);
    model.mouseMove(g.x + 2, g.y + 2, {});
    EXPECT_FALSE(model.showsPreview(3, 1));
    EXPECT_EQ(row(1), ".....");
    EXPECT_FALSE(model.CanUndo());

    press(0, 0);
    drag(2, 0);
    model.mouseRelease(10000, 10000, MouseButton::Left, {});
    press(4, 1); // the next press erases it too
    EXPECT_FALSE(model.showsPreview(1, 0));
    EXPECT_EQ(row(0), ".....");
}

TEST_F(Editing, HugeRectangleKeepsOnlyTheLast1000Records)
{
    std::vector<std::string> rows(40, std::string(30, '#'));
    load(rows);
    model.setDrawMode(DrawMode::Rect);
    press(0, 0);
    drag(29, 39);
    release(29, 39); // 1200 cells
    EXPECT_EQ(model.history().size(), 1000u);
    model.Undo();
    EXPECT_FALSE(model.CanUndo());
    // The first 200 cells (columns 0..4) lost their records and stay filled.
    EXPECT_EQ(model.cellState(4, 39), DefYes);
    EXPECT_EQ(model.cellState(5, 0), Empty);
    EXPECT_EQ(model.cellState(29, 39), Empty);
}

TEST_F(Editing, MarkKeepsTheColourAndShiftOnlyPicksColours)
{
    load({"bbb", "..."});
    model.SetColor(PaletteColor(11));
    press(0, 0);
    MouseFlags ctrl;
    ctrl.ctrl = true;
    model.SetColor(PaletteColor(5));
    press(0, 0, MouseButton::Right, ctrl);
    EXPECT_EQ(model.cellState(0, 0), Mark);
    EXPECT_EQ(model.cellColourIndex(0, 0), 11);

    const auto records = model.history().size();
    MouseFlags shift;
    shift.shift = true;
    press(0, 0, MouseButton::Right, shift);
    EXPECT_EQ(model.currentColour(), PaletteColor(11));
    EXPECT_EQ(host.shownColours.back(), PaletteColor(11));
    model.restoreCell(2, 1, Empty, 0); // as restoring progress leaves it
    press(2, 1, MouseButton::Left, shift);
    EXPECT_EQ(model.currentColour(), kWhite);
    EXPECT_EQ(model.history().size(), records);
    EXPECT_EQ(model.cellState(2, 1), Empty);
    // Dragging with Shift held picks colours too, without painting.
    drag(0, 0, MouseButton::Left, shift);
    EXPECT_EQ(model.currentColour(), PaletteColor(11));
    EXPECT_EQ(model.cellState(1, 0), Empty);
}

TEST_F(Editing, ClueStrikeOutMarksBlankSlotsAndUndoRestoresThem)
{
    // Row 0 has one block, row 1 two: row 0 has a blank slot before its clue.
    load({"..#", "#.#"});
    ASSERT_EQ(model.rowClueCount(), 2);
    const BCell& blank = model.leftClue(0, 0);
    const BCell& number = model.leftClue(1, 0);
    ASSERT_EQ(blank.colourIndex, 0);
    pressClue(blank); // a blank slot does nothing
    EXPECT_FALSE(model.CanUndo());
    pressClue(number);
    EXPECT_EQ(number.mark, 1);
    EXPECT_EQ(blank.mark, 1);
    model.Undo();
    EXPECT_EQ(number.mark, 0);
    EXPECT_EQ(blank.mark, 0);
    // Right press picks the clue's colour and records nothing.
    pressClue(model.topClue(2, model.colClueCount() - 1), MouseButton::Right);
    EXPECT_EQ(model.currentColour(), PaletteColor(3));
    EXPECT_FALSE(model.CanUndo());
    // The corner above the left clues is nobody's.
    model.mousePress(1, 1, MouseButton::Left, {});
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(Editing, AutoMarkCountsPositionsOnlyWhenSwitchedOn)
{
    load({"####.", ".....", "....."});
    model.SetColor(PaletteColor(5)); // wrong colour on purpose
    press(1, 1);
    drag(2, 1);
    drag(3, 1);
    drag(4, 1);
    EXPECT_EQ(model.leftMark(0, 0), 0); // off: nothing struck
    host.autoMark = true;
    model.AutoMarkClues();
    // Row 0 wants 4 filled cells; none are filled there yet.
    EXPECT_EQ(model.leftMark(0, 0), 0);
    // Row 1 wants none but has 4: not equal, not struck (it has no numbered
    // clue, only blank slots).
    press(0, 0);
    drag(1, 0);
    drag(2, 0);
    drag(3, 0);
    EXPECT_EQ(model.leftMark(0, 0), 1);
    // Marks are only ever set by auto-marking.
    model.Undo();
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(0, 0), 1);
}

TEST_F(Editing, ClearResetsCellsAndMarksButNotHistory)
{
    load({"##", "##"});
    press(0, 0);
    drag(1, 0);
    model.setLeftMark(0, 1, 1);
    const auto records = model.history().size();
    model.Clear();
    EXPECT_EQ(row(0), "..");
    EXPECT_EQ(model.leftMark(0, 1), 0);
    EXPECT_EQ(model.history().size(), records);
    // Undo puts back what the newest record remembers: cell (1, 0) was Empty.
    press(1, 1, MouseButton::Right);
    model.Clear();
    model.Undo();
    EXPECT_EQ(model.cellState(1, 1), Empty);
}

TEST_F(Editing, SolvedCheckAcceptsAnyBlankOnEmptyPositions)
{
    load({"#5", ".#"});
    host.solved.clear();
    auto set = [&](int c, int r, CellState s, int colour) { model.restoreCell(c, r, s, colour); };
    set(0, 0, DefYes, 3);
    set(1, 0, DefYes, 5);
    set(1, 1, DefYes, 3);
    EXPECT_TRUE(model.CheckSolved()); // empty position left Empty
    set(0, 1, DefNo, 0);
    EXPECT_TRUE(model.CheckSolved());
    set(0, 1, Mark, 4);
    EXPECT_TRUE(model.CheckSolved());
    set(0, 1, DefYes, 0); // painted white
    EXPECT_TRUE(model.CheckSolved());
    EXPECT_EQ(host.solved.size(), 4u);
    set(0, 1, DefYes, 2);
    EXPECT_FALSE(model.CheckSolved());
    set(0, 1, Empty, 0);
    set(1, 0, Mark, 5); // a Mark on a filled position is not a fill
    EXPECT_FALSE(model.CheckSolved());
    set(1, 0, DefYes, 4); // wrong colour
    EXPECT_FALSE(model.CheckSolved());
    EXPECT_EQ(host.solved.size(), 4u);
    EXPECT_EQ(host.solved.front(), "t");
}

TEST_F(Editing, BrushAnnouncesTheSolvedPicture)
{
    load({"#.", ".."});
    press(0, 0);
    ASSERT_EQ(host.solved.size(), 1u);
    // Keeping it matching announces it again.
    press(1, 1, MouseButton::Right);
    EXPECT_EQ(host.solved.size(), 2u);
    // ShowSolution and Undo announce nothing.
    model.ShowSolution();
    model.Undo();
    EXPECT_EQ(host.solved.size(), 2u);
}

TEST_F(Editing, SuggestFixesTheFirstWrongCellInColumnOrder)
{
    load({"#.", ".5"});
    model.Suggest();
    ASSERT_TRUE(model.suggestedCell());
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(0, 0));
    EXPECT_EQ(model.cellState(0, 0), DefYes);
    EXPECT_EQ(model.cellColourIndex(0, 0), 3);
    model.Suggest();
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(0, 1));
    EXPECT_EQ(model.cellState(0, 1), DefNo);
    EXPECT_FALSE(model.CanUndo()); // suggestions cannot be undone

    // Only a wrong colour left: recoloured, then the check finds it solved
    // before the cell is named.
    model.restoreCell(1, 0, DefNo, 0);
    model.restoreCell(1, 1, DefYes, 4);
    host.solved.clear();
    model.Suggest();
    EXPECT_EQ(model.cellColourIndex(1, 1), 5);
    EXPECT_EQ(host.solved.size(), 1u);
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(1, 1));
    // A fully correct field: nothing changes, the named cell stays.
    model.Suggest();
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(1, 1));
    EXPECT_EQ(host.solved.size(), 1u);
}

TEST_F(Editing, HitTestingUsesTheIntegerFormulas)
{
    std::vector<std::string> rows(10, std::string(10, '.'));
    rows[0] = "#.#.#.....";
    rows[1] = "#.#.......";
    load(rows);
    const int s = model.cellSize(), lw = model.rowClueCount() * s, th = model.colClueCount() * s;
    EXPECT_EQ(model.hitTest(lw, th), (HitResult{HitResult::OnCell, 0, 0}));
    // The doubled line after column 4 belongs to column 4 (pixel 5*s) ...
    EXPECT_EQ(model.hitTest(lw + 5 * s, th), (HitResult{HitResult::OnCell, 4, 0}));
    EXPECT_EQ(model.hitTest(lw + 5 * s + 1, th), (HitResult{HitResult::OnCell, 5, 0}));
    // The far edge of the field is inside; one pixel further is not.
    const int right = lw + 10 * s + 2, bottom = th + 10 * s + 2;
    EXPECT_EQ(model.hitTest(right + 1, th).kind, HitResult::None);
    EXPECT_EQ(model.hitTest(lw, bottom + 1).kind, HitResult::None);
    EXPECT_EQ(model.hitTest(lw + 2, th - 1), (HitResult{HitResult::OnTopClue, 0, model.colClueCount() - 1}));
    EXPECT_EQ(model.hitTest(lw - 1, th + s), (HitResult{HitResult::OnLeftClue, model.rowClueCount() - 1, 1}));
    EXPECT_EQ(model.hitTest(lw - 1, th - 1).kind, HitResult::None);
    EXPECT_EQ(model.hitTest(-1, th).kind, HitResult::None);
}

} // namespace
