// The editing commands by cell coordinates, on crosswords drawn as ASCII.
#include "GridText.h"
#include "TestGrids.h"
#include "grid/Figures.h"
#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testgrids::cellsOf;
using testgrids::crossword;
using testgrids::Rows;

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

class Editing : public ::testing::Test {
protected:
    void load(const Rows& rows)
    {
        model.setHost(&host);
        model.SetDataSource(crossword(rows));
    }
    RecordingHost host;
    GridModel model;
};

TEST(LineCells, FollowTheDoubleSlopeRule)
{
    using Cells = std::vector<std::pair<int, int>>;
    struct Case { int x0, y0, x1, y1; Cells want; };
    const Case cases[] = {
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {3, 5, 3, 1, {{3, 5}, {3, 4}, {3, 3}, {3, 2}, {3, 1}}},        // vertical, upwards: rows major
        {2, 2, 5, 2, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},                // horizontal stays in its row
        {0, 0, -3, -3, {{0, 0}, {-1, -1}, {-2, -2}, {-3, -3}}},        // equal lengths: columns major
        // Seven rows over two columns: the column steps after 7 / 2 rows.
        {0, 0, 1, 6, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 4}, {1, 5}, {1, 6}}},
    };
    Cells cells;
    for (const auto& c : cases) {
        lineCells(c.x0, c.y0, c.x1, c.y1, cells);
        EXPECT_EQ(cells, c.want) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST_F(Editing, PaintGivesStateAndColourButAMarkKeepsTheColourBeneath)
{
    load({"#####", "#####"});
    model.SetColor(PaletteColor(5));
    model.paint(0, 0, DefYes);
    model.paint(1, 0, DefNo);
    model.paint(2, 0, DefYes);
    model.SetColor(PaletteColor(11));
    model.paint(2, 0, Mark);
    model.paint(3, 1, Empty);
    EXPECT_EQ(cellsOf(model), (Rows{"5x+..", "....."}));
    EXPECT_EQ(model.cellColourIndex(2, 0), 5); // the Mark sits on the earlier blue
    EXPECT_EQ(model.cellColourIndex(3, 1), 11);
}

TEST_F(Editing, FiguresAreOneUndoStepAndStopAtTheField)
{
    struct Case { DrawMode shape; int c0, r0, c1, r1; Rows want; std::size_t records; };
    const Case cases[] = {
        {DrawMode::Line, 0, 0, 4, 2, {"##...", "..##.", "x...#"}, 6},
        {DrawMode::Line, 4, 0, 0, 0, {"#####", ".....", "x...."}, 6},
        {DrawMode::Rect, 1, 1, 3, 2, {".....", ".###.", "x###."}, 7},
        // Corners outside the field: only the cells inside are painted and recorded.
        {DrawMode::Rect, 3, 1, 6, 5, {".....", "...##", "x..##"}, 5},
    };
    for (const auto& c : cases) {
        load({"#####", "#####", "#####"});
        model.paint(0, 2, DefNo); // an earlier brush cell survives the undo
        model.paintFigure(c.c0, c.r0, c.c1, c.r1, c.shape, DefYes);
        EXPECT_EQ(cellsOf(model), c.want) << c.c0 << "," << c.r0 << " -> " << c.c1 << "," << c.r1;
        EXPECT_EQ(model.history().size(), c.records);
        model.Undo();
        EXPECT_EQ(cellsOf(model), (Rows{".....", ".....", "x...."}));
        EXPECT_EQ(model.history().undoSteps(), 1u);
        model.Redo();
        EXPECT_EQ(cellsOf(model), c.want);
    }
}

TEST_F(Editing, HugeRectangleKeepsOnlyTheLast1000Records)
{
    load(Rows(40, std::string(30, '#')));
    model.paintFigure(0, 0, 29, 39, DrawMode::Rect, DefYes); // 1200 cells
    EXPECT_EQ(model.history().size(), 1000u);
    model.Undo();
    EXPECT_FALSE(model.CanUndo());
    // The first 200 cells (columns 0..4) lost their records and stay filled.
    EXPECT_EQ(model.cellState(4, 39), DefYes);
    EXPECT_EQ(model.cellState(5, 0), Empty);
    EXPECT_EQ(model.cellState(29, 39), Empty);
}

TEST_F(Editing, ClueStrikeOutMarksBlankSlotsAndUndoRestoresThem)
{
    // Row 0 has one block, row 1 two: row 0 has a blank slot before its clue.
    load({"..#", "#.#"});
    ASSERT_EQ(model.rowClueCount(), 2);
    ASSERT_EQ(model.leftClue(0, 0).colourIndex, 0);
    model.toggleClueMark(false, 0, 0); // a blank slot does nothing
    model.pickClueColour(false, 0, 0);
    EXPECT_FALSE(model.CanUndo());
    EXPECT_EQ(host.shownColours.size(), 1u); // only the load's
    model.toggleClueMark(false, 1, 0);
    EXPECT_EQ(model.leftMark(1, 0), 1);
    EXPECT_EQ(model.leftMark(0, 0), 1);
    model.Undo();
    EXPECT_EQ(model.leftMark(1, 0), 0);
    EXPECT_EQ(model.leftMark(0, 0), 0);
    // Picking a clue's colour records nothing.
    model.pickClueColour(true, 2, model.colClueCount() - 1);
    EXPECT_EQ(model.currentColour(), PaletteColor(3));
    EXPECT_EQ(host.shownColours.back(), PaletteColor(3));
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(Editing, AutoMarkCountsFillsOnlyWhenSwitchedOn)
{
    load({"####.", ".....", "....."});
    model.SetColor(PaletteColor(5)); // a wrong colour still counts
    for (int c = 1; c < 5; ++c)
        model.paint(c, 1, DefYes);
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(0, 0), 0); // off: nothing struck
    host.autoMark = true;
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(0, 0), 0); // row 0 wants 4 filled cells and has none
    for (int c = 0; c < 4; ++c)
        model.paint(c, 0, DefYes);
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(0, 0), 1);
    // Marks are only ever set by auto-marking, never taken back.
    model.Undo();
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(0, 0), 1);
}

