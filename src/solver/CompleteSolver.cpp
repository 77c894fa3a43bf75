#include "solver/CompleteSolver.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace {
bool single(CellSet s) { return (s & (s - 1)) == 0; }

// Processor time of this thread: what solving costs, whatever else the
// machine is doing meanwhile.
double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
} // namespace

namespace {
// Clues a solver can work on: sizes in range, one clue list per line, every
// block at least one cell long and of a known colour.
bool workable(const Clues& c)
{
    if (c.width < 1 || c.height < 1 || c.width > Clues::kMaxSide || c.height > Clues::kMaxSide
        || c.rows.size() != std::size_t(c.height) || c.columns.size() != std::size_t(c.width) || c.palette.empty()
        || c.colours() > Clues::kMaxColours)
        return false;
    for (const auto* lines : {&c.rows, &c.columns})
        for (const auto& line : *lines)
            for (const ClueBlock& b : line)
                if (b.length < 1 || b.colour < 1 || b.colour > c.colours())
                    return false;
    return true;
}
} // namespace

CompleteSolver::CompleteSolver(const Clues& clues)
    : clues_(clues), width_(workable(clues) ? clues.width : 0), height_(width_ ? clues.height : 0),
      line_(std::make_unique<LineSolver>())
{
    if (!width_)
        return;
    for (const auto& r : clues.rows)
        lineClues_.push_back(&r);
    for (const auto& c : clues.columns)
        lineClues_.push_back(&c);
    const std::size_t cells = std::size_t(width_) * std::size_t(height_);
    cells_.assign(cells, clues.allValues());
    undecided_ = single(clues.allValues()) ? 0 : int(cells);
    queue_.assign(lineClues_.size(), 0);
    queued_.assign(lineClues_.size(), 0);
    union_.assign(cells, 0);
    seen_.assign(cells, 0);
    agreed_.assign(cells, 0);
    probed_.assign(cells, 0);
    implied_.assign(cells, 0);
    impliedEpoch_.assign(cells, 0);
    // Some hundred slots per line, at most a few megabytes: fewer slots for
    // longer lines.
    cacheStride_ = 2 * std::size_t(std::max(width_, height_));
    std::size_t slots = 1;
    while (slots < 512 * lineClues_.size() && slots < (std::size_t(1) << 16)
           && slots * 2 * cacheStride_ * sizeof(CellSet) <= (std::size_t(8) << 20))
        slots *= 2;
    cache_.assign(slots, CacheSlot{});
    cacheCells_.assign(slots * cacheStride_, 0);
    cacheMask_ = slots - 1;
}

bool CompleteSolver::solveLine(int line, int n)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull * std::uint64_t(line + 1);
    for (int i = 0; i < n; ++i) {
        h ^= in_[std::size_t(i)];
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    CacheSlot& slot = cache_[std::size_t(h) & cacheMask_];
    CellSet* stored = &cacheCells_[(std::size_t(h) & cacheMask_) * cacheStride_];
    if (slot.hash == h && slot.line == line) {
        bool same = true;
        for (int i = 0; i < n && same; ++i)
            same = stored[i] == in_[std::size_t(i)];
        if (same) {
            for (int i = 0; i < n; ++i)
                out_[std::size_t(i)] = stored[n + i];
            return slot.ok;
        }
    }
    const auto& blocks = *lineClues_[std::size_t(line)];
    const bool ok = line_->solve(blocks.data(), int(blocks.size()), in_.data(), n, out_.data());
    slot.hash = h;
    slot.line = line;
    slot.ok = ok;
    for (int i = 0; i < n; ++i) {
        stored[i] = in_[std::size_t(i)];
        stored[n + i] = out_[std::size_t(i)];
    }
    return ok;
}

void CompleteSolver::set(std::size_t cell, CellSet values)
{
    const CellSet before = cells_[cell];
    trail_.push_back({std::uint32_t(cell), before});
    cells_[cell] = values;
    if (single(values) && !single(before))
        --undecided_;
}

void CompleteSolver::undo(std::size_t mark)
{
    while (trail_.size() > mark) {
        const Change c = trail_.back();
        trail_.pop_back();
        if (single(cells_[c.cell]) && !single(c.before))
            ++undecided_;
        cells_[c.cell] = c.before;
    }
}

void CompleteSolver::push(int line)
{
    if (queued_[std::size_t(line)])
        return;
    queued_[std::size_t(line)] = 1;
    queue_[(queueHead_ + queueSize_) % queue_.size()] = line;
    ++queueSize_;
}

