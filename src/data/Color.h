#pragma once

#include <cstdint>

// Colours are 0xRRGGBB values (#RRGGBB as written in the palette table).
using RGB = std::uint32_t;

inline constexpr int kPaletteSize = 19;
inline constexpr RGB kWhite = 0xFFFFFF;
inline constexpr RGB kBlack = 0x000000;
// Index 3, the default drawing colour after each load.
inline constexpr int kDefaultDrawIndex = 3;

// The fixed palette; the numbering is stored in crossword and profile files.
extern const RGB kPalette[kPaletteSize];

// The index is taken as a signed byte; anything outside 0..18 is white.
RGB PaletteColor(int index);
// The first palette index whose colour equals the given one exactly, else 0.
int PaletteIndex(RGB colour);
// Whether white text reads better than black on this colour: the one with
// the higher contrast by relative luminance (white on dark grey, blue, dark
// blue, dark red and dark magenta; black on the rest).
bool WhiteTextOn(RGB colour);
// Cursor identifier for a drawing colour: 20 + index for indices 1..18, else
// 21 (the cursor of index 1).
int ColorCursor(RGB colour);

inline constexpr int red(RGB c) { return int((c >> 16) & 0xFF); }
inline constexpr int green(RGB c) { return int((c >> 8) & 0xFF); }
inline constexpr int blue(RGB c) { return int(c & 0xFF); }
