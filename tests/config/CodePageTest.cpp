#include "config/AnsiCase.h"
#include "config/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, EveryDefinedByteOfEveryPageSurvivesTheRoundTrip)
{
    for (int page = 1250; page <= 1258; ++page) {
        std::string all;
        for (int b = 1; b < 256; ++b)
            if (codepage::toUnicode(static_cast<unsigned char>(b), page) != U'\uFFFD')
                all += char(b);
        EXPECT_EQ(codepage::fromUtf8(codepage::toUtf8(all, page), page), all) << page;
    }
}

TEST(CodePage, UnmappableAndBrokenUtf8BecomesQuestionMarks)
{
    // Greek alpha in 1251; a lone continuation byte; a cut sequence; an
    // overlong slash; then plain text that must still come through.
    EXPECT_EQ(codepage::fromUtf8("\xCE\xB1|\x80|\xD0|\xC0\xAF|ok", 1251), "?|?|?|??|ok");
    EXPECT_EQ(codepage::fromUtf8("\xE2\x80\x94", 1252), "\x97");
    // The C1 block is no Latin-1: letters and dashes, and holes that map to nothing.
    EXPECT_EQ(codepage::toUtf8("\x80\x97\x98", 1251), "\xD0\x82\xE2\x80\x94\xEF\xBF\xBD");
    EXPECT_EQ(codepage::toUtf8("\x81", 1252), "\xEF\xBF\xBD");
}

TEST(AnsiCase, LettersOfTheCodePageLowerAndEverythingElseStays)
{
    struct Case { int codePage; std::string upper, lower; };
    const Case cases[] = {
        // Western: accented capitals, the capitals in the 0x80 block, and
        // ß, × and digits, which have no partner in the page.
        {1252, "ABC\xC9\xC0\xDE", "abc\xE9\xE0\xFE"},
        {1252, "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
        {1252, "\xDF\xD7" "09;\\_", "\xDF\xD7" "09;\\_"},
        // Cyrillic: the capital block and the scattered capitals.
        {1251, "\xC0\xDF\xA8\xAA\xB2", "\xE0\xFF\xB8\xBA\xB3"},
        {1250, "\xBC\xAF", "\xBE\xBF"}, // L with caron, Z with dot above
        {1253, "\xC1\xD9", "\xE1\xF9"}, // Alpha, Omega
        {99999, "AbC\xC9", "abc\xC9"},  // a page the system cannot convert: ASCII only
    };
    for (const Case& c : cases)
        EXPECT_EQ(codepage::lowerCase(c.upper, c.codePage), c.lower) << c.codePage << " " << c.upper;
}

}  // namespace
