// The editing commands by cell coordinates, on crosswords drawn as ASCII.
#include "GridText.h"
#include "TestGrids.h"
#include "grid/Figures.h"
#include "grid/GridModel.h"
#include "grid/PlayerAids.h"
#include "grid/SuggestCountdown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testgrids::cellsOf;
using testgrids::crossword;
using testgrids::Rows;
using testgrids::setCells;

// The fixture is the model's host and keeps what it hears.
class Editing : public ::testing::Test, public GridHost {
protected:
    bool hasColourButton() const override { return button; }
    void showCurrentColour(RGB colour) override { shownColours.push_back(colour); }
    bool autoMarkEnabled() const override { return autoMark; }
    bool lineHelpEnabled() const override { return lineHelp; }
    bool liveMistakes() const override { return live; }
    void mistakesCounted(int n) override { counts.push_back(n); }
    void crosswordSolved(const std::string& name) override { solved.push_back(name); }
    bool button = true, autoMark = false, lineHelp = false, live = false;
    std::vector<RGB> shownColours;
    std::vector<int> counts;
    std::vector<std::string> solved;

    void load(const Rows& rows)
    {
        model.setHost(this);
        model.SetDataSource(crossword(rows));
    }
    // The picture, with the player's cells as saved progress brings them.
    void play(const Rows& picture, const Rows& player)
    {
        load(picture);
        setCells(model, player);
    }
    void undo(int steps)
    {
        while (steps-- > 0)
            model.Undo();
    }
    GridModel model;
};

