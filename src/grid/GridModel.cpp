#include "grid/GridModel.h"

#include "grid/Figures.h"
#include "grid/PlayerAids.h"

#include <algorithm>

namespace {
GridHost& nullHost()
{
    static GridHost host;
    return host;
}
}

GridModel::GridModel() = default;

GridHost& GridModel::host() const
{
    return host_ ? *host_ : nullHost();
}

const std::string& GridModel::name() const
{
    static const std::string none;
    return data_ ? data_->name : none;
}

// ---------------------------------------------------------------- crossword

void GridModel::SetDataSource(const CrossData& data)
{
    setSuggestedCell(std::nullopt);

    cells_.clear();
    left_.clear();
    top_.clear();
    history_.clear();
    stroke_ = false;
    mistakes_.clear();
    data_.reset();

    data_ = data.clone();
    width_ = data_->width;
    height_ = data_->height;
    rc_ = data_->maxRowClues;
    cc_ = data_->maxColClues;

    cells_.assign(std::size_t(width_) * height_, GCell{});
    left_.assign(std::size_t(rc_) * height_, BCell{});
    top_.assign(std::size_t(width_) * cc_, BCell{});
    for (int k = 0; k < rc_; ++k)
        for (int r = 0; r < height_; ++r) {
            const auto [colour, number] = data_->getClue(k, r, false);
            leftRef(k, r).colourIndex = colour;
            leftRef(k, r).number = static_cast<std::int8_t>(number);
        }
    for (int c = 0; c < width_; ++c)
        for (int k = 0; k < cc_; ++k) {
            const auto [colour, number] = data_->getClue(k, c, true);
            topRef(c, k).colourIndex = colour;
            topRef(c, k).number = static_cast<std::int8_t>(number);
        }

    if (listener_)
        listener_->crosswordLoaded();

    host().previewResize(width_ * 3, height_ * 3);
    if (host().hasColourButton()) {
        colour_ = PaletteColor(kDefaultDrawIndex);
        host().showCurrentColour(colour_);
    }
}

void GridModel::ShowSolution()
{
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            const int v = solution(c, r);
            cellRef(c, r).colour = PaletteColor(v);
            cellRef(c, r).state = v > 0 ? DefYes : Empty;
        }
}

void GridModel::restoreCell(int c, int r, CellState state, int colourIndex)
{
    cellRef(c, r).state = state;
    cellRef(c, r).colour = PaletteColor(colourIndex);
}

void GridModel::setCell(int c, int r, CellState state, RGB colour)
{
    cellRef(c, r).state = state;
    cellRef(c, r).colour = colour;
}

void GridModel::pickColour(RGB colour)
{
    colour_ = colour;
    host().showCurrentColour(colour);
}

// ------------------------------------------------------------ notifications

void GridModel::setSuggestedCell(std::optional<std::pair<int, int>> c)
{
    if (suggested_)
        redrawCell(suggested_->first, suggested_->second);
    suggested_ = c;
    if (listener_)
        listener_->suggestionChanged();
    if (suggested_)
        redrawCell(suggested_->first, suggested_->second);
}

void GridModel::redrawCell(int column, int row)
{
    if (listener_)
        listener_->cellChanged(column, row);
    host().previewCellChanged(column, row);
}

void GridModel::redrawClue(bool top, int first, int second)
{
    if (listener_)
        listener_->clueChanged(top, first, second);
}

// ------------------------------------------------------------------ editing

void GridModel::setCellRecorded(int c, int r, CellState state, RGB colour)
{
    GCell& g = cellRef(c, r);
    if (g.state == state && g.colour == colour)
        return; // nothing to take back
    HistoryChange change;
    change.first = c;
    change.second = r;
    change.oldState = g.state;
    change.oldColour = g.colour;
    change.newState = state;
    change.newColour = colour;
    history_.record(change);
    g.state = state;
    g.colour = colour;
    redrawCell(c, r);
}

void GridModel::helpLines(const std::vector<std::pair<int, int>>& filled)
{
    if (!host().lineHelpEnabled() || filled.empty())
        return;
    std::vector<std::uint8_t> rowSeen(std::size_t(height_), 0), columnSeen(std::size_t(width_), 0);
    auto help = [&](bool row, int index) {
        for (const auto& [c, r] : playeraids::cellsToCross(*this, row, index))
            setCellRecorded(c, r, DefNo, kWhite);
    };
    for (const auto& [c, r] : filled) {
        if (!rowSeen[std::size_t(r)]++)
            help(true, r);
        if (!columnSeen[std::size_t(c)]++)
            help(false, c);
    }
}

void GridModel::beginStroke()
{
    endStroke();
    history_.beginStep();
    stroke_ = true;
}

