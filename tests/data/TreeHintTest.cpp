#include "data/PackModel.h"
#include "data/TreeHint.h"

#include <gtest/gtest.h>

namespace {

const std::string kRule(11, '\x97');

// The hints in the game's own words (a language file's formats reach them
// through the same safe filling, checked with the main window's tree).
TEST(TreeHint, CrosswordStateTypeAndLevelAndCategoryCounts)
{
    struct Case { const char* name; int level; bool colour, edited, solved; std::string want; };
    const Case cases[] = {
        {"Owl_1", 3, true, true, true, " Crossword # Owl_1 (solved)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Very difficult"},
        {"Elk_1", 0, true, true, false, " Crossword # Elk_1 (edited)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Easy"},
        // A level outside 0..3 has no name.
        {"Ant_0", TPackModelFile::kNoLevel, false, false, false, " Crossword # Ant_0 ()\n" + kRule + "\n Crossword type - Black&White\n Difficulty level - "},
    };
    for (const Case& c : cases) {
        TPackModelFile f;
        f.name = c.name;
        f.level = std::uint8_t(c.level);
        f.isColor = c.colour;
        f.edited = c.edited;
        f.solved = c.solved;
        EXPECT_EQ(treehint::crossword(f, nullptr), c.want) << c.name;
    }

    TPackModelDir zoo("Zoo");
    zoo.solvedCount = 1;
    zoo.editedCount = 2;
    zoo.totalCount = 7;
    EXPECT_EQ(treehint::category(zoo, nullptr), " Category: Zoo\n" + kRule + "\n Solved - 1\n Edited - 2\n Total - 7");
}

} // namespace
