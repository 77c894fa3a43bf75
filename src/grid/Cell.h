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

// Pixel placement shared by both kinds of cells, in the grid's coordinates.
struct Cell {
    int x = 0;
    int y = 0;
    int size = 0;
};

// One playing-field position.
struct GCell : Cell {
    CellState state = Empty;
    CellState previewState = Empty; // shown while a line or rectangle is dragged
    RGB colour = kBlack;
    RGB previewColour = kBlack;
    int column = 0;
    int row = 0;
};

// One clue slot.
struct BCell : Cell {
    std::uint8_t mark = 0;        // struck out
    std::uint8_t colourIndex = 0; // 0 for a blank slot
    std::int8_t number = 0;       // block length, 0 for a blank slot
};
