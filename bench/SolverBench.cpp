// The rating solver's hot paths: one line with many blocks and whole
// crosswords, each with the solver's own line step ("programme") beside the
// plain enumeration of every placement it replaced ("enumeration"), on the
// same inputs in one run.
#include "EnumerationOracle.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
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

// Arguments start with the line step: 0 the enumeration, 1 the programme.
void useEngine(Solver& solver, const benchmark::State& state, EnumerationOracle& oracle)
{
    if (state.range(0) == 0)
        solver.setLineEngine(oracle);
}

// One row of 100 cells with `blocks` blocks of `length`, eleven cells of
// slack left over: the enumeration visits every placement, so its time grows
// with the slack and the block count; the programme's with their product.
void BM_SolveLineManyBlocks(benchmark::State& state)
{
    const int blocks = int(state.range(1));
    const int length = int(state.range(2));
    const bool colour = state.range(3) != 0;
    std::vector<int> picture(100, 0);
    for (int b = 0; b < blocks; ++b) {
        const int v = colour ? 1 + b % 3 * 4 : 1;
        for (int i = 0; i < length; ++i)
            picture[std::size_t(b * (length + 1) + i)] = v;
    }
    PictureField field(100, 1, picture);
    Solver solver(field);
    EnumerationOracle oracle;
    useEngine(solver, state, oracle);
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
    ->ArgNames({"programme", "blocks", "length", "colour"})
    ->ArgsProduct({{0, 1}, {10}, {8}, {0}})
    ->ArgsProduct({{0, 1}, {15}, {5}, {0}})
    ->ArgsProduct({{0, 1}, {10}, {9}, {1}})
    ->Unit(benchmark::kMicrosecond);

// Whole crosswords from a cleared field: dense random pictures (which line
// solving mostly finishes, with a few guesses), in black and in three
// colours, at the sizes packs use and larger. The enumeration is left out at
// 100 x 100: it runs for minutes there.
void BM_SolveCrossword(benchmark::State& state)
{
    const int w = int(state.range(1)), h = int(state.range(2));
    const bool colour = state.range(3) != 0;
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
    EnumerationOracle oracle;
    for (auto _ : state) {
        field.clear();
        Solver solver(field);
        useEngine(solver, state, oracle);
        report = solver.Solve();
        benchmark::DoNotOptimize(report.tries);
    }
    state.counters["tries"] = report.tries;
    state.counters["placements"] = double(report.placements);
    state.counters["undecided"] = report.undecided;
    state.SetLabel(Solver::resultName(report.result));
}
BENCHMARK(BM_SolveCrossword)
    ->ArgNames({"programme", "w", "h", "colour"})
    ->ArgsProduct({{0, 1}, {30}, {30}, {0}})
    ->ArgsProduct({{0, 1}, {40}, {30}, {1}})
    ->ArgsProduct({{0, 1}, {60}, {60}, {0}})
    ->ArgsProduct({{1}, {100}, {100}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The crosswords of the packs in a folder, or of one pack.
std::vector<std::pair<std::string, CrossData>> readPacks(const std::string& path)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> packs;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        for (const auto& entry : fs::directory_iterator(path, ec))
            if (entry.path().extension() == ".qlp")
                packs.push_back(entry.path());
    } else {
        packs.emplace_back(path);
    }
    std::sort(packs.begin(), packs.end());
    std::vector<std::pair<std::string, CrossData>> crosswords;
    for (const fs::path& p : packs) {
        std::vector<std::string> members;
        zipio::listMembers(p.string(), [&](const std::string& m) { members.push_back(m); });
        pack::setDataFolder(p.has_parent_path() ? p.parent_path().string() : std::string("."));
        for (const auto& member : members) {
            MemberInfo info;
            if (!decodeMember(p.filename().string(), member, info))
                continue;
            CrossData data;
            try {
                pack::loadFromPack(data, info.id);
            } catch (...) {
                continue;
            }
            crosswords.emplace_back(info.id, std::move(data));
        }
    }
    return crosswords;
}

SolveReport rate(const CrossData& data, bool programme, GridModel& grid)
{
    EnumerationOracle oracle;
    grid.SetDataSource(data);
    grid.Clear();
    GridSolveTarget target(grid);
    Solver solver(target);
    if (!programme)
        solver.setLineEngine(oracle);
    return solver.Solve();
}

// Every crossword of the shipped packs, rated one after another as the
// pack builder does.
void BM_SolveShippedPacks(benchmark::State& state)
{
    static const auto crosswords = readPacks(std::string(TESSELLOR_SOURCE_DIR) + "/data");
    if (crosswords.empty()) {
        state.SkipWithError("no shipped packs");
        return;
    }
    GridModel grid;
    std::int64_t placements = 0;
    for (auto _ : state) {
        placements = 0;
        for (const auto& [id, data] : crosswords)
            placements += rate(data, state.range(0) != 0, grid).placements;
    }
    state.counters["crosswords"] = double(crosswords.size());
    state.counters["placements"] = double(placements);
}
BENCHMARK(BM_SolveShippedPacks)->ArgName("programme")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Crosswords that are not shipped, one benchmark each: the packs (or
// folders of packs) named by TESSELLOR_BENCH_PACKS, separated by ':'. The
// enumeration is left out where it would try more than 2 x 10^9 placements.
void registerExtraPacks()
{
    const char* list = std::getenv("TESSELLOR_BENCH_PACKS");
    std::string rest = list ? list : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string path = rest.substr(0, colon);
        rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
        for (const auto& [id, data] : readPacks(path)) {
            GridModel grid;
            const std::int64_t placements = rate(data, true, grid).placements;
            for (const bool programme : {false, true}) {
                if (!programme && placements > 2'000'000'000)
                    continue;
                const std::string name =
                    "BM_Rate/" + id + "/" + std::to_string(data.width) + "x" + std::to_string(data.height)
                    + (programme ? "/programme" : "/enumeration");
                benchmark::RegisterBenchmark(name.c_str(),
                                             [data = data, programme](benchmark::State& state) {
                                                 GridModel g;
                                                 SolveReport report;
                                                 for (auto _ : state)
                                                     report = rate(data, programme, g);
                                                 state.counters["tries"] = report.tries;
                                                 state.counters["placements"] = double(report.placements);
                                                 state.SetLabel(Solver::resultName(report.result));
                                             })
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    registerExtraPacks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
