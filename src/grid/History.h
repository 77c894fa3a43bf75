#pragma once

#include "data/Color.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// One change of one cell or one clue mark, with what it was before and after,
// so that it can be taken back and done again.
struct HistoryChange {
    bool clue = false;     // a clue mark; otherwise a cell
    bool top = false;      // the clue lies above the field
    int first = 0;         // cell: column; clue: column (top) or slot (left)
    int second = 0;        // cell: row; clue: slot (top) or row (left)
    std::uint8_t oldState = 0, newState = 0; // cell state, or clue mark
    RGB oldColour = 0, newColour = 0;
    bool operator==(const HistoryChange&) const = default;
};

// Every cell and clue mark of the field at one moment: what a Clear takes
// away, kept whole so that one Undo brings it all back however large the
// field is. It counts as one change towards the limit.
struct FieldPicture {
    std::vector<std::uint8_t> states; // [column * height + row]
    std::vector<RGB> colours;
    std::vector<std::uint8_t> leftMarks, topMarks; // as the model keeps them
};

// What the player can take back and do again, in steps: a brush stroke, a
// line, a rectangle, a clue strike-out or a Clear is one step each way. The
// two directions share one limit of 1000 changes; a new change drops what
// could be redone, and the oldest steps go first when the limit is reached
// (of a step larger than the limit, its newest 1000 changes stay).
class History {
public:
    static constexpr std::size_t kCapacity = 1000;
    struct Step {
        std::vector<HistoryChange> changes;
        // A Clear: the field before it (changes then empty).
        std::shared_ptr<const FieldPicture> cleared;
        std::size_t weight() const { return cleared ? 1 : changes.size(); }
    };

    // Changes recorded between beginStep and the matching endStep form one
    // step; calls may nest, the outermost pair counts. A change recorded
    // outside any pair is a step of its own.
    void beginStep() { ++depth_; startNew_ = startNew_ || depth_ == 1; }
    void endStep()
    {
        if (depth_ > 0)
            --depth_;
    }
    void record(const HistoryChange& change);
    // A Clear of the field shown in `before`, as a step of its own.
    void recordClear(std::shared_ptr<const FieldPicture> before);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The newest step, moved to the redo side; its changes are to be taken
    // back from last to first. Null when there is none.
    const Step* undo();
    // The step undone last, moved back; its changes are to be done again
    // from first to last. Null when there is none.
    const Step* redo();
    void clear();
    // A change made without a record (a suggestion) still ends what could
    // be redone.
    void dropRedo();

    // Changes held in both directions together (a Clear counts one).
    std::size_t size() const { return count_; }
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

private:
    void trim();

    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::size_t count_ = 0;
    int depth_ = 0;
    bool startNew_ = false;
};
