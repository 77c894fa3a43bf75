#include "profile/ProfileFile.h"
#include "ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unistd.h>

using namespace profiletest;

namespace {

ProfileData read(const Bytes& bytes)
{
    return readProfileBytes(bytes.data(), bytes.size());
}

// Everything a read found, written back as a clean file, so that an odd or
// damaged file can be compared with the clean one it must read as. The
// languages are joined with "|"; a missing size block is written as size 0.
Bytes asRead(const Bytes& file)
{
    const ProfileData d = read(file);
    std::string languages;
    for (const std::string& name : d.languages)
        languages += name + "|";
    return profileBytes(d, languages, d.preview.value_or(false), d.cellSize.value_or(0));
}

// The start picture's entry from the worked example: 3 columns, 2 rows, one
// clue slot above each column, two left of each row.
CrossState logoEntry()
{
    CrossState e("logo", 3, 2, 2, 1);
    e.setLeftMark(1, 0, true);
    const int states[3][2] = {{1, 2}, {0, 3}, {1, 1}};
    const int colours[3][2] = {{3, 0}, {0, 0}, {3, 3}};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r) {
            e.setCellState(c, r, states[c][r]);
            e.setCellColour(c, r, colours[c][r]);
        }
    return e;
}

// A profile with something in every block, several entries of mixed sizes.
ProfileData sampleProfile(int entries, unsigned seed)
{
    std::mt19937 rng(seed);
    ProfileData data;
    for (int i = 0; i < entries; ++i) {
        const int w = 1 + int(rng() % 12), h = 1 + int(rng() % 12);
        const int rc = int(rng() % 7), cc = int(rng() % 7);
        CrossState e("Pack\\Folder\\Cross" + std::to_string(i) + "_1_2", w, h, rc, cc);
        for (int k = 0; k < w * h; ++k) {
            e.setCellState(k / h, k % h, int(rng() % 4));
            e.setCellColour(k / h, k % h, int(rng() % 19));
        }
        for (int k = 0; k < rc * h; ++k)
            e.setLeftMark(k / h, k % h, rng() % 2);
        for (int k = 0; k < w * cc; ++k)
            e.setTopMark(k / cc, k % cc, rng() % 2);
        if (i % 2 == 0)
            data.playSeconds[e.id()] = std::uint32_t(rng());
        if (i % 3 == 0)
            data.addSolved(e.id());
        data.addState(std::move(e));
    }
    data.current = entries / 2;
    data.window = WindowPlacement{-8, 40, 1024, 700, true};
    return data;
}

} // namespace

TEST(ProfileRecord, EntriesAsBytesAndBack)
{
    // Everything set, so any stray bit past the values would show.
    CrossState full("p", 5, 5, 3, 3);
    for (int k = 0; k < 25; ++k) {
        full.setCellState(k / 5, k % 5, 3);
        full.setCellColour(k / 5, k % 5, 18);
        full.setLeftMark(k % 3, k / 5, true);
        full.setTopMark(k / 5, k % 3, true);
    }
    // The worked example has no top mark: one alone shows a swapped index
    // (value number 1 * 2 + 0 = 2, not 0 * 3 + 1).
    CrossState top("q", 3, 4, 2, 2);
    top.setTopMark(1, 0, true);
    const std::pair<CrossState, Bytes> cases[] = {
        {logoEntry(), {0x6C, 0x6F, 0x67, 0x6F, 0x3B, 0x02, 0x03, 0x01, 0x02, 0x20, 0x00, 0x63, 0x50, 0x03, 0x00, 0x00,
                       0x00, 0x03, 0x03}},
        {full, Bytes{'p', ';', 5, 5, 3, 3, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0} +
                   Bytes(25, 18)},
        {top, Bytes{'q', ';', 4, 3, 2, 2, 0x00, 0x20, 0x00, 0x00, 0x00} + Bytes(12, 0)},
    };
    for (const auto& [entry, bytes] : cases) {
        SCOPED_TRACE(entry.id());
        EXPECT_EQ(record(entry), bytes);
        EXPECT_EQ(entry.recordSize(), bytes.size());
        std::size_t consumed = 0;
        const auto back = CrossState::readRecord(bytes.data(), bytes.size(), consumed);
        ASSERT_TRUE(back);
        EXPECT_EQ(consumed, bytes.size());
        EXPECT_EQ(*back, entry);
    }
}