TEST(LineCells, FollowTheDoubleSlopeRule)
{
    using Cells = std::vector<std::pair<int, int>>;
    struct Case { int x0, y0, x1, y1; Cells want; };
    const Case cases[] = {
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

// A load starts from nothing of the previous crossword; damaged saved
// progress cannot bring in a colour outside the palette.
TEST_F(Editing, LoadForgetsTheOldCrosswordAndResetsTheColourOnceTheButtonExists)
{
    button = false;
    load({"#4", ".i"});
    EXPECT_EQ(model.currentColour(), kWhite);
    model.ShowSolution();
    EXPECT_EQ(cellsOf(model), (Rows{"#4", ".i"}));
    model.restoreCell(1, 0, DefNo, 40);
    EXPECT_EQ(model.cell(1, 0).colour, kWhite);
    model.setTopMark(1, 0, 7);
    EXPECT_EQ(model.topMark(1, 0), 1);
    button = true;
    model.SetColor(PaletteColor(5));
    load({"#4", ".i"});
    EXPECT_EQ(cellsOf(model), (Rows{"..", ".."}));
    EXPECT_EQ(model.topMark(1, 0), 0);
    EXPECT_EQ(model.currentColour(), PaletteColor(3));
    EXPECT_EQ(shownColours, std::vector<RGB>{PaletteColor(3)});
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
        model.Redo();
        EXPECT_EQ(cellsOf(model), c.want);
    }
}

TEST_F(Editing, UndoAndRedoGoStepByStepUntilTheNextChange)
{
    load({"#####", "#####"});
    model.beginStroke(); // a brush stroke is one step; a cell outside one is a step of its own
    for (int c = 0; c < 3; ++c)
        model.paint(c, 0, DefYes);
    model.endStroke();
    model.paint(4, 0, DefNo);
    model.toggleClueMark(false, 0, 1);
    // Clear takes cells and marks in one step, and is no step when nothing is left.
    model.Clear();
    model.Clear();
    EXPECT_EQ(cellsOf(model), (Rows{".....", "....."}));
    EXPECT_EQ(model.leftMark(0, 1), 0);
    model.Undo();
    EXPECT_EQ(cellsOf(model), (Rows{"###.x", "....."}));
    EXPECT_EQ(model.leftMark(0, 1), 1);
    model.Redo();
    EXPECT_EQ(cellsOf(model)[0], ".....");
    undo(4);
    EXPECT_EQ(cellsOf(model)[0], ".....");
    model.Redo();
    EXPECT_EQ(cellsOf(model)[0], "###..");
    model.paint(3, 0, Mark); // a new change: the crossed cell cannot come back
    EXPECT_FALSE(model.CanRedo());
    undo(3); // one more than there is
    model.Redo();
    model.Redo();
    EXPECT_EQ(cellsOf(model)[0], "###+.");
}

// Undo and redo share a limit of 1000 changes. The oldest steps go first,
// whole; of a single step beyond the limit its newest 1000 changes stay. A
// Clear is kept whole and counts as one.
TEST_F(Editing, HistoryKeepsTheLast1000ChangesAndClearsWhole)
{
    const Rows full(40, std::string(30, '#'));
    load(full);
    model.paintFigure(0, 0, 29, 39, DrawMode::Rect, DefYes); // 1200 cells, column by column
    EXPECT_EQ(model.history().size(), 1000u);
    model.Undo();
    EXPECT_EQ(model.cellState(4, 39), DefYes); // columns 0..4 lost their records
    EXPECT_EQ(model.cellState(5, 0), Empty);
    model.Redo();
    model.Clear();
    model.paint(0, 0, DefNo);
    undo(2);
    EXPECT_EQ(cellsOf(model), full);
    EXPECT_FALSE(model.CanUndo());

    // What was undone still counts towards the limit.
    for (int i = 0; i < 1200; ++i)
        model.paint(i % 30, i / 30, i % 2 ? Mark : DefNo);
    undo(600);
    EXPECT_EQ(model.history().size(), 1000u);
    int undone = 600;
    for (; model.CanUndo(); ++undone)
        model.Undo();
    EXPECT_EQ(undone, 1000);
    EXPECT_EQ(model.cellState(19, 6), Mark); // change 199 fell out of the history
    EXPECT_EQ(model.cellState(20, 6), DefYes);
}

TEST_F(Editing, CluesAreStruckOutByHandOrAutomaticallyAndBlankSlotsFollow)
{
    // Row 0 has one block, row 1 two: row 0 has a blank slot before its clue.
    load({"..#", "#.#"});
    ASSERT_EQ(model.leftClue(0, 0).colourIndex, 0);
    model.toggleClueMark(false, 0, 0); // a blank slot does nothing
    model.pickClueColour(false, 0, 0);
    EXPECT_FALSE(model.CanUndo());
    EXPECT_EQ(shownColours.size(), 1u); // only the load's
    model.toggleClueMark(false, 1, 0);
    EXPECT_EQ(model.leftMark(1, 0), 1);
    EXPECT_EQ(model.leftMark(0, 0), 1);
    model.Undo();
    EXPECT_EQ(model.leftMark(1, 0), 0);
    EXPECT_EQ(model.leftMark(0, 0), 0);

    // Auto-marking, once switched on, strikes out a line with as many fills
    // as its clues ask, in any place and colour, and never takes a mark back.
    setCells(model, {"5..", "..."});
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(1, 0), 0);
    autoMark = true;
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(1, 0), 1);
    EXPECT_EQ(model.leftMark(1, 1), 0); // row 1 wants two
    model.paint(0, 0, Empty);
    model.AutoMarkClues();
    EXPECT_EQ(model.leftMark(1, 0), 1);
}

TEST_F(Editing, LineHelpCrossesAFinishedLineInTheSameStep)
{
    lineHelp = true;
    load({"#.#.", "....", "#..."});
    model.paint(0, 0, DefYes);
    EXPECT_EQ(cellsOf(model), (Rows{"#...", "....", "...."}));
    model.paint(2, 0, DefYes); // row 0 is done; column 2 too
    EXPECT_EQ(cellsOf(model), (Rows{"#x#x", "..x.", "..x."}));
    // Column 0 (1 1) is overdone; row 2 (1) is done.
    model.paintFigure(0, 1, 0, 2, DrawMode::Line, DefYes);
    EXPECT_EQ(cellsOf(model), (Rows{"#x#x", "#.x.", "#xxx"}));
    undo(2);
    EXPECT_EQ(cellsOf(model), (Rows{"#...", "....", "...."}));
}

