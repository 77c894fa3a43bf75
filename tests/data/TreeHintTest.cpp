#include "data/PackModel.h"
#include "data/TreeHint.h"

#include <gtest/gtest.h>

namespace {

const std::string kRule(11, '\x97');

// The hints in the game's own words (a language file's formats reach them
// through the same safe filling, checked with the main window's tree).
TEST(TreeHint, CrosswordStateTypeAndLevelAndCategoryCounts)
{
    struct Case { const char* name; int level; bool colour, edited, solved; std::uint32_t seconds; std::string want; };
    const std::string head = "\n" + kRule + "\n Crossword type - ";
    const Case cases[] = {
        {"Owl_1", 3, true, true, true, 201, " Crossword # Owl_1 (solved)" + head + "Color\n Difficulty level - Very difficult\n Time - 3:21"},
        {"Elk_1", 0, true, true, false, 45, " Crossword # Elk_1 (edited)" + head + "Color\n Difficulty level - Easy\n Time - 0:45"},
        {"Yak_1", 1, false, true, true, 3723, " Crossword # Yak_1 (solved)" + head + "Black&White\n Difficulty level - Medium\n Time - 1:02:03"},
        // Solved before the game kept times: no time rather than "0:00".
        {"Emu_1", 1, false, true, true, 0, " Crossword # Emu_1 (solved)" + head + "Black&White\n Difficulty level - Medium"},
        // Untouched: no time, whatever the profile holds. A level
        // outside 0..3 has no name.
        {"Ant_0", TPackModelFile::kNoLevel, false, false, false, 30, " Crossword # Ant_0 ()" + head + "Black&White\n Difficulty level - "},
    };
    for (const Case& c : cases) {
        TPackModelFile f;
        f.name = c.name;
        f.level = std::uint8_t(c.level);
        f.isColor = c.colour;
        f.edited = c.edited;
        f.solved = c.solved;
        EXPECT_EQ(treehint::crossword(f, nullptr, c.seconds), c.want) << c.name;
    }

    TPackModelDir zoo("Zoo");
    zoo.solvedCount = 1;
    zoo.editedCount = 2;
    zoo.totalCount = 7;
    EXPECT_EQ(treehint::category(zoo, nullptr), " Category: Zoo\n" + kRule + "\n Solved - 1\n Edited - 2\n Total - 7");
}

} // namespace
