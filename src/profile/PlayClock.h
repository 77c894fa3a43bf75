#pragma once

#include <cstdint>

// The time spent on the open crossword. It counts only while it runs (the
// crossword is open and the window active); the caller supplies the time of
// a steady clock in milliseconds, so the clock itself never asks the system.
class PlayClock {
public:
    // A crossword opens with the seconds it had; the clock stands still.
    void reset(std::uint32_t seconds);
    // Starts or stops counting at `nowMs`; a repeated call changes nothing.
    void run(bool on, std::int64_t nowMs);
    bool running() const { return running_; }
    // Whole seconds so far; stops at the largest number a profile holds.
    std::uint32_t seconds(std::int64_t nowMs) const;

private:
    std::int64_t countedMs_ = 0; // up to the last stop
    std::int64_t since_ = 0;     // start of the running stretch
    bool running_ = false;
};
