#include "TestGrids.h"
#include "formats/ColourMapping.h"
#include "formats/MemberNames.h"
#include "formats/NonFormat.h"
#include "formats/PbnXml.h"
#include "formats/PuzzlePicture.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Clue lines as text ("3 1/2//1r 2g") to compare whole puzzles at a glance;
// colours other than 1 carry their number.
std::string cluesText(const std::vector<ClueLine>& lines)
{
    std::string s;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) s += '/';
        for (std::size_t k = 0; k < lines[i].size(); ++k) {
            if (k) s += ' ';
            s += std::to_string(lines[i][k].length);
            if (lines[i][k].colour != 1) { // two appends: GCC 12 warns falsely (-Wrestrict) on "c" + string
                s += 'c';
                s += std::to_string(lines[i][k].colour);
            }
        }
    }
    return s;
}

// All a puzzle carries through a file, to compare whole puzzles at once.
std::string carried(const Puzzle& p)
{
    std::string s = p.title + "|" + cluesText(p.rows) + "|" + cluesText(p.columns) + "|";
    for (std::uint8_t v : p.goal) s += char('0' + v);
    for (const PuzzleColour& c : p.colours) s += " " + std::to_string(c.rgb);
    return s;
}

} // namespace

// Variants authors write, and damaged or absurd files, as .non or PBN: each
// either reads to the given row clues or fails with a message holding the
// given words. A PBN puzzle refused on its own ('!') leaves its set readable.
TEST(Formats, ReadVariantsAndRefuseDamage)
{
    const std::string head = "width 3\nheight 2\n";
    const std::string cols = "columns\n1\n0\n2\n";
    std::string deep;
    for (int i = 0; i < 40; ++i) deep += "<a>";
    struct Case {
        std::string text, rows, error;
        bool xml = false;
    } cases[] = {
        {"catalogue \"x #1\"\ntitle \"Little boat\"\nby \"someone\"\nwidth 5\nheight 3\n\nrows\n1\n5\n3\n\n"
         "columns\n1\n2\n3\n2\n1\n\ngoal \"001001111101110\"\n",
         "1/5/3", ""}, // unknown keywords, a quoted goal
        {head + "rows\n1 1\n1\n" + cols, "1 1/1", ""},
        {head + "rows\r\n1,1\r\n\r\n1\r\n" + cols, "1 1/1", ""},          // a blank separator line, CRLF
        {"width 3\nheight 2\nrows\n0\n3\ncolumns\n1\n1\n1\n", "/3", ""},  // 0 is an empty line
        {"width 3\nheight 2\nrows\n\n3\ncolumns\n1\n1\n1\n", "/3", ""},   // so is a blank line that is needed
        {"rows\n1 1\n1\n" + cols + head, "1 1/1", ""},                  // sizes may come last
        {head + "rows\n1 1\n1\n" + cols + "goal\n101\n001\n", "1 1/1", ""},
        {head + "rows\n1 1\n1\n" + cols + "goal \"101000\"\n", "", "goal picture does not give"},
        {head + "rows\n1 1\n1\n" + cols + "goal \"1010\"\n", "", "not 3 x 2"},
        {head + "rows\n1 1\n1\n" + cols + "goal \"10a001\"\n", "", "holds 'a'"},
        {"width 129\nheight 2\n", "", "width is not 1..128"},
        {"width 3\nheight 99999999999\n", "", "height is not 1..128"},
        {"width -3\nheight 2\n", "", "width is not 1..128"},
        {head + "rows\n1 1\n1\ncolumns\n1\n1\n2\n", "", "the rows fill 3 cells"},
        {head + "rows\n1\n" + cols, "", "1 row clues for height 2"},
        {head + "rows\n1 x\n1\n" + cols, "", "line 4: not a clue"},
        {head + "rows\n1 1\n1\n", "", "\"columns\" missing"},
        {head + "rows\n1 1\n1\nrows\n1\n", "", "second \"rows\""},
        {"width 3\nrows\n1\n", "", "width or height missing"},
        {head + "rows\n1 1\n1\ncolumns\n1\n", "", "1 column clues for width 3"}, // cut short
        {std::string("width 3\nheight 2\0\nrows\n", 20), "", "not a text file"},
        {head + std::string(1000000, '\n'), "", "more than 100000 lines"},
        {"", "", "no element", true},
        {"just text", "", "text outside", true},
        {"<puzzleset><puzzle></puzzleset>", "", "does not close <puzzle>", true},
        {"<puzzleset><puzzle>", "", "ends inside <puzzle>", true},
        {"<puzzleset><puzzle a=1/></puzzleset>", "", "unquoted attribute", true},
        {"<puzzleset><puzzle a=\"1/></puzzleset>", "", "unclosed attribute", true},
        {"<puzzleset><puzzle/></puzzleset><x/>", "", "second document element", true},
        {"<!DOCTYPE p [<!ENTITY e \"eeee\">]><puzzleset/>", "", "entity definitions", true},
        {"<puzzleset>&#0;</puzzleset>", "", "bad character reference", true},
        {"<puzzleset></puzzleset>", "", "no <puzzle>", true},
        {deep, "", "nested deeper than 32", true},
        {"<puzzle/>", "", "!no clues and no goal", true},
        {"<puzzle><color name=\"red\" char=\"r\">red</color></puzzle>", "", "!is not RGB", true},
        {"<puzzle backgroundcolor=\"sky\"/>", "", "!unknown background colour", true},
        {"<puzzle><clues type=\"rows\"><line><count>4</count></line></clues>"
         "<clues type=\"columns\"><line><count>1</count></line></clues></puzzle>",
         "", "!row 1: the clues need more than 1", true},
        {"<puzzle><clues type=\"rows\"><line><count>1x</count></line></clues></puzzle>", "", "!not a number",
         true},
        {"<puzzle><solution><image>|X?|</image></solution></puzzle>", "", "!not complete", true},
        {"<puzzle><solution><image>|X.|X|</image></solution></puzzle>", "", "!differ in length", true},
        {"<puzzle><solution><image>|" + std::string(129, 'X') + "|</image></solution></puzzle>", "",
         "!larger than 128", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        Puzzle p;
        std::vector<pbnxml::Entry> set;
        std::string error;
        const bool puzzle = c.xml && c.error[0] == '!';
        EXPECT_EQ(c.xml ? pbnxml::read(c.text, set, error) : nonformat::read(c.text, p, error),
                  c.error.empty() || puzzle)
            << error;
        if (puzzle) {
            ASSERT_EQ(set.size(), 1u);
            error = set[0].error;
        }
        EXPECT_NE(error.find(c.error.substr(puzzle)), std::string::npos) << error;
        if (c.error.empty()) {
            EXPECT_EQ(cluesText(p.rows), c.rows);
        }
    }
}

const char* kColourSet = R"(<?xml version="1.0"?>
<!DOCTYPE pbn SYSTEM "http://webpbn.com/pbn-0.3.dtd">
<puzzleset>
<source>made by hand</source>
<!-- a comment with <tags> in it -->
<puzzle type="grid" defaultcolor="black">
<title>Flag &amp; pole</title>
<color name="white" char=".">fff</color>
<color name="black" char="X">000000</color>
<color name="red" char="r">#F00</color>
<color name="unused" char="u">123456</color>
<clues type="columns"><line><count>2</count></line>
<line><count color="red">1</count></line><line><count color="red">1</count></line></clues>
<clues type="rows">
<line><count>1</count><count color="red">2</count></line>
<line><count>1</count></line>
</clues>
<solution type="goal"><image>
|Xrr|
|X..|
</image></solution>
</puzzle>
<puzzle><id>#7</id><clues type="rows"><line><count color="blue">1</count></line></clues>
<clues type="columns"><line><count>1</count></line></clues></puzzle>
<puzzle><solution><image><![CDATA[|X.|.X|]]></image></solution></puzzle>
</puzzleset>
)";

