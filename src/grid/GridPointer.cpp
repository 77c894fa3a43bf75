#include "grid/GridPointer.h"

#include "grid/Figures.h"

#include <algorithm>
#include <cstdlib>

GridPointer::GridPointer(GridModel& model, const GridLayout& layout) : model_(model), layout_(layout) {}

void GridPointer::reset()
{
    startCol_ = startRow_ = -1;
    dragging_ = false;
    pressCol_ = pressRow_ = -1;
    overCol_ = overRow_ = -1;
    band_ = false;
    bandMask_.assign(std::size_t(model_.width()) * model_.height(), 0);
    hoverCol_ = hoverRow_ = -1;
    crosshair_ = false;
    const bool cells = model_.width() > 0 && model_.height() > 0;
    cursorCol_ = cells ? 0 : -1;
    cursorRow_ = cells ? 0 : -1;
}

// ------------------------------------------------------------- cell cursor

void GridPointer::setCellCursor(int column, int row)
{
    if (model_.width() <= 0 || model_.height() <= 0)
        return;
    column = std::clamp(column, 0, model_.width() - 1);
    row = std::clamp(row, 0, model_.height() - 1);
    const int oldCol = cursorCol_, oldRow = cursorRow_;
    cursorCol_ = column;
    cursorRow_ = row;
    if (view_) {
        if (oldCol >= 0 && oldRow >= 0 && oldCol < model_.width() && oldRow < model_.height())
            view_->cellChanged(oldCol, oldRow);
        view_->cellChanged(column, row);
        view_->cellCursorMoved(column, row);
    }
    reportOver(column, row);
    updateHover(column, row);
}

void GridPointer::moveCellCursor(int dc, int dr, bool paint)
{
    if (cursorCol_ < 0)
        return;
    const int c = std::clamp(cursorCol_ + dc, 0, model_.width() - 1);
    const int r = std::clamp(cursorRow_ + dr, 0, model_.height() - 1);
    if (paint) {
        model_.beginStroke();
        model_.paint(cursorCol_, cursorRow_, paint_);
        if (c != cursorCol_ || r != cursorRow_)
            model_.paint(c, r, paint_);
        model_.endStroke();
        model_.AutoMarkClues();
    }
    setCellCursor(c, r);
}

void GridPointer::clickAtCursor(CellState state)
{
    if (cursorCol_ < 0)
        return;
    eraseBand();
    paint_ = state;
    model_.beginStroke();
    model_.paint(cursorCol_, cursorRow_, state);
    model_.endStroke();
    model_.AutoMarkClues();
    reportOver(cursorCol_, cursorRow_);
}

// ----------------------------------------------------------------- the band

bool GridPointer::showsPreview(int column, int row) const
{
    return band_ && bandMask_[std::size_t(column) * model_.height() + row];
}

CellState GridPointer::shownState(int c, int r) const
{
    return showsPreview(c, r) ? bandState_ : model_.cell(c, r).state;
}

RGB GridPointer::shownColour(int c, int r) const
{
    return showsPreview(c, r) && bandState_ != Mark ? bandColour_ : model_.cell(c, r).colour;
}

GridPointer::Span GridPointer::dragSpan() const
{
    if (!dragging_)
        return {};
    if (mode_ == DrawMode::Brush) {
        // The brush keeps its last cell in startCol_/startRow_.
        const int dc = std::abs(startCol_ - pressCol_), dr = std::abs(startRow_ - pressRow_);
        if (dc + dr == 0 || (dc != 0 && dr != 0))
            return {};
        return {std::max(dc, dr) + 1, dc + 1, dr + 1};
    }
    if (!band_)
        return {};
    return {int(figure_.size()), std::abs(bandC1_ - bandC0_) + 1, std::abs(bandR1_ - bandR0_) + 1};
}

void GridPointer::eraseBand()
{
    if (!band_)
        return;
    band_ = false;
    const int c0 = std::min(bandC0_, bandC1_), c1 = std::max(bandC0_, bandC1_);
    const int r0 = std::min(bandR0_, bandR1_), r1 = std::max(bandR0_, bandR1_);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r) {
            auto& m = bandMask_[std::size_t(c) * model_.height() + r];
            if (m) {
                m = 0;
                if (view_)
                    view_->cellChanged(c, r);
            }
        }
}

void GridPointer::showBand(int c0, int r0, int c1, int r1)
{
    if (mode_ == DrawMode::Line)
        lineCells(c0, r0, c1, r1, figure_);
    else
        rectCells(c0, r0, c1, r1, figure_);
    band_ = true;
    bandC0_ = c0;
    bandR0_ = r0;
    bandC1_ = c1;
    bandR1_ = r1;
    bandState_ = paint_;
    bandColour_ = model_.currentColour();
    for (const auto& [c, r] : figure_) {
        if (c < 0 || r < 0 || c >= model_.width() || r >= model_.height())
            continue;
        bandMask_[std::size_t(c) * model_.height() + r] = 1;
        if (view_)
            view_->cellChanged(c, r);
    }
}

