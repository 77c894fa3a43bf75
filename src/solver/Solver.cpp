#include "solver/Solver.h"

#include "grid/GridModel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

// ------------------------------------------------------------ grid target

int GridSolveTarget::width() const { return grid_.width(); }
int GridSolveTarget::height() const { return grid_.height(); }
int GridSolveTarget::rowSlots() const { return grid_.rowClueCount(); }
int GridSolveTarget::columnSlots() const { return grid_.colClueCount(); }

std::pair<int, int> GridSolveTarget::clue(bool column, int line, int slot) const
{
    const BCell& b = column ? grid_.topClue(line, slot) : grid_.leftClue(slot, line);
    return {b.colourIndex, b.number};
}

CellState GridSolveTarget::state(int column, int row) const { return grid_.cell(column, row).state; }
RGB GridSolveTarget::colour(int column, int row) const { return grid_.cell(column, row).colour; }

void GridSolveTarget::set(int column, int row, CellState state, RGB colour)
{
    grid_.setCell(column, row, state, colour);
}

void GridSolveTarget::redraw(int column, int row) { grid_.redrawCell(column, row); }

// ------------------------------------------------------------------ solver

namespace {
double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

CellState toCellState(std::uint8_t s)
{
    switch (s) {
    case 1: return DefYes;
    case 2: return DefNo;
    case 3: return Mark;
    default: return Empty;
    }
}
}

Solver::Solver(SolveTarget& target) : target_(target), clock_(steadySeconds) {}

const char* Solver::resultName(SolveResult result)
{
    switch (result) {
    case SolveResult::Solved: return "solved";
    case SolveResult::Stopped: return "stopped";
    case SolveResult::Contradiction: return "contradiction";
    case SolveResult::Aborted: return "aborted";
    case SolveResult::Refused: return "refused";
    }
    return "refused";
}

bool Solver::prepare()
{
    width_ = target_.width();
    height_ = target_.height();
    rowSlots_ = target_.rowSlots();
    columnSlots_ = target_.columnSlots();
    if (!handles(width_, height_) || rowSlots_ < 0 || columnSlots_ < 0
        || rowSlots_ > width_ || columnSlots_ > height_)
        return false;
    const std::size_t cells = std::size_t(width_) * height_;
    states_.assign(cells, kUndecided);
    colours_.assign(cells, 0);
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            const std::size_t i = std::size_t(c) * height_ + r;
            switch (target_.state(c, r)) {
            case DefYes: states_[i] = kFilled; break;
            case DefNo: states_[i] = kBlank; break;
            case Mark: states_[i] = kMarked; break;
            default: states_[i] = kUndecided; break;
            }
            colours_[i] = std::uint8_t(PaletteIndex(target_.colour(c, r)));
        }
    auto loadClues = [this](bool column, int lines, int slots, std::vector<std::uint8_t>& colour,
                            std::vector<std::uint8_t>& number) {
        colour.assign(std::size_t(lines) * slots, 0);
        number.assign(std::size_t(lines) * slots, 0);
        for (int line = 0; line < lines; ++line)
            for (int k = 0; k < slots; ++k) {
                const auto [c, n] = target_.clue(column, line, k);
                // A block never outgrows its line; a clue that claims so
                // cannot be placed and ends the run as a contradiction.
                colour[std::size_t(line) * slots + k] = std::uint8_t(c);
                number[std::size_t(line) * slots + k] = std::uint8_t(std::clamp(n, 0, kMaxLine + 1));
            }
    };
    loadClues(false, height_, rowSlots_, rowColour_, rowNumber_);
    loadClues(true, width_, columnSlots_, columnColour_, columnNumber_);
    contradiction_ = abort_ = reported_ = misfit_ = false;
    placements_ = decided_ = 0;
    tries_ = 0;
    progressStep_ = 0;
    lastReport_ = clock_();
    return true;
}

