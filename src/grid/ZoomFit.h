#pragma once

// The largest cell size from 3 to 30 at which a crossword of `width` x
// `height` cells with `rowClues` clue slots left of the rows and `colClues`
// above the columns fits into `room` pixels; 3 when even that does not fit.
int fittingCellSize(int width, int height, int rowClues, int colClues, int roomWidth, int roomHeight);
