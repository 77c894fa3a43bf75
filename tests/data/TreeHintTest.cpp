#include "data/PackModel.h"
#include "data/TreeHint.h"

#include <gtest/gtest.h>

namespace {

const std::string kRule(11, '\x97');

TPackModelFile file(const std::string& name, int level, bool colour, bool edited, bool solved)
{
    TPackModelFile f;
    f.name = name;
    f.level = std::uint8_t(level);
    f.isColor = colour;
    f.edited = edited;
    f.solved = solved;
    return f;
}

// The hints in the game's own words (a language file's formats reach them
// through the same safe filling, checked with the main window's tree).
TEST(TreeHint, CrosswordStateTypeAndLevelAndCategoryCounts)
{
    struct Case { TPackModelFile file; std::string want; };
    const Case cases[] = {
        {file("Owl_1", 3, true, true, true), " Crossword # Owl_1 (solved)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Very difficult"},
        {file("Elk_1", 0, true, true, false), " Crossword # Elk_1 (edited)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Easy"},
        // A level outside 0..3 has no name.
        {file("Ant_0", TPackModelFile::kNoLevel, false, false, false), " Crossword # Ant_0 ()\n" + kRule + "\n Crossword type - Black&White\n Difficulty level - "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(treehint::crossword(c.file, nullptr), c.want) << c.file.name;

    TPackModelDir zoo("Zoo");
    zoo.solvedCount = 1;
    zoo.editedCount = 2;
    zoo.totalCount = 7;
    EXPECT_EQ(treehint::category(zoo, nullptr), " Category: Zoo\n" + kRule + "\n Solved - 1\n Edited - 2\n Total - 7");
}

} // namespace
