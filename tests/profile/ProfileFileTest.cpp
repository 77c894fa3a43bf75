#include "config/CrossException.h"
#include "profile/ProfileFile.h"
#include "ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <unistd.h>

using namespace profiletest;

namespace {

ProfileData read(const Bytes& bytes)
{
    return readProfileBytes(bytes.data(), bytes.size());
}

int errorCode(const Bytes& bytes)
{
    try {
        read(bytes);
    } catch (const CrossException& e) {
        return e.code();
    }
    return 0;
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

const Bytes kLogoRecord = {0x6C, 0x6F, 0x67, 0x6F, 0x3B, 0x02, 0x03, 0x01, 0x02, 0x20,
                           0x00, 0x63, 0x50, 0x03, 0x00, 0x00, 0x00, 0x03, 0x03};

} // namespace

// ------------------------------------------------------------------ records

TEST(ProfileRecord, WorkedExampleIsNineteenBytes)
{
    const CrossState e = logoEntry();
    Bytes out;
    e.appendRecord(out);
    EXPECT_EQ(out, kLogoRecord);
    EXPECT_EQ(e.recordSize(), 19u);

    std::size_t consumed = 0;
    const auto back = CrossState::readRecord(kLogoRecord.data(), kLogoRecord.size(), consumed);
    ASSERT_TRUE(back);
    EXPECT_EQ(consumed, 19u);
    EXPECT_EQ(*back, e);
}

TEST(ProfileRecord, FiveByFivePartsEndInZeroBits)
{
    // Everything set, so any stray bit past the values would show.
    CrossState e("p", 5, 5, 3, 3);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r) {
            e.setCellState(c, r, 3);
            e.setCellColour(c, r, 18);
        }
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < 5; ++i) {
            e.setLeftMark(s, i, true);
            e.setTopMark(i, s, true);
        }
    Bytes out;
    e.appendRecord(out);
    const Bytes head = {'p', ';', 5, 5, 3, 3, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0};
    ASSERT_EQ(out.size(), head.size() + 25);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(head.size())), head);
    EXPECT_EQ(Bytes(out.begin() + std::ptrdiff_t(head.size()), out.end()), Bytes(25, 18));
}

TEST(ProfileRecord, TopMarksKeepTheirPosition)
{
    // The worked example has no top mark: one alone shows a swapped index.
    CrossState e("q", 3, 4, 2, 2);
    e.setTopMark(1, 0, true); // value number 1 * 2 + 0 = 2, not 0 * 3 + 1
    Bytes out;
    e.appendRecord(out);
    EXPECT_EQ(Bytes(out.begin() + 6, out.begin() + 12), (Bytes{0x00, 0x20, 0x00, 0x00, 0x00, 0x00}));
    std::size_t consumed = 0;
    EXPECT_EQ(*CrossState::readRecord(out.data(), out.size(), consumed), e);
}

// ------------------------------------------------------------- whole files

TEST(ProfileBytes, DefaultProfileBlocksInOrder)
{
    ProfileData data;
    const Bytes expected = signature() + block("SOLV_CROSS", {}) + block("LANG______", text("english")) +
                           shortBlock("PREVIEW___", 1) + shortBlock("SIZE______", 15) +
                           shortBlock("AUTOMARK__", 0) + shortBlock("HOVER_____", 1) +
                           shortBlock("ACTV_CROSS", 0xFFFF) + block("CROSS_DATA", {});
    EXPECT_EQ(profileBytes(data, "english", true, 15), expected);
}

TEST(ProfileBytes, SolvedIdsEndInSemicolonAndAnUnstorableCurrentIsNone)
{
    ProfileData data;
    data.addSolved("A\\b_1_2");
    data.addSolved("C");
    data.current = 70000; // beyond 16 bits
    const Bytes out = profileBytes(data, "", false, 12);
    const Bytes start = signature() + block("SOLV_CROSS", text("A\\b_1_2;C;")) + block("LANG______", {});
    EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(start.size())), start);
    const Bytes none = shortBlock("ACTV_CROSS", 0xFFFF);
    EXPECT_NE(std::search(out.begin(), out.end(), none.begin(), none.end()), out.end());
}

