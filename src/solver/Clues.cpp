#include "solver/Clues.h"

#include "data/CrossData.h"

#include <algorithm>
#include <array>

namespace {

template <typename ValueAt>
bool build(int width, int height, ValueAt value, Clues& out)
{
    out = Clues{};
    if (width < 1 || height < 1 || width > Clues::kMaxSide || height > Clues::kMaxSide)
        return false;
    out.width = width;
    out.height = height;
    std::array<int, 128> dense{};
    std::vector<int> used;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = value(x, y);
            if (v > 0 && !dense[std::size_t(v)]) {
                dense[std::size_t(v)] = -1;
                used.push_back(v);
            }
        }
    if (int(used.size()) > Clues::kMaxColours)
        return false;
    std::sort(used.begin(), used.end());
    for (std::size_t i = 0; i < used.size(); ++i) {
        dense[std::size_t(used[i])] = int(i) + 1;
        out.palette.push_back(std::uint8_t(used[i]));
    }
    auto line = [&](int n, auto at) {
        std::vector<ClueBlock> blocks;
        int previous = 0;
        for (int i = 0; i < n; ++i) {
            const int v = std::max(at(i), 0);
            if (v > 0 && v != previous)
                blocks.push_back({std::uint8_t(dense[std::size_t(v)]), 0});
            if (v > 0)
                ++blocks.back().length;
            previous = v;
        }
        return blocks;
    };
    for (int y = 0; y < height; ++y)
        out.rows.push_back(line(width, [&](int i) { return value(i, y); }));
    for (int x = 0; x < width; ++x)
        out.columns.push_back(line(height, [&](int i) { return value(x, i); }));
    return true;
}

} // namespace

bool Clues::fromCrossword(const CrossData& data, Clues& out)
{
    if (!data.hasCells())
        return false;
    return build(data.width, data.height, [&](int x, int y) { return data.value(x, y); }, out);
}

bool Clues::fromRows(const std::vector<std::vector<int>>& rows, Clues& out)
{
    const int height = int(rows.size());
    const int width = height ? int(rows[0].size()) : 0;
    for (const auto& r : rows)
        if (int(r.size()) != width)
            return false;
    return build(width, height, [&](int x, int y) { return std::clamp(rows[std::size_t(y)][std::size_t(x)], -1, 127); },
                 out);
}
