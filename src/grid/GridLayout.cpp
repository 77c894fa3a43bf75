#include "grid/GridLayout.h"

void GridLayout::setShape(int columns, int rows, int rowClues, int columnClues)
{
    columns_ = columns;
    rows_ = rows;
    rowClues_ = rowClues;
    colClues_ = columnClues;
}

bool GridLayout::setCellSize(int size)
{
    if (size < kMinCellSize || size > kMaxCellSize)
        return false;
    size_ = size;
    return true;
}

HitResult GridLayout::hitTest(int x, int y) const
{
    HitResult hit;
    if (x < 0 || y < 0)
        return hit;
    const int s = size_;
    const int lw = rowClues_ * s, th = colClues_ * s;
    // The doubled line after every fifth cell belongs to the cell before it.
    auto column = [&](int px) {
        const int xp = px - lw;
        return (xp - (xp / s) / 5) / s;
    };
    auto row = [&](int py) {
        const int yp = py - th;
        return (yp - (yp / s) / 5) / s;
    };
    if (x >= lw && y >= th) {
        if (x > lw + columns_ * s + columns_ / 5 || y > th + rows_ * s + rows_ / 5)
            return hit;
        const int c = column(x), r = row(y);
        if (c < columns_ && r < rows_)
            hit = {HitResult::OnCell, c, r};
    } else if (x >= lw) { // above the field
        const int c = column(x), k = y / s;
        if (c < columns_ && k < colClues_)
            hit = {HitResult::OnTopClue, c, k};
    } else if (y >= th) { // left of the field
        const int k = x / s, r = row(y);
        if (k < rowClues_ && r < rows_)
            hit = {HitResult::OnLeftClue, k, r};
    }
    return hit;
}
