#pragma once

#include "data/Color.h"

#include <string>
#include <vector>

// Puzzle colours to palette entries 1..18: each to the nearest entry it can
// have, never two to one entry. Black stands for the dark grey (3) that
// black-and-white crosswords use, so they import as black-and-white.
// Returns false with `error` when there are more colours than entries.
bool mapColours(const std::vector<RGB>& colours, std::vector<int>& entries, std::string& error);
