#include "grid/ZoomFit.h"

#include "grid/GridLayout.h"

int fittingCellSize(int width, int height, int rowClues, int colClues, int roomWidth, int roomHeight)
{
    // The grid's own layout: every fifth line is one pixel wider.
    for (int s = GridLayout::kMaxCellSize; s > GridLayout::kMinCellSize; --s)
        if ((width + rowClues) * s + width / 5 <= roomWidth && (height + colClues) * s + height / 5 <= roomHeight)
            return s;
    return GridLayout::kMinCellSize;
}
