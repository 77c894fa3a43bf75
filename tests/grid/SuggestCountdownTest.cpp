#include "grid/SuggestCountdown.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SuggestCountdown, ThirtySecondsInHalfSecondTicksThenFlashesEveryOtherTick)
{
    SuggestCountdown c;
    std::vector<int> seconds;
    for (int tick = 0; tick < SuggestCountdown::kWaitTicks - 1; ++tick) {
        c.tick();
        EXPECT_FALSE(c.ready());
        EXPECT_FALSE(c.lit());
        seconds.push_back(c.secondsLeft());
    }
    EXPECT_EQ(seconds[0], 29);
    EXPECT_EQ(seconds[1], 29);
    EXPECT_EQ(seconds[2], 28);
    EXPECT_EQ(seconds.back(), 0);
    std::vector<bool> lit;
    for (int tick = 0; tick < 4; ++tick) {
        c.tick();
        EXPECT_TRUE(c.ready());
        lit.push_back(c.lit());
    }
    EXPECT_EQ(lit, (std::vector<bool>{true, false, true, false}));
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
