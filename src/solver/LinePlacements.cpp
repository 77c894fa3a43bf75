#include "solver/LinePlacements.h"

#include <algorithm>
#include <limits>

LinePlacements::LinePlacements()
    : fits_(std::size_t(LineCells::kMaxLine) * kStride), ok_(fits_.size()), lastNext_(fits_.size()),
      lastOk_(fits_.size()), reached_(fits_.size())
{
}

void LinePlacements::solve(const LineCells& line, LineOutcome& out)
{
    const int len = line.len;
    const int blocks = line.blocks;
    out.ok = false;
    out.placements = 0;
    for (int i = 0; i < len; ++i)
        out.canFill[i] = out.canBlank[i] = out.fillColour[i] = out.mixed[i] = 0;
    if (len < 0 || len > LineCells::kMaxLine || blocks < 1 || blocks > LineCells::kMaxLine)
        return;
    const std::uint8_t* state = line.state;
    const std::uint8_t* colour = line.colour;
    auto filledIn = [&](int i, std::uint8_t c) { return state[i] == LineCells::kFilled && colour[i] == c; };

    filledFrom_[std::size_t(len)] = 0;
    for (int i = len - 1; i >= 0; --i)
        filledFrom_[i] = std::uint8_t(filledFrom_[i + 1] | (state[i] == LineCells::kFilled));

    // Backwards: for every block and start, how many last-block tries the
    // enumeration makes from there, and whether a complete placement lies
    // behind it. nextSum_ holds the following block's prefix sums.
    Count* nextSum = nextSum_.data();
    Count* sum = sum_.data();
    std::int16_t* nextOkUpTo = nextOkUpTo_.data();
    std::int16_t* okUpTo = okUpTo_.data();
    for (int k = blocks - 1; k >= 0; --k) {
        const int n = line.number[k];
        const std::uint8_t c = line.blockColour[k];
        const bool last = k == blocks - 1;
        // A block cannot lie on a blank cell or on a fill of another colour.
        // (Both tables depend on a colour only, so runs of blocks of one
        // colour share them.)
        if (k == blocks - 1 || c != line.blockColour[k + 1]) {
            bad_[0] = 0;
            for (int i = 0; i < len; ++i)
                bad_[i + 1] = bad_[i]
                              + int(state[i] == LineCells::kBlank || (state[i] == LineCells::kFilled && colour[i] != c));
        }
        std::uint8_t c2 = 0;
        if (!last) {
            // The next block is tried at every start until one would leave
            // a fill of its own colour behind it.
            c2 = line.blockColour[k + 1];
            if (k + 2 == blocks || c2 != line.blockColour[k + 2]) {
                stopAt_[std::size_t(len)] = len;
                for (int i = len - 1; i >= 0; --i)
                    stopAt_[i] = filledIn(i, c2) ? i : stopAt_[i + 1];
            }
        }
        sum[0] = 0;
        for (int p = 0; p <= len; ++p) {
            const std::size_t idx = at(k, p);
            Count count = 0;
            bool fits = false, ok = false;
            int lastNext = -1, lastOk = -1;
            if (p + n <= len) {
                fits = bad_[p + n] == bad_[p];
                if (last) {
                    count = 1; // counted before its cells are checked
                    ok = fits && !filledFrom_[p + n];
                } else if (fits) {
                    const int s0 = p + n + (c2 == c ? 1 : 0);
                    const int hi = std::min(len - 1, stopAt_[std::max(s0 - 1, 0)]);
                    if (s0 <= hi) {
                        count = nextSum[hi + 1] - nextSum[s0];
                        lastNext = hi;
                        ok = nextOkUpTo[hi] >= s0;
                        lastOk = ok ? nextOkUpTo[hi] : -1;
                    }
                }
            }
            fits_[idx] = fits;
            ok_[idx] = ok;
            lastNext_[idx] = std::int16_t(lastNext);
            lastOk_[idx] = std::int16_t(lastOk);
            sum[p + 1] = sum[p] + count;
            okUpTo[p] = std::int16_t(ok ? p : (p > 0 ? okUpTo[p - 1] : -1));
        }
        std::swap(sum, nextSum);
        std::swap(okUpTo, nextOkUpTo);
    }

    // The first block is tried from the line's start up to the first fill of
    // its colour.
    const int n0 = line.number[0];
    int firstStop = 0;
    while (firstStop < len && !filledIn(firstStop, line.blockColour[0]))
        ++firstStop;
    const int pMax = std::min(len - n0, firstStop);
    if (pMax < 0)
        return;
    const Count total = nextSum[pMax + 1] - nextSum[0];
    constexpr auto kSaturated = std::numeric_limits<std::int64_t>::max();
    out.placements = total > Count(kSaturated) ? kSaturated : std::int64_t(total);

    // Forwards: which pairs the enumeration reaches, and the cells that the
    // complete placements through them fill and leave blank.
    for (int p = 0; p <= len; ++p)
        reached_[at(0, p)] = p <= pMax;
    std::fill_n(blankDelta_.begin(), len + 2, 0);
    for (int k = 0; k < blocks; ++k) {
        const int n = line.number[k];
        const std::uint8_t c = line.blockColour[k];
        const bool last = k == blocks - 1;
        const int gap = !last && line.blockColour[k + 1] == c ? 1 : 0;
        std::fill_n(coverDelta_.begin(), len + 2, 0);
        std::fill_n(reachDelta_.begin(), len + 2, 0);
        bool covered = false;
        for (int p = 0; p <= len; ++p) {
            const std::size_t idx = at(k, p);
            if (!reached_[idx])
                continue;
            if (ok_[idx]) {
                covered = true;
                if (k == 0) {
                    out.ok = true;
                    ++blankDelta_[0];
                    --blankDelta_[std::size_t(p)];
                }
                ++coverDelta_[std::size_t(p)];
                --coverDelta_[std::size_t(p + n)];
                const int blankEnd = last ? len : lastOk_[idx];
                ++blankDelta_[std::size_t(p + n)];
                --blankDelta_[std::size_t(blankEnd)];
            }
            if (!last && fits_[idx] && lastNext_[idx] >= 0) {
                ++reachDelta_[std::size_t(p + n + gap)];
                --reachDelta_[std::size_t(lastNext_[idx] + 1)];
            }
        }
        if (covered) {
            int run = 0;
            for (int i = 0; i < len; ++i) {
                run += coverDelta_[i];
                if (run > 0) {
                    out.mixed[i] |= std::uint8_t(out.canFill[i] && out.fillColour[i] != c);
                    out.canFill[i] = 1;
                    out.fillColour[i] = c;
                }
            }
        }
        if (!last) {
            int run = 0;
            for (int s = 0; s <= len; ++s) {
                run += reachDelta_[std::size_t(s)];
                reached_[at(k + 1, s)] = run > 0;
            }
        }
    }
    int run = 0;
    for (int i = 0; i < len; ++i) {
        run += blankDelta_[i];
        out.canBlank[i] = run > 0;
    }
}