TEST(ProfileRead, FlagsAndNumbersAsTheProgramTakesThem)
{
    struct Case {
        const char* tag;
        std::uint16_t stored;
        int expected;
    } cases[] = {
        {"AUTOMARK__", 1, 1},      {"AUTOMARK__", 2, 0},      {"AUTOMARK__", 0x0101, 0},
        {"HOVER_____", 0, 0},      {"HOVER_____", 1, 1},      {"HOVER_____", 0xFFFF, 0},
        {"PREVIEW___", 1, 1},      {"PREVIEW___", 2, 0},      {"SIZE______", 2, 12},
        {"SIZE______", 3, 3},      {"SIZE______", 30, 30},    {"SIZE______", 31, 12},
        {"SIZE______", 0xFFFF, 12}, {"ACTV_CROSS", 0xFFFF, 65535}, {"ACTV_CROSS", 7, 7},
        {"LINE_HELP_", 1, 1},      {"LINE_HELP_", 2, 0},      {"MISTAKES__", 1, 1},
    };
    for (const Case& c : cases) {
        const ProfileData d = read(signature() + shortBlock(c.tag, c.stored));
        const std::string tag = c.tag;
        int got = -2;
        if (tag == "AUTOMARK__") got = d.autoMark;
        if (tag == "HOVER_____") got = d.showHover;
        if (tag == "PREVIEW___") got = d.preview.value_or(false);
        if (tag == "SIZE______") got = d.cellSize.value_or(-1);
        if (tag == "ACTV_CROSS") got = d.current;
        if (tag == "LINE_HELP_") got = d.lineHelp;
        if (tag == "MISTAKES__") got = d.liveMistakes;
        EXPECT_EQ(got, c.expected) << tag << " " << c.stored;
    }
}

TEST(ProfileRead, ShortBlocksReadTwoBytesWhateverTheirLengthSays)
{
    // A length of 0 on a size block: the two bytes after it are still the
    // value, and the next tag follows them.
    const Bytes file = signature() + text("SIZE______") + be32(0) + Bytes{0x00, 0x14} + shortBlock("AUTOMARK__", 1);
    const ProfileData d = read(file);
    EXPECT_EQ(d.cellSize, 20);
    EXPECT_TRUE(d.autoMark);
}

TEST(ProfileRead, SolvedIdsKeepTheFirstSpellingAndDropAnUnfinishedTail)
{
    const ProfileData d =
        read(signature() + block("SOLV_CROSS", text("Zoo\\Cats_1_2;zoo\\cats_1_2;B;unfinished")) +
             block("SOLV_CROSS", text("ZOO\\CATS_1_2;C;")));
    EXPECT_EQ(d.solved(), (std::vector<std::string>{"Zoo\\Cats_1_2", "B", "C"}));
    EXPECT_TRUE(d.isSolved("zOO\\cATS_1_2"));
    EXPECT_FALSE(d.isSolved("unfinished"));
}

TEST(ProfileRead, BlocksRepeatInAnyOrderLaterSettingsWin)
{
    Bytes records;
    CrossState a("A", 1, 1, 1, 1), b("B", 2, 1, 1, 1), a2("A", 3, 3, 1, 1);
    a.appendRecord(records);
    b.appendRecord(records);
    Bytes more;
    a2.appendRecord(more);
    const ProfileData d = read(signature() + block("CROSS_DATA", records) + shortBlock("SIZE______", 20) +
                               shortBlock("ACTV_CROSS", 2) + block("LANG______", text("first")) +
                               shortBlock("SIZE______", 25) + block("CROSS_DATA", more) +
                               block("LANG______", text("second")));
    ASSERT_EQ(d.states().size(), 3u);
    EXPECT_EQ(d.states()[2], a2);
    // A repeated id is kept, but lookups find the first entry.
    EXPECT_EQ(d.findState("A"), 0);
    EXPECT_EQ(d.findState("B"), 1);
    EXPECT_EQ(d.findState("a"), -1);
    EXPECT_EQ(d.cellSize, 25);
    EXPECT_EQ(d.current, 2);
    EXPECT_EQ(d.languages, (std::vector<std::string>{"first", "second"}));
}

