#pragma once

// The player's cells of a grid model as ASCII rows, to compare with the
// pictures tests are written in and to restore progress from: '.' Empty,
// 'x' DefNo, '+' Mark, and for a fill its palette index as in TestGrids.h
// ('#' for 3, 'w' for a fill in white).

#include "TestGrids.h"
#include "grid/GridModel.h"

#include <string>
#include <vector>

namespace testgrids {

using Rows = std::vector<std::string>;

inline char fillChar(int index)
{
    return index == 0 ? 'w' : index == 3 ? '#' : index < 10 ? char('0' + index) : char('a' + index - 10);
}

inline Rows cellsOf(const GridModel& model)
{
    Rows rows;
    for (int r = 0; r < model.height(); ++r) {
        std::string row;
        for (int c = 0; c < model.width(); ++c)
            switch (model.cellState(c, r)) {
            case Empty: row += '.'; break;
            case DefNo: row += 'x'; break;
            case Mark: row += '+'; break;
            case DefYes: row += fillChar(model.cellColourIndex(c, r)); break;
            }
        rows.push_back(row);
    }
    return rows;
}

// Sets every cell as saved progress would (a Mark over white).
inline void setCells(GridModel& model, const Rows& rows)
{
    for (int r = 0; r < model.height(); ++r)
        for (int c = 0; c < model.width(); ++c) {
            const char ch = rows[std::size_t(r)][std::size_t(c)];
            const CellState s = ch == '.' ? Empty : ch == 'x' ? DefNo : ch == '+' ? Mark : DefYes;
            model.restoreCell(c, r, s, s == DefYes && ch != 'w' ? indexOf(ch) : 0);
        }
}

} // namespace testgrids
