#include "grid/GridModel.h"

#include "grid/Figures.h"

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

void GridModel::paint(int c, int r, CellState state)
{
    GCell& g = cellRef(c, r);
    HistoryRecord rec;
    rec.kind = HistoryRecord::Change;
    rec.first = c;
    rec.second = r;
    rec.tool = 0;
    rec.oldState = g.state;
    rec.oldColour = g.colour;
    history_.push(rec);
    g.state = state;
    if (state != Mark)
        g.colour = colour_;
    redrawCell(c, r);
    CheckSolved();
}

void GridModel::paintFigure(int c0, int r0, int c1, int r1, DrawMode shape, CellState state)
{
    if (shape == DrawMode::Line)
        lineCells(c0, r0, c1, r1, figure_);
    else
        rectCells(c0, r0, c1, r1, figure_);
    const std::uint8_t tool = shape == DrawMode::Line ? 1 : 2;
    HistoryRecord marker;
    marker.kind = HistoryRecord::FigureMarker;
    history_.push(marker);
    for (const auto& [c, r] : figure_) {
        if (c < 0 || r < 0 || c >= width_ || r >= height_)
            continue;
        GCell& g = cellRef(c, r);
        HistoryRecord rec;
        rec.kind = HistoryRecord::Change;
        rec.first = c;
        rec.second = r;
        rec.tool = tool;
        rec.oldState = g.state;
        rec.oldColour = g.colour;
        history_.push(rec);
        if (state != Mark)
            g.colour = colour_;
        g.state = state;
        redrawCell(c, r);
    }
    CheckSolved();
}

void GridModel::toggleClueMark(bool top, int first, int second)
{
    BCell& b = clueRef(top, first, second);
    if (b.colourIndex == 0)
        return;
    HistoryRecord rec;
    rec.kind = HistoryRecord::Change;
    rec.clue = 1;
    rec.first = first;
    rec.second = second;
    rec.top = top ? 1 : 0;
    rec.oldMark = b.mark;
    history_.push(rec);
    b.mark = b.mark ? 0 : 1;
    redrawClue(top, first, second);
    recomputeBlankSlots(top, top ? first : second);
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

void GridModel::Undo()
{
    while (!history_.empty()) {
        const HistoryRecord rec = history_.pop();
        if (rec.kind == HistoryRecord::FigureMarker)
            return;
        if (rec.clue) {
            const bool top = rec.top != 0;
            clueRef(top, rec.first, rec.second).mark = rec.oldMark;
            redrawClue(top, rec.first, rec.second);
            recomputeBlankSlots(top, top ? rec.first : rec.second);
            return;
        }
        GCell& g = cellRef(rec.first, rec.second);
        g.state = CellState(rec.oldState);
        g.colour = rec.oldColour;
        redrawCell(rec.first, rec.second);
        if (rec.tool == 0)
            return;
    }
}

void GridModel::Clear()
{
    for (GCell& g : cells_) {
        g.colour = kWhite;
        g.state = Empty;
    }
    for (BCell& b : left_)
        b.mark = 0;
    for (BCell& b : top_)
        b.mark = 0;
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
            CheckSolved();
            setSuggestedCell(std::make_pair(c, r));
            return;
        }
}
