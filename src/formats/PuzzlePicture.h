#pragma once

#include "formats/Puzzle.h"

#include <string>
#include <vector>

class CrossData;

// Between puzzles in the community formats and crossword records.
namespace puzzlepicture {

// A crossword as a puzzle with its picture as goal. Black-and-white
// crosswords (only the dark grey) come out in black; colour ones in the
// palette's own colours, named and lettered as the text grids letter them.
Puzzle fromCrossword(const CrossData& data, const std::string& title);

// A solution in the puzzle's colour numbers ([y * width + x]) as a crossword
// record, each colour through `entries` (entries[c - 1] for colour c).
void toCrossword(const Puzzle& puzzle, const std::vector<std::uint8_t>& solution, const std::vector<int>& entries,
                 CrossData& out);

} // namespace puzzlepicture
