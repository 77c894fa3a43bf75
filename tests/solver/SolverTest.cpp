#include "EnumerationOracle.h"
#include "GridText.h"
#include "TestGrids.h"
#include "grid/GridModel.h"
#include "solver/Clues.h"
#include "solver/CompleteSolver.h"
#include "solver/LineSolver.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

static bool operator==(const ClueBlock& a, const ClueBlock& b)
{
    return a.colour == b.colour && a.length == b.length;
}

namespace {

using testgrids::Rows;

// A random picture in the characters of TestGrids.h: each cell inked with
// `density` percent chance, in one of `inks`.
Rows randomPicture(std::mt19937& rng, int w, int h, unsigned density, const std::string& inks)
{
    Rows rows(std::size_t(h), std::string(std::size_t(w), '.'));
    for (auto& r : rows)
        for (char& ch : r)
            if (rng() % 100 < density)
                ch = inks[rng() % inks.size()];
    return rows;
}

Rows diagonal(int n)
{
    Rows rows(std::size_t(n), std::string(std::size_t(n), '.'));
    for (int i = 0; i < n; ++i)
        rows[std::size_t(i)][std::size_t(i)] = '#';
    return rows;
}

std::vector<std::vector<int>> indices(const Rows& rows)
{
    std::vector<std::vector<int>> out(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        std::transform(rows[r].begin(), rows[r].end(), std::back_inserter(out[r]), testgrids::indexOf);
    return out;
}

// The clue of one line: its runs of one value, in the line's own values.
std::vector<ClueBlock> lineClue(const std::vector<int>& cells)
{
    std::vector<ClueBlock> blocks;
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i] && (i == 0 || cells[i] != cells[i - 1]))
            blocks.push_back({std::uint8_t(cells[i]), 1});
        else if (cells[i])
            ++blocks.back().length;
    return blocks;
}

// Every line of n cells over `values` whose clue is `blocks`, each cell
// one of the values `allowed` there when that is given.
std::vector<std::vector<int>> linesWith(const std::vector<ClueBlock>& blocks, int n, const std::vector<int>& values,
                                        const std::vector<CellSet>& allowed = {})
{
    std::vector<std::vector<int>> lines;
    const auto base = int(values.size());
    for (int code = 0, count = int(std::pow(base, n)); code < count; ++code) {
        std::vector<int> line;
        for (int i = 0, c = code; i < n; ++i, c /= base)
            line.push_back(values[std::size_t(c % base)]);
        bool ok = true;
        for (std::size_t i = 0; ok && i < allowed.size(); ++i)
            ok = allowed[i] >> line[i] & 1;
        if (ok && lineClue(line) == blocks)
            lines.push_back(line);
    }
    return lines;
}

// Whether a solution (palette indices row by row) has the puzzle's clues.
bool fits(const std::vector<std::uint8_t>& cells, const Clues& clues)
{
    std::vector<std::vector<int>> rows;
    for (auto row = cells.begin(); row < cells.end(); row += clues.width)
        rows.emplace_back(row, row + clues.width);
    Clues own;
    return Clues::fromRows(rows, own) && own.palette == clues.palette && own.rows == clues.rows
           && own.columns == clues.columns;
}

using Clue = std::vector<std::pair<int, int>>; // (colour, length) per slot

// One row with its clues given directly, its cells written as a string:
// '.' undecided, 'x' blank, 'm' mark, '1'..'9' and 'a'..'i' a fill of that
// palette index.
struct LineField : SolveTarget {
    static constexpr std::string_view kCodes = ".xm123456789abcdefghi";
    LineField(Clue slots, std::string row) : clues(std::move(slots)), cells(std::move(row)) {}
    int width() const override { return int(cells.size()); }
    int height() const override { return 1; }
    int rowSlots() const override { return int(clues.size()); }
    int columnSlots() const override { return 0; }
    std::pair<int, int> clue(bool, int, int slot) const override { return clues[std::size_t(slot)]; }
    int code(int c) const { return int(kCodes.find(cells[std::size_t(c)])); }
    CellState state(int c, int) const override
    {
        return code(c) > 2 ? DefYes : std::array{Empty, DefNo, Mark}[std::size_t(code(c))];
    }
    RGB colour(int c, int) const override { return PaletteColor(std::max(0, code(c) - 2)); }
    void set(int c, int, CellState s, RGB colour) override
    {
        cells[std::size_t(c)] = kCodes[s == Empty ? 0 : s == DefNo ? 1 : s == Mark ? 2 : 2 + PaletteIndex(colour)];
    }
    Clue clues;
    std::string cells;
};

