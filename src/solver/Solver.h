#pragma once

#include "grid/Cell.h"
#include "data/Color.h"
#include "solver/LinePlacements.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CrossData;
class GridModel;

// The field the solver works on: cell states and colours to read and write,
// the clue slots of every row and column. The grid model is one; tests and
// the rating tool use a bare field.
class SolveTarget {
public:
    virtual ~SolveTarget() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int rowSlots() const = 0;    // clue slots beside each row
    virtual int columnSlots() const = 0; // clue slots above each column
    // Slot k (0 at the outer edge) of a row or column: colour index and
    // block length, (0, 0) for a blank slot.
    virtual std::pair<int, int> clue(bool column, int line, int slot) const = 0;
    virtual CellState state(int column, int row) const = 0;
    virtual RGB colour(int column, int row) const = 0;
    virtual void set(int column, int row, CellState state, RGB colour) = 0;
    // The cell was decided: show it now, so the picture builds up.
    virtual void redraw(int /*column*/, int /*row*/) {}
};

// The grid model as a solver target.
class GridSolveTarget : public SolveTarget {
public:
    explicit GridSolveTarget(GridModel& grid) : grid_(grid) {}
    int width() const override;
    int height() const override;
    int rowSlots() const override;
    int columnSlots() const override;
    std::pair<int, int> clue(bool column, int line, int slot) const override;
    CellState state(int column, int row) const override;
    RGB colour(int column, int row) const override;
    void set(int column, int row, CellState state, RGB colour) override;
    void redraw(int column, int row) override;

private:
    GridModel& grid_;
};

// How a run ended.
enum class SolveResult : std::uint8_t {
    Solved,        // every cell decided
    Stopped,       // more than 100 guesses, or a decided picture that breaks the clues
    Contradiction, // a line had no valid placement
    Aborted,       // the player pressed Escape
    Refused,       // wider or taller than the solver handles; nothing changed
};

struct SolveReport {
    SolveResult result = SolveResult::Refused;
    int tries = 0;
    std::int64_t placements = 0;
    std::int64_t decided = 0;   // cells decided by lines and guesses
    int undecided = 0;          // cells left Empty at the end
    int elapsed = 0;            // whole seconds, as the report shows them
    double seconds = 0;         // measured, fractional
    double level = 0;           // tries x 0.1 + elapsed x 0.1
    std::string text;           // the message the window shows
    std::string status;         // the status bar text at the end
    // The blank guess whose consequences contradicted the clues (counted
    // from 0), -1 when the contradiction came before any guess.
    int guessColumn = -1, guessRow = -1;
};

// The automatic solver: line solving that decides what every placement of a
// line's blocks agrees on, scheduled by a rising limit on the blocks per
// line, with guesses of blank cells when lines alone get stuck. Its counts
// (tries, placements) are those of enumerating every placement; the line
// step computes them without doing so.
class Solver {
public:
    static constexpr int kMaxLine = 100;
    static constexpr int kMaxTries = 100;
    static constexpr std::int64_t kProgressEvery = 100000;
    static constexpr double kProgressSeconds = 0.1;

    // Called with the progress text whenever the placements have passed a
    // multiple of 100000 since the last call, and at least every 100 ms of a
    // run; returns true when the player asked to stop (Escape).
    using Progress = std::function<bool(const std::string& statusText)>;
    // Seconds since some fixed moment; replaceable so tests control time.
    using Clock = std::function<double()>;

    explicit Solver(SolveTarget& target);
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    // Replaces the line step (tests compare it with a plain enumeration).
    void setLineEngine(LineEngine& engine) { engine_ = &engine; }

    // One run from the field as it is (the window clears it first). A
    // crossword wider or taller than 100 is refused and left as it is.
    SolveReport Solve();
    // Whether Solve would run on this field rather than refuse it.
    static bool handles(int width, int height)
    {
        return width > 0 && height > 0 && width <= kMaxLine && height <= kMaxLine;
    }

    // The line steps, public for tests. `line` is a column index when
    // `column`, else a row index.
    bool SolveLine(bool column, int line, int threshold);
    bool contradiction() const { return contradiction_; }
    std::int64_t placements() const { return placements_; }
    std::int64_t decided() const { return decided_; }
    // Loads the field and the clues without running (for SolveLine tests).
    bool prepare();

    static const char* resultName(SolveResult result);

private:
    enum : std::uint8_t {
        kUndecided = LineCells::kUndecided,
        kFilled = LineCells::kFilled,
        kBlank = LineCells::kBlank,
        kMarked = LineCells::kMarked
    };

    void Propagate();
    bool Search(int row0, int column0);
    // Whether every line of the field shows exactly its clues.
    bool fieldFitsClues();
    void report(SolveResult result, int guessColumn = -1, int guessRow = -1);
    void progressReport();
    std::string statusClock(int elapsed) const;

    // The line being solved: where its cells are and which clues it has.
    void selectLine(bool column, int line);
    std::uint8_t& stateAt(int i) { return states_[lineBase_ + std::size_t(i) * lineStride_]; }
    std::uint8_t colourAt(int i) const { return colours_[lineBase_ + std::size_t(i) * lineStride_]; }

    SolveTarget& target_;
    Progress progress_;
    Clock clock_;

    int width_ = 0, height_ = 0, rowSlots_ = 0, columnSlots_ = 0;
    // Working copy of the field, [column * height + row]: state and palette
    // index (the solver only ever writes palette colours).
    std::vector<std::uint8_t> states_;
    std::vector<std::uint8_t> colours_;
    // Clues, [line * slots + slot].
    std::vector<std::uint8_t> rowColour_, rowNumber_, columnColour_, columnNumber_;

    std::array<std::uint8_t, kMaxLine> columnDirty_{};
    std::array<std::uint8_t, kMaxLine> rowDirty_{};
    // The line in hand, its cells side by side, and what its placements
    // agree on.
    std::array<std::uint8_t, kMaxLine> lineState_{};
    std::array<std::uint8_t, kMaxLine> lineColour_{};
    LineOutcome outcome_;
    LinePlacements placementsEngine_;
    LineEngine* engine_ = &placementsEngine_;

    // The line in hand.
    bool lineIsColumn_ = false;
    int lineIndex_ = 0;
    int len_ = 0;
    int slots_ = 0;
    const std::uint8_t* slotColour_ = nullptr;
    const std::uint8_t* slotNumber_ = nullptr;
    std::size_t lineBase_ = 0, lineStride_ = 1;

    bool contradiction_ = false;
    bool abort_ = false;
    bool reported_ = false;
    bool misfit_ = false;  // every cell decided, yet some line breaks its clues
    std::int64_t placements_ = 0;
    std::int64_t decided_ = 0;
    int tries_ = 0;
    double start_ = 0;
    // The last progress report: placements / 100000 then, and its time. (A
    // count that has saturated reports on time only.)
    std::int64_t progressStep_ = 0;
    double lastReport_ = 0;
    SolveReport report_;
    // Copies of the field for guesses, one per depth, reused between runs.
    std::vector<std::vector<std::uint8_t>> saved_;
};

// Loads the crossword into the grid, clears the field and solves it from
// scratch, as authors' tools rate a crossword.
SolveReport solveFromScratch(GridModel& grid, const CrossData& data);
