#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The saved progress of one crossword in the player's profile: the cell
// states and colours and the struck-out clue numbers, kept at the sizes the
// crossword had when the entry was made. Sizes are single bytes because the
// profile file stores them so; a count above 255 keeps its low 8 bits.
class CrossState {
public:
    CrossState() = default;
    // A new entry: every mark, state and colour index 0.
    CrossState(std::string id, int width, int height, int rowClueCount, int columnClueCount);

    const std::string& id() const { return id_; }
    int height() const { return height_; }
    int width() const { return width_; }
    int columnClueCount() const { return columnClues_; }
    int rowClueCount() const { return rowClues_; }

    // [slot][row]: 1 when the clue in that slot left of that row is struck out.
    std::uint8_t leftMark(int slot, int row) const { return left_[std::size_t(slot) * height_ + row]; }
    void setLeftMark(int slot, int row, bool on) { left_[std::size_t(slot) * height_ + row] = on ? 1 : 0; }
    // [column][slot]: 1 when the clue in that slot above that column is struck out.
    std::uint8_t topMark(int column, int slot) const { return top_[std::size_t(column) * columnClues_ + slot]; }
    void setTopMark(int column, int slot, bool on) { top_[std::size_t(column) * columnClues_ + slot] = on ? 1 : 0; }
    // [column][row]: the cell state 0..3.
    std::uint8_t cellState(int column, int row) const { return states_[std::size_t(column) * height_ + row]; }
    void setCellState(int column, int row, int state) { states_[std::size_t(column) * height_ + row] = std::uint8_t(state & 3); }
    // [column][row]: the palette index of the cell's colour, as stored (a
    // damaged file may hold values above 18; they show as white).
    std::uint8_t cellColour(int column, int row) const { return colours_[std::size_t(column) * height_ + row]; }
    void setCellColour(int column, int row, int index) { colours_[std::size_t(column) * height_ + row] = std::uint8_t(index); }

    // --- the record in the profile file --------------------------------------
    // id, ";", H, W, C, R, then left marks, top marks and cell states packed
    // from the most significant bit down, each part starting on a new byte,
    // then one byte of colour per cell; all in [column][row] / [slot][row] /
    // [column][slot] order.
    std::size_t recordSize() const;
    void appendRecord(std::vector<std::uint8_t>& out) const;
    // Reads one record from `data`. Returns nothing when the bytes end before
    // the record does (no ";" or a part cut short); `consumed` is then
    // meaningless. A complete record sets `consumed` to its length.
    static std::optional<CrossState> readRecord(const std::uint8_t* data, std::size_t size, std::size_t& consumed);

    bool operator==(const CrossState&) const = default;

private:
    std::string id_;
    std::uint8_t height_ = 0;
    std::uint8_t width_ = 0;
    std::uint8_t columnClues_ = 0;
    std::uint8_t rowClues_ = 0;
    std::vector<std::uint8_t> left_;    // rowClues * height
    std::vector<std::uint8_t> top_;     // width * columnClues
    std::vector<std::uint8_t> states_;  // width * height
    std::vector<std::uint8_t> colours_; // width * height
};
