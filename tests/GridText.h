#pragma once

// The player's cells of a grid model as ASCII rows, to compare with the
// pictures tests are written in: '.' Empty, 'x' DefNo, '+' Mark, and for a
// fill its palette index as in TestGrids.h ('#' for 3).

#include "grid/GridModel.h"

#include <string>
#include <vector>

namespace testgrids {

inline char fillChar(int index)
{
    return index == 3 ? '#' : index < 10 ? char('0' + index) : char('a' + index - 10);
}

inline std::vector<std::string> cellsOf(const GridModel& model)
{
    std::vector<std::string> rows;
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

using Rows = std::vector<std::string>;

} // namespace testgrids
