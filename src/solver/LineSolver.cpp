#include "solver/LineSolver.h"

#include <cstring>

// Only states from which the line can still be completed matter: block j can
// have its predecessors in [0, i) only when they fit there, and its
// successors in [i, n) only when they fit there. Each position therefore
// looks at a window of blocks, usually a few wide, and everything outside the
// window reads as unreachable (the tables are cleared first).
namespace {

__extension__ typedef unsigned __int128 Bits;

constexpr Bits one = 1;

// Positions reachable from `seeds` by steps to the next higher position
// while staying inside `through` (seeds must lie inside it): a fill in
// log steps.
Bits fillUp(Bits seeds, Bits through)
{
    for (int step = 1; step < 128; step *= 2) {
        seeds |= through & (seeds << step);
        through &= through << step;
    }
    return seeds;
}

Bits fillDown(Bits seeds, Bits through)
{
    for (int step = 1; step < 128; step *= 2) {
        seeds |= through & (seeds >> step);
        through &= through >> step;
    }
    return seeds;
}

// Positions s at which `length` consecutive members of `allowed` begin.
Bits runsFrom(Bits allowed, int length)
{
    Bits runs = allowed;
    int have = 1;
    while (have * 2 <= length) {
        runs &= runs >> have;
        have *= 2;
    }
    if (have < length)
        runs &= runs >> (length - have);
    return runs;
}

// Every position covered by a run of `length` starting at a member of `starts`.
Bits cover(Bits starts, int length)
{
    Bits covered = starts;
    int have = 1;
    while (have * 2 <= length) {
        covered |= covered << have;
        have *= 2;
    }
    if (have < length)
        covered |= covered << (length - have);
    return covered;
}

} // namespace

bool LineSolver::solve(const ClueBlock* b, int k, const CellSet* in, int n, CellSet* out)
{
    if (n < 128)
        return solveByBits(b, k, in, n, out);
    return solveByTables(b, k, in, n, out);
}

// Bit i of a set stands for position i (0..n): the same reachability as the
// tables, one machine word pair per block instead of one byte per cell.
bool LineSolver::solveByBits(const ClueBlock* b, int k, const CellSet* in, int n, CellSet* out)
{
    if (k > n)
        return false;
    const Bits cells = (one << n) - 1;
    Bits background = 0;
    for (int i = 0; i < n; ++i)
        if (in[i] & kBackground)
            background |= one << i;
    const auto touches = [&](int j) { return j > 0 && j < k && b[j].colour != b[j - 1].colour; };
    // Where each block fits, by its colour's cells.
    for (int j = 0; j < k; ++j) {
        Bits allowed = 0;
        const CellSet bit = CellSet(1) << b[j].colour;
        for (int i = 0; i < n; ++i)
            if (in[i] & bit)
                allowed |= one << i;
        fitBits_[std::size_t(j)] = runsFrom(allowed & cells, b[j].length);
    }
    gapBits_[0] = one | (fillUp(one & background, background) << 1);
    endBits_[0] = 0;
    for (int j = 0; j < k; ++j) {
        const Bits from = gapBits_[std::size_t(j)] | (touches(j) ? endBits_[std::size_t(j)] : Bits(0));
        const Bits ends = (from & fitBits_[std::size_t(j)]) << b[j].length;
        endBits_[std::size_t(j + 1)] = ends;
        gapBits_[std::size_t(j + 1)] = fillUp(ends & background, background) << 1;
    }
    const Bits last = one << n;
    if (!((gapBits_[std::size_t(k)] | endBits_[std::size_t(k)]) & last))
        return false;
    freeBits_[std::size_t(k)] = last | fillDown((last >> 1) & background, background);
    beginBits_[std::size_t(k)] = 0;
    for (int j = k - 1; j >= 0; --j) {
        const Bits after = freeBits_[std::size_t(j + 1)] | (touches(j + 1) ? beginBits_[std::size_t(j + 1)] : Bits(0));
        const Bits begins = fitBits_[std::size_t(j)] & (after >> b[j].length);
        beginBits_[std::size_t(j)] = begins;
        freeBits_[std::size_t(j)] = fillDown((begins >> 1) & background, background);
    }
    Bits bgPossible = 0;
    for (int j = 0; j <= k; ++j)
        bgPossible |= (gapBits_[std::size_t(j)] | endBits_[std::size_t(j)]) & freeBits_[std::size_t(j)];
    std::array<Bits, Clues::kMaxColours + 1> colours{};
    for (int j = 0; j < k; ++j) {
        const Bits from = gapBits_[std::size_t(j)] | (touches(j) ? endBits_[std::size_t(j)] : Bits(0));
        colours[b[j].colour] |= cover(from & beginBits_[std::size_t(j)], b[j].length);
    }
    for (int i = 0; i < n; ++i)
        out[i] = CellSet((bgPossible >> i) & 1);
    for (int c = 1; c <= Clues::kMaxColours; ++c) {
        const Bits covered = colours[std::size_t(c)] & cells;
        if (!covered)
            continue;
        for (int i = 0; i < n; ++i)
            if ((covered >> i) & 1)
                out[i] |= CellSet(1) << c;
    }
    return true;
}