void GridModel::endStroke()
{
    if (stroke_)
        history_.endStep();
    stroke_ = false;
}

void GridModel::paint(int c, int r, CellState state)
{
    history_.beginStep();
    setCellRecorded(c, r, state, state == Mark ? cell(c, r).colour : colour_);
    if (state == DefYes)
        helpLines({{c, r}});
    history_.endStep();
    changed();
    CheckSolved();
}

void GridModel::paintFigure(int c0, int r0, int c1, int r1, DrawMode shape, CellState state)
{
    if (shape == DrawMode::Line)
        lineCells(c0, r0, c1, r1, figure_);
    else
        rectCells(c0, r0, c1, r1, figure_);
    history_.beginStep();
    std::vector<std::pair<int, int>> inside;
    for (const auto& [c, r] : figure_) {
        if (c < 0 || r < 0 || c >= width_ || r >= height_)
            continue;
        setCellRecorded(c, r, state, state == Mark ? cell(c, r).colour : colour_);
        inside.emplace_back(c, r);
    }
    if (state == DefYes)
        helpLines(inside);
    history_.endStep();
    changed();
    CheckSolved();
}

void GridModel::toggleClueMark(bool top, int first, int second)
{
    BCell& b = clueRef(top, first, second);
    if (b.colourIndex == 0)
        return;
    HistoryChange change;
    change.clue = true;
    change.top = top;
    change.first = first;
    change.second = second;
    change.oldState = b.mark;
    change.newState = b.mark ? 0 : 1;
    history_.record(change);
    b.mark = change.newState;
    redrawClue(top, first, second);
    recomputeBlankSlots(top, top ? first : second);
    changed();
}

void GridModel::pickClueColour(bool top, int first, int second)
{
    const BCell& b = clueRef(top, first, second);
    if (b.colourIndex == 0)
        return;
    pickColour(PaletteColor(b.colourIndex));
    // Any click on a numbered clue squares its line's blank slots with the
    // numbered ones, as striking one out does.
    recomputeBlankSlots(top, top ? first : second);
}

void GridModel::recomputeBlankSlots(bool top, int line)
{
    const int slots = top ? cc_ : rc_;
    bool allStruck = true;
    int firstNumbered = slots;
    for (int k = 0; k < slots; ++k) {
        const BCell& b = top ? topClue(line, k) : leftClue(k, line);
        if (b.colourIndex != 0) {
            firstNumbered = std::min(firstNumbered, k);
            if (!b.mark)
                allStruck = false;
        }
    }
    for (int k = 0; k < firstNumbered; ++k) {
        BCell& b = top ? topRef(line, k) : leftRef(k, line);
        b.mark = allStruck ? 1 : 0;
        if (top)
            redrawClue(true, line, k);
        else
            redrawClue(false, k, line);
    }
}

void GridModel::applyChange(const HistoryChange& change, bool forward)
{
    const std::uint8_t state = forward ? change.newState : change.oldState;
    if (change.clue) {
        clueRef(change.top, change.first, change.second).mark = state;
        redrawClue(change.top, change.first, change.second);
        recomputeBlankSlots(change.top, change.top ? change.first : change.second);
        return;
    }
    GCell& g = cellRef(change.first, change.second);
    g.state = CellState(state);
    g.colour = forward ? change.newColour : change.oldColour;
    redrawCell(change.first, change.second);
}

void GridModel::Undo()
{
    const History::Step* step = history_.undo();
    if (!step)
        return;
    if (step->cleared)
        showPicture(*step->cleared);
    for (auto it = step->changes.rbegin(); it != step->changes.rend(); ++it)
        applyChange(*it, false);
    changed();
}

void GridModel::Redo()
{
    const History::Step* step = history_.redo();
    if (!step)
        return;
    if (step->cleared)
        showPicture(FieldPicture{});
    for (const HistoryChange& change : step->changes)
        applyChange(change, true);
    changed();
    CheckSolved();
}

std::shared_ptr<FieldPicture> GridModel::picture() const
{
    auto p = std::make_shared<FieldPicture>();
    for (const GCell& g : cells_) {
        p->states.push_back(g.state);
        p->colours.push_back(g.colour);
    }
    for (const BCell& b : left_)
        p->leftMarks.push_back(b.mark);
    for (const BCell& b : top_)
        p->topMarks.push_back(b.mark);
    return p;
}

