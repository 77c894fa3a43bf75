#include "profile/PlayClock.h"

#include <algorithm>

namespace {
constexpr std::int64_t kMaxMs = std::int64_t(0xFFFFFFFFu) * 1000;

// A steady clock never goes back; one read from elsewhere might, and a
// stretch that seems to run backwards counts nothing.
std::int64_t stretch(std::int64_t from, std::int64_t to)
{
    return std::max<std::int64_t>(0, to - from);
}
}

void PlayClock::reset(std::uint32_t seconds)
{
    countedMs_ = std::int64_t(seconds) * 1000;
    running_ = false;
}

void PlayClock::run(bool on, std::int64_t nowMs)
{
    if (on == running_)
        return;
    if (on)
        since_ = nowMs;
    else
        countedMs_ = std::min(kMaxMs, countedMs_ + stretch(since_, nowMs));
    running_ = on;
}

std::uint32_t PlayClock::seconds(std::int64_t nowMs) const
{
    std::int64_t ms = countedMs_;
    if (running_)
        ms = std::min(kMaxMs, ms + stretch(since_, nowMs));
    return std::uint32_t(ms / 1000);
}
