#include "solver/LineSolver.h"

#include <cstring>

// Only states from which the line can still be completed matter: block j can
// have its predecessors in [0, i) only when they fit there, and its
// successors in [i, n) only when they fit there. Each position therefore
// looks at a window of blocks, usually a few wide, and everything outside the
// window reads as unreachable (the tables are cleared first).
bool LineSolver::solve(const ClueBlock* b, int k, const CellSet* in, int n, CellSet* out)
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
