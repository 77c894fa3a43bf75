#pragma once

#include <cstdint>
#include <string>

class Localization;
class TPackModelDir;
class TPackModelFile;

// The tool tips of the crossword tree, 8-bit in the current code page, from
// the given language table or, without one, the English defaults. The
// formats come from language files, so they are filled safely: a directive
// that does not match its value leaves the format as it is.
namespace treehint {

// " Category: <name>", a rule, then its solved, edited and total counts.
std::string category(const TPackModelDir& dir, const Localization* table);
// " Crossword # <name> (<solved|edited|>)", a rule, its type and level, and
// for a solved or edited crossword with a time on the clock a line " Time -
// m:ss": `seconds` is what the profile holds for it (the running clock for the
// open one), so the hint never reads a file.
std::string crossword(const TPackModelFile& file, const Localization* table, std::uint32_t seconds);

} // namespace treehint
