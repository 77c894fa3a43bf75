#include "config/CrossException.h"
#include "data/CrossData.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using testgrids::crossword;
using testgrids::fileBytes;

namespace {

std::string writeTemp(const std::vector<std::uint8_t>& bytes, const std::string& name)
{
    const auto path = std::filesystem::temp_directory_path() / ("tessellor_crossdata_" + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

int codeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CrossException& e) {
        return e.code();
    }
    return 0;
}

} // namespace

TEST(CrossDataFile, CellByteAtOffsetLandsInColumnAndRow)
{
    // 5 x 3 with a 4-byte name: 8 + 4 + 15 = 27 bytes; byte 12 + y*5 + x is cells[x][y].
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 4, 'a', 'b', 'c', 'd', 0, 5, 0, 3};
    for (int i = 0; i < 15; ++i)
        bytes.push_back(std::uint8_t(i + 1));
    ASSERT_EQ(bytes.size(), 27u);
    CrossData d;
    d.readFile(writeTemp(bytes, "5x3"));
    EXPECT_EQ(d.name, "abcd");
    EXPECT_EQ(d.width, 5);
    EXPECT_EQ(d.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(d.cell(x, y), bytes[std::size_t(12 + y * 5 + x)]) << x << "," << y;
}

TEST(CrossDataFile, SizesAreBigEndianAndBytesBeyondThePictureAreIgnored)
{
    std::vector<std::uint8_t> bytes = {'x', 'y', 0, 0, 0, 0x80, 0, 1};
    bytes.resize(8 + 128, 1);
    bytes.push_back(7); // beyond the picture
    CrossData d;
    d.readBytes(bytes.data(), bytes.size());
    EXPECT_EQ(d.width, 128);
    EXPECT_EQ(d.height, 1);
    EXPECT_EQ(d.maxRowClues, 1);
    EXPECT_EQ(d.maxColClues, 1);
}

TEST(CrossDataFile, ShortFilesNeverInventSizes)
{
    const auto full = fileBytes({"#.#", ".#."}, "nm");
    // Every cut before the cells ends inside the signature, length, name,
    // width or height: no crossword (never a blank 0 x 0 grid to play).
    for (std::size_t cut = 0; cut < 8 + 2; ++cut) {
        CrossData d;
        d.name = "previous";
        EXPECT_EQ(codeOf([&] { d.readBytes(full.data(), cut); }), 30004) << cut;
        EXPECT_FALSE(d.hasCells()) << cut;
        EXPECT_EQ(d.width, 0) << cut;
        EXPECT_EQ(d.height, 0) << cut;
        EXPECT_EQ(d.name, "") << cut;
    }
    // A cut inside the cells keeps what was read; the rest is background.
    CrossData d;
    d.readBytes(full.data(), full.size() - 2);
    ASSERT_TRUE(d.hasCells());
    EXPECT_EQ(d.cell(0, 0), 3);
    EXPECT_EQ(d.cell(2, 0), 3);
    EXPECT_EQ(d.cell(0, 1), 0);
    EXPECT_EQ(d.cell(1, 1), 0); // not supplied
    EXPECT_EQ(d.maxRowClues, 2);
}

TEST(CrossDataFile, RefusesSizesOutsideTheSupportedRange)
{
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {129, 1}, {1, 129}, {0xFFFF, 0xFFFF}}) {
        std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, std::uint8_t(w >> 8), std::uint8_t(w),
                                           std::uint8_t(h >> 8), std::uint8_t(h), 1, 1, 1};
        CrossData d;
        EXPECT_EQ(codeOf([&] { d.readBytes(bytes.data(), bytes.size()); }), 30004) << w << "x" << h;
        EXPECT_FALSE(d.hasCells());
        EXPECT_EQ(d.width, 0);
    }
}

TEST(CrossDataFile, RefusesLinesWithMoreBlocksThanASignedByteHolds)
{
    std::string row;
    for (int i = 0; i < 128; ++i)
        row += (i % 2) ? '1' : '2'; // 128 touching blocks of two colours
    CrossData d;
    const auto bytes = fileBytes({row});
    EXPECT_EQ(codeOf([&] { d.readBytes(bytes.data(), bytes.size()); }), 30004);
    EXPECT_FALSE(d.hasCells());
}

// Only regular files of a crossword's size are read: a FIFO would block for
// good, a link to /dev/zero would never end.
TEST(CrossDataFile, FilesThatAreNoCrosswordRaise30004NamingTheFile)
{
    const std::string dir = ::testing::TempDir() + "crossdata-hostile";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "/folder.ql");
    ::mkfifo((dir + "/fifo.ql").c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", dir + "/zero.ql");
    const std::string big = writeTemp(fileBytes({"#"}), "big");
    std::filesystem::resize_file(big, 2u << 20);
    for (const std::string& path : {std::string("/nonexistent/tessellor/none.ql"), dir + "/folder.ql",
                                    dir + "/fifo.ql", dir + "/zero.ql", big}) {
        CrossData d = crossword({"#"});
        try {
            d.readFile(path);
            ADD_FAILURE() << path;
        } catch (const CrossException& e) {
            EXPECT_EQ(e.code(), 30004);
            EXPECT_EQ(e.detail().rfind(path + ": ", 0), 0u) << e.detail();
        }
        EXPECT_FALSE(d.hasCells());
    }
    std::filesystem::remove_all(dir);
}

