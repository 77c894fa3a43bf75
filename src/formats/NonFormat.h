#pragma once

#include "formats/Puzzle.h"

#include <string>
#include <string_view>

// The .non text format: "key value" lines (width, height, title, ...), then
// "rows" and "columns" each followed by one clue line per line of the
// crossword ("3,1,2"; "0" or nothing for an empty line), and an optional
// "goal" picture of 0s and 1s. Black-and-white only.
namespace nonformat {

// Reads one puzzle; on failure returns false and says why in `error`
// ("line 12: ..."). Whatever it accepts has passed Puzzle::check.
bool read(std::string_view text, Puzzle& out, std::string& error);

// The text of a black-and-white puzzle, its goal written when it has one.
std::string write(const Puzzle& puzzle);

} // namespace nonformat
