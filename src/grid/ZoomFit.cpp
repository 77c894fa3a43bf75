#include "grid/ZoomFit.h"

#include "grid/GridLayout.h"

int fittingCellSize(int width, int height, int rowClues, int colClues, int roomWidth, int roomHeight)
{
    // The grid's own layout, so that the field's closing lines show too.
    for (int s = GridLayout::kMaxCellSize; s > GridLayout::kMinCellSize; --s)
        if (GridLayout::extent(width, rowClues, s) <= roomWidth && GridLayout::extent(height, colClues, s) <= roomHeight)
            return s;
    return GridLayout::kMinCellSize;
}
