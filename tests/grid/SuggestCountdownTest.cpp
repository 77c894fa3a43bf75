#include "grid/SuggestCountdown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(SuggestCountdown, ThirtySecondsInHalfSecondTicksThenFlashesEveryOtherTick)
{
    SuggestCountdown c;
    std::vector<int> seconds;
    std::vector<bool> lit;
    for (int tick = 0; tick < SuggestCountdown::kWaitTicks + 3; ++tick) {
        c.tick();
        EXPECT_EQ(c.ready(), tick >= SuggestCountdown::kWaitTicks - 1) << tick;
        seconds.push_back(c.secondsLeft());
        lit.push_back(c.lit());
    }
    EXPECT_EQ(std::vector<int>(seconds.begin(), seconds.begin() + 3), (std::vector<int>{29, 29, 28}));
    EXPECT_EQ(seconds[SuggestCountdown::kWaitTicks - 2], 0);
    // Dark while waiting, then lit every other tick.
    EXPECT_EQ(std::count(lit.begin(), lit.end() - 4, true), 0);
    EXPECT_EQ(std::vector<bool>(lit.end() - 4, lit.end()), (std::vector<bool>{true, false, true, false}));
    // A suggestion taken starts the wait again; reset also puts the flash out.
    c.tick();
    c.restart();
    EXPECT_FALSE(c.ready());
    EXPECT_TRUE(c.lit()); // until the next tick
    c.tick();
    EXPECT_FALSE(c.lit());
    c.reset();
    EXPECT_EQ(c.ticks(), 0);
    EXPECT_FALSE(c.lit());
}
