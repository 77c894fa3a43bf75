#include "GridText.h"
#include "grid/PlayerAids.h"

#include <gtest/gtest.h>

namespace {

using playeraids::Cells;
using testgrids::Rows;

// A model of the picture with the player's cells drawn as in GridText.h.
struct Board {
    Board(const Rows& picture, const Rows& player)
    {
        model.SetDataSource(testgrids::crossword(picture));
        testgrids::setCells(model, player);
    }
    GridModel model;
};

} // namespace

TEST(PlayerAids, MistakesAreWrongFillsAndCrossesOnTheFilledPicture)
{
    struct Case { const char* what; Rows picture, player; Cells expected; };
    const Case cases[] = {
        {"nothing done is no mistake", {"#.", "2#"}, {"..", "+."}, {}},
        {"right so far", {"#.", "2#"}, {"#x", ".."}, {}},
        {"fill on the background", {"#.", "2#"}, {"##", ".."}, {{1, 0}}},
        {"fill in another colour", {"#.", "2#"}, {"..", "#."}, {{0, 1}}},
        {"cross on a filled cell", {"#.", "2#"}, {"x.", ".x"}, {{0, 0}, {1, 1}}},
        {"a white fill counts as background", {"#.", "2#"}, {".w", "w."}, {}},
        {"in column order", {"..", ".."}, {".#", "#."}, {{0, 1}, {1, 0}}},
    };
    for (const Case& c : cases) {
        Board b(c.picture, c.player);
        EXPECT_EQ(playeraids::mistakes(b.model), c.expected) << c.what;
    }
}

TEST(PlayerAids, LineHelpCrossesTheEmptyCellsOfAMatchingLine)
{
    struct Case { const char* what; Rows picture, player; bool row; int index; Cells expected; };
    const Case cases[] = {
        {"complete row", {"##.#."}, {"##.#."}, true, 0, {{2, 0}, {4, 0}}},
        {"a run short", {"##.#."}, {"#..#."}, true, 0, {}},
        {"runs right but shifted still match the clue", {"##.#."}, {".##.#"}, true, 0, {{0, 0}, {3, 0}}},
        {"crossed and marked cells stay", {"##.#."}, {"##x#+"}, true, 0, {}},
        {"colours must match", {"22.#."}, {"##.#."}, true, 0, {}},
        {"touching colours are two runs", {"23..."}, {"..23."}, true, 0, {{0, 0}, {1, 0}, {4, 0}}},
        {"column", {"#", ".", "#"}, {"#", ".", "#"}, false, 0, {{0, 1}}},
        {"an empty line matches at once", {"...", "###"}, {"...", "..."}, true, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {"outside the field", {"#"}, {"#"}, true, 1, {}},
    };
    for (const Case& c : cases) {
        Board b(c.picture, c.player);
        EXPECT_EQ(playeraids::cellsToCross(b.model, c.row, c.index), c.expected) << c.what;
    }
}
