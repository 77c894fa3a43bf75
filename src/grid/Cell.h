#pragma once

#include "data/Color.h"

#include <cstdint>

// Stored in profile files: the numbers must not change.
enum CellState : std::uint8_t {
    Empty = 0,  // nothing decided
    DefYes = 1, // filled with the cell's colour
    DefNo = 2,  // known to be blank, drawn with a cross
    Mark = 3,   // the player's reminder, a small plus over the previous colour
};

// One playing-field position as the player has it.
struct GCell {
    CellState state = Empty;
    RGB colour = kBlack;
};

// One clue slot.
struct BCell {
    std::uint8_t mark = 0;        // struck out
    std::uint8_t colourIndex = 0; // 0 for a blank slot
    std::int8_t number = 0;       // block length, 0 for a blank slot
};
