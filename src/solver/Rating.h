#pragma once

struct SolveReport;
class CrossData;

// Level rule for packs: the automatic solver's own effort, never the clock,
// so that a rebuild always gives the same digits.
//   3  the solver had to guess (more than one try) or got stuck, or lines
//      alone took at least 1000 placements per cell
//   2  lines only, at least 4.0 placements per cell
//   1  lines only, at least 1.5 placements per cell
//   0  lines only, less work than that
int rateLevel(const CrossData& data, SolveReport& report);
int rateLevel(const CrossData& data);

// A colour crossword: some filled cell is not the dark grey of
// black-and-white ones. Gives the colour flag of member names.
bool isColourCrossword(const CrossData& data);
