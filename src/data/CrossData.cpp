#include "data/CrossData.h"

#include "config/BoundedFile.h"
#include "config/CrossException.h"
#include "data/Color.h"

#include <algorithm>
#include <fstream>

namespace {

// Reads big-endian fields from untrusted bytes; every read checks what is
// left first, and a failed read sticks.
class Cursor {
public:
    Cursor(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    std::size_t remaining() const { return n_ - pos_; }
    bool u16(std::uint16_t& v)
    {
        if (failed_ || remaining() < 2)
            return fail();
        v = std::uint16_t((p_[pos_] << 8) | p_[pos_ + 1]);
        pos_ += 2;
        return true;
    }
    bool bytes(std::size_t n, const std::uint8_t*& out)
    {
        if (failed_ || remaining() < n)
            return fail();
        out = p_ + pos_;
        pos_ += n;
        return true;
    }
    bool skip(std::size_t n) { const std::uint8_t* ignored; return bytes(n, ignored); }

private:
    bool fail() { failed_ = true; return false; }
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

// The longest file the reader ever looks at: signature, name length, the
// longest name, sizes and a full 128 x 128 picture.
constexpr std::size_t kMaxFileBytes = 2 + 2 + 0xFFFF + 2 + 2 + CrossData::kMaxSide * CrossData::kMaxSide;

} // namespace

void CrossData::clear()
{
    name.clear();
    width = height = maxRowClues = maxColClues = 0;
    cells.clear();
}

void CrossData::readFile(const std::string& path)
{
    clear();
    std::vector<std::uint8_t> buffer;
    const boundedfile::Result result = boundedfile::read(path, kMaxFileBytes, buffer);
    if (!result)
        throw CrossException(30004, path + ": " + result.cause);
    try {
        readBytes(buffer.data(), buffer.size());
    } catch (const CrossException& e) {
        throw CrossException(e.code(), path + ": " + e.detail());
    }
}

void CrossData::readBytes(const std::uint8_t* bytes, std::size_t size)
{
    clear();
    Cursor cur(bytes, size);
    std::uint16_t nameLength = 0, w = 0, h = 0;
    const std::uint8_t* nameBytes = nullptr;
    // The signature is not checked: any two bytes are accepted. A file that
    // ends before the sizes holds no crossword; opening it as a blank 0 x 0
    // grid would only hide the damage.
    if (!cur.skip(2) || !cur.u16(nameLength) || !cur.bytes(nameLength, nameBytes) || !cur.u16(w) || !cur.u16(h))
        throw CrossException(30004, "the file ends before the crossword's size");
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide)
        throw CrossException(30004, "size " + std::to_string(w) + " x " + std::to_string(h) + " outside 1..128");

    std::string storedName(reinterpret_cast<const char*>(nameBytes), nameLength);
    width = w;
    height = h;
    cells.assign(std::size_t(w) * h, 0);
    // Cells a short file does not supply stay background.
    const std::size_t available = std::min<std::size_t>(cur.remaining(), std::size_t(w) * h);
    const std::uint8_t* data = nullptr;
    cur.bytes(available, data);
    for (std::size_t i = 0; i < available; ++i)
        cell(int(i % w), int(i / w)) = data[i];
    name = std::move(storedName);
    recount();
}

void CrossData::fromPicture(const PixelSource& picture, const std::string& newName)
{
    clear();
    const int w = picture.width(), h = picture.height();
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        throw CrossException(30004);
    width = w;
    height = h;
    cells.assign(std::size_t(w) * std::size_t(h), 0);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            cell(x, y) = colorToIndex(picture.rgb(x, y));
    name = newName;
    recount();
}

void CrossData::recount()
{
    maxColClues = maxBlocks(false);
    maxRowClues = maxBlocks(true);
    // Clue numbers and counts live in signed bytes; a line with more blocks
    // than they can hold is refused instead of shown wrongly.
    if (maxColClues > kMaxBlocks || maxRowClues > kMaxBlocks) {
        clear();
        throw CrossException(30004, "a line holds more than 127 blocks");
    }
}

std::unique_ptr<CrossData> CrossData::clone() const
{
    return std::make_unique<CrossData>(*this);
}

int CrossData::maxBlocks(bool byRows) const
{
    if (cells.empty())
        return 0;
    const int lines = byRows ? height : width;
    const int len = byRows ? width : height;
    int best = 0;
    for (int line = 0; line < lines; ++line) {
        int count = 0, previous = 0;
        for (int i = 0; i < len; ++i) {
            const int v = byRows ? value(i, line) : value(line, i);
            if (v >= 1 && v != previous)
                ++count;
            previous = v;
        }
        best = std::max(best, count);
    }
    return best;
}

std::pair<std::uint8_t, std::uint8_t> CrossData::getClue(int position, int line, bool isColumn) const
{
    const int lines = isColumn ? width : height;
    const int len = isColumn ? height : width;
    const int m = isColumn ? maxColClues : maxRowClues;
    const int wanted = m - position; // 1 = the block nearest the grid
    if (cells.empty() || line < 0 || line >= lines || wanted < 1 || wanted > m)
        return {0, 0};
    // Walk from the grid edge outwards and stop at the wanted block.
    int index = 0, previous = 0;
    std::uint8_t colour = 0, length = 0;
    for (int i = len - 1; i >= 0; --i) {
        const int v = isColumn ? value(line, i) : value(i, line);
        if (v >= 1 && v != previous) {
            if (index == wanted)
                break;
            ++index;
            if (index == wanted)
                colour = std::uint8_t(v);
        }
        if (v >= 1 && index == wanted)
            ++length;
        previous = v;
    }
    if (index < wanted)
        return {0, 0};
    return {colour, length};
}

std::uint8_t CrossData::colorToIndex(std::uint32_t rgb)
{
    const int r = red(rgb), g = green(rgb), b = blue(rgb);
    // Dark greys (and black) become the palette's dark grey.
    if (r == g && g == b && r < 0x66)
        return kDefaultDrawIndex;
    long best = -1;
    int bestIndex = kDefaultDrawIndex;
    // Entry 18 is never chosen.
    for (int i = 0; i < 18; ++i) {
        const RGB p = kPalette[i];
        const int R = red(p), G = green(p), B = blue(p);
        if (R < r || G < g || B < b)
            continue;
        const long d = 30L * (R - r) * (R - r) + 59L * (G - g) * (G - g) + 11L * (B - b) * (B - b);
        if (best < 0 || d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return std::uint8_t(bestIndex);
}

std::vector<std::uint8_t> CrossData::toFileBytes() const
{
    std::vector<std::uint8_t> out;
    const std::size_t n = std::min<std::size_t>(name.size(), 0xFFFF);
    out.reserve(8 + n + cells.size());
    out.push_back('Q');
    out.push_back('L');
    out.push_back(std::uint8_t(n >> 8));
    out.push_back(std::uint8_t(n));
    out.insert(out.end(), name.begin(), name.begin() + std::ptrdiff_t(n));
    out.push_back(std::uint8_t(width >> 8));
    out.push_back(std::uint8_t(width));
    out.push_back(std::uint8_t(height >> 8));
    out.push_back(std::uint8_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back(cell(x, y));
    return out;
}
