#include "EnumerationOracle.h"
#include "TestGrids.h"
#include "grid/GridModel.h"
#include "solver/LinePlacements.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// One row with its clues given directly, its cells written as a string:
// '.' undecided, 'x' blank, 'm' mark, digits and 'a'..'i' a fill of that
// palette index.
class LineField : public SolveTarget {
public:
    LineField(std::vector<std::pair<int, int>> clues, std::string cells)
        : clues_(std::move(clues)), cells_(std::move(cells))
    {
    }
    int width() const override { return int(cells_.size()); }
    int height() const override { return 1; }
    int rowSlots() const override { return int(clues_.size()); }
    int columnSlots() const override { return 0; }
    std::pair<int, int> clue(bool, int, int slot) const override { return clues_[std::size_t(slot)]; }
    CellState state(int c, int) const override
    {
        const char ch = cells_[std::size_t(c)];
        return ch == '.' ? Empty : ch == 'x' ? DefNo : ch == 'm' ? Mark : DefYes;
    }
    RGB colour(int c, int) const override
    {
        const char ch = cells_[std::size_t(c)];
        return PaletteColor(ch >= '1' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'i' ? ch - 'a' + 10 : 0);
    }
    void set(int c, int, CellState s, RGB colour) override
    {
        const int i = PaletteIndex(colour);
        cells_[std::size_t(c)] = s == Empty ? '.' : s == DefNo ? 'x' : s == Mark ? 'm' : i < 10 ? char('0' + i) : char('a' + i - 10);
    }
    const std::string& row() const { return cells_; }

private:
    std::vector<std::pair<int, int>> clues_;
    std::string cells_;
};

TEST(SolveLine, DecidesWhatEveryPlacementAgreesOn)
{
    struct Case {
        std::vector<std::pair<int, int>> clues; // (colour, length)
        std::string before, after;
        bool contradiction;
    } cases[] = {
        {{{3, 8}}, "..........", "..333333..", false},
        {{{3, 5}}, ".....", "33333", false},
        {{{3, 2}, {3, 2}}, ".....", "33x33", false},
        // Different colours may touch: (0,1), (0,2) and (1,2) all fit.
        {{{5, 1}, {11, 1}}, "...", "...", false},
        // The fill of colour 5 before the first block goes unseen, so one
        // placement puts the 1 on cell 2 and another the 5: cell 2 stays
        // open rather than take a colour that may be wrong.
        {{{1, 1}, {5, 2}}, ".5...", ".5...", false},
        // A mark constrains nothing; a blank does.
        {{{3, 3}}, "m...x", "m33.x", false},
        {{{3, 4}}, "..x..x.", "..x..x.", true},
        // The last block may not leave a fill of any colour behind it.
        {{{3, 1}}, "...5", "...5", true},
    };
    for (const Case& c : cases) {
        LineField field(c.clues, c.before);
        Solver solver(field);
        ASSERT_TRUE(solver.prepare());
        EXPECT_TRUE(solver.SolveLine(false, 0, 5));
        EXPECT_EQ(solver.contradiction(), c.contradiction) << c.before;
        EXPECT_EQ(field.row(), c.after) << c.before;
    }
}

TEST(SolveLine, ThresholdHoldsBackLinesWithManyBlocksButDoneLinesStillCount)
{
    struct Case {
        std::vector<std::pair<int, int>> clues;
        std::string before, after;
    } cases[] = {
        {std::vector<std::pair<int, int>>(5, {3, 1}), ".........", "3x3x3x3x3"},
        // A line without blocks counts its blank slots as blocks.
        {std::vector<std::pair<int, int>>(3, {0, 0}), "....", "xxxx"},
    };
    for (const Case& c : cases) {
        LineField field(c.clues, c.before);
        Solver solver(field);
        ASSERT_TRUE(solver.prepare());
        const int blocks = int(c.clues.size());
        EXPECT_FALSE(solver.SolveLine(false, 0, blocks - 1));
        EXPECT_EQ(solver.placements(), 0);
        EXPECT_TRUE(solver.SolveLine(false, 0, blocks));
        EXPECT_EQ(field.row(), c.after);
        const auto first = solver.placements();
        solver.SolveLine(false, 0, blocks);
        EXPECT_EQ(solver.placements(), 2 * first);
        EXPECT_EQ(solver.decided(), int(c.before.size())) << "a line already decided counts again";
    }
}