TEST(SolveLine, DecidesWhatEveryPlacementAgreesOnOnceItsBlocksAreDue)
{
    struct Case {
        Clue clues;
        std::string before, after;
        bool contradiction;
    } cases[] = {
        {{{3, 8}}, "..........", "..333333..", false},
        {Clue(5, {3, 1}), ".........", "3x3x3x3x3", false},
        // A line without blocks counts its blank slots as blocks.
        {Clue(3, {0, 0}), "....", "xxxx", false},
        // The fill of colour 5 before the first block goes unseen, so one
        // placement puts the 1 on cell 2 and another the 5: cell 2 stays
        // open rather than take a colour that may be wrong.
        {{{1, 1}, {5, 2}}, ".5...", ".5...", false},
        // A mark constrains nothing and stays; a blank does constrain.
        {{{3, 4}}, "m...x", "m333x", false},
        {{{3, 4}}, "..x..x.", "..x..x.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        LineField field(c.clues, c.before);
        Solver solver(field);
        ASSERT_TRUE(solver.prepare());
        // Held back while the threshold is below its block count.
        const int blocks = int(c.clues.size());
        EXPECT_FALSE(solver.SolveLine(false, 0, blocks - 1));
        EXPECT_EQ(solver.placements(), 0);
        EXPECT_TRUE(solver.SolveLine(false, 0, blocks));
        EXPECT_EQ(solver.contradiction(), c.contradiction);
        EXPECT_EQ(field.cells, c.after);
        // A line solved again counts its placements again, but no cell twice.
        const auto first = solver.placements();
        solver.SolveLine(false, 0, blocks);
        if (c.after == c.before || c.after.find('.') == std::string::npos) {
            EXPECT_EQ(solver.placements(), 2 * first);
        }
        EXPECT_EQ(solver.decided(), std::inner_product(c.before.begin(), c.before.end(), c.after.begin(), 0,
                                                       std::plus<>(), std::not_equal_to<>()));
    }
}

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

// Both solvers' line steps on random lines: clues from a random picture
// (now and then with a block made longer, so they may not fit), cells
// partly known from it, a few wrong. The rating solver's step must match its
// enumeration exactly, marks and counts included; the complete solver's
// bit sets must match its tables and, on short lines, every colouring, with
// a random set of values where the other has a mark.
TEST(LineSteps, AgreeWithTheirReferencesOnRandomLines)
{
    std::mt19937 rng(17);
    LinePlacements dp;
    EnumerationOracle oracle;
    LineSolver bits, tables;
    LineOutcome want, got;
    int contradictions = 0, mixed = 0;
    for (int round = 0; round < 40000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int len = 1 + int(rng() % (round % 8 ? 18 : 127));
        const unsigned density = 30 + rng() % 60;
        const std::vector<int> picture = indices(randomPicture(rng, len, 1, density, round % 2 ? "123" : "1"))[0];
        std::vector<ClueBlock> blocks = lineClue(picture);
        if (!blocks.empty() && rng() % 6 == 0)
            ++blocks[rng() % blocks.size()].length; // clues that may not fit
        std::vector<std::uint8_t> state(picture.size(), LineCells::kUndecided), colour(picture.size(), 0);
        std::vector<CellSet> in(picture.size(), round % 2 ? 15 : 3), a(in), b(in), expected(in.size());
        const unsigned known = rng() % 70;
        for (std::size_t i = 0; i < picture.size(); ++i) {
            const unsigned r = rng() % 100;
            const int v = r >= 5 ? picture[i] : picture[i] ? 0 : 1 + int(rng() % 3);
            if (r < known) {
                state[i] = v ? LineCells::kFilled : LineCells::kBlank;
                colour[i] = std::uint8_t(v);
                in[i] = CellSet(1) << v;
            } else if (r >= 90) {
                state[i] = LineCells::kMarked;
                in[i] = 1 + rng() % 15;
            }
        }
        const bool solved = bits.solve(blocks.data(), int(blocks.size()), in.data(), len, a.data());
        ASSERT_EQ(tables.solveByTables(blocks.data(), int(blocks.size()), in.data(), len, b.data()), solved);
        if (solved) {
            ASSERT_EQ(a, b);
        }
        if (round % 8 < 3 && len <= (round % 2 ? 5 : 8)) {
            const auto lines = linesWith(blocks, len, round % 2 ? std::vector{0, 1, 2, 3} : std::vector{0, 1}, in);
            ASSERT_EQ(solved, !lines.empty());
            for (const auto& cells : lines)
                for (std::size_t i = 0; i < cells.size(); ++i)
                    expected[i] |= CellSet(1) << cells[i];
            if (solved) {
                ASSERT_EQ(a, expected);
            }
        }
        if (len > 18)
            continue; // the enumeration takes too long
        std::vector<std::uint8_t> number, blockColour;
        for (const ClueBlock& block : blocks) {
            number.push_back(block.length);
            blockColour.push_back(block.colour);
        }
        if (number.empty()) { // blank slots standing in for blocks
            number.assign(1 + rng() % 3, 0);
            blockColour.assign(number.size(), 0);
        }
        LineCells line{len, state.data(), colour.data(), int(number.size()), number.data(), blockColour.data()};
        oracle.solve(line, want);
        dp.solve(line, got);
        ASSERT_EQ(outcome(got, len), outcome(want, len));
        contradictions += !want.ok;
        mixed += std::count(want.mixed.begin(), want.mixed.begin() + len, 1);
    }
    // The draw must reach the cases that matter.
    EXPECT_GT(contradictions, 1000);
    EXPECT_GT(mixed, 1000);
}

SolveReport solveGrid(GridModel& grid, Solver::Progress progress = {}, LineEngine* engine = nullptr)
{
    GridSolveTarget target(grid);
    Solver solver(target);
    solver.setClock([] { return 0.0; }); // every run "within the first second"
    if (progress)
        solver.setProgress(std::move(progress));
    if (engine)
        solver.setLineEngine(*engine);
    return solver.Solve();
}

TEST(Solve, RunsThatEndEarlyLeaveCellsOpenAndNeverClaimSuccess)
{
    // Any permutation fits a diagonal: lines decide nothing, no blank guess
    // ever contradicts, and the run stops after 101 tries. In the other
    // picture the first line with many blocks passes 100000 placements, and
    // Escape at that progress report ends the run.
    Rows many(40, std::string(40, '.'));
    for (int r = 1; r < 40; r += 2)
        for (int c = 0; c < 40; c += 2)
            many[std::size_t(r)][std::size_t(c)] = '#';
    many[0] = "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.##########";
    for (const auto& [rows, escape] : {std::pair{diagonal(40), false}, std::pair{many, true}}) {
        GridModel grid;
        grid.SetDataSource(testgrids::crossword(rows));
        std::vector<std::string> polls;
        const SolveReport report = solveGrid(grid, [&](const std::string& status) {
            polls.push_back(status);
            return escape;
        });
        SCOPED_TRACE(report.text);
        int open = 0;
        for (const auto& row : testgrids::cellsOf(grid))
            open += int(std::count(row.begin(), row.end(), '.'));
        EXPECT_GT(open, 0);
        EXPECT_EQ(report.undecided, open);
        EXPECT_EQ(report.text.find("Solution is found."), std::string::npos);
        if (!escape) {
            EXPECT_EQ(report.result, SolveResult::Stopped);
            const std::string head = "The search stopped after 101 tries; " + std::to_string(open) + " cells";
            EXPECT_EQ(report.text.rfind(head, 0), 0u);
            continue;
        }
        ASSERT_EQ(polls.size(), 1u);
        EXPECT_EQ(report.result, SolveResult::Aborted);
        EXPECT_GE(report.placements, Solver::kProgressEvery);
        EXPECT_EQ(polls[0].rfind("Solving... Time: 00:00:00  Progress:  ", 0), 0u) << polls[0];
        EXPECT_NE(polls[0].find("Total: " + std::to_string(report.placements / 10000)), std::string::npos) << polls[0];
    }
}

TEST(Solve, ProgressComesOncePerLineThatPassesAHundredThousandAndEvery100ms)
{
    // Solves the line once at each clock time: the placement counts at the
    // reports, then at the end.
    auto reports = [](LineField field, std::vector<double> times) {
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
        at.push_back(solver.placements());
        return at;
    };
    // 15 blocks of 5 in 100 cells: millions of placements in one line.
    const auto many = reports(LineField(Clue(15, {3, 5}), std::string(100, '.')), {0, 0});
    ASSERT_EQ(many.size(), 3u);
    EXPECT_GT(many[0], 10 * Solver::kProgressEvery);
    EXPECT_EQ(many[1], 2 * many[0]);
    // A line with one placement reports only when 100 ms have passed: at
    // 0.10 and 0.25.
    EXPECT_EQ(reports(LineField({{3, 5}}, "....."), {0.05, 0.09, 0.10, 0.15, 0.25}).size(), 3u);
    // About 10^29 placements: the count stays at its ceiling instead of
    // wrapping, and passes the report step only once.
    const auto huge = reports(LineField(Clue(50, {0, 0}), std::string(100, '.')), {0, 0, 0});
    ASSERT_EQ(huge.size(), 2u);
    EXPECT_EQ(huge[1], std::numeric_limits<std::int64_t>::max());
}

// How many pictures (up to 2) have a small picture's clues: every row with
// the clue of its row, each cell one of `values`, checked against the columns.
int bruteForce(const std::vector<std::vector<int>>& picture, const std::vector<int>& values, const Clues& clues)
{
    std::vector<std::vector<std::vector<int>>> options;
    for (const auto& row : picture)
        options.push_back(linesWith(lineClue(row), int(row.size()), values));
    int found = 0;
    std::vector<std::uint8_t> cells;
    std::function<void(std::size_t)> walk = [&](std::size_t r) {
        if (r == picture.size())
            found += fits(cells, clues);
        for (std::size_t i = 0; r < picture.size() && i < options[r].size() && found < 2; ++i) {
            cells.resize(r * picture[0].size());
            cells.insert(cells.end(), options[r][i].begin(), options[r][i].end());
            walk(r + 1);
        }
    };
    walk(0);
    return found;
}

// Random pictures through both solvers. The rating solver, now and then
// started from a few cells set (right or wrong), must run exactly as with
// the enumeration for its line step; the complete solver must count as a
// brute force does on the small ones; and the two must not disagree.
TEST(Solvers, AgreeWithTheirReferencesAndEachOtherOnRandomPictures)
{
    std::mt19937 rng(7);
    std::map<std::string, int> seen;
    for (int round = 0; round < 800; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string inks = round % 2 ? "159" : "#";
        const bool small = round % 8 < 2;
        const int w = 2 + int(rng() % (small ? 4 : 11)), h = 2 + int(rng() % (small ? 4 : 11));
        const Rows rows = randomPicture(rng, w, h, small ? 50 : 20 + rng() % 60, inks);
        GridModel mine, enumerated;
        for (GridModel* grid : {&mine, &enumerated})
            grid->SetDataSource(testgrids::crossword(rows));
        const bool preset = round % 3 == 0;
        for (int i = 0; preset && i < 3; ++i) {
            const int c = int(rng() % unsigned(w)), r = int(rng() % unsigned(h));
            const CellState s = rng() % 2 ? DefYes : DefNo;
            const int index = testgrids::indexOf(inks[rng() % inks.size()]);
            for (GridModel* grid : {&mine, &enumerated})
                grid->restoreCell(c, r, s, index);
        }
        EnumerationOracle oracle;
        const SolveReport want = solveGrid(enumerated, {}, &oracle);
        const SolveReport got = solveGrid(mine);
        ASSERT_TRUE(std::tie(got.result, got.tries, got.placements, got.decided, got.undecided, got.text)
                    == std::tie(want.result, want.tries, want.placements, want.decided, want.undecided, want.text))
            << got.text << "\n" << want.text;
        const Rows field = testgrids::cellsOf(mine);
        ASSERT_EQ(field, testgrids::cellsOf(enumerated));
        const bool guessed = got.tries > 1;
        ++seen[std::string(Solver::resultName(got.result)) + (guessed ? " after guesses" : "")];
        // A failed blank guess proves no crossword unsolvable, and the
        // report must not say so.
        const std::string guess = "The blank guess at column " + std::to_string(got.guessColumn + 1) + ", row "
                                  + std::to_string(got.guessRow + 1) + " led to a contradiction";
        EXPECT_TRUE(got.result != SolveResult::Contradiction || !guessed || got.text.rfind(guess, 0) == 0)
            << got.text;
        const auto picture = indices(rows);
        Clues clues;
        ASSERT_TRUE(Clues::fromRows(picture, clues));
        const SolveCount count = CompleteSolver(clues).solve();
        ASSERT_TRUE(fits(count.first, clues));
        if (count.solutions == 2) {
            ASSERT_TRUE(fits(count.second, clues));
            ASSERT_NE(count.first, count.second);
        }
        if (small) {
            ASSERT_EQ(count.solutions, bruteForce(picture, {clues.palette.begin(), clues.palette.end()}, clues));
            ++seen[count.solutions == 1 ? "unique" : "several"];
        }
        // Line logic alone never settles a crossword that has two solutions.
        ASSERT_TRUE(count.solutions == 1 || !count.lineSolvable);
        if (preset)
            continue;
        // From an empty field the rating solver never finds the clues of a
        // picture contradictory and decides by lines no more than the
        // complete solver does. What it calls solved fits the clues, also
        // in colour, where its line step lets some wrong fills through.
        ASSERT_FALSE(got.result == SolveResult::Contradiction && !guessed);
        ASSERT_TRUE(got.result != SolveResult::Solved || guessed || count.lineSolvable);
        if (got.result == SolveResult::Solved) {
            std::vector<std::uint8_t> cells;
            for (char ch : std::accumulate(field.begin(), field.end(), std::string()))
                cells.push_back(std::uint8_t(ch == 'x' ? 0 : testgrids::indexOf(ch)));
            ASSERT_TRUE(fits(cells, clues));
            ASSERT_TRUE(count.solutions > 1 || cells == count.first);
        }
    }
    for (const char* kind : {"solved", "solved after guesses", "contradiction", "contradiction after guesses",
                             "unique", "several"})
        EXPECT_GT(seen[kind], 20) << kind;
}

TEST(CompleteSolver, ClueSetsThatNoPictureFitsHaveNoSolution)
{
    Clues base;
    ASSERT_TRUE(Clues::fromRows({{3, 0}, {0, 0}}, base));
    struct Case {
        const char* name;
        std::function<void(Clues&)> damage;
    } cases[] = {
        {"row wants a cell its column forbids", [](Clues& c) { c.columns[0].clear(); }},
        {"more blocks than cells", [](Clues& c) { c.rows[1] = {{1, 1}, {1, 1}, {1, 1}}; }},
        {"block longer than the line", [](Clues& c) { c.rows[0] = {{1, 3}}; }},
        {"block of no length", [](Clues& c) { c.rows[1] = {{1, 0}}; }},
        {"colour the crossword lacks", [](Clues& c) { c.rows[1] = {{2, 1}}; }},
        {"a row too few", [](Clues& c) { c.rows.pop_back(); }},
        {"wider than the solver handles", [](Clues& c) { c.width = 129; }},
    };
    for (const auto& c : cases) {
        Clues clues = base;
        c.damage(clues);
        const SolveCount r = CompleteSolver(clues).solve();
        EXPECT_EQ(r.solutions, 0) << c.name;
        EXPECT_FALSE(r.stopped) << c.name;
        EXPECT_TRUE(r.first.empty()) << c.name;
    }
}

TEST(CompleteSolver, LargestCrosswordWithEveryColourSolves)
{
    std::mt19937 random(128);
    Clues clues;
    ASSERT_TRUE(Clues::fromRows(indices(randomPicture(random, 128, 128, 90, "123456789abcdefghi")), clues));
    ASSERT_EQ(clues.colours(), 18);
    const SolveCount r = CompleteSolver(clues).solve({60, 0});
    ASSERT_GE(r.solutions, 1);
    EXPECT_TRUE(fits(r.first, clues));
}

TEST(CompleteSolver, LimitStopsTheSearchAndSaysSo)
{
    // Every row and column holds one cell: 12! pictures, and no single
    // probe completes one, so the search has to branch.
    Clues clues;
    ASSERT_TRUE(Clues::fromRows(indices(diagonal(12)), clues));
    const std::atomic<bool> raised{true};
    for (const SolveLimits& limit : {SolveLimits{0, 1}, SolveLimits{1e-9, 0}, SolveLimits{.stop = &raised}}) {
        const SolveCount r = CompleteSolver(clues).solve(limit);
        EXPECT_TRUE(r.stopped) << limit.seconds;
        EXPECT_LT(r.solutions, 2) << limit.seconds;
        EXPECT_TRUE(r.solutions == 0 || fits(r.first, clues)) << limit.seconds;
    }
    const SolveCount all = CompleteSolver(clues).solve();
    EXPECT_FALSE(all.stopped);
    EXPECT_EQ(all.solutions, 2);
}

} // namespace