void GridModel::showPicture(const FieldPicture& picture)
{
    // An empty picture is the cleared field.
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            const std::size_t i = std::size_t(c) * height_ + r;
            const CellState state = i < picture.states.size() ? CellState(picture.states[i]) : Empty;
            const RGB colour = i < picture.colours.size() ? picture.colours[i] : kWhite;
            GCell& g = cellRef(c, r);
            if (g.state != state || g.colour != colour) {
                g.state = state;
                g.colour = colour;
                redrawCell(c, r);
            }
        }
    auto marks = [&](std::vector<BCell>& clues, const std::vector<std::uint8_t>& stored, bool top) {
        for (std::size_t i = 0; i < clues.size(); ++i) {
            const std::uint8_t mark = i < stored.size() ? stored[i] : 0;
            if (clues[i].mark == mark)
                continue;
            clues[i].mark = mark;
            if (top)
                redrawClue(true, int(i) / cc_, int(i) % cc_);
            else
                redrawClue(false, int(i) / height_, int(i) % height_);
        }
    };
    marks(left_, picture.leftMarks, false);
    marks(top_, picture.topMarks, true);
}

void GridModel::Clear()
{
    const bool blank = std::all_of(cells_.begin(), cells_.end(),
                                   [](const GCell& g) { return g.state == Empty && g.colour == kWhite; })
                       && std::none_of(left_.begin(), left_.end(), [](const BCell& b) { return b.mark; })
                       && std::none_of(top_.begin(), top_.end(), [](const BCell& b) { return b.mark; });
    if (blank)
        return;
    history_.recordClear(picture());
    showPicture(FieldPicture{});
    changed();
}

// ----------------------------------------------------------------- mistakes

bool GridModel::mistakeShown(int column, int row) const
{
    return !mistakes_.empty() && mistakes_[std::size_t(column) * height_ + row];
}

int GridModel::showMistakes()
{
    hideMistakes();
    const playeraids::Cells wrong = playeraids::mistakes(*this);
    if (!wrong.empty()) {
        mistakes_.assign(cells_.size(), 0);
        for (const auto& [c, r] : wrong) {
            mistakes_[std::size_t(c) * height_ + r] = 1;
            redrawCell(c, r);
        }
    }
    host().mistakesCounted(int(wrong.size()));
    return int(wrong.size());
}

void GridModel::hideMistakes()
{
    if (mistakes_.empty())
        return;
    std::vector<std::uint8_t> shown;
    shown.swap(mistakes_);
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r)
            if (shown[std::size_t(c) * height_ + r])
                redrawCell(c, r);
}

void GridModel::changed()
{
    // Frames show until the next change, unless the player wants them kept
    // up to date.
    if (host().liveMistakes())
        showMistakes();
    else
        hideMistakes();
}

void GridModel::AutoMarkClues()
{
    if (!data_ || !host().autoMarkEnabled())
        return;
    for (int c = 0; c < width_; ++c) {
        int yes = 0, filled = 0;
        for (int r = 0; r < height_; ++r) {
            yes += cell(c, r).state == DefYes;
            filled += solution(c, r) > 0;
        }
        if (yes == filled)
            for (int k = 0; k < cc_; ++k)
                if (!topClue(c, k).mark) {
                    topRef(c, k).mark = 1;
                    redrawClue(true, c, k);
                }
    }
    for (int r = 0; r < height_; ++r) {
        int yes = 0, filled = 0;
        for (int c = 0; c < width_; ++c) {
            yes += cell(c, r).state == DefYes;
            filled += solution(c, r) > 0;
        }
        if (yes == filled)
            for (int k = 0; k < rc_; ++k)
                if (!leftClue(k, r).mark) {
                    leftRef(k, r).mark = 1;
                    redrawClue(false, k, r);
                }
    }
}

bool GridModel::CheckSolved()
{
    if (suggested_)
        setSuggestedCell(std::nullopt);
    if (!data_)
        return false;
    bool solved = true;
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            const GCell& g = cell(c, r);
            const int v = solution(c, r);
            if (v != 0) {
                if (g.state != DefYes || PaletteIndex(g.colour) != v)
                    solved = false;
            } else if (g.state == DefYes && PaletteIndex(g.colour) != 0) {
                solved = false;
            }
        }
    if (solved)
        host().crosswordSolved(name());
    return solved;
}

void GridModel::Suggest()
{
    if (!data_)
        return;
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            GCell& g = cellRef(c, r);
            const int v = solution(c, r);
            const bool right = v == 0 ? g.state == DefNo
                                      : (g.state == DefYes && PaletteIndex(g.colour) == v);
            if (right)
                continue;
            if (v == 0) {
                g.state = DefNo;
                g.colour = kWhite;
            } else {
                g.state = DefYes;
                g.colour = PaletteColor(v);
            }
            redrawCell(c, r);
            history_.dropRedo(); // the corrected cell is a change of its own
            changed();
            CheckSolved();
            setSuggestedCell(std::make_pair(c, r));
            return;
        }
}