TEST(ProfileBytes, BlocksInTheOrderTheProgramWritesThem)
{
    ProfileData plain;
    const Bytes none = signature() + block("SOLV_CROSS", {}) + block("LANG______", text("english")) +
                       shortBlock("PREVIEW___", 1) + shortBlock("SIZE______", 15) + shortBlock("AUTOMARK__", 0) +
                       shortBlock("HOVER_____", 1) + shortBlock("ACTV_CROSS", 0xFFFF) + block("CROSS_DATA", {});
    EXPECT_EQ(profileBytes(plain, "english", true, 15), none);
    plain.current = 70000; // beyond 16 bits: stored as none
    EXPECT_EQ(profileBytes(plain, "english", true, 15), none);

    // The newer blocks come last, and only when they hold something.
    ProfileData newer;
    newer.addSolved("A\\b_1_2");
    newer.addSolved("C");
    newer.addState(CrossState("A", 1, 1, 0, 0));
    newer.current = 0;
    newer.autoMark = newer.lineHelp = newer.liveMistakes = true;
    newer.showHover = false;
    newer.playSeconds = {{"A", 300}, {"B;C", 9}}; // the second cannot be stored: left out
    newer.window = WindowPlacement{10, -20, 800, 600, true};
    const Bytes out = profileBytes(newer, "", false, 12);
    EXPECT_EQ(out, signature() + block("SOLV_CROSS", text("A\\b_1_2;C;")) + block("LANG______", {}) +
                       shortBlock("PREVIEW___", 0) + shortBlock("SIZE______", 12) + shortBlock("AUTOMARK__", 1) +
                       shortBlock("HOVER_____", 0) + shortBlock("ACTV_CROSS", 0) +
                       block("CROSS_DATA", record(newer.states()[0])) + block("CROSS_TIME", text("A;") + be32(300)) +
                       block("WINDOW____", be32(10) + be32(0xFFFFFFECu) + be32(800) + be32(600) + Bytes{0, 1}) +
                       shortBlock("LINE_HELP_", 1) + shortBlock("MISTAKES__", 1));
    EXPECT_EQ(profileBytes(read(out), "", false, 12), out);

    // A reader that knows only the older blocks walks tag and length to the
    // end of the file, exactly.
    std::size_t at = 12;
    while (at + 14 <= out.size())
        at += 14 + ((std::size_t(out[at + 10]) << 24) | (out[at + 11] << 16) | (out[at + 12] << 8) | out[at + 13]);
    EXPECT_EQ(at, out.size());
}