// ------------------------------------------- the enumeration as reference

// Per position, the colour that fills it ('*' several, '-' none) and
// whether it can stay blank; then whether the line fits and its count.
std::string outcome(const LineOutcome& o, int len)
{
    std::string s;
    for (int i = 0; i < len; ++i) {
        s += !o.canFill[i] ? '-' : o.mixed[i] ? '*' : char('0' + o.fillColour[i]);
        s += o.canBlank[i] ? "x " : "- ";
    }
    return s + (o.ok ? "fits " : "contradiction ") + std::to_string(o.placements);
}

TEST(LinePlacements, AgreesWithTheEnumerationOnRandomLines)
{
    std::mt19937 rng(17);
    LinePlacements dp;
    EnumerationOracle oracle;
    LineOutcome want, got;
    int contradictions = 0, mixed = 0;
    for (int round = 0; round < 40000; ++round) {
        const bool colour = round % 2 == 1;
        const int len = 1 + int(rng() % 18);
        // Clues from a random picture, as the game derives them.
        std::vector<int> picture(std::size_t(len), 0);
        const unsigned density = 30 + rng() % 50;
        for (int& v : picture)
            if (rng() % 100 < density)
                v = colour ? 1 + int(rng() % 3) : 1;
        std::vector<std::uint8_t> number, blockColour;
        for (int i = 0; i < len; ++i)
            if (picture[std::size_t(i)] && (i == 0 || picture[std::size_t(i)] != picture[std::size_t(i) - 1])) {
                number.push_back(1);
                blockColour.push_back(std::uint8_t(picture[std::size_t(i)]));
            } else if (picture[std::size_t(i)]) {
                ++number.back();
            }
        if (number.empty()) { // blank slots standing in for blocks
            number.assign(1 + rng() % 3, 0);
            blockColour.assign(number.size(), 0);
        } else if (rng() % 6 == 0) {
            number[rng() % number.size()] += 1; // clues that may not fit
        }
        // Cells: some known from the picture, a few wrong, a few marks.
        std::vector<std::uint8_t> state(std::size_t(len), LineCells::kUndecided), cellColour(std::size_t(len), 0);
        const unsigned known = rng() % 70;
        for (int i = 0; i < len; ++i) {
            const unsigned r = rng() % 100;
            int v = picture[std::size_t(i)];
            if (r < 5)
                v = v ? 0 : 1 + int(rng() % 3);
            if (r < known) {
                state[std::size_t(i)] = v ? LineCells::kFilled : LineCells::kBlank;
                cellColour[std::size_t(i)] = std::uint8_t(v);
            } else if (r > 95) {
                state[std::size_t(i)] = LineCells::kMarked;
            }
        }
        LineCells line{len, state.data(), cellColour.data(), int(number.size()), number.data(), blockColour.data()};
        oracle.solve(line, want);
        dp.solve(line, got);
        ASSERT_EQ(outcome(got, len), outcome(want, len)) << "round " << round;
        contradictions += !want.ok;
        mixed += std::count(want.mixed.begin(), want.mixed.begin() + len, 1);
    }
    // The draw must reach the cases that matter.
    EXPECT_GT(contradictions, 1000);
    EXPECT_GT(mixed, 1000);
}

SolveReport solveGrid(GridModel& grid, Solver::Progress progress = {})
{
    GridSolveTarget target(grid);
    Solver solver(target);
    solver.setClock([] { return 0.0; }); // every run "within the first second"
    if (progress)
        solver.setProgress(std::move(progress));
    return solver.Solve();
}

