#include "grid/GridModel.h"

#include "config/Localization.h"
#include "grid/Figures.h"

#include <algorithm>
#include <cstdio>

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
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            cell(c, r).column = c;
            cell(c, r).row = r;
        }
    for (int k = 0; k < rc_; ++k)
        for (int r = 0; r < height_; ++r) {
            const auto [colour, number] = data_->getClue(k, r, false);
            leftClue(k, r).colourIndex = colour;
            leftClue(k, r).number = static_cast<std::int8_t>(number);
        }
    for (int c = 0; c < width_; ++c)
        for (int k = 0; k < cc_; ++k) {
            const auto [colour, number] = data_->getClue(k, c, true);
            topClue(c, k).colourIndex = colour;
            topClue(c, k).number = static_cast<std::int8_t>(number);
        }

    // Whatever was dragged or hovered belonged to the previous crossword.
    startCol_ = startRow_ = endCol_ = endRow_ = -1;
    band_ = false;
    bandMask_.assign(cells_.size(), 0);
    hoverCol_ = hoverRow_ = -1;
    crosshair_ = false;

    layout();

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
            cell(c, r).colour = PaletteColor(v);
            cell(c, r).state = v > 0 ? DefYes : Empty;
        }
}

void GridModel::restoreCell(int c, int r, CellState state, int colourIndex)
{
    cell(c, r).state = state;
    cell(c, r).colour = PaletteColor(colourIndex);
}

// ----------------------------------------------------------------- geometry

void GridModel::layout()
{
    const int s = size_;
    for (int c = 0; c < width_; ++c)
        for (int r = 0; r < height_; ++r) {
            GCell& g = cell(c, r);
            g.x = cellX(c);
            g.y = cellY(r);
            g.size = s;
        }
    for (int k = 0; k < rc_; ++k)
        for (int r = 0; r < height_; ++r) {
            BCell& b = leftClue(k, r);
            b.x = k * s;
            b.y = cellY(r);
            b.size = s;
        }
    for (int c = 0; c < width_; ++c)
        for (int k = 0; k < cc_; ++k) {
            BCell& b = topClue(c, k);
            b.x = cellX(c);
            b.y = k * s;
            b.size = s;
        }
    if (view_)
        view_->geometryChanged();
}

bool GridModel::SetZoom(int size)
{
    if (size < kMinCellSize || size > kMaxCellSize)
        return false;
    size_ = size;
    layout();
    fullRepaint();
    return true;
}

void GridModel::storeCellSize(int size)
{
    if (size >= kMinCellSize && size <= kMaxCellSize)
        size_ = size;
}

int GridModel::controlWidth() const
{
    return (width_ + rc_) * size_ + width_ / 5;
}

int GridModel::controlHeight() const
{
    return (height_ + cc_) * size_ + height_ / 5;
}

HitResult GridModel::hitTest(int x, int y) const
{
    HitResult hit;
    if (!data_ || x < 0 || y < 0)
        return hit;
    const int s = size_;
    const int lw = rc_ * s, th = cc_ * s;
    auto column = [&](int px) {
        const int xp = px - lw;
        return (xp - (xp / s) / 5) / s;
    };
    auto row = [&](int py) {
        const int yp = py - th;
        return (yp - (yp / s) / 5) / s;
    };
    if (x >= lw && y >= th) {
        if (x > lw + width_ * s + width_ / 5 || y > th + height_ * s + height_ / 5)
            return hit;
        const int c = column(x), r = row(y);
        if (c < width_ && r < height_)
            hit = {HitResult::OnCell, c, r};
    } else if (x >= lw) { // above the field
        const int c = column(x), k = y / s;
        if (c < width_ && k < cc_)
            hit = {HitResult::OnTopClue, c, k};
    } else if (y >= th) { // left of the field
        const int k = x / s, r = row(y);
        if (k < rc_ && r < height_)
            hit = {HitResult::OnLeftClue, k, r};
    }
    return hit;
}

// -------------------------------------------------------------- on screen

bool GridModel::showsPreview(int column, int row) const
{
    return band_ && bandMask_[std::size_t(column) * height_ + row];
}

void GridModel::setSuggestedCell(std::optional<std::pair<int, int>> c)
{
    if (suggested_)
        redrawCell(suggested_->first, suggested_->second);
    suggested_ = c;
    suggestHighlight_ = false;
    if (suggested_)
        redrawCell(suggested_->first, suggested_->second);
}

void GridModel::setSuggestHighlighted(bool on)
{
    suggestHighlight_ = on;
    if (suggested_)
        redrawCell(suggested_->first, suggested_->second);
}

void GridModel::fullRepaint()
{
    AutoMarkClues();
    crosshair_ = false;
    if (view_)
        view_->invalidateAll();
}

void GridModel::redrawCell(int column, int row)
{
    if (view_) {
        const GCell& g = cell(column, row);
        view_->invalidateRect(g.x, g.y, g.size + 1, g.size + 1);
    }
    host().previewCellChanged(column, row);
}

