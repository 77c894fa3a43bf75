#include "TestGrids.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A field of one row (or any size) with clues given directly, so single
// lines can be solved in isolation.
class LineField : public SolveTarget {
public:
    LineField(int width, std::vector<std::pair<int, int>> rowClues, int height = 1)
        : width_(width), height_(height), rowClues_(std::move(rowClues)), states_(std::size_t(width) * height, Empty),
          colours_(std::size_t(width) * height, kWhite)
    {
    }
    int width() const override { return width_; }
    int height() const override { return height_; }
    int rowSlots() const override { return int(rowClues_.size()); }
    int columnSlots() const override { return 0; }
    std::pair<int, int> clue(bool column, int, int slot) const override
    {
        return column ? std::pair<int, int>{0, 0} : rowClues_[std::size_t(slot)];
    }
    CellState state(int c, int r) const override { return states_[std::size_t(c) * height_ + r]; }
    RGB colour(int c, int r) const override { return colours_[std::size_t(c) * height_ + r]; }
    void set(int c, int r, CellState s, RGB colour) override
    {
        states_[std::size_t(c) * height_ + r] = s;
        colours_[std::size_t(c) * height_ + r] = colour;
    }
    // '.' undecided, 'x' blank, digits/letters palette index of a fill.
    std::string row(int r = 0) const
    {
        std::string out;
        for (int c = 0; c < width_; ++c) {
            const CellState s = state(c, r);
            const int i = PaletteIndex(colour(c, r));
            out += s == Empty ? '.' : s == DefNo ? 'x' : i < 10 ? char('0' + i) : char('a' + i - 10);
        }
        return out;
    }

private:
    int width_, height_;
    std::vector<std::pair<int, int>> rowClues_;
    std::vector<CellState> states_;
    std::vector<RGB> colours_;
};

std::string solveRow(LineField& field, int threshold = 5)
{
    Solver solver(field);
    EXPECT_TRUE(solver.prepare());
    EXPECT_TRUE(solver.SolveLine(false, 0, threshold));
    EXPECT_FALSE(solver.contradiction());
    return field.row();
}

TEST(SolveLine, SingleLinesDecideWhatEveryPlacementAgreesOn)
{
    LineField eight(10, {{3, 8}});
    EXPECT_EQ(solveRow(eight), "..333333..");

    LineField five(5, {{3, 5}});
    EXPECT_EQ(solveRow(five), "33333");

    LineField twoTwo(5, {{3, 2}, {3, 2}});
    EXPECT_EQ(solveRow(twoTwo), "33x33");

    // Different colours may touch: (0,1), (0,2) and (1,2) all fit.
    LineField touching(3, {{5, 1}, {11, 1}});
    EXPECT_EQ(solveRow(touching), "...");

    // No block: everything blank, but only once the threshold lets it in.
    LineField empty(4, {{0, 0}, {0, 0}, {0, 0}});
    Solver solver(empty);
    ASSERT_TRUE(solver.prepare());
    EXPECT_FALSE(solver.SolveLine(false, 0, 2));
    EXPECT_EQ(empty.row(), "....");
    EXPECT_TRUE(solver.SolveLine(false, 0, 3));
    EXPECT_EQ(empty.row(), "xxxx");
}

TEST(SolveLine, CellFilledInDifferentColoursByDifferentPlacementsStaysOpen)
{
    // Clues 1 (colour 1) and 2 (colour 5) with cell 1 known as colour 5.
    // The fill of colour 5 before the first block goes unseen, so a second
    // placement puts the 1 on cell 2: cell 2 is filled either way, but in
    // colour 5 or 1. Deciding colour 1 would be wrong (the picture is
    // 1 5 5 . .) and would later look like a contradiction.
    LineField field(5, {{1, 1}, {5, 2}});
    field.set(1, 0, DefYes, PaletteColor(5));
    EXPECT_EQ(solveRow(field), ".5...");
}

TEST(SolveLine, ClueThatCannotFitIsAContradictionAndChangesNothing)
{
    LineField field(7, {{3, 4}});
    field.set(2, 0, DefNo, kWhite);
    field.set(5, 0, DefNo, kWhite);
    Solver solver(field);
    ASSERT_TRUE(solver.prepare());
    EXPECT_TRUE(solver.SolveLine(false, 0, 5));
    EXPECT_TRUE(solver.contradiction());
    EXPECT_EQ(field.row(), "..x..x.");
}

TEST(SolveLine, DecidedLinesStillCountTheirPlacements)
{
    LineField field(5, {{3, 2}, {3, 2}});
    Solver solver(field);
    ASSERT_TRUE(solver.prepare());
    solver.SolveLine(false, 0, 5);
    const auto first = solver.placements();
    EXPECT_GT(first, 0);
    EXPECT_EQ(solver.decided(), 5);
    solver.SolveLine(false, 0, 5);
    EXPECT_EQ(solver.placements(), 2 * first);
    EXPECT_EQ(solver.decided(), 5);
}

TEST(SolveLine, ManyBlocksWaitForAHigherThreshold)
{
    LineField field(9, {{3, 1}, {3, 1}, {3, 1}, {3, 1}, {3, 1}});
    Solver solver(field);
    ASSERT_TRUE(solver.prepare());
    EXPECT_FALSE(solver.SolveLine(false, 0, 4));
    EXPECT_EQ(solver.placements(), 0);
    EXPECT_TRUE(solver.SolveLine(false, 0, 5));
    EXPECT_EQ(field.row(), "3x3x3x3x3");
}