void CompleteSolver::pushCell(std::size_t cell)
{
    push(int(cell / std::size_t(width_)));
    push(height_ + int(cell % std::size_t(width_)));
}

void CompleteSolver::clearQueue()
{
    for (; queueSize_; --queueSize_) {
        queued_[std::size_t(queue_[queueHead_])] = 0;
        queueHead_ = (queueHead_ + 1) % queue_.size();
    }
}

bool CompleteSolver::outOfTime()
{
    if (!stopped_ && limits_.stop && limits_.stop->load(std::memory_order_relaxed))
        stopped_ = true;
    if (!stopped_ && limits_.seconds > 0
        && std::chrono::duration<double>(Clock::now() - start_).count() > limits_.seconds)
        stopped_ = true;
    return stopped_;
}

bool CompleteSolver::propagate()
{
    while (queueSize_) {
        const int line = queue_[queueHead_];
        queueHead_ = (queueHead_ + 1) % queue_.size();
        --queueSize_;
        queued_[std::size_t(line)] = 0;
        if ((++result_.lines & 63) == 0 && outOfTime()) {
            clearQueue();
            return false;
        }
        const int n = lineLength(line);
        for (int i = 0; i < n; ++i)
            in_[std::size_t(i)] = cells_[cellOf(line, i)];
        if (!solveLine(line, n)) {
            clearQueue();
            return false;
        }
        const bool row = line < height_;
        for (int i = 0; i < n; ++i)
            if (out_[std::size_t(i)] != in_[std::size_t(i)]) {
                set(cellOf(line, i), out_[std::size_t(i)]);
                push(row ? height_ + i : i);
            }
    }
    return true;
}

// Tries every value of every undecided cell until a whole pass teaches
// nothing new. A value that leads to a contradiction is dropped; a cell that
// every surviving value narrows the same way is narrowed. Picks the cell to
// branch on: the one whose weakest value still decides the most.
bool CompleteSolver::probe(std::size_t& branch)
{
    // Round and round the grid, until a whole round has taught nothing: the
    // scores of that round then choose the branch.
    const std::size_t count = cells_.size();
    std::int64_t best = -1;
    branch = std::numeric_limits<std::size_t>::max();
    ++epoch_;
    for (std::size_t quiet = 0, cell = probeStart_; quiet < count && undecided_ > 0;
         ++quiet, cell = cell + 1 == count ? 0 : cell + 1) {
        {
            const CellSet values = cells_[cell];
            if (single(values))
                continue;
            // A value that an earlier probe of this pass forced here cannot
            // contradict (its consequences are part of that probe's), so it
            // is not tried again; the cell then learns nothing by agreement.
            const CellSet skip = impliedEpoch_[cell] == epoch_ ? implied_[cell] & values : 0;
            ++probeStamp_;
            touched_.clear();
            CellSet alive = skip;
            int outcomes = 0;
            std::int64_t weakest = std::numeric_limits<std::int64_t>::max();
            std::array<std::int64_t, 32> sizes{};
            for (CellSet v = values & ~skip; v; v &= v - 1) {
                const CellSet value = v & (~v + 1);
                const std::size_t mark = trail_.size();
                if ((++result_.probes & 15) == 0 && outOfTime())
                    return false;
                set(cell, value);
                pushCell(cell);
                const bool ok = propagate();
                if (stopped_) {
                    undo(mark);
                    return false;
                }
                if (ok && undecided_ == 0) {
                    // The probe completed a picture: a solution found on the way.
                    record();
                    if (result_.solutions >= 2) {
                        undo(mark);
                        return false;
                    }
                }
                if (ok) {
                    alive |= value;
                    ++outcomes;
                    ++outcomeStamp_;
                    for (std::size_t t = mark; t < trail_.size(); ++t) {
                        const std::uint32_t x = trail_[t].cell;
                        if (seen_[x] == outcomeStamp_)
                            continue;
                        seen_[x] = outcomeStamp_;
                        if (probed_[x] != probeStamp_) {
                            probed_[x] = probeStamp_;
                            agreed_[x] = 0;
                            union_[x] = 0;
                            touched_.push_back(x);
                        }
                        ++agreed_[x];
                        union_[x] |= cells_[x];
                        if (single(cells_[x])) {
                            if (impliedEpoch_[x] != epoch_) {
                                impliedEpoch_[x] = epoch_;
                                implied_[x] = 0;
                            }
                            implied_[x] |= cells_[x];
                        }
                    }
                    weakest = std::min<std::int64_t>(weakest, std::int64_t(trail_.size() - mark));
                    sizes[std::size_t(__builtin_ctz(value))] = std::int64_t(trail_.size() - mark);
                }
                undo(mark);
            }
            if (!outcomes && !skip)
                return false;
            bool learned = false;
            if (!skip)
                for (const std::uint32_t x : touched_) {
                    const CellSet narrowed = union_[x] & cells_[x];
                    if (agreed_[x] == std::uint32_t(outcomes) && narrowed != cells_[x]) {
                        set(x, narrowed);
                        pushCell(x);
                        learned = true;
                    }
                }
            if (alive != values) {
                set(cell, alive & cells_[cell]);
                pushCell(cell);
                learned = true;
            }
            if (learned) {
                quiet = 0;
                best = -1;
                branch = std::numeric_limits<std::size_t>::max();
                ++epoch_;
                probeStart_ = cell;
                if (!propagate())
                    return false;
            } else if (outcomes && weakest > best) {
                best = weakest;
                branch = cell;
                branchSizes_ = sizes;
            }
        }
    }
    if (undecided_ > 0)
        for (std::size_t cell = 0; branch == std::numeric_limits<std::size_t>::max(); ++cell)
            if (!single(cells_[cell]))
                branch = cell;
    return true;
}