void Solver::selectLine(bool column, int line)
{
    lineIsColumn_ = column;
    lineIndex_ = line;
    if (column) {
        len_ = height_;
        slots_ = columnSlots_;
        slotColour_ = columnColour_.data() + std::size_t(line) * columnSlots_;
        slotNumber_ = columnNumber_.data() + std::size_t(line) * columnSlots_;
        lineBase_ = std::size_t(line) * height_;
        lineStride_ = 1;
    } else {
        len_ = width_;
        slots_ = rowSlots_;
        slotColour_ = rowColour_.data() + std::size_t(line) * rowSlots_;
        slotNumber_ = rowNumber_.data() + std::size_t(line) * rowSlots_;
        lineBase_ = std::size_t(line);
        lineStride_ = std::size_t(height_);
    }
}

bool Solver::SolveLine(bool column, int line, int threshold)
{
    selectLine(column, line);
    if (abort_)
        return false;
    int first = 0;
    while (first < slots_ && slotNumber_[first] == 0)
        ++first;
    if (first == slots_)
        first = 0; // no block: every slot counts
    if (threshold < 5 && (slots_ - first) > threshold)
        return false;

    (column ? columnDirty_ : rowDirty_)[line] = 0;
    for (int i = 0; i < len_; ++i) {
        lineState_[i] = stateAt(i);
        lineColour_[i] = colourAt(i);
    }
    // A line without any clue slot is one block of length 0.
    static const std::uint8_t kNoBlock[1] = {0};
    LineCells cells;
    cells.len = len_;
    cells.state = lineState_.data();
    cells.colour = lineColour_.data();
    cells.blocks = slots_ > 0 ? slots_ - first : 1;
    cells.number = slots_ > 0 ? slotNumber_ + first : kNoBlock;
    cells.blockColour = slots_ > 0 ? slotColour_ + first : kNoBlock;
    engine_->solve(cells, outcome_);

    constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max();
    placements_ = outcome_.placements > kSaturated - placements_ ? kSaturated : placements_ + outcome_.placements;
    if (placements_ / kProgressEvery > progressStep_ || clock_() - lastReport_ >= kProgressSeconds)
        progressReport();
    if (abort_)
        return true;
    if (!outcome_.ok) {
        contradiction_ = true;
        return true;
    }
    const auto& canFill = outcome_.canFill;
    const auto& canBlank = outcome_.canBlank;
    for (int i = 0; i < len_; ++i) {
        std::uint8_t& s = stateAt(i);
        if (s != kUndecided || canFill[i] == canBlank[i])
            continue;
        // Filling it in one of several colours could be the wrong one and
        // make a solvable crossword look contradictory; the crossing line
        // settles the colour later.
        if (canFill[i] && outcome_.mixed[i])
            continue;
        const int col = column ? line : i;
        const int row = column ? i : line;
        (column ? rowDirty_ : columnDirty_)[i] = 1;
        ++decided_;
        std::uint8_t& colour = colours_[lineBase_ + std::size_t(i) * lineStride_];
        if (canFill[i]) {
            s = kFilled;
            colour = outcome_.fillColour[i];
            target_.set(col, row, DefYes, PaletteColor(colour));
        } else {
            s = kBlank;
            colour = 0;
            target_.set(col, row, DefNo, PaletteColor(0));
        }
        target_.redraw(col, row);
    }
    return true;
}

void Solver::Propagate()
{
    int threshold = 2;
    while (threshold <= 5) {
        bool last = false;
        for (int c = 0; c < width_; ++c)
            if (columnDirty_[c])
                last = SolveLine(true, c, threshold);
        for (int r = 0; r < height_; ++r)
            if (rowDirty_[r])
                last = SolveLine(false, r, threshold);
        if (!last)
            ++threshold;
        if (abort_)
            break;
    }
}