// ---------------------------------------------------------------- crosshair

void GridPointer::invalidateCrosshair(int c, int r)
{
    if (!view_ || c < 0 || r < 0 || c >= model_.width() || r >= model_.height())
        return;
    const int s = layout_.cellSize();
    // The column: its top clues and the cells down to the hover row.
    view_->invalidateRect({layout_.cellX(c), 0, s + 1, layout_.cellY(r) + s + 1});
    // The row: its left clues and the cells up to the hover column.
    view_->invalidateRect({0, layout_.cellY(r), layout_.cellX(c) + s + 1, s + 1});
}

void GridPointer::updateHover(int c, int r)
{
    if (!model_.host().hoverEnabled())
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

void GridPointer::reportOver(int column, int row)
{
    overCol_ = column;
    overRow_ = row;
    if (view_)
        view_->pointerOver(column, row);
}

void GridPointer::setCursor()
{
    if (view_)
        view_->setCursorId(ColorCursor(model_.currentColour()));
}

// -------------------------------------------------------------------- mouse

void GridPointer::press(int x, int y, MouseButton button, MouseFlags flags)
{
    const HitResult hit = layout_.hitTest(x, y);
    if (hit.kind == HitResult::OnLeftClue || hit.kind == HitResult::OnTopClue) {
        const bool top = hit.kind == HitResult::OnTopClue;
        if (button == MouseButton::Left)
            model_.toggleClueMark(top, hit.first, hit.second);
        else
            model_.pickClueColour(top, hit.first, hit.second);
        setCursor();
        return;
    }
    if (hit.kind != HitResult::OnCell)
        return;
    const int c = hit.first, r = hit.second;
    if (flags.shift) {
        model_.pickColour(model_.cell(c, r).colour);
        setCursor();
        return;
    }
    eraseBand();
    startCol_ = pressCol_ = c;
    startRow_ = pressRow_ = r;
    // A middle-button drag paints nothing, so it has no length to show.
    dragging_ = button != MouseButton::Middle;
    // The middle button keeps the state of the last press.
    if (button == MouseButton::Left)
        paint_ = flags.ctrl ? Empty : DefYes;
    else if (button == MouseButton::Right)
        paint_ = flags.ctrl ? Mark : DefNo;
    // Keyboard play goes on from where the mouse was last pressed.
    setCellCursor(c, r);
    // Everything the brush paints until the release is one step.
    model_.beginStroke();
    if (mode_ == DrawMode::Brush)
        model_.paint(c, r, paint_);
    setCursor();
}

void GridPointer::move(int x, int y, MouseFlags flags)
{
    setCursor();
    const HitResult hit = layout_.hitTest(x, y);
    if (hit.kind != HitResult::OnCell)
        return;
    const int c = hit.first, r = hit.second;
    if (!flags.leftHeld && !flags.rightHeld) {
        eraseBand();
        dragging_ = false;
    } else if (flags.shift) {
        model_.pickColour(model_.cell(c, r).colour);
    } else {
        const bool atStart = c == startCol_ && r == startRow_;
        switch (mode_) {
        case DrawMode::Brush:
            if (!atStart) {
                model_.paint(c, r, paint_);
                startCol_ = c;
                startRow_ = r;
            }
            break;
        case DrawMode::Line:
        case DrawMode::Rect:
            if (startCol_ < 0) // no press on this crossword yet
                break;
            // Back on the start cell there is no figure any more.
            eraseBand();
            if (!atStart)
                showBand(startCol_, startRow_, c, r);
            break;
        }
        model_.AutoMarkClues();
    }
    reportOver(c, r);
    updateHover(c, r);
}

void GridPointer::release(int x, int y, MouseButton button, MouseFlags /*flags*/)
{
    model_.endStroke(); // wherever the button comes up
    dragging_ = false;
    const HitResult hit = layout_.hitTest(x, y);
    if (hit.kind == HitResult::OnCell) {
        const int c = hit.first, r = hit.second;
        if (button != MouseButton::Middle) {
            if ((mode_ == DrawMode::Line || mode_ == DrawMode::Rect) && startCol_ >= 0
                && (c != startCol_ || r != startRow_)) {
                eraseBand();
                model_.paintFigure(startCol_, startRow_, c, r, mode_, paint_);
            }
            startCol_ = c;
            startRow_ = r;
        }
        model_.AutoMarkClues();
    }
    // The status bar drops the stroke's length, even when the button came up
    // outside the field, and names the state the stroke left.
    if (overCol_ >= 0 && overRow_ >= 0 && overCol_ < model_.width() && overRow_ < model_.height())
        reportOver(overCol_, overRow_);
}
