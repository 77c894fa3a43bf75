#include "grid/PlayerAids.h"

#include "grid/GridModel.h"

namespace playeraids {

namespace {

// What a cell shows as part of the picture: its palette index when it is
// filled, else 0.
int shownFill(const GridModel& grid, int c, int r)
{
    return grid.cellState(c, r) == DefYes ? grid.cellColourIndex(c, r) : 0;
}

// The runs of a line as (colour, length), background left out. Cells of
// one colour side by side make one run; another colour starts a new one.
std::vector<std::pair<int, int>> runs(const std::vector<int>& line)
{
    std::vector<std::pair<int, int>> out;
    int previous = 0;
    for (int v : line) {
        if (v != 0) {
            if (v == previous)
                ++out.back().second;
            else
                out.emplace_back(v, 1);
        }
        previous = v;
    }
    return out;
}

} // namespace

Cells mistakes(const GridModel& grid)
{
    Cells out;
    if (!grid.hasCrossword())
        return out;
    for (int c = 0; c < grid.width(); ++c)
        for (int r = 0; r < grid.height(); ++r) {
            const int want = grid.solution(c, r);
            const int fill = shownFill(grid, c, r);
            const bool wrong = (fill != 0 && fill != want) || (want != 0 && grid.cellState(c, r) == DefNo);
            if (wrong)
                out.emplace_back(c, r);
        }
    return out;
}

Cells cellsToCross(const GridModel& grid, bool row, int index)
{
    Cells out;
    if (!grid.hasCrossword())
        return out;
    const int length = row ? grid.width() : grid.height();
    if (index < 0 || index >= (row ? grid.height() : grid.width()))
        return out;
    std::vector<int> player(static_cast<std::size_t>(length)), picture(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const int c = row ? i : index, r = row ? index : i;
        player[std::size_t(i)] = shownFill(grid, c, r);
        picture[std::size_t(i)] = grid.solution(c, r);
    }
    if (runs(player) != runs(picture))
        return out;
    for (int i = 0; i < length; ++i) {
        const int c = row ? i : index, r = row ? index : i;
        if (grid.cellState(c, r) == Empty)
            out.emplace_back(c, r);
    }
    return out;
}

} // namespace playeraids
