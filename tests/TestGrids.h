#pragma once

// Builds crosswords from ASCII pictures for tests: one string per row, one
// character per cell. '.' is background, '#' is palette index 3 (dark grey),
// '1'..'9' are those indices and 'a'..'i' are 10..18.

#include "data/Color.h"
#include "data/CrossData.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace testgrids {

inline int indexOf(char ch)
{
    if (ch == '.' || ch == ' ')
        return 0;
    if (ch == '#')
        return 3;
    if (ch >= '1' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'i')
        return 10 + (ch - 'a');
    throw std::invalid_argument("unknown cell character");
}

class AsciiPicture : public PixelSource {
public:
    explicit AsciiPicture(std::vector<std::string> rows) : rows_(std::move(rows)) {}
    int width() const override { return rows_.empty() ? 0 : int(rows_[0].size()); }
    int height() const override { return int(rows_.size()); }
    std::uint32_t rgb(int x, int y) const override { return kPalette[indexOf(rows_.at(y).at(x))]; }

private:
    std::vector<std::string> rows_;
};

// The crossword file bytes for a picture: "QL", name, sizes, cells row by row.
inline std::vector<std::uint8_t> fileBytes(const std::vector<std::string>& rows, const std::string& name = "t")
{
    const int w = rows.empty() ? 0 : int(rows[0].size()), h = int(rows.size());
    std::vector<std::uint8_t> out = {'Q', 'L', std::uint8_t(name.size() >> 8), std::uint8_t(name.size())};
    for (char ch : name) // (a range insert here trips a false -Warray-bounds in GCC 12)
        out.push_back(std::uint8_t(ch));
    for (int size : {w, h}) {
        out.push_back(std::uint8_t(size >> 8));
        out.push_back(std::uint8_t(size));
    }
    for (const auto& row : rows)
        for (char ch : row)
            out.push_back(std::uint8_t(indexOf(ch)));
    return out;
}

inline CrossData crossword(const std::vector<std::string>& rows, const std::string& name = "t")
{
    CrossData d;
    const auto bytes = fileBytes(rows, name);
    d.readBytes(bytes.data(), bytes.size());
    return d;
}

} // namespace testgrids