void GridModel::redrawLeftClue(int slot, int row)
{
    if (view_) {
        const BCell& b = leftClue(slot, row);
        view_->invalidateRect(b.x, b.y, b.size + 1, b.size + 1);
    }
}

void GridModel::redrawTopClue(int column, int slot)
{
    if (view_) {
        const BCell& b = topClue(column, slot);
        view_->invalidateRect(b.x, b.y, b.size + 1, b.size + 1);
    }
}

std::string GridModel::stateText(CellState state)
{
    static const char* const keys[] = {"cell_state_empty", "cell_state_def_yes", "cell_state_def_no", "cell_state_mark"};
    static const char* const defaults[] = {"empty", "present", "absence", "mark"};
    const int i = int(state) & 3;
    if (const Localization* table = Localization::global())
        return table->GetText(keys[i], defaults[i]);
    return defaults[i];
}

void GridModel::invalidateCrosshair(int c, int r)
{
    if (!view_ || c < 0 || r < 0 || c >= width_ || r >= height_)
        return;
    const int s = size_;
    // The column: its top clues and the cells down to the hover row.
    view_->invalidateRect(cellX(c), 0, s + 1, cellY(r) + s + 1);
    // The row: its left clues and the cells up to the hover column.
    view_->invalidateRect(0, cellY(r), cellX(c) + s + 1, s + 1);
}

void GridModel::updateHover(int c, int r)
{
    if (!host().hoverEnabled())
        return;
    if (c == hoverCol_ && r == hoverRow_)
        return;
    if (crosshair_)
        invalidateCrosshair(hoverCol_, hoverRow_);
    hoverCol_ = c;
    hoverRow_ = r;
    crosshair_ = true;
    invalidateCrosshair(c, r);
}

void GridModel::setCurrentColourShown(RGB colour)
{
    colour_ = colour;
    host().showCurrentColour(colour);
}

void GridModel::setCursor()
{
    if (view_)
        view_->setCursorId(ColorCursor(colour_));
}

// -------------------------------------------------------------------- mouse

void GridModel::mousePress(int x, int y, MouseButton button, MouseFlags flags)
{
    const HitResult hit = hitTest(x, y);
    if (hit.kind == HitResult::OnLeftClue || hit.kind == HitResult::OnTopClue) {
        const bool top = hit.kind == HitResult::OnTopClue;
        BCell& b = top ? topClue(hit.first, hit.second) : leftClue(hit.first, hit.second);
        if (b.colourIndex != 0) {
            if (button == MouseButton::Left) {
                HistoryRecord rec;
                rec.kind = HistoryRecord::Change;
                rec.clue = 1;
                rec.first = hit.first;
                rec.second = hit.second;
                rec.top = top ? 1 : 0;
                rec.oldMark = b.mark;
                pushRecord(rec);
                b.mark = b.mark ? 0 : 1;
                if (top)
                    redrawTopClue(hit.first, hit.second);
                else
                    redrawLeftClue(hit.first, hit.second);
            } else {
                setCurrentColourShown(PaletteColor(b.colourIndex));
            }
            recomputeBlankSlots(top, top ? hit.first : hit.second);
        }
        setCursor();
        return;
    }
    if (hit.kind != HitResult::OnCell)
        return;
    const int c = hit.first, r = hit.second;
    if (flags.shift) {
        setCurrentColourShown(cell(c, r).colour);
        setCursor();
        return;
    }
    eraseBand();
    startCol_ = endCol_ = c;
    startRow_ = endRow_ = r;
    if (button == MouseButton::Left)
        paint_ = flags.ctrl ? Empty : DefYes;
    else if (button == MouseButton::Right)
        paint_ = flags.ctrl ? Mark : DefNo;
    if (mode_ == DrawMode::Brush) {
        applyCell(c, r);
        CheckSolved();
    }
    setCursor();
}

void GridModel::mouseMove(int x, int y, MouseFlags flags)
{
    setCursor();
    const HitResult hit = hitTest(x, y);
    if (hit.kind != HitResult::OnCell)
        return;
    const int c = hit.first, r = hit.second;
    if (!flags.leftHeld && !flags.rightHeld) {
        eraseBand();
    } else if (flags.shift) {
        setCurrentColourShown(cell(c, r).colour);
    } else {
        const bool atStart = c == startCol_ && r == startRow_;
        switch (mode_) {
        case DrawMode::Brush:
            if (!atStart) {
                applyCell(c, r);
                CheckSolved();
                startCol_ = c;
                startRow_ = r;
            }
            break;
        case DrawMode::Line:
        case DrawMode::Rect:
            if (startCol_ < 0) // no press on this crossword yet
                break;
            if (!atStart) {
                eraseBand();
                drawFigure(startCol_, startRow_, c, r, mode_, false, true);
                endCol_ = c;
                endRow_ = r;
            } else {
                // Back on the start cell: no figure any more.
                eraseBand();
                endCol_ = startCol_;
                endRow_ = startRow_;
            }
            break;
        }
        AutoMarkClues();
    }
    host().setStatusText(0, [&] {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d : %d", c, r);
        return std::string(buf);
    }());
    host().setStatusText(1, stateText(cell(c, r).state));
    updateHover(c, r);
}

