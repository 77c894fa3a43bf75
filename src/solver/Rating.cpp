#include "solver/Rating.h"

#include "data/Color.h"
#include "data/CrossData.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

namespace {
constexpr double kLevel1Work = 1.5;
constexpr double kLevel2Work = 4.0;
constexpr double kLevel3Work = 1000.0;
} // namespace

// A unique crossword on which the rating solver guesses or gets stuck (its
// colour logic is not exact) is hard.
int rateLevel(const CrossData& data, SolveReport& report)
{
    GridModel grid;
    report = solveFromScratch(grid, data);
    if (report.result != SolveResult::Solved || report.tries > 1)
        return 3;
    const double work = double(report.placements) / (double(data.width) * data.height);
    return work >= kLevel3Work ? 3 : work >= kLevel2Work ? 2 : work >= kLevel1Work ? 1 : 0;
}

int rateLevel(const CrossData& data)
{
    SolveReport report;
    return rateLevel(data, report);
}

bool isColourCrossword(const CrossData& d)
{
    for (int x = 0; x < d.width; ++x)
        for (int y = 0; y < d.height; ++y)
            if (d.value(x, y) > 0 && d.value(x, y) != kDefaultDrawIndex) return true;
    return false;
}
