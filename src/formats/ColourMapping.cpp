#include "formats/ColourMapping.h"

#include <algorithm>
#include <tuple>

namespace {

// A cheap perceptual distance (red-mean weighted RGB, times 256): plain
// luminance weights would call a dark grey nearer to blue than to grey.
long distance(RGB a, RGB b)
{
    const long mean = (red(a) + red(b)) / 2;
    const long dr = red(a) - red(b), dg = green(a) - green(b), db = blue(a) - blue(b);
    return (512 + mean) * dr * dr + 1024 * dg * dg + (767 - mean) * db * db;
}

long distanceToEntry(RGB c, int entry)
{
    const long d = distance(c, kPalette[entry]);
    return entry == kDefaultDrawIndex ? std::min(d, distance(c, kBlack)) : d;
}

} // namespace

bool mapColours(const std::vector<RGB>& colours, std::vector<int>& entries, std::string& error)
{
    constexpr int kEntries = kPaletteSize - 1;
    if (colours.size() > std::size_t(kEntries)) {
        error = std::to_string(colours.size()) + " colours; the palette has " + std::to_string(kEntries);
        return false;
    }
    // Closest pairs first over all colours and entries: a colour keeps its
    // nearest entry unless a colour even nearer to it took it first. Ties go
    // to the earlier colour and the lower entry, so the result never depends
    // on anything but the input.
    std::vector<std::tuple<long, std::size_t, int>> pairs;
    for (std::size_t i = 0; i < colours.size(); ++i)
        for (int e = 1; e <= kEntries; ++e) pairs.emplace_back(distanceToEntry(colours[i], e), i, e);
    std::sort(pairs.begin(), pairs.end());
    entries.assign(colours.size(), 0);
    std::vector<bool> taken(kPaletteSize, false);
    for (const auto& [d, i, e] : pairs) {
        if (entries[i] || taken[std::size_t(e)]) continue;
        entries[i] = e;
        taken[std::size_t(e)] = true;
    }
    return true;
}