struct Run {
    SolveReport report;
    GridModel grid;
};

SolveReport solveGrid(GridModel& grid, Solver::Progress progress = {})
{
    GridSolveTarget target(grid);
    Solver solver(target);
    solver.setClock([] { return 0.0; }); // every run "within the first second"
    if (progress)
        solver.setProgress(std::move(progress));
    return solver.Solve();
}

TEST(Solve, LineSolvableCrosswordNeedsOneTry)
{
    GridModel grid;
    // Rows and columns settle it alone: the full rows fix the two middle
    // columns, which fix the short rows.
    grid.SetDataSource(testgrids::crossword({"####", "#..#", "#..#", "5555"}));
    const SolveReport report = solveGrid(grid);
    EXPECT_EQ(report.result, SolveResult::Solved);
    EXPECT_EQ(report.tries, 1);
    EXPECT_EQ(report.undecided, 0);
    EXPECT_EQ(report.decided, 16);
    EXPECT_DOUBLE_EQ(report.level, 0.1);
    EXPECT_EQ(report.text.rfind("Solution is found.\nTime: 00:00:00.\nSec: 0\nTrying: 1, Total: 0\n\n LEVEL: 0.100000", 0), 0u)
        << report.text;
    EXPECT_EQ(report.status, "Solved.");
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(grid.cellState(c, r) == DefYes, grid.solution(c, r) > 0);
    EXPECT_EQ(grid.cellColourIndex(0, 3), 5);
}

TEST(Solve, GuessesBlankCellsAndReportsOnce)
{
    // Two diagonal pictures fit these clues; line solving alone decides
    // nothing, one blank guess settles it.
    GridModel grid;
    grid.SetDataSource(testgrids::crossword({"#.", ".#"}));
    const SolveReport report = solveGrid(grid);
    EXPECT_EQ(report.result, SolveResult::Solved);
    EXPECT_EQ(report.tries, 2);
    EXPECT_EQ(report.undecided, 0);
    EXPECT_EQ(grid.cellState(0, 0), DefNo); // the guess was a blank
    EXPECT_EQ(grid.cellState(1, 0), DefYes);
}

TEST(Solve, StopsAfterAHundredGuessesWithoutClaimingSuccess)
{
    // A diagonal: every row and column has the clue 1, so any permutation
    // fits, lines decide nothing and no blank guess ever contradicts.
    std::vector<std::string> tall;
    for (int i = 0; i < 40; ++i) {
        std::string row(40, '.');
        row[std::size_t(i)] = '#';
        tall.push_back(row);
    }
    GridModel grid;
    grid.SetDataSource(testgrids::crossword(tall));
    const SolveReport report = solveGrid(grid);
    EXPECT_EQ(report.tries, 101);
    EXPECT_EQ(report.result, SolveResult::Stopped);
    EXPECT_GT(report.undecided, 0);
    EXPECT_EQ(report.text.find("Solution is found."), std::string::npos);
    EXPECT_NE(report.text.find(std::to_string(report.undecided) + " cells"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("Trying: 101"), std::string::npos);
    int empty = 0;
    for (int c = 0; c < grid.width(); ++c)
        for (int r = 0; r < grid.height(); ++r)
            empty += grid.cellState(c, r) == Empty;
    EXPECT_EQ(empty, report.undecided);
}

TEST(Solve, EscapeThroughTheProgressPollStopsTheRun)
{
    // A line with many blocks gives enough placements for a progress call.
    std::string row;
    for (int i = 0; i < 20; ++i)
        row += "#.";
    std::vector<std::string> rows(40, std::string(40, '.'));
    rows[0] = "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.##########";
    for (int r = 1; r < 40; r += 2)
        rows[r] = row;
    GridModel grid;
    grid.SetDataSource(testgrids::crossword(rows));
    int polls = 0;
    std::string lastStatus;
    const SolveReport report = solveGrid(grid, [&](const std::string& status) {
        ++polls;
        lastStatus = status;
        return true; // Escape
    });
    if (report.placements >= Solver::kProgressEvery) {
        EXPECT_EQ(polls, 1);
        EXPECT_EQ(report.result, SolveResult::Aborted);
        EXPECT_EQ(report.placements, Solver::kProgressEvery); // stops at that placement
        EXPECT_EQ(lastStatus.rfind("Solving... Time: 00:00:00  Progress:  ", 0), 0u) << lastStatus;
        EXPECT_NE(lastStatus.find("Total: 10"), std::string::npos) << lastStatus;
        EXPECT_EQ(report.text.find("Solution is found."), std::string::npos);
    } else {
        GTEST_SKIP() << "too few placements for a progress report: " << report.placements;
    }
}

TEST(Solve, RefusesMoreThanAHundredColumnsAndLeavesTheField)
{
    std::vector<std::string> rows(3, std::string(101, '.'));
    rows[1][50] = '#';
    GridModel grid;
    grid.SetDataSource(testgrids::crossword(rows));
    grid.restoreCell(3, 0, Mark, 5);
    const SolveReport report = solveGrid(grid);
    EXPECT_EQ(report.result, SolveResult::Refused);
    EXPECT_NE(report.text.find("101 x 3"), std::string::npos);
    EXPECT_EQ(grid.cellState(3, 0), Mark);
    EXPECT_EQ(grid.cellState(50, 1), Empty);
}

} // namespace
