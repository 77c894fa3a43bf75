// Time to paint a large crossword: the whole control at two zooms and a
// screen-sized exposed region at the largest zoom.
#include "grid/GridLayout.h"
#include "grid/GridModel.h"
#include "grid/GridPointer.h"
#include "widgets/GridPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// 128 x 128 with 40 clue slots each way: a lattice of 3 x 3 tiles over the
// first 120 rows and columns, each tile an L of one colour, so every lattice
// line holds 40 blocks.
CrossData bigCrossword()
{
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 3, 'b', 'i', 'g', 0, 128, 0, 128};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool block = x < 120 && y < 120
                               && ((y % 3 == 0 && x % 3 != 2) || (x % 3 == 0 && y % 3 != 2));
            bytes.push_back(block ? std::uint8_t(1 + (x / 3 + y / 3) % 17) : 0);
        }
    CrossData data;
    data.readBytes(bytes.data(), bytes.size());
    return data;
}

struct Fixture {
    explicit Fixture(int size)
    {
        model.SetDataSource(bigCrossword());
        model.ShowSolution();
        layout.setShape(model.width(), model.height(), model.rowClueCount(), model.colClueCount());
        layout.setCellSize(size);
        pointer.reset();
    }
    GridModel model;
    GridLayout layout;
    GridPointer pointer{model, layout};
};

void paintArea(benchmark::State& state, int size, QRect area)
{
    Fixture f(size);
    if (area.isNull())
        area = QRect(0, 0, f.layout.controlWidth(), f.layout.controlHeight());
    QImage target(area.size(), QImage::Format_RGB32);
    GridPainter painter(f.model, f.layout, f.pointer);
    for (auto _ : state) {
        QPainter p(&target);
        p.setClipRect(area.translated(-area.topLeft()));
        p.translate(-area.topLeft());
        painter.paint(p, area);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["row_slots"] = f.model.rowClueCount();
    state.counters["column_slots"] = f.model.colClueCount();
    state.counters["pixels"] = double(area.width()) * area.height();
}

void BM_PaintWholeControl15(benchmark::State& state) { paintArea(state, 15, {}); }
void BM_PaintWholeControl30(benchmark::State& state) { paintArea(state, 30, {}); }
// A full-HD window scrolled so that it shows clues of both kinds and cells.
void BM_PaintExposed1920x1080At30(benchmark::State& state) { paintArea(state, 30, QRect(600, 600, 1920, 1080)); }

BENCHMARK(BM_PaintWholeControl15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWholeControl30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintExposed1920x1080At30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
