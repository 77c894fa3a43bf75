// The automatic solver's hot paths: one line with many blocks (the
// enumeration is exponential in the blocks) and whole crosswords.
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A field built from a picture of palette indices (0 blank), its clues
// derived the way the game derives them: runs of one colour, outer slots
// blank when a line has fewer blocks than the most any line has.
class PictureField : public SolveTarget {
public:
    PictureField(int width, int height, std::vector<int> picture)
        : width_(width), height_(height), picture_(std::move(picture)),
          states_(std::size_t(width) * height, Empty), colours_(std::size_t(width) * height, kWhite)
    {
        for (int r = 0; r < height_; ++r)
            rows_.push_back(runs(false, r));
        for (int c = 0; c < width_; ++c)
            columns_.push_back(runs(true, c));
        for (auto& l : rows_)
            rowSlots_ = std::max(rowSlots_, int(l.size()));
        for (auto& l : columns_)
            columnSlots_ = std::max(columnSlots_, int(l.size()));
    }
    int width() const override { return width_; }
    int height() const override { return height_; }
    int rowSlots() const override { return rowSlots_; }
    int columnSlots() const override { return columnSlots_; }
    std::pair<int, int> clue(bool column, int line, int slot) const override
    {
        const auto& runs = column ? columns_[std::size_t(line)] : rows_[std::size_t(line)];
        const int slots = column ? columnSlots_ : rowSlots_;
        const int k = slot - (slots - int(runs.size()));
        return k < 0 ? std::pair<int, int>{0, 0} : runs[std::size_t(k)];
    }
    CellState state(int c, int r) const override { return states_[index(c, r)]; }
    RGB colour(int c, int r) const override { return colours_[index(c, r)]; }
    void set(int c, int r, CellState s, RGB colour) override
    {
        states_[index(c, r)] = s;
        colours_[index(c, r)] = colour;
    }
    void clear()
    {
        std::fill(states_.begin(), states_.end(), Empty);
        std::fill(colours_.begin(), colours_.end(), kWhite);
    }

private:
    std::size_t index(int c, int r) const { return std::size_t(c) * height_ + r; }
    std::vector<std::pair<int, int>> runs(bool column, int line) const
    {
        std::vector<std::pair<int, int>> out;
        const int len = column ? height_ : width_;
        int prev = 0;
        for (int i = 0; i < len; ++i) {
            const int v = column ? picture_[std::size_t(i) * width_ + line] : picture_[std::size_t(line) * width_ + i];
            if (v != 0 && v == prev)
                ++out.back().second;
            else if (v != 0)
                out.push_back({v, 1});
            prev = v;
        }
        return out;
    }

    int width_, height_;
    std::vector<int> picture_;
    std::vector<std::vector<std::pair<int, int>>> rows_, columns_;
    int rowSlots_ = 0, columnSlots_ = 0;
    std::vector<CellState> states_;
    std::vector<RGB> colours_;
};

// One row of 100 cells with `blocks` blocks of `length`, eleven cells of
// slack left over: every placement of the blocks is enumerated, so the count
// grows with the slack and the block count, which the threshold keeps away
// from the first passes.
void BM_SolveLineManyBlocks(benchmark::State& state)
{
    const int blocks = int(state.range(0));
    const int length = int(state.range(1));
    const bool colour = state.range(2) != 0;
    std::vector<int> picture(100, 0);
    for (int b = 0; b < blocks; ++b) {
        const int v = colour ? 1 + b % 3 * 4 : 1;
        for (int i = 0; i < length; ++i)
            picture[std::size_t(b * (length + 1) + i)] = v;
    }
    PictureField field(100, 1, picture);
    Solver solver(field);
    std::int64_t placements = 0;
    for (auto _ : state) {
        field.clear();
        solver.prepare();
        benchmark::DoNotOptimize(solver.SolveLine(false, 0, 5));
        placements = solver.placements();
    }
    state.counters["placements"] = double(placements);
    state.counters["placements/s"] =
        benchmark::Counter(double(placements) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolveLineManyBlocks)
    ->Args({10, 8, 0})
    ->Args({15, 5, 0})
    ->Args({10, 9, 1})
    ->Unit(benchmark::kMillisecond);

// Whole crosswords from a cleared field: dense random pictures (which line
// solving mostly finishes, with a few guesses), in black and in three
// colours, at the sizes packs use and larger. (Dense 100 x 100 pictures run for
// minutes: their lines have too many placements to enumerate.)
void BM_SolveCrossword(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const bool colour = state.range(2) != 0;
    std::mt19937 rng(std::uint32_t(w * 1000 + h));
    std::vector<int> picture(std::size_t(w) * h, 0);
    // Colour comes in bands of ten rows, so a row keeps one colour and its
    // blocks need gaps, as in most drawn colour pictures.
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            if (rng() % 100 < 65)
                picture[std::size_t(r) * w + c] = colour ? 1 + (r / 10 % 3) * 4 : 1;
    PictureField field(w, h, picture);
    SolveReport report;
    for (auto _ : state) {
        field.clear();
        Solver solver(field);
        report = solver.Solve();
        benchmark::DoNotOptimize(report.tries);
    }
    state.counters["tries"] = report.tries;
    state.counters["placements"] = double(report.placements);
    state.counters["undecided"] = report.undecided;
    state.SetLabel(Solver::resultName(report.result));
}
BENCHMARK(BM_SolveCrossword)
    ->Args({30, 30, 0})
    ->Args({40, 30, 1})
    ->Args({60, 60, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
