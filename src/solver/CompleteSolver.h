#pragma once

#include "solver/Clues.h"
#include "solver/LineSolver.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// What the complete solver found out about a crossword.
struct SolveCount {
    int solutions = 0;         // 0, 1, or 2 meaning "two or more"
    bool lineSolvable = false; // line logic alone decided every cell
    bool stopped = false;      // the limit ran out; `solutions` counts what was found
    // Solutions as palette indices, row by row from the top ([row * width + column]).
    std::vector<std::uint8_t> first, second;
    std::int64_t lines = 0;    // line solver calls
    std::int64_t probes = 0;   // values tried in probing
    std::int64_t guesses = 0;  // branches of the search
    double seconds = 0;        // processor time spent solving
    double wallSeconds = 0;    // elapsed time, what the time limit counts
};

// When to give up: a stopped run says so and counts what it found.
struct SolveLimits {
    double seconds = 0;       // elapsed seconds, 0: no time limit
    std::int64_t guesses = 0; // 0: no limit on search branches
    // Raised from another thread to give up at the next limit check (a
    // player cancelling an import); the run then ends as a stopped one.
    const std::atomic<bool>* stop = nullptr;
};

// Counts the solutions of a crossword from its clues: line logic over a
// queue of changed lines, probing (try each value of an undecided cell, keep
// what every outcome agrees on, drop values that contradict), and a search
// that tries every value of a cell and stops at the second solution.
class CompleteSolver {
public:
    explicit CompleteSolver(const Clues& clues);
    SolveCount solve(SolveLimits limits = {});

private:
    using Clock = std::chrono::steady_clock;

    int lineLength(int line) const { return line < height_ ? width_ : height_; }
    std::size_t cellOf(int line, int i) const
    {
        return line < height_ ? std::size_t(line) * std::size_t(width_) + std::size_t(i)
                              : std::size_t(i) * std::size_t(width_) + std::size_t(line - height_);
    }
    void set(std::size_t cell, CellSet values);
    void push(int line);
    void pushCell(std::size_t cell);
    void undo(std::size_t mark);
    void clearQueue();
    bool propagate();
    bool probe(std::size_t& branch);
    void search();
    void record();
    // The line solver's answer for a line as it is now, remembered: probing
    // and search meet the same line in the same state again and again.
    bool solveLine(int line, int n);
    bool outOfTime();

    const Clues& clues_;
    int width_, height_;
    std::vector<const std::vector<ClueBlock>*> lineClues_;
    std::vector<CellSet> cells_;
    int undecided_ = 0;
    struct Change {
        std::uint32_t cell;
        CellSet before;
    };
    std::vector<Change> trail_;
    std::vector<int> queue_;
    std::size_t queueHead_ = 0, queueSize_ = 0; // a ring: every line is queued at most once
    std::vector<std::uint8_t> queued_;
    std::unique_ptr<LineSolver> line_;
    std::array<CellSet, LineSolver::kMaxLength> in_{}, out_{};
    // Probing scratch, per cell: the union of its values over the outcomes
    // of the cell being probed, in how many outcomes it changed, and stamps
    // telling whether this probe and this outcome have seen it yet.
    std::vector<CellSet> union_;
    std::vector<std::uint32_t> agreed_, seen_, probed_;
    std::vector<std::uint32_t> touched_;
    std::uint32_t probeStamp_ = 0, outcomeStamp_ = 0;
    // Values some probe of the current pass forced on a cell, valid while
    // the grid the pass started from is unchanged (same epoch).
    std::vector<CellSet> implied_;
    std::vector<std::uint32_t> impliedEpoch_;
    std::uint32_t epoch_ = 0;
    // How much probing each value of the branch cell decided.
    std::array<std::int64_t, 32> branchSizes_{};
    std::size_t probeStart_ = 0; // where probing last learned something

    // Line cache: direct-mapped; each slot holds the hash, the line, its
    // cells before and after (n values each, in `cacheCells_`).
    struct CacheSlot {
        std::uint64_t hash = 0;
        std::int32_t line = -1;
        std::uint8_t ok = 0;
    };
    std::vector<CacheSlot> cache_;
    std::vector<CellSet> cacheCells_;
    std::size_t cacheMask_ = 0, cacheStride_ = 0;

    SolveLimits limits_;
    Clock::time_point start_;
    bool stopped_ = false;
    SolveCount result_;
};
