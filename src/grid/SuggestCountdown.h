#pragma once

// The wait before the player may ask for a suggestion, counted in ticks of
// half a second: 30 seconds after a crossword opens or a suggestion is
// taken. Once ready, the button flashes, lit every other tick.
class SuggestCountdown {
public:
    static constexpr int kWaitTicks = 60;

    // Starts the wait again (a crossword opened, a suggestion taken).
    void restart() { ticks_ = 0; }
    // Idle: no wait, no flash.
    void reset()
    {
        ticks_ = 0;
        lit_ = false;
    }
    void tick()
    {
        if (ticks_ != kWaitTicks)
            ++ticks_;
        lit_ = ready() && !lit_;
    }

    int ticks() const { return ticks_; }
    bool ready() const { return ticks_ == kWaitTicks; }
    // Whole seconds still to wait, as the button counts them down.
    int secondsLeft() const { return (kWaitTicks - ticks_) / 2; }
    bool lit() const { return lit_; }

private:
    int ticks_ = 0;
    bool lit_ = false;
};