bool Solver::Search(int row0, int column0)
{
    contradiction_ = false;
    ++tries_;
    Propagate();
    if (contradiction_ || abort_) {
        // Every call but the first follows the blank guess at its start.
        if (abort_ || tries_ == 1)
            report(abort_ ? SolveResult::Aborted : SolveResult::Contradiction);
        else
            report(SolveResult::Contradiction, column0, row0);
        return false;
    }
    int foundRow = -1, foundColumn = -1;
    for (int r = row0, c = column0; r < height_ && foundRow < 0; ++r, c = 0)
        for (; c < width_; ++c)
            if (states_[std::size_t(c) * height_ + r] == kUndecided) {
                foundRow = r;
                foundColumn = c;
                break;
            }
    if (foundRow < 0 && !fieldFitsClues()) {
        // The line step checks a filled cell before a block only against
        // that block's colour, so a colour crossword can end with every cell
        // decided in a picture that breaks its clues. That is no solution:
        // after a guess the guess failed; without one the rating ends here.
        if (tries_ == 1) {
            misfit_ = true;
            report(SolveResult::Stopped);
        } else {
            report(SolveResult::Contradiction, column0, row0);
        }
        return false;
    }
    if (foundRow < 0 || tries_ > kMaxTries) {
        report(foundRow < 0 ? SolveResult::Solved : SolveResult::Stopped);
        return true;
    }
    // Guess a blank cell; keep the field to go back to when it fails.
    const std::size_t depth = std::size_t(tries_ - 1);
    if (saved_.size() <= depth)
        saved_.resize(depth + 1);
    std::vector<std::uint8_t>& copy = saved_[depth];
    copy.assign(states_.begin(), states_.end());
    copy.insert(copy.end(), colours_.begin(), colours_.end());
    ++decided_;
    const std::size_t i = std::size_t(foundColumn) * height_ + foundRow;
    states_[i] = kBlank;
    target_.set(foundColumn, foundRow, DefNo, PaletteColor(colours_[i]));
    target_.redraw(foundColumn, foundRow);
    rowDirty_[foundRow] = 1;
    columnDirty_[foundColumn] = 1;
    if (Search(foundRow, foundColumn))
        return true;
    const std::vector<std::uint8_t>& back = saved_[depth];
    const std::size_t cells = states_.size();
    for (std::size_t j = 0; j < cells; ++j) {
        states_[j] = back[j];
        colours_[j] = back[cells + j];
        target_.set(int(j / height_), int(j % height_), toCellState(states_[j]), PaletteColor(colours_[j]));
    }
    return false;
}

bool Solver::fieldFitsClues()
{
    for (const bool column : {false, true})
        for (int line = 0, lines = column ? width_ : height_; line < lines; ++line) {
            selectLine(column, line);
            int k = 0;
            auto nextSlot = [&] {
                while (k < slots_ && slotNumber_[k] == 0)
                    ++k;
            };
            for (int i = 0; i < len_;) {
                if (stateAt(i) != kFilled) {
                    ++i;
                    continue;
                }
                const std::uint8_t colour = colourAt(i);
                int run = 0;
                for (; i < len_ && stateAt(i) == kFilled && colourAt(i) == colour; ++i)
                    ++run;
                nextSlot();
                if (k == slots_ || slotNumber_[k] != run || slotColour_[k] != colour)
                    return false;
                ++k;
            }
            nextSlot();
            if (k != slots_)
                return false;
        }
    return true;
}

std::string Solver::statusClock(int elapsed) const
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2d:%.2d:%.2d", elapsed / 3600, elapsed / 60 % 60, elapsed % 60);
    return buf;
}

void Solver::progressReport()
{
    const int elapsed = int(clock_() - start_);
    char buf[200];
    const double progress = double(decided_) / (double(width_) * height_) * 100.0;
    std::snprintf(buf, sizeof buf, "Solving... Time: %s  Progress:  %.2f %% Try: %d Total: %lld",
                  statusClock(elapsed).c_str(), progress, tries_, static_cast<long long>(placements_ / 10000));
    progressStep_ = placements_ / kProgressEvery;
    lastReport_ = clock_();
    if (progress_ && progress_(buf))
        abort_ = true;
}

