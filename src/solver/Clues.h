#pragma once

#include <cstdint>
#include <vector>

class CrossData;

// A set of values one cell may still take: bit 0 background, bit c the
// puzzle's colour c (colours are numbered 1..kMaxColours in the order of
// their palette index).
using CellSet = std::uint32_t;
constexpr CellSet kBackground = 1;

struct ClueBlock {
    std::uint8_t colour; // 1..kMaxColours
    std::uint8_t length; // at least 1
};

// The clues of a crossword and nothing else: what the complete solver may
// know about it.
struct Clues {
    static constexpr int kMaxColours = 18;
    static constexpr int kMaxSide = 128;

    int width = 0;
    int height = 0;
    std::vector<std::vector<ClueBlock>> rows;    // top to bottom, blocks left to right
    std::vector<std::vector<ClueBlock>> columns; // left to right, blocks top to bottom
    // palette[c] is the palette index of colour c; palette[0] is 0.
    std::vector<std::uint8_t> palette{0};

    int colours() const { return int(palette.size()) - 1; }
    // Every value a cell of this crossword can take at all.
    CellSet allValues() const { return CellSet((1u << palette.size()) - 1); }

    // The clues a crossword's picture gives, blocks counted as the record
    // counts them (negative bytes are background). Returns false, leaving
    // `out` unusable, when the picture uses more than kMaxColours colours.
    static bool fromCrossword(const CrossData& data, Clues& out);
    // Clues from a picture given as rows of palette indices (tests, tools).
    static bool fromRows(const std::vector<std::vector<int>>& rows, Clues& out);
};
