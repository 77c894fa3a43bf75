#pragma once

#include "data/Color.h"

#include <cstdint>
#include <string>
#include <vector>

// One puzzle as the community formats carry it: clues in the puzzle's own
// colours, and maybe the picture the author meant. Colour 0 is the
// background; clue runs name colours 1.. by their place in `colours`.
struct PuzzleColour {
    std::string name;
    RGB rgb = 0;
    char symbol = '?';
};

struct ClueRun {
    int colour = 1;
    int length = 0;
    bool operator==(const ClueRun&) const = default;
};

using ClueLine = std::vector<ClueRun>;

struct Puzzle {
    static constexpr int kMaxSide = 128;
    static constexpr int kMaxBlocks = 127; // blocks the crossword file can show in a line

    std::string title;
    int width = 0;
    int height = 0;
    std::vector<PuzzleColour> colours{{"white", 0xFFFFFF, '.'}, {"black", 0x000000, 'X'}};
    std::vector<ClueLine> rows;    // top to bottom, runs left to right
    std::vector<ClueLine> columns; // left to right, runs top to bottom
    // The author's picture, colour numbers row by row ([y * width + x]);
    // empty when the file gives none.
    std::vector<std::uint8_t> goal;

    bool blackAndWhite() const { return colours.size() <= 2; }

    // Sizes 1..128, one clue line per row and column, runs of known colours
    // that fit their line, the same cells of each colour counted by rows and
    // by columns, a goal of the right size that gives these clues. Returns
    // the first fault found, empty when there is none.
    std::string check() const;

    // The clues a picture gives ([y * width + x], colour numbers).
    static std::vector<ClueLine> cluesOf(const std::vector<std::uint8_t>& picture, int width, int height, bool byRows);
};
