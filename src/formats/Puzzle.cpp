#include "formats/Puzzle.h"

#include <string>

namespace {

std::string lineName(bool isRow, std::size_t i)
{
    return (isRow ? "row " : "column ") + std::to_string(i + 1);
}

// Runs of one colour need a blank between them; runs of different colours
// may touch.
std::string checkLine(const ClueLine& line, int length, int colours, bool isRow, std::size_t i)
{
    if (line.size() > std::size_t(Puzzle::kMaxBlocks))
        return lineName(isRow, i) + ": more than 127 blocks";
    long need = 0;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const ClueRun& r = line[k];
        if (r.colour < 1 || r.colour >= colours)
            return lineName(isRow, i) + ": unknown colour";
        if (r.length < 1)
            return lineName(isRow, i) + ": a block of length " + std::to_string(r.length);
        need += r.length;
        if (k > 0 && line[k - 1].colour == r.colour) ++need;
        if (need > length)
            return lineName(isRow, i) + ": the clues need more than " + std::to_string(length) + " cells";
    }
    return {};
}

} // namespace

std::string Puzzle::check() const
{
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide)
        return "size " + std::to_string(width) + " x " + std::to_string(height) + " is outside 1..128";
    if (colours.size() < 2 || colours.size() > 256)
        return "no colour to fill with";
    if (rows.size() != std::size_t(height))
        return std::to_string(rows.size()) + " row clues for height " + std::to_string(height);
    if (columns.size() != std::size_t(width))
        return std::to_string(columns.size()) + " column clues for width " + std::to_string(width);
    const int n = int(colours.size());
    std::vector<long> byRows(colours.size()), byColumns(colours.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (auto e = checkLine(rows[i], width, n, true, i); !e.empty()) return e;
        for (const ClueRun& r : rows[i]) byRows[std::size_t(r.colour)] += r.length;
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (auto e = checkLine(columns[i], height, n, false, i); !e.empty()) return e;
        for (const ClueRun& r : columns[i]) byColumns[std::size_t(r.colour)] += r.length;
    }
    for (std::size_t c = 1; c < colours.size(); ++c)
        if (byRows[c] != byColumns[c])
            return "the rows fill " + std::to_string(byRows[c]) + " cells of " + colours[c].name + ", the columns " +
                   std::to_string(byColumns[c]);
    if (!goal.empty()) {
        if (goal.size() != std::size_t(width) * std::size_t(height))
            return "the goal picture is not " + std::to_string(width) + " x " + std::to_string(height);
        for (std::uint8_t v : goal)
            if (v >= colours.size()) return "the goal picture uses an unknown colour";
        if (cluesOf(goal, width, height, true) != rows || cluesOf(goal, width, height, false) != columns)
            return "the goal picture does not give these clues";
    }
    return {};
}

std::vector<ClueLine> Puzzle::cluesOf(const std::vector<std::uint8_t>& picture, int width, int height, bool byRows)
{
    const int lines = byRows ? height : width, length = byRows ? width : height;
    std::vector<ClueLine> out(std::size_t(lines), ClueLine{});
    for (int l = 0; l < lines; ++l) {
        int previous = 0;
        for (int i = 0; i < length; ++i) {
            const int v = picture[byRows ? std::size_t(l) * std::size_t(width) + std::size_t(i)
                                         : std::size_t(i) * std::size_t(width) + std::size_t(l)];
            if (v > 0 && v != previous) out[std::size_t(l)].push_back({v, 0});
            if (v > 0) ++out[std::size_t(l)].back().length;
            previous = v;
        }
    }
    return out;
}