void CompleteSolver::record()
{
    if (result_.solutions == 1) {
        // Probing may have met this picture before the search reaches it.
        bool same = true;
        for (std::size_t i = 0; i < cells_.size() && same; ++i)
            same = result_.first[i] == clues_.palette[std::size_t(__builtin_ctz(cells_[i]))];
        if (same)
            return;
    }
    auto& out = result_.solutions == 0 ? result_.first : result_.second;
    out.resize(cells_.size());
    for (std::size_t i = 0; i < cells_.size(); ++i)
        out[i] = clues_.palette[std::size_t(__builtin_ctz(cells_[i]))];
    ++result_.solutions;
}

void CompleteSolver::search()
{
    if (!propagate())
        return;
    std::size_t branch = 0;
    if (!probe(branch))
        return;
    if (undecided_ == 0) {
        record();
        return;
    }
    // Once one solution is known, a second one must differ from it somewhere:
    // the value the first solution has here is tried last.
    CellSet values = cells_[branch];
    CellSet last = 0;
    if (result_.solutions == 1)
        for (CellSet v = values; v; v &= v - 1)
            if (clues_.palette[std::size_t(__builtin_ctz(v))] == result_.first[branch])
                last = v & (~v + 1);
    values &= ~last;
    // Otherwise the value that forced the least when probed goes first: it
    // leaves the most room, so a solution below it is likeliest.
    // The frame stays small: the search may go as deep as there are cells.
    std::array<std::uint8_t, Clues::kMaxColours + 1> order{};
    int count = 0;
    for (CellSet rest = values; rest; ++count) {
        int pick = -1;
        for (CellSet u = rest; u; u &= u - 1) {
            const int b = __builtin_ctz(u);
            if (pick < 0 || branchSizes_[std::size_t(b)] < branchSizes_[std::size_t(pick)])
                pick = b;
        }
        order[std::size_t(count)] = std::uint8_t(pick);
        rest &= ~(CellSet(1) << pick);
    }
    if (last)
        order[std::size_t(count++)] = std::uint8_t(__builtin_ctz(last));
    for (int n = 0; n < count; ++n) {
        if (result_.solutions >= 2 || stopped_)
            return;
        if ((limits_.guesses > 0 && result_.guesses >= limits_.guesses) || outOfTime()) {
            stopped_ = true;
            return;
        }
        ++result_.guesses;
        const std::size_t mark = trail_.size();
        set(branch, CellSet(1) << order[std::size_t(n)]);
        pushCell(branch);
        search();
        undo(mark);
    }
}

SolveCount CompleteSolver::solve(SolveLimits limits)
{
    limits_ = limits;
    start_ = Clock::now();
    const double processorStart = processorSeconds();
    stopped_ = false;
    result_ = SolveCount{};
    if (!width_)
        return result_; // clues no picture can have
    for (int line = 0; line < int(lineClues_.size()); ++line)
        push(line);
    if (propagate()) {
        result_.lineSolvable = undecided_ == 0;
        search();
    }
    result_.stopped = stopped_;
    undo(0);
    result_.seconds = processorSeconds() - processorStart;
    result_.wallSeconds = std::chrono::duration<double>(Clock::now() - start_).count();
    return result_;
}
