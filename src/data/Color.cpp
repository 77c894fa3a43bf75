#include "data/Color.h"

#include <cmath>

const RGB kPalette[kPaletteSize] = {
    0xFFFFFF, // 0 white (background)
    0xCCCCCC, // 1 light grey
    0x999999, // 2 grey
    0x444444, // 3 dark grey
    0x66CCFF, // 4 light blue
    0x3333FF, // 5 blue
    0x0000CC, // 6 dark blue
    0xCCFFCC, // 7 light green
    0x00FF00, // 8 green
    0x00CC00, // 9 dark green
    0xFF9999, // 10 light red
    0xFF0000, // 11 red
    0xCC0000, // 12 dark red
    0xFF99FF, // 13 light magenta
    0xFF00FF, // 14 magenta
    0xCC00CC, // 15 dark magenta
    0xFFFF99, // 16 light yellow
    0xEEEE00, // 17 yellow
    0xCC9933, // 18 ochre
};

RGB PaletteColor(int index)
{
    const auto i = static_cast<signed char>(index);
    if (i < 0 || i >= kPaletteSize)
        return kWhite;
    return kPalette[static_cast<int>(i)];
}

bool WhiteTextOn(RGB colour)
{
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(red(colour)) + 0.7152 * linear(green(colour))
                             + 0.0722 * linear(blue(colour));
    // Contrast with white (1.05 / (L + 0.05)) beats that with black
    // ((L + 0.05) / 0.05) exactly when (L + 0.05)^2 < 0.0525.
    return (luminance + 0.05) * (luminance + 0.05) < 1.05 * 0.05;
}

int PaletteIndex(RGB colour)
{
    for (int i = 0; i < kPaletteSize; ++i)
        if (kPalette[i] == colour)
            return i;
    return 0;
}

int ColorCursor(RGB colour)
{
    const int i = PaletteIndex(colour);
    return (i >= 1 && i <= 18) ? 20 + i : 21;
}
