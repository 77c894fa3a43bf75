#pragma once

#include "solver/Clues.h"

#include <array>
#include <cstdint>

// Exact line logic: for one line, the values each cell can still take in
// some placement of the line's blocks that agrees with what is known. Two
// reachability tables over (block, position), one from each end, meet in
// the middle; a cell keeps a value when a placement through it reaches both
// ends. Blocks of the same colour need a gap, blocks of different colours
// may touch. O(n * (k + C)) per line, all tables preallocated; lines shorter
// than 128 cells keep each table row as one 128-bit set, so a block costs a
// handful of word operations.
class LineSolver {
public:
    static constexpr int kMaxLength = Clues::kMaxSide;
    static constexpr int kMaxBlocks = Clues::kMaxSide;

    // Narrows cells[0..n) in `out` (which may be `in`) to what some placement
    // of `blocks` allows. Returns false when no placement fits; `out` is then
    // undefined.
    bool solve(const ClueBlock* blocks, int k, const CellSet* in, int n, CellSet* out);
    // The same answer from the tables over (block, position) alone, for lines
    // of any length; solve() works on bit sets of positions when the line is
    // shorter than 128 cells.
    bool solveByTables(const ClueBlock* blocks, int k, const CellSet* in, int n, CellSet* out);

private:
    // A set of positions 0..127 (GCC and Clang both have the type).
    __extension__ typedef unsigned __int128 Bits;
    bool solveByBits(const ClueBlock* blocks, int k, const CellSet* in, int n, CellSet* out);
    // Per block: positions where it may start having come from the left
    // (start) and may follow on to the right (rest); per block boundary j:
    // positions reachable from the left with cell i-1 background (gap) or
    // the end of block j-1 (end), from the right with cell i background (free)
    // or the start of block j (begin).
    std::array<Bits, kMaxBlocks + 1> gapBits_{}, endBits_{}, freeBits_{}, beginBits_{}, fitBits_{};

    static constexpr int kStride = kMaxLength + 2;
    using Table = std::array<std::uint8_t, (kMaxBlocks + 1) * kStride>;

    bool fits(int start, int length, int colour) const
    {
        return misses_[std::size_t(colour)][std::size_t(start + length)] == misses_[std::size_t(colour)][std::size_t(start)];
    }

    // Forward: blocks 0..j-1 lie in [0, i) and cell i-1 is background (gap_)
    // or the end of block j-1 (end_).
    Table gap_{}, end_{};
    // Backward: blocks j..k-1 lie in [i, n), with cell i background (free_)
    // or the start of block j (start_).
    Table free_{}, start_{};
    // misses_[c][i]: cells before i that cannot take colour c.
    std::array<std::array<std::uint8_t, kStride>, Clues::kMaxColours + 1> misses_{};
    // Coverage of possible placements per colour, as differences.
    std::array<std::array<std::int16_t, kStride>, Clues::kMaxColours + 1> cover_{};
    // Least room blocks 0..j-1 need (prefix_) and blocks j..k-1 need (suffix_).
    std::array<int, kMaxBlocks + 2> prefix_{}, suffix_{};
    std::array<std::uint8_t, kStride> low_{}, high_{};
};
