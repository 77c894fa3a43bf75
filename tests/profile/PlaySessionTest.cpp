#include "config/SafeFormat.h"
#include "profile/PlayClock.h"
#include "profile/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PlayClock, CountsOnlyWhileRunningAndShowsHoursMinutesSeconds)
{
    PlayClock clock;
    clock.reset(60);                  // a crossword that had a minute
    EXPECT_EQ(clock.seconds(5000), 60u); // standing still
    clock.run(true, 10'000);
    clock.run(true, 12'000);          // a repeated start keeps the first
    EXPECT_EQ(clock.seconds(14'999), 64u);
    clock.run(false, 15'500);
    EXPECT_EQ(clock.seconds(99'000), 65u);
    clock.run(true, 100'000);
    clock.run(false, 100'600);        // the half seconds add up
    EXPECT_EQ(clock.seconds(200'000), 66u);
    clock.run(true, 300'000);
    EXPECT_EQ(clock.seconds(299'000), 66u); // a time from before counts nothing
    clock.reset(0);
    EXPECT_FALSE(clock.running());
    EXPECT_EQ(clock.seconds(400'000), 0u);
    clock.reset(0xFFFFFFF0u);
    clock.run(true, 0);
    EXPECT_EQ(clock.seconds(INT64_MAX / 2), 0xFFFFFFFFu);

    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "0:00"}, {59, "0:59"}, {61, "1:01"}, {3599, "59:59"}, {3600, "1:00:00"}, {36061, "10:01:01"},
        {0xFFFFFFFFu, "1193046:28:15"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(clockText(seconds), text) << seconds;
}

TEST(WindowPlacement, FitsInsideTheAvailableArea)
{
    const ScreenArea desk{0, 0, 1280, 1000}; // a panel takes the bottom 24 pixels
    const ScreenArea halved{0, 0, 640, 500}; // the same screen at double scale
    const FrameMargins frame{4, 24, 4, 4};
    struct Case {
        const char* what;
        WindowPlacement wanted;
        ScreenArea area;
        FrameMargins frame;
        bool centre;
        WindowPlacement expected;
    } cases[] = {
        {"fits as it is", {100, 100, 800, 600, false}, desk, frame, false, {100, 100, 800, 600, false}},
        {"default size centred", {0, 0, 757, 596, false}, desk, {}, true, {261, 202, 757, 596, false}},
        {"default at double scale shrinks", {0, 0, 757, 596, false}, halved, frame, true, {4, 24, 632, 472, false}},
        {"off the right and bottom edge", {1000, 900, 800, 600, false}, desk, frame, false, {476, 396, 800, 600, false}},
        {"above and left of the screen", {-300, -50, 400, 300, true}, desk, frame, false, {4, 24, 400, 300, true}},
        {"larger than the screen", {0, 0, 5000, 4000, false}, desk, frame, false, {4, 24, 1272, 972, false}},
        {"too small to be a window", {50, 60, 20, 10, false}, desk, {}, false, {261, 202, 757, 596, false}},
        {"screen to the left of the primary", {-900, 10, 600, 400, false}, {-1280, 0, 1280, 1024}, {}, false,
         {-900, 10, 600, 400, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitInto(c.wanted, c.area, c.frame, 757, 596, c.centre), c.expected) << c.what;
}
