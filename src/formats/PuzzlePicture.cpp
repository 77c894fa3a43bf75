#include "formats/PuzzlePicture.h"

#include "data/CrossData.h"

namespace puzzlepicture {
namespace {

// Names for the palette entries, and the characters of the text grids.
const char* const kNames[kPaletteSize] = {
    "white",     "lightgrey",   "grey",   "darkgrey",     "lightblue", "blue",     "darkblue",
    "lightgreen", "green",      "darkgreen", "lightred",  "red",       "darkred",  "lightmagenta",
    "magenta",   "darkmagenta", "lightyellow", "yellow",  "ochre"};
const char kSymbols[] = ".123456789abcdefghi";

} // namespace

Puzzle fromCrossword(const CrossData& data, const std::string& title)
{
    Puzzle p;
    p.title = title;
    p.width = data.width;
    p.height = data.height;
    bool used[kPaletteSize] = {};
    for (int x = 0; x < data.width; ++x)
        for (int y = 0; y < data.height; ++y)
            if (int v = data.value(x, y); v > 0 && v < kPaletteSize) used[v] = true;
    bool colour = false;
    for (int i = 1; i < kPaletteSize; ++i) colour = colour || (used[i] && i != kDefaultDrawIndex);
    int number[kPaletteSize] = {};
    if (colour) {
        p.colours = {{kNames[0], kPalette[0], kSymbols[0]}};
        for (int i = 1; i < kPaletteSize; ++i)
            if (used[i]) {
                number[i] = int(p.colours.size());
                p.colours.push_back({kNames[i], kPalette[i], kSymbols[i]});
            }
    } else {
        number[kDefaultDrawIndex] = 1; // the default white and black
    }
    p.goal.resize(std::size_t(p.width) * std::size_t(p.height));
    for (int x = 0; x < data.width; ++x)
        for (int y = 0; y < data.height; ++y) {
            const int v = data.value(x, y);
            p.goal[std::size_t(y) * std::size_t(p.width) + std::size_t(x)] =
                std::uint8_t(v > 0 && v < kPaletteSize ? number[v] : 0);
        }
    p.rows = Puzzle::cluesOf(p.goal, p.width, p.height, true);
    p.columns = Puzzle::cluesOf(p.goal, p.width, p.height, false);
    return p;
}

void toCrossword(const Puzzle& puzzle, const std::vector<std::uint8_t>& solution, const std::vector<int>& entries,
                 CrossData& out)
{
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0,
                                       std::uint8_t(puzzle.width >> 8), std::uint8_t(puzzle.width),
                                       std::uint8_t(puzzle.height >> 8), std::uint8_t(puzzle.height)};
    for (std::uint8_t v : solution) bytes.push_back(std::uint8_t(v ? entries[v - 1u] : 0));
    out.readBytes(bytes.data(), bytes.size());
}

} // namespace puzzlepicture