bool LineSolver::solveByTables(const ClueBlock* b, int k, const CellSet* in, int n, CellSet* out)
{
    // Rows of the tables are n + 1 long: the less there is to clear, the better.
    const std::size_t stride = std::size_t(n) + 1;
    const auto at = [stride](int j, int i) { return std::size_t(j) * stride + std::size_t(i); };
    // Block j may follow block j-1 without a gap when their colours differ.
    const auto touches = [&](int j) { return j > 0 && j < k && b[j].colour != b[j - 1].colour; };

    if (k > n)
        return false; // every block needs a cell of its own
    CellSet used = 0;
    prefix_[0] = 0;
    for (int j = 0; j < k; ++j) {
        used |= CellSet(1) << b[j].colour;
        prefix_[std::size_t(j + 1)] = prefix_[std::size_t(j)] + b[j].length + (j > 0 && !touches(j) ? 1 : 0);
    }
    if (prefix_[std::size_t(k)] > n)
        return false;
    suffix_[std::size_t(k)] = 0;
    for (int j = k - 1; j >= 0; --j)
        suffix_[std::size_t(j)] = suffix_[std::size_t(j + 1)] + b[j].length + (j + 1 < k && !touches(j + 1) ? 1 : 0);
    // Window of blocks at each position: low_[i] .. high_[i].
    for (int i = 0, lo = 0, hi = 0; i <= n; ++i) {
        while (hi < k && prefix_[std::size_t(hi + 1)] <= i)
            ++hi;
        while (lo < k && i + suffix_[std::size_t(lo)] > n)
            ++lo;
        low_[std::size_t(i)] = std::uint8_t(lo);
        high_[std::size_t(i)] = std::uint8_t(hi);
    }

    for (CellSet u = used; u; u &= u - 1) {
        const int c = __builtin_ctz(u);
        auto& m = misses_[std::size_t(c)];
        m[0] = 0;
        for (int i = 0; i < n; ++i)
            m[std::size_t(i + 1)] = std::uint8_t(m[std::size_t(i)] + ((in[i] >> c) & 1 ? 0 : 1));
    }
    const std::size_t span = std::size_t(k + 1) * stride;
    std::memset(gap_.data(), 0, span);
    std::memset(end_.data(), 0, span);
    std::memset(free_.data(), 0, span);
    std::memset(start_.data(), 0, span);

    gap_[at(0, 0)] = low_[0] == 0;
    for (int i = 1; i <= n; ++i) {
        const bool bgBefore = in[i - 1] & kBackground;
        for (int j = low_[std::size_t(i)], hi = high_[std::size_t(i)]; j <= hi; ++j) {
            gap_[at(j, i)] = bgBefore && (gap_[at(j, i - 1)] | end_[at(j, i - 1)]);
            if (j == 0)
                continue;
            const int len = b[j - 1].length;
            const int s = i - len;
            end_[at(j, i)] = s >= 0 && fits(s, len, b[j - 1].colour)
                && (gap_[at(j - 1, s)] | (end_[at(j - 1, s)] & touches(j - 1)));
        }
    }
    if (!(gap_[at(k, n)] | end_[at(k, n)]))
        return false;

    free_[at(k, n)] = 1;
    for (int i = n - 1; i >= 0; --i) {
        const bool bg = in[i] & kBackground;
        for (int j = high_[std::size_t(i)], lo = low_[std::size_t(i)]; j >= lo; --j) {
            free_[at(j, i)] = bg && (free_[at(j, i + 1)] | start_[at(j, i + 1)]);
            if (j == k)
                continue;
            const int e = i + b[j].length;
            start_[at(j, i)] = e <= n && fits(i, b[j].length, b[j].colour)
                && (free_[at(j + 1, e)] | (start_[at(j + 1, e)] & touches(j + 1)));
        }
    }

    for (int i = 0; i < n; ++i) {
        CellSet bg = 0;
        for (int j = low_[std::size_t(i)], hi = high_[std::size_t(i)]; j <= hi && !bg; ++j)
            bg = (gap_[at(j, i)] | end_[at(j, i)]) & free_[at(j, i)];
        out[i] = bg;
    }
    for (CellSet u = used; u; u &= u - 1)
        std::memset(cover_[std::size_t(__builtin_ctz(u))].data(), 0, sizeof(std::int16_t) * std::size_t(n + 1));
    for (int j = 0; j < k; ++j) {
        const int len = b[j].length;
        auto& cover = cover_[b[j].colour];
        const bool touch = touches(j);
        for (int s = prefix_[std::size_t(j)], last = n - suffix_[std::size_t(j)]; s <= last;
             ++s) {
            if (!((gap_[at(j, s)] | (end_[at(j, s)] & touch)) & start_[at(j, s)]))
                continue;
            ++cover[std::size_t(s)];
            --cover[std::size_t(s + len)];
        }
    }
    for (CellSet u = used; u; u &= u - 1) {
        const int c = __builtin_ctz(u);
        const auto& cover = cover_[std::size_t(c)];
        const CellSet bit = CellSet(1) << c;
        int depth = 0;
        for (int i = 0; i < n; ++i) {
            depth += cover[std::size_t(i)];
            if (depth > 0)
                out[i] |= bit;
        }
    }
    return true;
}
