#pragma once

#include <utility>
#include <vector>

// The cells of a straight line from (x0, y0) to (x1, y1), as (column, row).
// The longer axis steps one cell at a time; the other follows a
// double-precision slope, truncated toward zero.
void lineCells(int x0, int y0, int x1, int y1, std::vector<std::pair<int, int>>& out);

// Every cell of the filled rectangle with the given corners, column by column.
void rectCells(int x0, int y0, int x1, int y1, std::vector<std::pair<int, int>>& out);