TEST(ProfileRead, OddBlocksReadAsTheCleanFileTheyStandFor)
{
    // Flags are on for exactly 1 only; a size outside 3..30 is the default.
    const std::tuple<const char*, std::uint16_t, std::uint16_t> numbers[] = {
        {"AUTOMARK__", 2, 0}, {"AUTOMARK__", 0x0101, 0}, {"HOVER_____", 0xFFFF, 0}, {"PREVIEW___", 2, 0},
        {"LINE_HELP_", 2, 0}, {"MISTAKES__", 2, 0},      {"SIZE______", 2, 12},     {"SIZE______", 31, 12},
        {"SIZE______", 0xFFFF, 12},
    };
    for (const auto& [tag, stored, taken] : numbers)
        EXPECT_EQ(asRead(signature() + shortBlock(tag, stored)), asRead(signature() + shortBlock(tag, taken)))
            << tag << " " << stored;

    const Bytes size9 = shortBlock("SIZE______", 9);
    const Bytes known = shortBlock("SIZE______", 20) + block("SOLV_CROSS", text("x;"));
    const Bytes logo = record(logoEntry()), a = record(CrossState("A", 1, 1, 1, 1)),
                b = record(CrossState("B", 2, 1, 1, 1)), a2 = record(CrossState("A", 3, 3, 1, 1));
    const struct {
        const char* what;
        Bytes file, clean;
    } cases[] = {
        {"a short block is two bytes whatever its length says",
         text("SIZE______") + be32(0) + Bytes{0x00, 0x14} + shortBlock("AUTOMARK__", 1),
         shortBlock("SIZE______", 20) + shortBlock("AUTOMARK__", 1)},
        {"solved ids keep their first spelling and drop an unfinished tail",
         block("SOLV_CROSS", text("Zoo\\Cats_1_2;zoo\\cats_1_2;B;unfinished")) +
             block("SOLV_CROSS", text("ZOO\\CATS_1_2;C;")),
         block("SOLV_CROSS", text("Zoo\\Cats_1_2;B;C;"))},
        {"blocks repeat in any order, later settings win",
         block("CROSS_DATA", a + b) + shortBlock("SIZE______", 20) + shortBlock("ACTV_CROSS", 2) +
             block("LANG______", text("first")) + shortBlock("SIZE______", 25) + block("CROSS_DATA", a2) +
             block("LANG______", text("second")),
         block("CROSS_DATA", a + b + a2) + shortBlock("SIZE______", 25) + shortBlock("ACTV_CROSS", 2) +
             block("LANG______", text("first")) + block("LANG______", text("second"))},
        {"unknown blocks are skipped", block("FUTURE____", size9) + known + block("ZZZZZZZZZZ", {}), known},
        // Moving back would read the same block for ever.
        {"a negative length runs to the end", known + text("BROKEN____") + be32(0xFFFFFFF2u) + size9, known},
        // The length is checked between records only.
        {"a record running past its block is read whole", text("CROSS_DATA") + be32(1) + logo + size9,
         block("CROSS_DATA", logo) + size9},
        {"seconds cut by the block's end",
         block("CROSS_TIME", text("A;") + be32(5) + text("B;") + Bytes{0, 0}) + size9,
         block("CROSS_TIME", text("A;") + be32(5)) + size9},
        {"seconds without a semicolon", block("CROSS_TIME", text("ABCDEFG")) + size9, size9},
        {"seconds past the end of the file", text("CROSS_TIME") + be32(1000) + text("A;") + be32(7),
         block("CROSS_TIME", text("A;") + be32(7))},
        {"window too short", block("WINDOW____", be32(1) + be32(2)) + size9, size9},
        {"window with more than it knows", block("WINDOW____", Bytes(18, 0) + text("future")) + size9,
         block("WINDOW____", Bytes(18, 0)) + size9},
        {"window cut by the end of the file", text("WINDOW____") + be32(18) + Bytes(17, 0), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(asRead(signature() + c.file), asRead(signature() + c.clean)) << c.what;
    // A repeated id is kept, but lookups find the first entry.
    EXPECT_EQ(read(signature() + block("CROSS_DATA", a + b + a2)).findState("A"), 0);
}

TEST(ProfileRead, DamagedFixturesReadWhatTheyHold)
{
    for (const Bytes& file : {text("tessellor1.1"), text("Tessellor1."), Bytes{},
                              readBytes(TESSELLOR_FIXTURES "/profile_bad_signature.pfl")})
        EXPECT_EQ(raisedCode([&] { read(file); }), 30006);

    const Bytes size20 = shortBlock("SIZE______", 20);
    const std::pair<const char*, Bytes> fixtures[] = {
        {"profile_huge_lengths.pfl", size20}, // a language name of 4 GB
        {"profile_huge_record.pfl", size20},  // a record promising far more bytes than follow
        {"profile_cut_record.pfl", // two good records, then one cut inside its cell colours
         block("CROSS_DATA", record(logoEntry()) + record(CrossState("Zoo\\Cats_1_2", 5, 5, 3, 3)))},
        {"profile_endless_id.pfl", block("SOLV_CROSS", text("a;"))}, // a record id that never ends
    };
    for (const auto& [name, clean] : fixtures)
        EXPECT_EQ(asRead(readBytes(std::string(TESSELLOR_FIXTURES "/") + name)), asRead(signature() + clean))
            << name;
}

// A whole file reads back as it was written; every cut of it reads a prefix
// of that, and nothing that was cut short comes back half.
TEST(ProfileRead, WholeFileAndEveryCutOfIt)
{
    const ProfileData full = sampleProfile(60, 7);
    const Bytes bytes = profileBytes(full, "deutsch", true, 30);
    EXPECT_EQ(read(bytes).cellSize, 30);
    EXPECT_EQ(profileBytes(read(bytes), "deutsch", true, 30), bytes);
    for (std::size_t n = 12; n <= bytes.size(); ++n) {
        const ProfileData d = read(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(n)));
        ASSERT_LE(d.states().size(), full.states().size()) << n;
        ASSERT_TRUE(std::equal(d.states().begin(), d.states().end(), full.states().begin())) << n;
        ASSERT_LE(d.solved().size(), full.solved().size()) << n;
        ASSERT_TRUE(std::equal(d.solved().begin(), d.solved().end(), full.solved().begin())) << n;
        ASSERT_TRUE(d.languages.empty() || d.languages == std::vector<std::string>{"deutsch"}) << n;
    }
}

// A write that fails at any point, or a folder that is missing, leaves the
// old file whole and no temporary beside it; a good write replaces it.
TEST(ReplaceFile, FailureAnywhereLeavesTheOldFile)
{
    ScratchFolder folder;
    const std::string path = folder.file("p.pfl");
    const Bytes old = profileBytes(sampleProfile(20, 3), "a", false, 12);
    Bytes big(200000);
    std::generate(big.begin(), big.end(), [n = 0]() mutable { return std::uint8_t(n += 7); });
    folder.write("p.pfl", old);
    for (std::size_t limit : {std::size_t(0), std::size_t(1), std::size_t(65536), std::size_t(100000)}) {
        std::size_t written = 0;
        setChunkWriterForTesting([&](int fd, const std::uint8_t* data, std::size_t size) {
            const ssize_t done = ::write(fd, data, std::min(size, limit - std::min(limit, written)));
            written += std::size_t(done > 0 ? done : 0);
            return std::size_t(done > 0 ? done : 0);
        });
        EXPECT_EQ(raisedCode([&] { replaceFile(path, big); }), 30007) << limit;
        EXPECT_EQ(folder.read("p.pfl"), old) << limit;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << limit;
    }
    setChunkWriterForTesting({});
    EXPECT_EQ(raisedCode([&] { replaceFile(folder.file("no/such/p.pfl"), text("x")); }), 30007);
    EXPECT_EQ(raisedCode([&] { replaceFile(path, big); }), 0);
    EXPECT_EQ(folder.read("p.pfl"), big);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(ProfileName, OnlyPlainFileNamesAreAccepted)
{
    using P = ProfileNameProblem;
    const std::pair<std::string, P> cases[] = {
        {"New User", P::None}, {"Émile.2", P::None}, {"..x", P::None}, {"", P::Empty}, {".", P::DotName},
        {"..", P::DotName}, {"../evil", P::PathSeparator}, {"x\\y", P::PathSeparator}, {"a:b", P::BadCharacter},
        {"who?", P::BadCharacter}, {"tab\there", P::BadCharacter}, {"a|b", P::BadCharacter},
        {std::string("nul\0x", 5), P::BadCharacter}, {std::string(251, 'n'), P::None},
        {std::string(252, 'n'), P::TooLong},
    };
    for (const auto& [name, problem] : cases)
        EXPECT_EQ(checkProfileName(name), problem) << name;
}
