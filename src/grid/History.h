#pragma once

#include "data/Color.h"

#include <cstddef>
#include <cstdint>
#include <deque>

// One undo step element: a cell or clue change, or the marker that opens a
// line or rectangle.
struct HistoryRecord {
    enum Kind : std::uint8_t { Change = 0, FigureMarker = 1 };
    Kind kind = Change;
    std::uint8_t clue = 0;   // the change concerns a clue cell
    int first = 0;           // cell: column; clue: column (top) or slot (left)
    int second = 0;          // cell: row; clue: slot (top) or row (left)
    std::uint8_t tool = 0;   // cell change: 0 Brush, 1 Line, 2 Rect
    std::uint8_t oldState = 0;
    RGB oldColour = 0;
    std::uint8_t top = 0;    // the clue lies in the top area
    std::uint8_t oldMark = 0;
};

// A stack of at most 1000 records; pushing onto a full stack drops the oldest.
// Figure markers count like any record.
class History {
public:
    static constexpr std::size_t kCapacity = 1000;

    void push(const HistoryRecord& record)
    {
        if (records_.size() >= kCapacity)
            records_.pop_front();
        records_.push_back(record);
    }
    HistoryRecord pop()
    {
        HistoryRecord r = records_.back();
        records_.pop_back();
        return r;
    }
    bool empty() const { return records_.empty(); }
    std::size_t size() const { return records_.size(); }
    const HistoryRecord& operator[](std::size_t i) const { return records_[i]; }
    const HistoryRecord& newest() const { return records_.back(); }
    void clear() { records_.clear(); }

private:
    std::deque<HistoryRecord> records_;
};
