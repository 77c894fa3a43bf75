#include "config/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, CyrillicAndWesternHighHalvesIncludingTheC1Block)
{
    EXPECT_EQ(codepage::toUnicode(0x97, 1251), U'\u2014');
    EXPECT_EQ(codepage::toUnicode(0x97, 1252), U'\u2014');
    EXPECT_EQ(codepage::toUnicode(0x96, 1251), U'\u2013');
    EXPECT_EQ(codepage::toUnicode(0x80, 1251), U'\u0402');
    EXPECT_EQ(codepage::toUnicode(0x88, 1251), U'\u20AC');
    EXPECT_EQ(codepage::toUnicode(0xA8, 1251), U'\u0401');
    EXPECT_EQ(codepage::toUnicode(0xB9, 1251), U'\u2116');
    EXPECT_EQ(codepage::toUnicode(0xC0, 1251), U'\u0410');
    EXPECT_EQ(codepage::toUnicode(0xFF, 1251), U'\u044F');
    EXPECT_EQ(codepage::toUnicode(0x98, 1251), U'\uFFFD');
    EXPECT_EQ(codepage::toUnicode(0x80, 1252), U'\u20AC');
    EXPECT_EQ(codepage::toUnicode(0x81, 1252), U'\uFFFD');
    EXPECT_EQ(codepage::toUnicode(0x9F, 1252), U'\u0178');
    EXPECT_EQ(codepage::toUnicode(0xE9, 1252), U'\u00E9');
    EXPECT_EQ(codepage::toUnicode(0x8A, 1250), U'\u0160');
    EXPECT_EQ(codepage::toUnicode(0xE1, 1253), U'\u03B1');
    EXPECT_EQ(codepage::toUnicode(0x41, 1251), U'A');
}

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
    EXPECT_EQ(codepage::toUtf8("\x81", 1252), "\xEF\xBF\xBD");
}

TEST(CodePage, LocalesGetTheirWindowsAnsiPages)
{
    using codepage::Script;
    EXPECT_EQ(codepage::forLocale(0x19), 1251);
    EXPECT_EQ(codepage::forLocale(0x07), 1252);
    // Serbian and Azeri are written in two scripts with different pages.
    EXPECT_EQ(codepage::forLocale(0x1A, Script::Latin), 1250);
    EXPECT_EQ(codepage::forLocale(0x1A, Script::Cyrillic), 1251);
    EXPECT_EQ(codepage::forLocale(0x2C, Script::Latin), 1254);
    EXPECT_EQ(codepage::forLocale(0x2C, Script::Cyrillic), 1251);
    EXPECT_EQ(codepage::forLocale(0x00), 1252); // unknown
}

}  // namespace
