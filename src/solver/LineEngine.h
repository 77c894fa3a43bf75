#pragma once

#include <array>
#include <cstdint>

// One row or column as the rating solver hands it to a line engine: its cells
// copied side by side, and its blocks from the first one on.
struct LineCells {
    static constexpr int kMaxLine = 100;
    // Cell states as the solver keeps them: a Mark constrains nothing.
    enum : std::uint8_t { kUndecided = 0, kFilled = 1, kBlank = 2, kMarked = 3 };

    int len = 0;
    const std::uint8_t* state = nullptr;  // len entries
    const std::uint8_t* colour = nullptr; // palette index of each cell
    int blocks = 0;                       // at least 1
    const std::uint8_t* number = nullptr; // block lengths, 0 for a blank slot
    const std::uint8_t* blockColour = nullptr;
};

// What every successful placement of the line's blocks agrees on, and how
// many times the last block was tried.
struct LineOutcome {
    bool ok = false;             // some placement fits
    std::int64_t placements = 0; // tries of the last block; saturates
    std::array<std::uint8_t, LineCells::kMaxLine> canFill{};
    std::array<std::uint8_t, LineCells::kMaxLine> canBlank{};
    // The colour of the blocks that cover a position; meaningful where
    // canFill is set and mixed is not.
    std::array<std::uint8_t, LineCells::kMaxLine> fillColour{};
    // Placements cover the position with blocks of different colours.
    std::array<std::uint8_t, LineCells::kMaxLine> mixed{};
};

// Computes a line's outcome. The solver has one built in; tests put a plain
// enumeration of every placement beside it.
class LineEngine {
public:
    virtual ~LineEngine() = default;
    virtual void solve(const LineCells& line, LineOutcome& out) = 0;
};
