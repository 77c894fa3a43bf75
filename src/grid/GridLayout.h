#pragma once

#include <cstdint>

// What a point of the control hits.
struct HitResult {
    enum Kind : std::uint8_t { None, OnCell, OnLeftClue, OnTopClue } kind = None;
    // OnCell: column, row. OnLeftClue: slot, row. OnTopClue: column, slot.
    int first = 0;
    int second = 0;
    bool operator==(const HitResult&) const = default;
};

// A square of the control in pixels, with the one-pixel outline it shares
// with its right and lower neighbours.
struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PixelRect&) const = default;
};

// Where everything sits on the control: left clues, then the columns; top
// clues, then the rows. Every fifth line of the field is doubled, one pixel
// more after columns and rows 4, 9, 14, ... Only numbers: the editing model
// knows nothing of pixels, and the widget only asks here.
class GridLayout {
public:
    static constexpr int kMinCellSize = 3;
    static constexpr int kMaxCellSize = 30;
    static constexpr int kInitialCellSize = 15;

    // The crossword's shape: field size and clue slots on each side.
    void setShape(int columns, int rows, int rowClues, int columnClues);
    // Accepts 3..30 only.
    bool setCellSize(int size);

    int cellSize() const { return size_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int rowClueCount() const { return rowClues_; }
    int colClueCount() const { return colClues_; }

    int cellX(int column) const { return (rowClues_ + column) * size_ + column / 5; }
    int cellY(int row) const { return (colClues_ + row) * size_ + row / 5; }
    int leftClueX(int slot) const { return slot * size_; }
    int topClueY(int slot) const { return slot * size_; }
    // Pixels across clues and cells, up to and including the last cell's
    // outline: one more than the doubled lines inside the field, unless the
    // field ends on a fifth line, which then closes it.
    static constexpr int extent(int cells, int clues, int size) { return (cells + clues) * size + (cells + 4) / 5; }
    int controlWidth() const { return extent(columns_, rowClues_, size_); }
    int controlHeight() const { return extent(rows_, colClues_, size_); }

    PixelRect cellRect(int column, int row) const { return {cellX(column), cellY(row), size_ + 1, size_ + 1}; }
    PixelRect leftClueRect(int slot, int row) const { return {leftClueX(slot), cellY(row), size_ + 1, size_ + 1}; }
    PixelRect topClueRect(int column, int slot) const { return {cellX(column), topClueY(slot), size_ + 1, size_ + 1}; }

    HitResult hitTest(int x, int y) const;

private:
    int columns_ = 0, rows_ = 0, rowClues_ = 0, colClues_ = 0;
    int size_ = kInitialCellSize;
};
