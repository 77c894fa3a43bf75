#include "grid/History.h"

void History::dropRedo()
{
    // Anything new makes the steps undone before it meaningless.
    for (const Step& s : redo_)
        count_ -= s.weight();
    redo_.clear();
}

void History::record(const HistoryChange& change)
{
    dropRedo();
    if (depth_ == 0 || startNew_ || undo_.empty() || undo_.back().cleared)
        undo_.emplace_back();
    startNew_ = false;
    undo_.back().changes.push_back(change);
    ++count_;
    trim();
}

void History::recordClear(std::shared_ptr<const FieldPicture> before)
{
    dropRedo();
    undo_.push_back(Step{{}, std::move(before)});
    startNew_ = true; // what follows, even in an open step, is a new step
    ++count_;
    trim();
}

void History::trim()
{
    while (count_ > kCapacity) {
        Step& oldest = undo_.front();
        if (undo_.size() == 1) {
            // One step larger than the limit keeps its newest changes.
            oldest.changes.erase(oldest.changes.begin());
            --count_;
        } else {
            count_ -= oldest.weight();
            undo_.pop_front();
        }
    }
}

const History::Step* History::undo()
{
    if (undo_.empty())
        return nullptr;
    // A step still open is closed: what follows starts a new one.
    startNew_ = true;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return &redo_.back();
}

const History::Step* History::redo()
{
    if (redo_.empty())
        return nullptr;
    startNew_ = true;
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return &undo_.back();
}

void History::clear()
{
    undo_.clear();
    redo_.clear();
    count_ = 0;
    startNew_ = false;
}
