#include "solver/LineSolver.h"

bool LineSolver::solve(const ClueBlock* b, int k, const CellSet* in, int n, CellSet* out)
{
    const auto at = [](int j, int i) { return std::size_t(j) * kStride + std::size_t(i); };
    CellSet used = 0;
    for (int j = 0; j < k; ++j)
        used |= CellSet(1) << b[j].colour;
    for (CellSet u = used; u; u &= u - 1) {
        const int c = __builtin_ctz(u);
        auto& m = misses_[std::size_t(c)];
        m[0] = 0;
        for (int i = 0; i < n; ++i)
            m[std::size_t(i + 1)] = std::uint8_t(m[std::size_t(i)] + ((in[i] >> c) & 1 ? 0 : 1));
    }
    // Block j may follow block j-1 without a gap when their colours differ.
    const auto touches = [&](int j) { return j > 0 && j < k && b[j].colour != b[j - 1].colour; };

    for (int i = 0; i <= n; ++i) {
        const bool bgBefore = i > 0 && (in[i - 1] & kBackground);
        gap_[at(0, i)] = i == 0 || (bgBefore && gap_[at(0, i - 1)]);
        end_[at(0, i)] = 0;
        for (int j = 1; j <= k; ++j) {
            gap_[at(j, i)] = bgBefore && (gap_[at(j, i - 1)] | end_[at(j, i - 1)]);
            const int len = b[j - 1].length;
            const int s = i - len;
            end_[at(j, i)] = s >= 0 && fits(s, len, b[j - 1].colour)
                && (gap_[at(j - 1, s)] | (end_[at(j - 1, s)] & touches(j - 1)));
        }
    }
    if (!(gap_[at(k, n)] | end_[at(k, n)]))
        return false;

    for (int j = 0; j <= k; ++j) {
        free_[at(j, n)] = j == k;
        start_[at(j, n)] = 0;
    }
    for (int i = n - 1; i >= 0; --i) {
        const bool bg = in[i] & kBackground;
        for (int j = k; j >= 0; --j) {
            free_[at(j, i)] = bg && (free_[at(j, i + 1)] | start_[at(j, i + 1)]);
            std::uint8_t s = 0;
            if (j < k) {
                const int e = i + b[j].length;
                s = e <= n && fits(i, b[j].length, b[j].colour)
                    && (free_[at(j + 1, e)] | (start_[at(j + 1, e)] & touches(j + 1)));
            }
            start_[at(j, i)] = s;
        }
    }

    for (CellSet u = used; u; u &= u - 1)
        cover_[std::size_t(__builtin_ctz(u))].fill(0);
    for (int i = 0; i < n; ++i) {
        std::uint8_t bg = 0;
        for (int j = 0; j <= k && !bg; ++j)
            bg = (gap_[at(j, i)] | end_[at(j, i)]) & free_[at(j, i)];
        background_[std::size_t(i)] = bg;
    }
    for (int j = 0; j < k; ++j) {
        const int len = b[j].length;
        auto& cover = cover_[b[j].colour];
        for (int s = 0; s + len <= n; ++s) {
            if (!((gap_[at(j, s)] | (end_[at(j, s)] & touches(j))) & start_[at(j, s)]))
                continue;
            ++cover[std::size_t(s)];
            --cover[std::size_t(s + len)];
        }
    }
    for (int i = 0; i < n; ++i)
        out[i] = background_[std::size_t(i)] ? kBackground : 0;
    for (CellSet u = used; u; u &= u - 1) {
        const int c = __builtin_ctz(u);
        const auto& cover = cover_[std::size_t(c)];
        int depth = 0;
        for (int i = 0; i < n; ++i) {
            depth += cover[std::size_t(i)];
            if (depth > 0)
                out[i] |= CellSet(1) << c;
        }
    }
    return true;
}