TEST(Solve, SolvesByLinesOrAfterBlankGuesses)
{
    struct Case {
        std::vector<std::string> rows, field;
        int tries;
        const char* text;
    } cases[] = {
        // The full rows fix the two middle columns, which fix the short rows.
        {{"####", "#..#", "#..#", "5555"}, {"####", "#..#", "#..#", "5555"}, 1,
         "Solution is found.\nTime: 00:00:00.\nSec: 0\nTrying: 1, Total: 0\n\n LEVEL: 0.100000"},
        // Both diagonals fit and lines decide nothing: the blank guess at
        // the first cell settles it.
        {{"#.", ".#"}, {".#", "#."}, 2, "Solution is found."},
    };
    for (const Case& c : cases) {
        GridModel grid;
        grid.SetDataSource(testgrids::crossword(c.rows));
        const SolveReport report = solveGrid(grid);
        EXPECT_EQ(report.result, SolveResult::Solved);
        EXPECT_EQ(report.tries, c.tries);
        EXPECT_EQ(report.undecided, 0);
        EXPECT_EQ(report.text.rfind(c.text, 0), 0u) << report.text;
        EXPECT_EQ(report.status, "Solved.");
        for (int r = 0; r < grid.height(); ++r)
            for (int col = 0; col < grid.width(); ++col) {
                const char want = c.field[std::size_t(r)][std::size_t(col)];
                EXPECT_EQ(grid.cellState(col, r), want == '.' ? DefNo : DefYes) << col << "," << r;
                if (want >= '1' && want <= '9') {
                    EXPECT_EQ(grid.cellColourIndex(col, r), want - '0');
                }
            }
    }
}

TEST(Solve, StopsAfterAHundredGuessesWithoutClaimingSuccess)
{
    // A diagonal: every row and column has the clue 1, so any permutation
    // fits, lines decide nothing and no blank guess ever contradicts.
    std::vector<std::string> tall(40, std::string(40, '.'));
    for (int i = 0; i < 40; ++i)
        tall[std::size_t(i)][std::size_t(i)] = '#';
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

TEST(Solve, ProgressComesOncePerLineThatPassesAHundredThousandAndEvery100ms)
{
    // Solves the line once at each clock time; the placement counts at the
    // reports, and at the end.
    auto reports = [](LineField field, std::vector<double> times, std::int64_t* total = nullptr) {
        Solver solver(field);
        double now = 0;
        solver.setClock([&] { return now; });
        std::vector<std::int64_t> at;
        solver.setProgress([&](const std::string&) { return at.push_back(solver.placements()), false; });
        EXPECT_TRUE(solver.prepare());
        for (double t : times) {
            now = t;
            solver.SolveLine(false, 0, 5);
        }
        if (total)
            *total = solver.placements();
        return at;
    };
    // 15 blocks of 5 in 100 cells: millions of placements in one line.
    const auto many = reports(LineField(std::vector<std::pair<int, int>>(15, {3, 5}), std::string(100, '.')), {0, 0});
    ASSERT_EQ(many.size(), 2u);
    EXPECT_GT(many[0], 10 * Solver::kProgressEvery);
    EXPECT_EQ(many[1], 2 * many[0]);
    // A line with one placement reports only when 100 ms have passed: at
    // 0.10 and 0.25.
    EXPECT_EQ(reports(LineField({{3, 5}}, "....."), {0.05, 0.09, 0.10, 0.15, 0.25}).size(), 2u);
    // About 10^29 placements: the count stays at its ceiling instead of
    // wrapping, and passes the report step only once.
    std::int64_t total = 0;
    EXPECT_EQ(reports(LineField(std::vector<std::pair<int, int>>(50, {0, 0}), std::string(100, '.')), {0, 0, 0}, &total).size(), 1u);
    EXPECT_EQ(total, std::numeric_limits<std::int64_t>::max());
}

TEST(Solve, EscapeAtAProgressReportStopsTheRunAtOnce)
{
    std::vector<std::string> rows(40, std::string(40, '.'));
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 40; c += 2)
            rows[std::size_t(r)][std::size_t(c)] = r % 2 ? '#' : '.';
    rows[0] = "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.##########";
    GridModel grid;
    grid.SetDataSource(testgrids::crossword(rows));
    int polls = 0;
    std::string lastStatus;
    const SolveReport report = solveGrid(grid, [&](const std::string& status) {
        ++polls;
        lastStatus = status;
        return true; // Escape
    });
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(report.result, SolveResult::Aborted);
    EXPECT_GE(report.placements, Solver::kProgressEvery);
    EXPECT_EQ(lastStatus.rfind("Solving... Time: 00:00:00  Progress:  ", 0), 0u) << lastStatus;
    EXPECT_NE(lastStatus.find("Total: " + std::to_string(report.placements / 10000)), std::string::npos)
        << lastStatus;
    EXPECT_EQ(report.text.find("Solution is found."), std::string::npos);
}

