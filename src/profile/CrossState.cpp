#include "profile/CrossState.h"

namespace {

std::size_t bitBytes(std::size_t count) { return (count + 7) / 8; }
std::size_t pairBytes(std::size_t count) { return (count + 3) / 4; }

// One bit per value, the first value in bit 7.
void packBits(const std::vector<std::uint8_t>& values, std::vector<std::uint8_t>& out)
{
    std::uint8_t byte = 0;
    int used = 0;
    for (std::uint8_t v : values) {
        byte = std::uint8_t(byte | ((v & 1) << (7 - used)));
        if (++used == 8) {
            out.push_back(byte);
            byte = 0;
            used = 0;
        }
    }
    if (used)
        out.push_back(byte);
}

// Two bits per value, the first value in bits 7-6.
void packPairs(const std::vector<std::uint8_t>& values, std::vector<std::uint8_t>& out)
{
    std::uint8_t byte = 0;
    int used = 0;
    for (std::uint8_t v : values) {
        byte = std::uint8_t(byte | ((v & 3) << (6 - 2 * used)));
        if (++used == 4) {
            out.push_back(byte);
            byte = 0;
            used = 0;
        }
    }
    if (used)
        out.push_back(byte);
}

void unpackBits(const std::uint8_t* in, std::vector<std::uint8_t>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = std::uint8_t((in[i / 8] >> (7 - i % 8)) & 1);
}

void unpackPairs(const std::uint8_t* in, std::vector<std::uint8_t>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = std::uint8_t((in[i / 4] >> (6 - 2 * (i % 4))) & 3);
}

} // namespace

CrossState::CrossState(std::string id, int width, int height, int rowClueCount, int columnClueCount)
    : id_(std::move(id)),
      height_(std::uint8_t(height)),
      width_(std::uint8_t(width)),
      columnClues_(std::uint8_t(columnClueCount)),
      rowClues_(std::uint8_t(rowClueCount)),
      left_(std::size_t(rowClues_) * height_, 0),
      top_(std::size_t(width_) * columnClues_, 0),
      states_(std::size_t(width_) * height_, 0),
      colours_(std::size_t(width_) * height_, 0)
{
}

std::size_t CrossState::recordSize() const
{
    return id_.size() + 1 + 4 + bitBytes(left_.size()) + bitBytes(top_.size()) + pairBytes(states_.size()) +
           colours_.size();
}

void CrossState::appendRecord(std::vector<std::uint8_t>& out) const
{
    out.insert(out.end(), id_.begin(), id_.end());
    out.push_back(';');
    out.push_back(height_);
    out.push_back(width_);
    out.push_back(columnClues_);
    out.push_back(rowClues_);
    packBits(left_, out);
    packBits(top_, out);
    packPairs(states_, out);
    out.insert(out.end(), colours_.begin(), colours_.end());
}

std::optional<CrossState> CrossState::readRecord(const std::uint8_t* data, std::size_t size, std::size_t& consumed)
{
    std::size_t pos = 0;
    while (pos < size && data[pos] != ';')
        ++pos;
    if (pos == size)
        return std::nullopt;
    CrossState e;
    e.id_.assign(reinterpret_cast<const char*>(data), pos);
    ++pos;
    if (size - pos < 4)
        return std::nullopt;
    const int h = data[pos], w = data[pos + 1], c = data[pos + 2], r = data[pos + 3];
    pos += 4;
    // The parts are at most 255 x 255 values each, so the sizes below can
    // neither overflow nor ask for more than a few hundred kilobytes; they are
    // still checked against what is left before anything is allocated.
    const std::size_t cells = std::size_t(w) * h;
    const std::size_t need = bitBytes(std::size_t(r) * h) + bitBytes(std::size_t(w) * c) + pairBytes(cells) + cells;
    if (size - pos < need)
        return std::nullopt;
    e = CrossState(std::move(e.id_), w, h, r, c);
    unpackBits(data + pos, e.left_);
    pos += bitBytes(e.left_.size());
    unpackBits(data + pos, e.top_);
    pos += bitBytes(e.top_.size());
    unpackPairs(data + pos, e.states_);
    pos += pairBytes(cells);
    e.colours_.assign(data + pos, data + pos + cells);
    pos += cells;
    consumed = pos;
    return e;
}
