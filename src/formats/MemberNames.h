#pragma once

#include <set>
#include <string>
#include <string_view>

// Titles become the names of pack members, and so parts of crossword ids,
// file names on every system and captions in the tree: letters, digits,
// spaces, '-' and '_' of plain ASCII stay, runs of anything else become one
// '_', and the name is at most 48 characters. An empty result is "Puzzle".
std::string safeMemberName(std::string_view title);

// `name`, or "name 2", "name 3", ... the first that is not in `taken`
// (compared without letter case, as some file systems do); adds it.
std::string uniqueMemberName(const std::string& name, std::set<std::string>& taken);