TEST(Solve, WholeRunsMatchTheEnumeration)
{
    std::mt19937 rng(7);
    std::map<std::string, int> seen;
    for (int round = 0; round < 400; ++round) {
        const bool colour = round % 2 == 1;
        const int w = 2 + int(rng() % 11), h = 2 + int(rng() % 11);
        std::vector<std::string> rows(std::size_t(h), std::string(std::size_t(w), '.'));
        const unsigned density = 20 + rng() % 60;
        for (auto& r : rows)
            for (char& ch : r)
                if (rng() % 100 < density)
                    ch = colour ? "159"[rng() % 3] : '#';
        GridModel mine, enumerated;
        mine.SetDataSource(testgrids::crossword(rows));
        enumerated.SetDataSource(testgrids::crossword(rows));
        // Some runs start from a field with a few cells set, right or wrong.
        if (round % 3 == 0)
            for (int i = 0; i < 3; ++i) {
                const int c = int(rng() % unsigned(w)), r = int(rng() % unsigned(h));
                const CellState s = rng() % 2 ? DefYes : DefNo;
                const int index = colour ? int("159"[rng() % 3] - '0') : 3;
                mine.restoreCell(c, r, s, index);
                enumerated.restoreCell(c, r, s, index);
            }
        EnumerationOracle oracle;
        GridSolveTarget target(enumerated);
        Solver reference(target);
        reference.setLineEngine(oracle);
        reference.setClock([] { return 0.0; });
        const SolveReport want = reference.Solve();
        const SolveReport got = solveGrid(mine);
        const std::string where = "round " + std::to_string(round);
        ASSERT_TRUE(std::tie(got.result, got.tries, got.placements, got.decided, got.undecided, got.text)
                    == std::tie(want.result, want.tries, want.placements, want.decided, want.undecided, want.text))
            << where << "\n" << got.text << "\n" << want.text;
        for (int c = 0; c < w; ++c)
            for (int r = 0; r < h; ++r) {
                ASSERT_EQ(mine.cellState(c, r), enumerated.cellState(c, r)) << where << " " << c << "," << r;
                ASSERT_EQ(mine.cellColourIndex(c, r), enumerated.cellColourIndex(c, r)) << where;
            }
        const bool guessed = got.tries > 1;
        ++seen[std::string(Solver::resultName(got.result)) + (guessed ? " after guesses" : "")];
        if (got.result == SolveResult::Contradiction && guessed) {
            // Only the blank was tried there: this proves no crossword
            // unsolvable, and the report must not say so.
            EXPECT_EQ(got.text.find("No solution"), std::string::npos) << got.text;
            EXPECT_NE(got.text.find("column " + std::to_string(got.guessColumn + 1) + ", row "
                                    + std::to_string(got.guessRow + 1)),
                      std::string::npos)
                << got.text;
        }
    }
    for (const char* kind : {"solved", "solved after guesses", "contradiction", "contradiction after guesses"})
        EXPECT_GT(seen[kind], 0) << kind;
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