TEST(ProfileRead, UnknownBlocksAreSkipped)
{
    const Bytes known = shortBlock("SIZE______", 20) + block("SOLV_CROSS", text("x;"));
    const ProfileData plain = read(signature() + known);
    const ProfileData withUnknown =
        read(signature() + block("FUTURE____", text("SIZE______\0\0\0\2\0\5")) + known + block("ZZZZZZZZZZ", {}));
    EXPECT_EQ(withUnknown.cellSize, plain.cellSize);
    EXPECT_EQ(withUnknown.solved(), plain.solved());

    // A length that is negative as a signed number never moves the reading
    // back (which would read the same block for ever); it runs to the end.
    const ProfileData negative =
        read(signature() + known + text("BROKEN____") + be32(0xFFFFFFF2u) + shortBlock("SIZE______", 7));
    EXPECT_EQ(negative.cellSize, 20);
}

TEST(ProfileRead, WrongSignatureRaises30006)
{
    EXPECT_EQ(errorCode(text("Tessellor1.0") + shortBlock("SIZE______", 20)), 30006);
    EXPECT_EQ(errorCode(text("tessellor1.1")), 30006);
    EXPECT_EQ(errorCode(text("Tessellor1.")), 30006);
    EXPECT_EQ(errorCode({}), 30006);
    EXPECT_EQ(errorCode(signature()), 0);
}

TEST(ProfileRead, RecordRunningPastItsBlockLengthIsReadWhole)
{
    // The length is checked between records only; the next tag is taken
    // from where the record ended.
    Bytes rec;
    logoEntry().appendRecord(rec);
    const ProfileData d =
        read(signature() + text("CROSS_DATA") + be32(1) + rec + shortBlock("SIZE______", 9));
    ASSERT_EQ(d.states().size(), 1u);
    EXPECT_EQ(d.states()[0], logoEntry());
    EXPECT_EQ(d.cellSize, 9);
}

// --------------------------------------------------------- damaged files

namespace {

// A profile with something in every block, several entries of mixed sizes.
ProfileData sampleProfile(int entries, unsigned seed)
{
    std::mt19937 rng(seed);
    ProfileData data;
    for (int i = 0; i < entries; ++i) {
        const int w = 1 + int(rng() % 12), h = 1 + int(rng() % 12);
        const int rc = int(rng() % 7), cc = int(rng() % 7);
        CrossState e("Pack\\Folder\\Cross" + std::to_string(i) + "_1_2", w, h, rc, cc);
        for (int c = 0; c < w; ++c)
            for (int r = 0; r < h; ++r) {
                e.setCellState(c, r, int(rng() % 4));
                e.setCellColour(c, r, int(rng() % 19));
            }
        for (int s = 0; s < rc; ++s)
            for (int r = 0; r < h; ++r)
                e.setLeftMark(s, r, rng() % 2);
        for (int c = 0; c < w; ++c)
            for (int s = 0; s < cc; ++s)
                e.setTopMark(c, s, rng() % 2);
        if (i % 2 == 0)
            data.playSeconds[e.id()] = std::uint32_t(rng());
        data.addState(std::move(e));
        if (i % 3 == 0)
            data.addSolved("Pack\\Folder\\Cross" + std::to_string(i) + "_1_2");
    }
    data.current = entries / 2;
    data.autoMark = true;
    data.showHover = false;
    data.window = WindowPlacement{-8, 40, 1024, 700, true};
    data.lineHelp = true;
    return data;
}

} // namespace

TEST(ProfileRead, EveryTruncationReadsAPrefixWithoutFailing)
{
    const ProfileData full = sampleProfile(6, 7);
    const Bytes bytes = profileBytes(full, "deutsch", true, 22);
    for (std::size_t n = 12; n <= bytes.size(); ++n) {
        const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
        const ProfileData d = read(cut);
        // Whatever was read is exactly what was written, and nothing that was
        // cut short came back half.
        ASSERT_LE(d.states().size(), full.states().size()) << n;
        for (std::size_t i = 0; i < d.states().size(); ++i)
            ASSERT_EQ(d.states()[i], full.states()[i]) << n;
        ASSERT_LE(d.solved().size(), full.solved().size()) << n;
        for (std::size_t i = 0; i < d.solved().size(); ++i)
            ASSERT_EQ(d.solved()[i], full.solved()[i]) << n;
        for (const std::string& lang : d.languages)
            ASSERT_EQ(lang, "deutsch") << n;
    }
    EXPECT_EQ(read(bytes).states(), full.states());
}