TEST(PbnXml, ReadsEveryPuzzleOfASetAndNamesTheOnesItRefuses)
{
    std::vector<pbnxml::Entry> set;
    std::string error;
    ASSERT_TRUE(pbnxml::read(kColourSet, set, error)) << error;
    ASSERT_EQ(set.size(), 3u);

    EXPECT_EQ(set[0].error, "");
    EXPECT_EQ(set[0].name, "Flag & pole");
    // White, black and red; the unused colour is dropped.
    EXPECT_EQ(carried(set[0].puzzle), "Flag & pole|1 2c2/1|2/1c2/1c2|122100 16777215 0 16711680");

    EXPECT_EQ(set[1].name, "#7");
    EXPECT_NE(set[1].error.find("unknown colour \"blue\""), std::string::npos) << set[1].error;

    // Only a goal: the clues come from the picture.
    EXPECT_EQ(set[2].error, "");
    EXPECT_EQ(set[2].name, "puzzle 3");
    EXPECT_EQ(cluesText(set[2].puzzle.rows), "1/1");
}

// What the writers write, the readers read back to the same puzzle: random
// pictures in black and white and in many colours, through both formats.
TEST(Formats, WrittenPuzzlesReadBackUnchanged)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + int(random() % 30), h = 1 + int(random() % 30);
        const bool colour = round % 2;
        const char* ink = colour ? ".123456789abcdefghi" : ".#";
        const std::size_t inks = std::char_traits<char>::length(ink);
        std::vector<std::string> rows(std::size_t(h), std::string(std::size_t(w), '.'));
        for (auto& r : rows)
            for (char& c : r) c = random() % 2 ? ink[random() % inks] : '.';
        const Puzzle p = puzzlepicture::fromCrossword(testgrids::crossword(rows), "Round \"" + std::to_string(round) + "\" <&>");
        ASSERT_EQ(p.check(), "");

        std::vector<pbnxml::Entry> set;
        std::string error;
        ASSERT_TRUE(pbnxml::read(pbnxml::write({p, p}), set, error)) << error;
        ASSERT_EQ(set.size(), 2u);
        EXPECT_EQ(set[1].error, "");
        EXPECT_EQ(carried(set[1].puzzle), carried(p));
        if (!colour) {
            Puzzle back, want = p;
            want.title = "Round '" + std::to_string(round) + "' <&>"; // .non titles cannot hold double quotes
            ASSERT_TRUE(nonformat::read(nonformat::write(p), back, error)) << error;
            EXPECT_EQ(carried(back), carried(want));
        }
    }
}

