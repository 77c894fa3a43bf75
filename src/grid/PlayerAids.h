#pragma once

#include <utility>
#include <vector>

class GridModel;

// Help a player may ask for, worked out from the picture and the player's
// cells without changing either.
namespace playeraids {

using Cells = std::vector<std::pair<int, int>>; // (column, row)

// Every cell that contradicts the picture, column by column: filled where
// the picture is background, filled in another colour, or crossed out where
// the picture is filled. Empty and marked cells are never wrong, nor is a
// fill in white, which the solved check takes as background too.
Cells mistakes(const GridModel& grid);

// The empty cells of a line whose filled cells already match its clue (the
// same runs in the same colours and order), which the player may have
// crossed for them; none when the line does not match yet. A line is row
// `index` when `row` is set, else column `index`.
Cells cellsToCross(const GridModel& grid, bool row, int index);

} // namespace playeraids