TEST_F(Editing, MistakesAreFramedUntilTheNextChange)
{
    load({"#.", ".2"});
    EXPECT_EQ(model.showMistakes(), 0);
    model.paint(1, 0, DefYes); // background
    model.paint(0, 1, DefNo);
    EXPECT_EQ(model.showMistakes(), 1);
    EXPECT_TRUE(model.mistakeShown(1, 0));
    model.paint(1, 1, DefNo); // crossed on a filled cell: the frames go anyway
    EXPECT_FALSE(model.mistakeShown(1, 0));
    live = true;
    model.Undo();
    EXPECT_TRUE(model.mistakeShown(1, 0));
    model.paint(1, 1, DefNo);
    EXPECT_TRUE(model.mistakeShown(1, 1));
    EXPECT_EQ(counts, (std::vector<int>{0, 1, 1, 2}));
}

TEST_F(Editing, SolvedMeansEveryFillRightAndAnyBlankElsewhere)
{
    // The picture "#5" / ".#" with one cell varied.
    struct Case { int c, r; CellState state; int colour; bool solved; };
    const Case cases[] = {
        {0, 1, Empty, 0, true}, {0, 1, DefNo, 0, true}, {0, 1, Mark, 4, true},
        {0, 1, DefYes, 0, true},  // painted white
        {0, 1, DefYes, 2, false}, // painted a colour
        {1, 0, Mark, 5, false},   // a Mark over the right colour is no fill
        {1, 0, DefYes, 4, false}, // wrong colour
    };
    load({"#5", ".#"});
    for (const auto& c : cases) {
        setCells(model, {"#5", ".#"});
        model.restoreCell(c.c, c.r, c.state, c.colour);
        EXPECT_EQ(model.CheckSolved(), c.solved) << c.c << "," << c.r << ": " << int(c.state) << "/" << c.colour;
    }
    EXPECT_EQ(solved, std::vector<std::string>(4, "t"));

    // Paint and figures announce the solved picture, each time it still
    // matches; ShowSolution and Undo never do.
    load({"#.", ".#"});
    model.paint(0, 0, DefYes);
    model.paintFigure(1, 1, 1, 1, DrawMode::Rect, DefYes);
    EXPECT_EQ(solved.size(), 5u);
    model.paint(1, 0, DefNo);
    EXPECT_EQ(solved.size(), 6u);
    model.ShowSolution();
    model.Undo();
    EXPECT_EQ(solved.size(), 6u);
}

TEST_F(Editing, MistakesAreWrongFillsAndCrossesOnTheFilledPicture)
{
    struct Case { const char* what; Rows picture, player; playeraids::Cells expected; };
    const Case cases[] = {
        {"nothing done is no mistake", {"#.", "2#"}, {"..", "+."}, {}},
        {"right so far", {"#.", "2#"}, {"#x", ".."}, {}},
        {"fill on the background", {"#.", "2#"}, {"##", ".."}, {{1, 0}}},
        {"fill in another colour", {"#.", "2#"}, {"..", "#."}, {{0, 1}}},
        {"cross on a filled cell", {"#.", "2#"}, {"x.", ".x"}, {{0, 0}, {1, 1}}},
        {"a white fill counts as background", {"#.", "2#"}, {".w", "w."}, {}},
        {"in column order", {"..", ".."}, {".#", "#."}, {{0, 1}, {1, 0}}},
    };
    for (const Case& c : cases) {
        play(c.picture, c.player);
        EXPECT_EQ(playeraids::mistakes(model), c.expected) << c.what;
    }
}

