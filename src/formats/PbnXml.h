#pragma once

#include "formats/Puzzle.h"

#include <string>
#include <string_view>
#include <vector>

// Puzzle sets in the XML format of the big puzzle site: <puzzleset> with one
// or more <puzzle type="grid">, each with <color name char>RGB</color>
// entries (black and white are there unless redefined), <clues type="rows">
// and <clues type="columns"> of <line><count color="...">N</count></line>,
// and optionally <solution type="goal"><image>|X..|...</image></solution>.
namespace pbnxml {

struct Entry {
    Puzzle puzzle;
    std::string name;  // the title, else the id, else "puzzle N"
    std::string error; // why this puzzle cannot be used; empty when it can
};

constexpr std::size_t kMaxPuzzles = 10000;

// Reads every puzzle of a set. A fault of the document as a whole (not XML,
// no puzzle) returns false with `error`; a fault of one puzzle is that
// entry's error, and the others are still read.
bool read(std::string_view text, std::vector<Entry>& out, std::string& error);

// A set holding the given puzzles, each with its goal when it has one.
std::string write(const std::vector<Puzzle>& puzzles);

} // namespace pbnxml