TEST(ColourMapping, NearestFreeEntryForEachColour)
{
    struct Case {
        std::vector<RGB> colours;
        std::vector<int> entries;
    } cases[] = {
        {{0x000000}, {3}},                             // black-and-white stays black-and-white
        {{0x000000, 0x444444}, {3, 2}},                // black keeps the dark grey, the grey moves
        {{0xFF0000, 0xEE1111, 0x00FF00}, {11, 12, 8}}, // two reds: the nearer keeps red
        {{0x0000CC, 0x3333FF, 0xCC9933}, {6, 5, 18}},  // palette colours are themselves
    };
    for (const Case& c : cases) {
        std::vector<int> entries;
        std::string error;
        ASSERT_TRUE(mapColours(c.colours, entries, error));
        EXPECT_EQ(entries, c.entries);
    }
    std::vector<RGB> all(kPalette + 1, kPalette + kPaletteSize);
    std::vector<int> entries;
    std::string error;
    ASSERT_TRUE(mapColours(all, entries, error));
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(entries[i], int(i) + 1);
    all.push_back(0x123456);
    EXPECT_FALSE(mapColours(all, entries, error));
    EXPECT_EQ(error, "19 colours; the palette has 18");
}

TEST(MemberNames, TitlesBecomeSafeDistinctNames)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Cat", "Cat"},
        {"  A  cat\\on/the:mat?  ", "A cat_on_the_mat"},
        {"..\\..\\etc", "etc"},
        {"\xD0\x9A\xD0\xBE\xD1\x82", "Puzzle"}, // nothing of it is plain ASCII
        {"Tom_", "Tom"},
        {"", "Puzzle"},
        {std::string(60, 'x'), std::string(48, 'x')},
    };
    for (const auto& [title, name] : cases) EXPECT_EQ(safeMemberName(title), name) << title;

    std::set<std::string> taken{"cat"};
    EXPECT_EQ(uniqueMemberName("Cat", taken), "Cat 2");
    EXPECT_EQ(uniqueMemberName("CAT", taken), "CAT 3");
    EXPECT_EQ(uniqueMemberName("Dog", taken), "Dog");
}
