#pragma once

#include "solver/LineEngine.h"

#include <vector>

// The rating solver's line step without visiting placements one by one.
//
// The rating is defined by an enumeration: try the first block at every
// start, and from each start that fits try the next block at every start
// behind it, and so on; count every try of the last block; mark the cells
// of each complete placement. Its outcome depends only on which (block,
// start) pairs are tried, which of them fit, and which follow each other,
// so it is computed here over those pairs: backwards how many last-block
// tries and whether a complete placement lie behind each pair, forwards
// which pairs the enumeration reaches. Each pair's successors are one run of
// starts, so prefix sums make a line cost O(length x blocks).
//
// It follows the enumeration's own rules, including those that are not
// exact for colour: a cell of another colour before a block or in a gap is
// only caught when it has the colour of the block behind it.
class LinePlacements : public LineEngine {
public:
    LinePlacements();
    void solve(const LineCells& line, LineOutcome& out) override;

private:
    static constexpr int kStride = LineCells::kMaxLine + 2; // starts 0..len, and one past
    __extension__ typedef unsigned __int128 Count;

    std::size_t at(int block, int p) const { return std::size_t(block) * kStride + std::size_t(p); }

    // Per (block, start), allocated once.
    std::vector<std::uint8_t> fits_;     // the block's cells allow it here
    std::vector<std::uint8_t> ok_;       // a complete placement follows
    std::vector<std::int16_t> lastNext_; // last start tried for the next block, -1 none
    std::vector<std::int16_t> lastOk_;   // last such start with a complete placement, -1 none
    std::vector<std::uint8_t> reached_;  // the enumeration tries this pair
    // Per start: prefix sums of the following block's counts, and this one's.
    std::array<Count, kStride + 1> nextSum_{}, sum_{};
    std::array<std::int16_t, kStride> nextOkUpTo_{}; // last start <= i that is ok, -1 none
    std::array<std::int16_t, kStride> okUpTo_{};
    std::array<int, kStride> bad_{};         // prefix count of cells that forbid the block's colour
    std::array<int, kStride> stopAt_{};      // first cell >= i filled in the next block's colour
    std::array<std::uint8_t, kStride> filledFrom_{}; // some filled cell at or after i
    // Runs of positions marked by +1/-1 at their ends, summed into flags.
    std::array<int, kStride + 1> coverDelta_{}, reachDelta_{}, blankDelta_{};
};
