#include "config/AnsiCase.h"

#include <gtest/gtest.h>

TEST(AnsiCase, LettersOfTheCodePageLowerAndEverythingElseStays)
{
    struct Case {
        int codePage;
        std::string upper, lower;
    } cases[] = {
        // Western: accented capitals, the capitals in the 0x80 block, and
        // ß, × and digits, which have no partner in the page.
        {1252, "ABC\xC9\xC0\xDE", "abc\xE9\xE0\xFE"},
        {1252, "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
        {1252, "\xDF\xD7" "09;\\_", "\xDF\xD7" "09;\\_"},
        // Cyrillic: the capital block and the scattered capitals.
        {1251, "\xC0\xDF\xA8\xAA\xB2", "\xE0\xFF\xB8\xBA\xB3"},
        // Central European: L with caron and Z with dot above.
        {1250, "\xBC\xAF", "\xBE\xBF"},
        // Greek: Alpha and Omega.
        {1253, "\xC1\xD9", "\xE1\xF9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(codepage::lowerCase(c.upper, c.codePage), c.lower) << c.codePage << " " << c.upper;
}

TEST(AnsiCase, AnUnknownCodePageLowersAsciiOnly)
{
    EXPECT_EQ(codepage::lowerCase("AbC\xC9", 99999), "abc\xC9");
}