TEST(CrossDataFile, WritingAndReadingGiveTheSameRecord)
{
    CrossData a = crossword({"12.3", "..#4", "i..."}, "round");
    const auto bytes = a.toFileBytes();
    CrossData b;
    b.readBytes(bytes.data(), bytes.size());
    EXPECT_EQ(b.name, "round");
    ASSERT_EQ(b.width, 4);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(a.cell(x, y), b.cell(x, y));
}

TEST(CrossDataBlocks, CountsColoursAndTreatsHighBytesAsBackground)
{
    EXPECT_EQ(crossword({"112.2"}).maxBlocks(true), 3); // 1x2, 2x1, 2x1
    EXPECT_EQ(crossword({"....."}).maxBlocks(true), 0);
    CrossData blank = crossword({"...", "..."});
    EXPECT_EQ(blank.maxRowClues, 0);
    EXPECT_EQ(blank.maxColClues, 0);

    // 0x80..0xFF are negative as signed bytes: background that still ends a run.
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, 0, 5, 0, 1, 1, 0x80, 1, 0xFF, 0xFF};
    CrossData d;
    d.readBytes(bytes.data(), bytes.size());
    EXPECT_EQ(d.maxBlocks(true), 2);
    EXPECT_EQ(d.maxBlocks(false), 1);
    EXPECT_EQ(CrossData().maxBlocks(true), 0);
}

TEST(CrossDataClues, AlignAgainstTheFieldSplitByColourWithColumnsReadBottomUp)
{
    using Clue = std::pair<std::uint8_t, std::uint8_t>;  // colour, length
    struct Case {
        std::vector<std::string> rows;
        int position, line;
        bool column;
        Clue expected;
    };
    const std::vector<std::string> mono = {"11.111", "1.1.1."};
    const std::vector<std::string> colour = {"112..1", "2....1", "2....."};
    const Case cases[] = {
        // Row 1 1 0 1 1 1 with three clue positions: 3, then 2, outer slot empty.
        {mono, 2, 0, false, {1, 3}}, {mono, 1, 0, false, {1, 2}}, {mono, 0, 0, false, {0, 0}},
        // Out-of-range positions and lines are empty rather than undefined.
        {mono, 3, 0, false, {0, 0}}, {mono, -1, 0, false, {0, 0}}, {mono, 0, 9, false, {0, 0}},
        // Row 1 1 2 0 0 1: (1,2) (2,1) (1,1) from the left.
        {colour, 0, 0, false, {1, 2}}, {colour, 1, 0, false, {2, 1}}, {colour, 2, 0, false, {1, 1}},
        // Column 0 is 1, 2, 2 from the top; column 5 is 1, 1, 0.
        {colour, 0, 0, true, {1, 1}}, {colour, 1, 0, true, {2, 2}},
        {colour, 0, 5, true, {0, 0}}, {colour, 1, 5, true, {1, 2}},
    };
    EXPECT_EQ(crossword(mono).maxRowClues, 3);
    EXPECT_EQ(crossword(colour).maxColClues, 2);
    for (const Case& c : cases)
        EXPECT_EQ(crossword(c.rows).getClue(c.position, c.line, c.column), c.expected)
            << c.rows[0] << " " << c.position << "," << c.line << (c.column ? " column" : " row");
}

TEST(CrossDataColours, MapsPicturesToThePalette)
{
    const std::pair<RGB, int> cases[] = {
        {0xFFFFFF, 0},
        {0x000000, 3},
        {0x656565, 3},  // dark grey below 0x666666
        // 0x666666 is no longer caught by the grey rule: the nearest entry that
        // is at least as bright in every component wins (grey #999999).
        {0x666666, 2},
        {0x99FFFF, 0},  // only white is at least (153, 255, 255) everywhere
        // White dominates every colour, so a bright colour far from the
        // palette still finds an entry: magenta.
        {0x7000FF, 14},
        // As far from light grey (1) as from light red (10): the lower wins.
        {0xAA9999, 1},
    };
    for (const auto& [rgb, index] : cases)
        EXPECT_EQ(CrossData::colorToIndex(rgb), index) << std::hex << rgb;
    // Exact palette colours map to themselves, except ochre, never chosen.
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(CrossData::colorToIndex(kPalette[i]), i) << i;
    EXPECT_NE(CrossData::colorToIndex(kPalette[18]), 18);
}

TEST(CrossDataPicture, BuildsFromPixelsAndClonesDeeply)
{
    testgrids::AsciiPicture pic({"#4.", ".9#"});
    CrossData d;
    d.fromPicture(pic, "logo");
    EXPECT_EQ(d.name, "logo");
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.cell(1, 0), 4);
    EXPECT_EQ(d.cell(1, 1), 9);
    EXPECT_EQ(d.maxRowClues, 2);
    EXPECT_EQ(d.maxColClues, 2);
    auto copy = d.clone();
    copy->cell(0, 0) = 0;
    copy->name = "other";
    EXPECT_EQ(d.cell(0, 0), 3);
    EXPECT_EQ(d.name, "logo");
    EXPECT_EQ(copy->maxRowClues, 2);

    testgrids::AsciiPicture tooWide({std::string(129, '#')});
    EXPECT_EQ(codeOf([&] { d.fromPicture(tooWide, "x"); }), 30004);
    EXPECT_FALSE(d.hasCells());
}