TEST_F(Editing, ClearIsOneStepEachWayWhateverTheFieldSize)
{
    load({"##", "##"});
    model.paint(0, 0, DefYes);
    model.paint(1, 0, DefNo);
    model.toggleClueMark(false, 0, 1);
    model.Clear();
    EXPECT_EQ(cellsOf(model), (Rows{"..", ".."}));
    EXPECT_EQ(model.leftMark(0, 1), 0);
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"#x", ".."}));
    EXPECT_EQ(model.leftMark(0, 1), 1);
    model.Redo();
    EXPECT_EQ(cellsOf(model), (Rows{"..", ".."}));
    model.Clear(); // nothing left to clear: no step
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"#x", ".."}));

    // 1200 filled cells come back whole, also after later steps.
    load(Rows(40, std::string(30, '#')));
    for (int c = 0; c < 30; ++c)
        for (int r = 0; r < 40; ++r)
            model.restoreCell(c, r, DefYes, 3);
    model.Clear();
    model.paint(0, 0, DefNo);
    model.Undo();
    model.Undo();
    EXPECT_EQ(cellsOf(model), Rows(40, std::string(30, '#')));
}

TEST_F(Editing, RedoFollowsUndoUntilTheNextChange)
{
    load({"#####"});
    for (int c = 0; c < 2; ++c) // brush cells outside a stroke are a step each
        model.paint(c, 0, DefYes);
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"#...."}));
    model.Undo();
    model.beginStroke(); // a brush stroke is one step
    for (int c = 0; c < 3; ++c)
        model.paint(c, 0, DefYes);
    model.endStroke();
    model.paint(4, 0, DefNo);
    model.Undo();
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"....."}));
    model.Redo();
    EXPECT_EQ(cellsOf(model), (Rows{"###.."}));
    model.paint(3, 0, Mark); // a new change: the crossed cell cannot come back
    EXPECT_FALSE(model.CanRedo());
    model.Redo();
    EXPECT_EQ(cellsOf(model), (Rows{"###+."}));
    model.Undo();
    model.Undo();
    model.Undo(); // nothing left
    model.Redo();
    model.Redo();
    EXPECT_EQ(cellsOf(model), (Rows{"###+."}));

    // The limit holds for both directions together: 600 steps undone and
    // 600 more made leave at most 1000 changes, the oldest gone.
    load(Rows(40, std::string(40, '#')));
    for (int i = 0; i < 1200; ++i)
        model.paint(i % 40, i / 40, i % 2 ? DefYes : DefNo);
    EXPECT_EQ(model.history().size(), 1000u);
    for (int i = 0; i < 600; ++i)
        model.Undo();
    EXPECT_EQ(model.history().size(), 1000u);
    int undone = 0;
    while (model.CanUndo()) {
        model.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 400);
    EXPECT_EQ(model.cellState(39, 4), DefYes); // change 199 fell out of the history
    EXPECT_EQ(model.cellState(0, 5), Empty);
}

