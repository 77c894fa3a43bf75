#include "config/CrossException.h"
#include "data/CrossData.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

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

// The stored layout: "QL", a big-endian name length and name, big-endian
// width and height, then the cells row by row; bytes past the picture are
// ignored, and writing gives back the very bytes read.
TEST(CrossDataFile, ReadsAndWritesTheStoredLayoutByteForByte)
{
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 4, 'a', 'b', 'c', 'd', 0, 5, 0, 3};
    for (int i = 0; i < 15; ++i)
        bytes.push_back(std::uint8_t(i + 1));
    bytes.push_back(7);
    CrossData d;
    d.readFile(writeTemp(bytes, "5x3"));
    EXPECT_EQ(std::make_tuple(d.name, d.width, d.height), std::make_tuple(std::string("abcd"), 5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(d.cell(x, y), bytes[std::size_t(12 + y * 5 + x)]) << x << "," << y;
    bytes.pop_back();
    EXPECT_EQ(d.toFileBytes(), bytes);
    EXPECT_EQ(crossword({std::string(128, '#')}).width, 128);
}

// A cut header, a size outside 1..128 or a line of more blocks than a signed
// byte counts is no crossword: never a blank grid to play, nor the old name.
TEST(CrossDataFile, RefusesCutHeadersOddSizesAndOverlongClueLines)
{
    const auto full = fileBytes({"#.#", ".#."}, "nm");
    std::vector<std::vector<std::uint8_t>> refused;
    for (std::size_t cut = 0; cut < 8 + 2; ++cut)
        refused.emplace_back(full.begin(), full.begin() + std::ptrdiff_t(cut));
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {129, 1}, {1, 129}, {0xFFFF, 0xFFFF}})
        refused.push_back({'Q', 'L', 0, 0, std::uint8_t(w >> 8), std::uint8_t(w), std::uint8_t(h >> 8),
                           std::uint8_t(h), 1});
    std::string row;
    for (int i = 0; i < 128; ++i)
        row += (i % 2) ? '1' : '2'; // 128 touching blocks of two colours
    refused.push_back(fileBytes({row}));
    for (std::size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(i);
        CrossData d = crossword({"#"}, "previous");
        EXPECT_EQ(codeOf([&] { d.readBytes(refused[i].data(), refused[i].size()); }), 30004);
        EXPECT_FALSE(d.hasCells());
        EXPECT_EQ(std::make_tuple(d.width, d.height, d.name), std::make_tuple(0, 0, std::string()));
    }
    // A cut inside the cells keeps what was read; the rest is background.
    CrossData d;
    d.readBytes(full.data(), full.size() - 2);
    EXPECT_EQ(std::vector<int>({d.cell(0, 0), d.cell(2, 0), d.cell(0, 1), d.cell(1, 1)}),
              std::vector<int>({3, 3, 0, 0}));
    EXPECT_EQ(d.maxRowClues, 2);
}

// Only regular files of a crossword's size are read (a FIFO would block for
// good); the message names the file.
TEST(CrossDataFile, FilesThatAreNoCrosswordRaise30004NamingTheFile)
{
    const std::string fifo = ::testing::TempDir() + "crossdata-fifo.ql";
    std::filesystem::remove(fifo);
    ::mkfifo(fifo.c_str(), 0600);
    const std::string big = writeTemp(fileBytes({"#"}), "big");
    std::filesystem::resize_file(big, 2u << 20);
    for (const std::string& path : {std::string("/nonexistent/tessellor/none.ql"), fifo, big}) {
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
    std::filesystem::remove(fifo);
}

TEST(CrossDataBlocks, CountsColoursAndTreatsHighBytesAsBackground)
{
    EXPECT_EQ(crossword({"112.2"}).maxBlocks(true), 3); // 1x2, 2x1, 2x1
    const CrossData blank = crossword({"...", "..."});
    EXPECT_EQ(std::make_tuple(blank.maxBlocks(true), blank.maxRowClues, blank.maxColClues), std::make_tuple(0, 0, 0));
    EXPECT_EQ(CrossData().maxBlocks(true), 0);
    // 0x80..0xFF are negative as signed bytes: background that still ends a run.
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, 0, 5, 0, 1, 1, 0x80, 1, 0xFF, 0xFF};
    CrossData d;
    d.readBytes(bytes.data(), bytes.size());
    EXPECT_EQ(d.maxBlocks(true), 2);
    EXPECT_EQ(d.maxBlocks(false), 1);
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

TEST(CrossDataColours, MapsPicturesToThePaletteAndIndicesBack)
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
    for (int i = 0; i < kPaletteSize; ++i) {
        EXPECT_EQ(CrossData::colorToIndex(kPalette[i]) == i, i != 18) << i;
        EXPECT_EQ(PaletteIndex(kPalette[i]), i);
    }
    EXPECT_EQ(PaletteIndex(0x444445), 0); // only an exact colour has an index
    // A cell's index is a signed byte: anything outside the palette is white.
    for (int outside : {19, -1, 0xFF})
        EXPECT_EQ(PaletteColor(outside), kWhite) << outside;
    EXPECT_EQ(std::make_pair(PaletteColor(18), PaletteColor(256 + 11)), std::make_pair(kPalette[18], kPalette[11]));
    // Clue numbers stay readable: white only on the dark colours.
    std::string white;
    for (int i = 0; i < kPaletteSize; ++i)
        white += WhiteTextOn(kPalette[i]) ? 'w' : '.';
    EXPECT_EQ(white, "...w.ww.....w..w...");
}

TEST(CrossDataPicture, BuildsFromPixelsUpTo128Wide)
{
    CrossData d;
    d.fromPicture(testgrids::AsciiPicture({"#4.", ".9#"}), "logo");
    EXPECT_EQ(std::make_tuple(d.name, d.width, d.height), std::make_tuple(std::string("logo"), 3, 2));
    EXPECT_EQ(std::make_pair(d.cell(1, 0), d.cell(1, 1)), std::make_pair(std::uint8_t(4), std::uint8_t(9)));
    EXPECT_EQ(std::make_pair(d.maxRowClues, d.maxColClues), std::make_pair(2, 2));
    EXPECT_EQ(codeOf([&] { d.fromPicture(testgrids::AsciiPicture({std::string(129, '#')}), "x"); }), 30004);
    EXPECT_FALSE(d.hasCells());
}
