#include "config/Localization.h"
#include "data/PackModel.h"
#include "data/TreeHint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST(TreeHint, CrosswordNamesStateTypeAndLevel)
{
    struct Case { TPackModelFile file; std::string want; };
    const Case cases[] = {
        {file("Cat_0", 1, false, false, false), " Crossword # Cat_0 ()\n" + kRule + "\n Crossword type - Black&White\n Difficulty level - Medium"},
        {file("Owl_1", 3, true, true, true), " Crossword # Owl_1 (solved)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Very difficult"},
        {file("Elk_1", 0, true, true, false), " Crossword # Elk_1 (edited)\n" + kRule + "\n Crossword type - Color\n Difficulty level - Easy"},
        // A level outside 0..3 has no name.
        {file("Ant_0", TPackModelFile::kNoLevel, false, false, false), " Crossword # Ant_0 ()\n" + kRule + "\n Crossword type - Black&White\n Difficulty level - "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(treehint::crossword(c.file, nullptr), c.want) << c.file.name;
}

TEST(TreeHint, CategoryCountsAndFormatsFromTheLanguageAreFilledSafely)
{
    TPackModelDir zoo("Zoo");
    zoo.solvedCount = 1;
    zoo.editedCount = 2;
    zoo.totalCount = 7;
    EXPECT_EQ(treehint::category(zoo, nullptr), " Category: Zoo\n" + kRule + "\n Solved - 1\n Edited - 2\n Total - 7");

    struct Case { std::string format, want; };
    const Case cases[] = {
        {"Folder %s: %d of %d, %d in all", "Folder Zoo: 1 of 2, 7 in all"},
        {"%d %s %n", "%d %s %n"}, // the first directive wants a number: nothing is filled
    };
    const auto folder = std::filesystem::temp_directory_path() / "tessellor-treehint";
    std::filesystem::create_directories(folder);
    for (const auto& c : cases) {
        std::ofstream(folder / "hints.lng") << "tree_view_hint_category=" << c.format << "\n";
        Localization table;
        table.setFolder(folder.string());
        table.LoadLanguage("hints");
        EXPECT_EQ(treehint::category(zoo, &table), c.want) << c.format;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