TEST_F(Editing, LineHelpCrossesAFinishedLineInTheSameStep)
{
    struct HelpingHost : RecordingHost {
        bool lineHelpEnabled() const override { return true; }
    } helping;
    model.setHost(&helping);
    model.SetDataSource(crossword({"#.#.", "....", "#..."}));
    model.paint(0, 0, DefYes);
    EXPECT_EQ(cellsOf(model), (Rows{"#...", "....", "...."}));
    model.paint(2, 0, DefYes); // row 0 is done; column 2 too
    EXPECT_EQ(cellsOf(model), (Rows{"#x#x", "..x.", "..x."}));
    // Column 0 (1 1) is overdone; row 2 (1) is done.
    model.paintFigure(0, 1, 0, 2, DrawMode::Line, DefYes);
    EXPECT_EQ(cellsOf(model), (Rows{"#x#x", "#.x.", "#xxx"}));
    model.Undo();
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"#...", "....", "...."}));
}

TEST_F(Editing, MistakesAreFramedUntilTheNextChange)
{
    struct CountingHost : RecordingHost {
        bool liveMistakes() const override { return live; }
        void mistakesCounted(int n) override { counts.push_back(n); }
        bool live = false;
        std::vector<int> counts;
    } counting;
    model.setHost(&counting);
    model.SetDataSource(crossword({"#.", ".2"}));
    EXPECT_EQ(model.showMistakes(), 0);
    model.paint(1, 0, DefYes); // background
    model.paint(0, 1, DefNo);
    EXPECT_EQ(model.showMistakes(), 1);
    EXPECT_TRUE(model.mistakeShown(1, 0));
    model.paint(1, 1, DefNo); // crossed on a filled cell: the frames go anyway
    EXPECT_FALSE(model.mistakeShown(1, 0));
    counting.live = true;
    model.Undo();
    EXPECT_TRUE(model.mistakeShown(1, 0));
    model.paint(1, 1, DefNo);
    EXPECT_TRUE(model.mistakeShown(1, 1));
    EXPECT_EQ(counting.counts, (std::vector<int>{0, 1, 1, 2}));
}

TEST_F(Editing, SolvedCheckAcceptsAnyBlankOnEmptyPositions)
{
    // The picture "#5" / ".#" with cell (0, 1) varied.
    struct Case { CellState state; int colour; bool solved; };
    const Case cases[] = {
        {Empty, 0, true},
        {DefNo, 0, true},
        {Mark, 4, true},
        {DefYes, 0, true},  // painted white
        {DefYes, 2, false}, // painted a colour
    };
    load({"#5", ".#"});
    model.restoreCell(0, 0, DefYes, 3);
    model.restoreCell(1, 0, DefYes, 5);
    model.restoreCell(1, 1, DefYes, 3);
    for (const auto& c : cases) {
        model.restoreCell(0, 1, c.state, c.colour);
        EXPECT_EQ(model.CheckSolved(), c.solved) << int(c.state) << "/" << c.colour;
    }
    model.restoreCell(0, 1, Empty, 0);
    model.restoreCell(1, 0, Mark, 5); // a Mark on a filled position is not a fill
    EXPECT_FALSE(model.CheckSolved());
    model.restoreCell(1, 0, DefYes, 4); // wrong colour
    EXPECT_FALSE(model.CheckSolved());
    EXPECT_EQ(host.solved, std::vector<std::string>(4, "t"));
}

TEST_F(Editing, PaintAndFiguresAnnounceTheSolvedPicture)
{
    load({"#.", ".#"});
    model.paint(0, 0, DefYes);
    EXPECT_TRUE(host.solved.empty());
    model.paintFigure(1, 1, 1, 1, DrawMode::Rect, DefYes);
    EXPECT_EQ(host.solved.size(), 1u);
    model.paint(1, 0, DefNo); // keeping it matching announces it again
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
    model.Suggest();
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(0, 1));
    EXPECT_EQ(cellsOf(model), (Rows{"#.", "x."}));
    EXPECT_FALSE(model.CanUndo()); // suggestions cannot be undone

    // Only a wrong colour left: recoloured, then the check finds it solved
    // before the cell is named.
    model.restoreCell(1, 0, DefNo, 0);
    model.restoreCell(1, 1, DefYes, 4);
    model.Suggest();
    EXPECT_EQ(cellsOf(model), (Rows{"#x", "x5"}));
    EXPECT_EQ(host.solved.size(), 1u);
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(1, 1));
    // A fully correct field: nothing changes, the named cell stays.
    model.Suggest();
    EXPECT_EQ(*model.suggestedCell(), std::make_pair(1, 1));
    EXPECT_EQ(host.solved.size(), 1u);
    // Any later edit ends the suggestion.
    model.paint(0, 1, DefNo);
    EXPECT_FALSE(model.suggestedCell());
}

} // namespace