TEST_F(Editing, LineHelpCrossesTheEmptyCellsOfAMatchingLine)
{
    struct Case { const char* what; Rows picture, player; bool row; int index; playeraids::Cells expected; };
    const Case cases[] = {
        {"complete row", {"##.#."}, {"##.#."}, true, 0, {{2, 0}, {4, 0}}},
        {"a run short", {"##.#."}, {"#..#."}, true, 0, {}},
        {"runs right but shifted still match the clue", {"##.#."}, {".##.#"}, true, 0, {{0, 0}, {3, 0}}},
        {"crossed and marked cells stay", {"##.#."}, {"##x#+"}, true, 0, {}},
        {"colours must match", {"22.#."}, {"##.#."}, true, 0, {}},
        {"touching colours are two runs", {"23..."}, {"..23."}, true, 0, {{0, 0}, {1, 0}, {4, 0}}},
        {"column", {"#", ".", "#"}, {"#", ".", "#"}, false, 0, {{0, 1}}},
        {"an empty line matches at once", {"...", "###"}, {"...", "..."}, true, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {"outside the field", {"#"}, {"#"}, true, 1, {}},
    };
    for (const Case& c : cases) {
        play(c.picture, c.player);
        EXPECT_EQ(playeraids::cellsToCross(model, c.row, c.index), c.expected) << c.what;
    }
}

TEST_F(Editing, SuggestFixesTheFirstWrongCellInColumnOrder)
{
    load({"#.", ".5"});
    model.Suggest();
    EXPECT_EQ(model.suggestedCell(), std::make_pair(0, 0));
    model.Suggest();
    EXPECT_EQ(model.suggestedCell(), std::make_pair(0, 1));
    EXPECT_EQ(cellsOf(model), (Rows{"#.", "x."}));
    EXPECT_FALSE(model.CanUndo()); // suggestions cannot be undone

    // Only a wrong colour left: recoloured, then the check finds it solved
    // before the cell is named.
    setCells(model, {"#x", "x4"});
    model.Suggest();
    EXPECT_EQ(cellsOf(model), (Rows{"#x", "x5"}));
    EXPECT_EQ(solved.size(), 1u);
    EXPECT_EQ(model.suggestedCell(), std::make_pair(1, 1));
    // A fully correct field: nothing changes, the named cell stays.
    model.Suggest();
    EXPECT_EQ(model.suggestedCell(), std::make_pair(1, 1));
    EXPECT_EQ(solved.size(), 1u);
    // Any later edit ends the suggestion.
    model.paint(0, 1, DefNo);
    EXPECT_FALSE(model.suggestedCell());
}

TEST(SuggestCountdown, ThirtySecondsInHalfSecondTicksThenFlashesEveryOtherTick)
{
    SuggestCountdown c;
    std::vector<int> seconds;
    std::vector<bool> lit;
    for (int tick = 0; tick < SuggestCountdown::kWaitTicks + 3; ++tick) {
        c.tick();
        EXPECT_EQ(c.ready(), tick >= SuggestCountdown::kWaitTicks - 1) << tick;
        seconds.push_back(c.secondsLeft());
        lit.push_back(c.lit());
    }
    EXPECT_EQ(std::vector<int>(seconds.begin(), seconds.begin() + 3), (std::vector<int>{29, 29, 28}));
    EXPECT_EQ(seconds[SuggestCountdown::kWaitTicks - 2], 0);
    // Dark while waiting, then lit every other tick.
    EXPECT_EQ(std::count(lit.begin(), lit.end() - 4, true), 0);
    EXPECT_EQ(std::vector<bool>(lit.end() - 4, lit.end()), (std::vector<bool>{true, false, true, false}));
    // A suggestion taken starts the wait again; reset also puts the flash out.
    c.tick();
    c.restart();
    EXPECT_FALSE(c.ready());
    EXPECT_TRUE(c.lit()); // until the next tick
    c.tick();
    EXPECT_FALSE(c.lit());
    c.reset();
    EXPECT_EQ(c.ticks(), 0);
    EXPECT_FALSE(c.lit());
}

} // namespace
