#pragma once

// The rating solver's line step as it first was: every placement of the
// line's blocks visited one by one. Exponential in the blocks, so it stays
// here, as the reference the solver's own line step must agree with exactly
// (and as the "before" of the solver benchmark).

#include "solver/LineEngine.h"

#include <algorithm>

class EnumerationOracle : public LineEngine {
public:
    void solve(const LineCells& line, LineOutcome& out) override
    {
        line_ = &line;
        out_ = &out;
        const int len = line.len;
        out = LineOutcome{};
        // Starts beyond these cannot lead to a try of the last block, so
        // skipping them changes no count.
        const int last = line.blocks - 1;
        const int nLast = line.number[last];
        int tail = 0;
        lastStart_[last] = len - nLast;
        for (int k = last - 1; k >= 0; --k) {
            tail += line.number[k] + (line.blockColour[k + 1] == line.blockColour[k] ? 1 : 0);
            lastStart_[k] = len - std::max(nLast, 1) - tail;
        }
        for (int p = 0; p <= len - line.number[0]; ++p) {
            if (p > 0 && filledIn(p - 1, line.blockColour[0]))
                break;
            if (place(0, p)) {
                out.ok = true;
                for (int i = 0; i < p; ++i)
                    out.canBlank[i] = 1;
            }
        }
    }

private:
    bool filledIn(int i, int c) const
    {
        return line_->state[i] == LineCells::kFilled && line_->colour[i] == c;
    }

    void cover(int p, int n, std::uint8_t c)
    {
        for (int i = p; i < p + n; ++i) {
            out_->mixed[i] |= std::uint8_t(out_->canFill[i] && out_->fillColour[i] != c);
            out_->canFill[i] = 1;
            out_->fillColour[i] = c;
        }
    }

    bool place(int k, int p)
    {
        const LineCells& l = *line_;
        const int n = l.number[k];
        const std::uint8_t c = l.blockColour[k];
        if (p + n > l.len)
            return false;
        const bool last = k == l.blocks - 1;
        if (!last && p > lastStart_[k])
            return false;
        if (last)
            ++out_->placements;
        for (int i = p; i < p + n; ++i)
            if (l.state[i] == LineCells::kBlank || (l.state[i] == LineCells::kFilled && l.colour[i] != c))
                return false;
        if (last) {
            for (int i = p + n; i < l.len; ++i)
                if (l.state[i] == LineCells::kFilled)
                    return false;
            cover(p, n, c);
            for (int i = p + n; i < l.len; ++i)
                out_->canBlank[i] = 1;
            return true;
        }
        const std::uint8_t c2 = l.blockColour[k + 1];
        bool ok = false;
        const int end = std::min(l.len - 1, lastStart_[k + 1]);
        for (int s = p + n + (c2 == c ? 1 : 0); s <= end; ++s) {
            if (s > 0 && filledIn(s - 1, c2))
                break;
            if (place(k + 1, s)) {
                ok = true;
                cover(p, n, c);
                for (int i = p + n; i < s; ++i)
                    out_->canBlank[i] = 1;
            }
        }
        return ok;
    }

    const LineCells* line_ = nullptr;
    LineOutcome* out_ = nullptr;
    int lastStart_[LineCells::kMaxLine + 1] = {};
};