void Solver::report(SolveResult result, int guessColumn, int guessRow)
{
    if (reported_)
        return;
    reported_ = true;
    SolveReport& r = report_;
    r.result = result;
    r.seconds = clock_() - start_;
    r.elapsed = int(r.seconds);
    r.tries = tries_;
    r.placements = placements_;
    r.decided = decided_;
    r.level = tries_ * 0.1 + r.elapsed * 0.1;
    r.guessColumn = guessColumn;
    r.guessRow = guessRow;
    const std::string clock = statusClock(r.elapsed);
    char figures[200];
    std::snprintf(figures, sizeof figures, "Time: %s.\nSec: %d\nTrying: %d, Total: %lld\n\n LEVEL: %f", clock.c_str(),
                  r.elapsed, tries_, static_cast<long long>(placements_ / 1000), r.level);
    int undecided = 0;
    for (std::uint8_t s : states_)
        undecided += s == kUndecided;
    char head[160];
    switch (result) {
    case SolveResult::Solved:
        std::snprintf(head, sizeof head, "Solution is found.");
        r.status = "Solved.";
        break;
    case SolveResult::Stopped:
        if (misfit_) {
            std::snprintf(head, sizeof head,
                          "Every cell was decided, but the picture does not fit the clues; the rating stops there.");
            r.status = "Stopped: the picture does not fit the clues.";
            break;
        }
        // More than 100 guesses: the picture is not complete, and saying
        // otherwise would rate an unsolved crossword as solved.
        std::snprintf(head, sizeof head, "The search stopped after %d tries; %d cells are still undecided.", tries_,
                      undecided);
        r.status = "Stopped: " + std::to_string(undecided) + " cells undecided.";
        break;
    case SolveResult::Contradiction:
        if (guessColumn < 0) {
            std::snprintf(head, sizeof head, "No solution: a line cannot be filled as its clues say.");
            r.status = "No solution.";
            break;
        }
        // Only the blank was tried at that cell, never a fill: the
        // crossword may well have a solution, so this must not claim none.
        std::snprintf(head, sizeof head,
                      "The blank guess at column %d, row %d led to a contradiction; the rating stops there.",
                      guessColumn + 1, guessRow + 1);
        r.status = "Stopped: the guess at column " + std::to_string(guessColumn + 1) + ", row "
                   + std::to_string(guessRow + 1) + " failed.";
        break;
    case SolveResult::Aborted:
        std::snprintf(head, sizeof head, "The solver was stopped with Escape.");
        r.status = "Stopped by the player.";
        break;
    case SolveResult::Refused:
        break;
    }
    r.text = std::string(head) + "\n" + figures;
}

SolveReport Solver::Solve()
{
    report_ = SolveReport{};
    if (!prepare()) {
        report_.result = SolveResult::Refused;
        report_.text = "The solver handles crosswords of at most 100 columns and 100 rows; this one is "
                       + std::to_string(target_.width()) + " x " + std::to_string(target_.height()) + ".";
        report_.status = "Not solved: too large.";
        return report_;
    }
    start_ = lastReport_ = clock_();
    progressStep_ = 0;
    for (int c = 0; c < width_; ++c)
        columnDirty_[c] = 1;
    for (int r = 0; r < height_; ++r)
        rowDirty_[r] = 1;
    Search(0, 0);
    // A failed guess puts the field back to what line solving found; the
    // count of undecided cells is that of the field the player sees.
    int undecided = 0;
    for (std::uint8_t s : states_)
        undecided += s == kUndecided;
    report_.undecided = undecided;
    return report_;
}

SolveReport solveFromScratch(GridModel& grid, const CrossData& data)
{
    grid.SetDataSource(data);
    grid.Clear();
    GridSolveTarget target(grid);
    return Solver(target).Solve();
}
