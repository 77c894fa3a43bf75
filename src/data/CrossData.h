#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Anything that can be turned into a crossword: a picture of width x height
// pixels with 0xRRGGBB colours.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual std::uint32_t rgb(int x, int y) const = 0;
};

// One crossword: its solution picture, one palette index per cell. Clues are
// never stored; they are derived from the picture.
class CrossData {
public:
    static constexpr int kMaxSide = 128;
    static constexpr int kMaxBlocks = 127;

    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t maxRowClues = 0;
    std::int32_t maxColClues = 0;

    // Fills the record from a crossword file. Raises CrossException 30004
    // when the file cannot be opened or its sizes are outside 1..128 (or a
    // line holds more than 127 blocks); the record is then left empty.
    void readFile(const std::string& path);
    // The same for the bytes of a file already in memory.
    void readBytes(const std::uint8_t* bytes, std::size_t size);
    // Fills the record from a picture through colorToIndex and names it.
    // Pictures outside 1..128 pixels a side raise CrossException 30004.
    void fromPicture(const PixelSource& picture, const std::string& name);
    std::unique_ptr<CrossData> clone() const;

    // The clue at clue position `position` (0 at the outer edge) beside row
    // `line` or above column `line`; (0, 0) for an empty position.
    std::pair<std::uint8_t, std::uint8_t> getClue(int position, int line, bool isColumn) const;
    // The greatest number of blocks in any row (byRows) or column.
    int maxBlocks(bool byRows) const;
    static std::uint8_t colorToIndex(std::uint32_t rgb);

    bool hasCells() const { return !cells.empty(); }
    std::uint8_t cell(int x, int y) const { return cells[std::size_t(x) * std::size_t(height) + std::size_t(y)]; }
    std::uint8_t& cell(int x, int y) { return cells[std::size_t(x) * std::size_t(height) + std::size_t(y)]; }
    // Solution value as the blocks see it: a signed byte, negative = background.
    int value(int x, int y) const { return static_cast<signed char>(cell(x, y)); }

    // The crossword file bytes of this record (writers and tests use it).
    std::vector<std::uint8_t> toFileBytes() const;

    void clear();

private:
    void recount();
    // cells[x * height + y]: columns of `height` bytes each.
    std::vector<std::uint8_t> cells;
};