TEST(ProfileRead, DamagedFixturesReadWhatTheyHold)
{
    auto fixture = [](const std::string& name) {
        std::ifstream in(std::string(TESSELLOR_FIXTURES) + "/" + name, std::ios::binary);
        EXPECT_TRUE(in) << name;
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    // A language name of 4 GB, and a record whose sizes promise far more
    // bytes than follow.
    const ProfileData huge = read(fixture("profile_huge_lengths.pfl"));
    EXPECT_EQ(huge.cellSize, 20);
    EXPECT_TRUE(huge.languages.empty());
    const ProfileData record = read(fixture("profile_huge_record.pfl"));
    EXPECT_EQ(record.cellSize, 20);
    EXPECT_TRUE(record.states().empty());

    // Two good records, then one cut inside its cell colours.
    const ProfileData cut = read(fixture("profile_cut_record.pfl"));
    ASSERT_EQ(cut.states().size(), 2u);
    EXPECT_EQ(cut.states()[0].id(), "logo");
    EXPECT_EQ(cut.states()[1].id(), "Zoo\\Cats_1_2");

    // A record id that never ends.
    const ProfileData endless = read(fixture("profile_endless_id.pfl"));
    EXPECT_TRUE(endless.states().empty());
    EXPECT_EQ(endless.solved(), (std::vector<std::string>{"a"}));

    EXPECT_EQ(errorCode(fixture("profile_bad_signature.pfl")), 30006);
}

TEST(ProfileBytes, ManyEntriesRoundTripByteForByte)
{
    const ProfileData data = sampleProfile(300, 11);
    const Bytes bytes = profileBytes(data, "english", false, 30);
    const ProfileData back = read(bytes);
    EXPECT_EQ(back.states(), data.states());
    EXPECT_EQ(back.solved(), data.solved());
    EXPECT_EQ(std::tie(back.current, back.autoMark, back.showHover, back.playSeconds, back.window, back.lineHelp,
                       back.liveMistakes),
              std::tie(data.current, data.autoMark, data.showHover, data.playSeconds, data.window, data.lineHelp,
                       data.liveMistakes));
    EXPECT_EQ(back.cellSize, 30);
    EXPECT_EQ(back.preview, false);
    EXPECT_EQ(profileBytes(back, "english", false, 30), bytes);
}

TEST(ProfileBytes, ClockAndWindowComeLastAndAnOlderReaderSkipsThem)
{
    ProfileData data;
    data.addState(CrossState("A", 1, 1, 0, 0));
    data.current = 0;
    data.playSeconds["A"] = 300;
    data.playSeconds["B;C"] = 9; // cannot be stored: left out
    data.window = WindowPlacement{10, -20, 800, 600, true};
    const Bytes out = profileBytes(data, "english", false, 12);

    ProfileData without = data;
    without.playSeconds.clear();
    without.window.reset();
    const Bytes older = profileBytes(without, "english", false, 12);
    const Bytes tail = block("CROSS_TIME", text("A;") + be32(300)) +
                       block("WINDOW____", be32(10) + be32(0xFFFFFFECu) + be32(800) + be32(600) + Bytes{0, 1});
    EXPECT_EQ(out, older + tail);

    // A reader that knows only the older blocks walks tag and length to the
    // end of the file, exactly, and finds what it knows unchanged.
    std::vector<std::string> tags;
    std::size_t at = 12;
    while (at + 14 <= out.size()) {
        tags.emplace_back(out.begin() + std::ptrdiff_t(at), out.begin() + std::ptrdiff_t(at + 10));
        at += 14 + ((std::size_t(out[at + 10]) << 24) | (out[at + 11] << 16) | (out[at + 12] << 8) | out[at + 13]);
    }
    EXPECT_EQ(at, out.size());
    EXPECT_EQ(tags.back(), "WINDOW____");
    const ProfileData back = read(out);
    EXPECT_EQ(back.states(), data.states());
    EXPECT_EQ(back.playSeconds, (std::map<std::string, std::uint32_t>{{"A", 300}}));
    EXPECT_EQ(back.window, data.window);
}

TEST(ProfileRead, DamagedClockAndWindowBlocksKeepWhatIsWhole)
{
    const Bytes size = shortBlock("SIZE______", 9);
    struct Case {
        const char* what;
        Bytes file;
        std::map<std::string, std::uint32_t> seconds;
        bool window;
    } cases[] = {
        {"seconds cut by the block's end", block("CROSS_TIME", text("A;") + be32(5) + text("B;") + Bytes{0, 0}) + size,
         {{"A", 5}}, false},
        {"no semicolon", block("CROSS_TIME", text("ABCDEFG")) + size, {}, false},
        {"length past the end of the file", text("CROSS_TIME") + be32(1000) + text("A;") + be32(7), {{"A", 7}}, false},
        {"window too short", block("WINDOW____", be32(1) + be32(2)) + size, {}, false},
        {"window with more than it knows", block("WINDOW____", Bytes(18, 0) + text("future")) + size, {}, true},
        {"window cut by the end of the file", text("WINDOW____") + be32(18) + Bytes(17, 0), {}, false},
    };
    for (const Case& c : cases) {
        const ProfileData d = read(signature() + c.file);
        EXPECT_EQ(d.playSeconds, c.seconds) << c.what;
        EXPECT_EQ(d.window.has_value(), c.window) << c.what;
        const bool sizeFollows = std::search(c.file.begin(), c.file.end(), size.begin(), size.end()) != c.file.end();
        EXPECT_EQ(d.cellSize.has_value(), sizeFollows) << c.what;
    }
}

// ----------------------------------------------------- replacing the file

class ReplaceFile : public ::testing::Test {
protected:
    void TearDown() override { setChunkWriterForTesting({}); }
    ScratchFolder folder;
};

namespace {
int replaceError(const std::string& path, const Bytes& bytes)
{
    try {
        replaceFile(path, bytes);
    } catch (const CrossException& e) {
        return e.code();
    }
    return 0;
}
} // namespace

// A write that fails at any point, or a folder that is missing, leaves the
// old file whole and no temporary beside it; a good write replaces it.
TEST_F(ReplaceFile, FailureAnywhereLeavesTheOldFile)
{
    const Bytes old = profileBytes(sampleProfile(20, 3), "a", false, 12);
    Bytes big(200000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t(i * 7);
    folder.write("p.pfl", old);
    for (std::size_t limit : {std::size_t(0), std::size_t(1), std::size_t(65536), std::size_t(100000)}) {
        std::size_t written = 0;
        setChunkWriterForTesting([&](int fd, const std::uint8_t* data, std::size_t size) {
            const ssize_t done = ::write(fd, data, std::min(size, limit - std::min(limit, written)));
            written += std::size_t(done > 0 ? done : 0);
            return std::size_t(done > 0 ? done : 0);
        });
        EXPECT_EQ(replaceError(folder.file("p.pfl"), big), 30007) << limit;
        EXPECT_EQ(folder.read("p.pfl"), old) << limit;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"p.pfl"}) << limit;
    }
    setChunkWriterForTesting({});
    EXPECT_EQ(replaceError(folder.file("no/such/p.pfl"), text("x")), 30007);
    EXPECT_EQ(replaceError(folder.file("p.pfl"), big), 0);
    EXPECT_EQ(folder.read("p.pfl"), big);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.pfl"});
}

// ------------------------------------------------------------ names

TEST(ProfileName, OnlyPlainFileNamesAreAccepted)
{
    using P = ProfileNameProblem;
    const std::pair<std::string, P> cases[] = {
        {"New User", P::None},      {"Émile.2", P::None},          {"..x", P::None},
        {"", P::Empty},             {".", P::DotName},             {"..", P::DotName},
        {"../evil", P::PathSeparator}, {"a/b", P::PathSeparator}, {"x\\y", P::PathSeparator},
        {"a:b", P::BadCharacter},   {"who?", P::BadCharacter},     {"tab\there", P::BadCharacter},
        {std::string("nul\0x", 5), P::BadCharacter},              {"a|b", P::BadCharacter},
        {std::string(251, 'n'), P::None},                          {std::string(252, 'n'), P::TooLong},
    };
    for (const auto& [name, problem] : cases)
        EXPECT_EQ(checkProfileName(name), problem) << name;
}
