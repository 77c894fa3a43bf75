#include "config/SafeFormat.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<FormatArg>;

TEST(SafeFormat, FillsMatchingPlaceholdersInOrder)
{
    EXPECT_EQ(safeFormat("%d : %d", Args{std::int64_t(4), std::int64_t(7)}), "4 : 7");
    EXPECT_EQ(safeFormat(" Category: %s\n Solved - %d", Args{std::string("Zoo"), std::int64_t(3)}),
              " Category: Zoo\n Solved - 3");
    EXPECT_EQ(safeFormat("%.2d:%.2d %.2f %%", Args{std::int64_t(5), std::int64_t(12), 99.5}), "05:12 99.50 %");
    EXPECT_EQ(safeFormat("Total: %d", Args{std::int64_t(5000000000LL)}), "Total: 5000000000");
}

TEST(SafeFormat, WrongOrMissingPlaceholdersStayVisibleAndSafe)
{
    // A text where a number belongs, and the other way round.
    EXPECT_EQ(safeFormat("%s wait %d", Args{std::int64_t(29), std::string("x")}), "%s wait %d");
    EXPECT_EQ(safeFormat("wait %d %d %n", Args{std::int64_t(1)}), "wait 1 %d %n");
    EXPECT_EQ(safeFormat("no placeholder", Args{std::int64_t(1)}), "no placeholder");
    EXPECT_EQ(safeFormat("cut %", Args{}), "cut %");
    EXPECT_EQ(safeFormat("%99999999d", Args{std::int64_t(1)}).size() < 600, true);
}

} // namespace