void GridModel::mouseRelease(int x, int y, MouseButton button, MouseFlags /*flags*/)
{
    const HitResult hit = hitTest(x, y);
    if (hit.kind != HitResult::OnCell)
        return;
    const int c = hit.first, r = hit.second;
    if (button == MouseButton::Middle) {
        AutoMarkClues();
        return;
    }
    if ((mode_ == DrawMode::Line || mode_ == DrawMode::Rect) && startCol_ >= 0
        && (c != startCol_ || r != startRow_)) {
        endCol_ = c;
        endRow_ = r;
        eraseBand();
        drawFigure(startCol_, startRow_, c, r, mode_, true, false);
        CheckSolved();
    }
    startCol_ = endCol_ = c;
    startRow_ = endRow_ = r;
    AutoMarkClues();
}

// ------------------------------------------------------------------ editing

void GridModel::pushRecord(const HistoryRecord& record)
{
    history_.push(record);
}

void GridModel::applyCell(int c, int r)
{
    GCell& g = cell(c, r);
    HistoryRecord rec;
    rec.kind = HistoryRecord::Change;
    rec.first = c;
    rec.second = r;
    rec.tool = 0;
    rec.oldState = g.state;
    rec.oldColour = g.colour;
    pushRecord(rec);
    g.state = g.previewState = paint_;
    if (paint_ != Mark)
        g.colour = g.previewColour = colour_;
    redrawCell(c, r);
}

void GridModel::eraseBand()
{
    if (!band_)
        return;
    band_ = false;
    const int c0 = std::min(bandC0_, bandC1_), c1 = std::max(bandC0_, bandC1_);
    const int r0 = std::min(bandR0_, bandR1_), r1 = std::max(bandR0_, bandR1_);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r) {
            auto& m = bandMask_[std::size_t(c) * height_ + r];
            if (m) {
                m = 0;
                redrawCell(c, r);
            }
        }
}

void GridModel::drawFigure(int c0, int r0, int c1, int r1, DrawMode mode, bool commit, bool preview)
{
    if (mode == DrawMode::Line)
        lineCells(c0, r0, c1, r1, figure_);
    else
        rectCells(c0, r0, c1, r1, figure_);
    const std::uint8_t tool = mode == DrawMode::Line ? 1 : 2;
    if (commit) {
        HistoryRecord marker;
        marker.kind = HistoryRecord::FigureMarker;
        pushRecord(marker);
    }
    if (preview) {
        band_ = true;
        bandMode_ = mode;
        bandC0_ = c0;
        bandR0_ = r0;
        bandC1_ = c1;
        bandR1_ = r1;
    }
    for (const auto& [c, r] : figure_) {
        if (c < 0 || r < 0 || c >= width_ || r >= height_)
            continue;
        GCell& g = cell(c, r);
        if (commit) {
            HistoryRecord rec;
            rec.kind = HistoryRecord::Change;
            rec.first = c;
            rec.second = r;
            rec.tool = tool;
            rec.oldState = g.state;
            rec.oldColour = g.colour;
            pushRecord(rec);
        }
        if (paint_ != Mark) {
            if (preview)
                g.previewColour = colour_;
            if (commit)
                g.previewColour = g.colour = colour_;
        }
        if (preview || commit)
            g.previewState = paint_;
        if (commit)
            g.state = paint_;
        if (preview)
            bandMask_[std::size_t(c) * height_ + r] = 1;
        redrawCell(c, r);
    }
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
        BCell& b = top ? topClue(line, k) : leftClue(k, line);
        b.mark = allStruck ? 1 : 0;
        if (top)
            redrawTopClue(line, k);
        else
            redrawLeftClue(k, line);
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
            if (top) {
                topClue(rec.first, rec.second).mark = rec.oldMark;
                redrawTopClue(rec.first, rec.second);
                recomputeBlankSlots(true, rec.first);
            } else {
                leftClue(rec.first, rec.second).mark = rec.oldMark;
                redrawLeftClue(rec.first, rec.second);
                recomputeBlankSlots(false, rec.second);
            }
            return;
        }
        GCell& g = cell(rec.first, rec.second);
        g.state = g.previewState = CellState(rec.oldState);
        g.colour = g.previewColour = rec.oldColour;
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
                    topClue(c, k).mark = 1;
                    redrawTopClue(c, k);
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
                    leftClue(k, r).mark = 1;
                    redrawLeftClue(k, r);
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
            GCell& g = cell(c, r);
            const int v = solution(c, r);
            const bool right = v == 0 ? g.state == DefNo
                                      : (g.state == DefYes && PaletteIndex(g.colour) == v);
            if (right)
                continue;
            if (v == 0) {
                g.state = g.previewState = DefNo;
                g.colour = g.previewColour = kWhite;
            } else {
                g.state = g.previewState = DefYes;
                g.colour = g.previewColour = PaletteColor(v);
            }
            redrawCell(c, r);
            CheckSolved();
            setSuggestedCell(std::make_pair(c, r));
            return;
        }
}
