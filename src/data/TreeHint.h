#pragma once

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
// " Crossword # <name> (<solved|edited|>)", a rule, its type and level.
std::string crossword(const TPackModelFile& file, const Localization* table);

} // namespace treehint
