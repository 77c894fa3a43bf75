#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"
#include "TestGrids.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <tuple>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> crossBytes(int w, int h = 5, bool filled = true)
{
    CrossData d;
    struct Flat : PixelSource {
        int w, h; std::uint32_t c;
        int width() const override { return w; }
        int height() const override { return h; }
        std::uint32_t rgb(int, int) const override { return c; }
    } pic;
    pic.w = w; pic.h = h; pic.c = filled ? 0x000000 : 0xFFFFFF;
    d.fromPicture(pic, "x");
    return d.toFileBytes();
}

using Members = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

// Writes a zip with the given members (name -> bytes; a name ending in '/' is a folder).
void writeZip(const fs::path& path, const Members& members)
{
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (auto& [name, bytes] : members) {
        if (!name.empty() && name.back() == '/') {
            zip_dir_add(z, name.c_str(), ZIP_FL_ENC_RAW);
            continue;
        }
        auto* copy = static_cast<std::uint8_t*>(std::malloc(bytes.size() + 1));
        std::copy(bytes.begin(), bytes.end(), copy);
        zip_source_t* src = zip_source_buffer(z, copy, bytes.size(), 1);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE), 0) << name;
    }
    ASSERT_EQ(zip_close(z), 0);
}

void decodeInto(TPackModelDir& root, const std::vector<std::string>& members)
{
    for (const std::string& m : members) {
        MemberInfo info;
        if (decodeMember("Zoo.qlp", m, info))
            insertCrossword(root, info.id, info.displayPath, info.level, info.isColor);
    }
}

class PackTest : public ::testing::Test {
protected:
    fs::path root;
    std::vector<std::string> oldData;
    void SetUp() override
    {
        char tmpl[] = "/tmp/packtest-XXXXXX";
        root = mkdtemp(tmpl);
        fs::create_directories(root / "data");
        fs::create_directories(root / "temp");
        setenv("TEMP", (root / "temp").c_str(), 1);
        oldData = pack::dataFolders();
        pack::setDataFolder((root / "data").string());
        setProfileMarks({});
    }
    void TearDown() override
    {
        pack::setDataFolders(oldData);
        setProfileMarks({});
        fs::remove_all(root);
    }
    fs::path working() const { return root / "temp" / "~qltemp" / "curcross.tmp"; }
    fs::path zoo(const Members& members, const std::string& name = "Zoo")
    {
        const fs::path p = root / "data" / (name + ".qlp");
        writeZip(p, members);
        return p;
    }
    static int widthOf(const std::string& id, std::int64_t index = -1)
    {
        CrossData d;
        pack::loadFromPack(d, id, index);
        EXPECT_EQ(d.name, id);
        return d.width;
    }
    // The error code and detail of opening id into d (0 when it opened).
    static std::pair<int, std::string> failure(const std::string& id, CrossData& d)
    {
        try {
            pack::loadFromPack(d, id);
        } catch (const CrossException& e) {
            return {e.code(), e.detail()};
        }
        return {0, ""};
    }
    fs::path victim() const
    {
        std::ofstream(root / "victim") << "keep";
        return root / "victim";
    }
};

TEST(MemberName, DecodesColourLevelNameIdAndDisplayPath)
{
    MemberInfo m;
    ASSERT_TRUE(decodeMember("Zoo.qlp", "Animals/Cats/Tom_1_2.ql", m));
    EXPECT_EQ(m.id, "Zoo\\Animals\\Cats\\Tom_1_2");
    EXPECT_EQ(m.displayPath, "Zoo\\Animals\\Cats\\Tom_1");
    struct Case { const char* member; bool ok, colour; int level; };
    for (const Case& c : {Case{"Animals/Cats/Tom_1_2.ql", true, true, 2}, Case{"x_0_3.ql", true, false, 3},
                          Case{"x_2_9.ql", true, false, TPackModelFile::kNoLevel}, // only "1" marks colour
                          Case{"a.ql", false, false, 0}, Case{"Animals/", false, false, 0}}) {
        MemberInfo info;
        ASSERT_EQ(decodeMember("Zoo.qlp", c.member, info), c.ok) << c.member;
        if (c.ok) {
            EXPECT_EQ(info.isColor, c.colour) << c.member;
            EXPECT_EQ(info.level, c.level) << c.member;
        }
    }
}

TEST(Catalogue, FoldersOnceRootCrosswordMarksAndRecount)
{
    setProfileMarks({[](const std::string& id) { // solved marks are matched without case
                         std::string lower = id;
                         std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
                         return lower == "zoo\\animals\\a_0_1";
                     },
                     [](const std::string& id) { return id == "Zoo\\Animals\\a_0_1" || id == "Zoo\\Plants\\b_1_0"; }});
    TPackModelDir root("root");
    decodeInto(root, {"Animals/a_0_1.ql", "Plants/b_1_0.ql", "Animals/c_1_3.ql", "x_0_2.ql", "ab"});
    setProfileMarks({});
    ASSERT_EQ(root.children.size(), 1u);
    auto& zoo = static_cast<TPackModelDir&>(*root.children[0]);
    ASSERT_EQ(zoo.children.size(), 3u);
    EXPECT_EQ(zoo.children[0]->name, "Animals");
    EXPECT_EQ(zoo.children[1]->name, "Plants");
    EXPECT_EQ(static_cast<TPackModelFile&>(*zoo.children[2]).id, "Zoo\\x_0_2");
    auto& animals = static_cast<TPackModelDir&>(*zoo.children[0]);
    ASSERT_EQ(animals.children.size(), 2u);
    EXPECT_EQ(animals.children[1]->name, "c_1");

    TPackModelFile* a = findCrossword(root, "Zoo\\Animals\\a_0_1");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->solved);
    EXPECT_TRUE(a->edited);
    recount(root);
    EXPECT_EQ(std::make_tuple(zoo.totalCount, zoo.solvedCount, zoo.editedCount), std::make_tuple(4, 1, 2));
    EXPECT_EQ(std::make_tuple(root.totalCount, root.editedCount, animals.totalCount), std::make_tuple(4, 2, 2));
    EXPECT_EQ(findCrossword(root, "zoo\\animals\\a_0_1"), nullptr); // exact lookup

    // The same id twice: the first wins.
    insertCrossword(root, "P\\a_0_1", "P\\a_0", 1, false);
    insertCrossword(root, "P\\a_0_1", "P\\F\\a_0", 2, false);
    ASSERT_NE(findCrossword(root, "P\\a_0_1"), nullptr);
    EXPECT_EQ(findCrossword(root, "P\\a_0_1")->level, 1);
}

TEST(Catalogue, FolderNodesOnceInEveryMemberOrder)
{
    std::vector<std::string> members = {"Animals/a_0_1.ql", "Plants/b_1_0.ql", "Animals/Cats/c_1_3.ql",
                                        "Animals/Cats/d_0_0.ql", "Animals/e_0_2.ql"};
    std::sort(members.begin(), members.end());
    do {
        TPackModelDir root("root");
        decodeInto(root, members);
        recount(root);
        ASSERT_EQ(root.children.size(), 1u);
        auto& zoo = static_cast<TPackModelDir&>(*root.children[0]);
        ASSERT_EQ(zoo.children.size(), 2u);
        // Folders come in the order their first crossword was met.
        auto& animals = static_cast<TPackModelDir&>(*zoo.children[members[0].rfind("Animals/", 0) == 0 ? 0 : 1]);
        EXPECT_EQ(animals.name, "Animals");
        EXPECT_EQ(animals.totalCount, 4);
        int catsFolders = 0;
        for (auto& c : animals.children)
            if (!c->isFile()) {
                ++catsFolders;
                EXPECT_EQ(static_cast<TPackModelDir&>(*c).totalCount, 2);
            }
        EXPECT_EQ(catsFolders, 1);
        EXPECT_EQ(root.totalCount, 5);
    } while (std::next_permutation(members.begin(), members.end()));
}

TEST_F(PackTest, ListingReportsEveryFileMemberOnceWithItsPath)
{
    zoo({{"A/", {}}, {"A/t_0_1.ql", crossBytes(5)}, {"A/B/", {}}, {"A/B/u_1_2.ql", crossBytes(5)}, {"r_0_0.ql", crossBytes(5)}});
    std::vector<std::string> seen;
    ASSERT_EQ(pack::listArchive(pack::packPath("Zoo"), [&](const std::string& m) { seen.push_back(m); }), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"A/t_0_1.ql", "A/B/u_1_2.ql", "r_0_0.ql"}));
    EXPECT_NE(pack::listArchive(pack::packPath("Missing"), [&](const std::string&) {}), 0);
}

// The working file is replaced on every open (same bare name in two folders,
// a link planted in its place) and never written through.
TEST_F(PackTest, WorkingFileIsReplacedNotWrittenThrough)
{
    zoo({{"A/", {}}, {"A/t_0_1.ql", crossBytes(5, 3)}, {"B/t_0_1.ql", crossBytes(7, 2, false)}});
    EXPECT_EQ(widthOf("Zoo\\A\\t_0_1"), 5);
    CrossData d;
    pack::loadFromPack(d, "Zoo\\B\\t_0_1");
    EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(7, 2));
    EXPECT_EQ(fs::file_size(working()), crossBytes(7, 2, false).size());
    EXPECT_FALSE(fs::exists(root / "temp" / "~qltemp" / "t_0_1.ql"));

    fs::remove(working());
    fs::create_symlink(victim(), working());
    EXPECT_EQ(widthOf("Zoo\\A\\t_0_1"), 5);
    EXPECT_FALSE(fs::is_symlink(working()));
    EXPECT_EQ(fs::file_size(root / "victim"), 4u);
}

TEST_F(PackTest, WorkingFolderIsMadeOwnerOnlyWithItsParents)
{
    zoo({{"t_0_1.ql", crossBytes(6)}});
    setenv("TEMP", (root / "not" / "yet").c_str(), 1);
    const fs::path folder = root / "not" / "yet" / "~qltemp";
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(widthOf("Zoo\\t_0_1"), 6);
        struct stat st {};
        ASSERT_EQ(::stat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << pass;
        ::chmod(folder.c_str(), 0777); // a folder of ours others may write into is closed before use
    }
}

TEST_F(PackTest, WorkingFileThatCannotBeReplacedRaises30004AndKeepsTheRecord)
{
    zoo({{"A/t_0_1.ql", crossBytes(6)}, {"u_0_1.ql", crossBytes(7)}});
    CrossData d;
    pack::loadFromPack(d, "Zoo\\u_0_1");
    fs::remove(working());
    fs::create_directories(working() / "inside"); // a folder in the way: the move fails
    EXPECT_EQ(failure("Zoo\\A\\t_0_1", d).first, 30004);
    EXPECT_EQ(std::make_pair(d.name, d.width), std::make_pair(std::string("Zoo\\u_0_1"), 7));
    EXPECT_TRUE(fs::exists(working().parent_path() / "t_0_1.ql")); // the extracted file stays
}

TEST_F(PackTest, OversizedMemberIsNeverWritten)
{
    // Two megabytes of zeros deflate to a few kilobytes: small pack, huge file.
    std::vector<std::uint8_t> huge(2u << 20, 0);
    huge[0] = 'Q';
    huge[1] = 'L';
    ASSERT_LT(fs::file_size(zoo({{"big_0_1.ql", huge}}, "Bomb")), 100000u);
    CrossData d;
    EXPECT_EQ(failure("Bomb\\big_0_1", d).first, 30000);
    fs::path folder = root / "temp" / "~qltemp";
    if (fs::exists(folder))
        for (auto& entry : fs::directory_iterator(folder))
            ADD_FAILURE() << "left behind: " << entry.path();
}

TEST_F(PackTest, HostileMembersAreNeverWrittenAndLinksNotFollowed)
{
    const fs::path pk = zoo({{"../../escape_0_1.ql", crossBytes(5)}, {"dir/..", crossBytes(5)},
                             {"a\\b_0_1.ql", crossBytes(5)}, {"ok_0_1.ql", crossBytes(5)}}, "Evil");
    const fs::path folder = root / "out";
    EXPECT_EQ(zipio::extractMember(pk, folder, "dir/.."), -10);
    for (const char* bad : {"", ".", "..", "dir/", "dir/.", "a\\b_0_1.ql"})
        EXPECT_NE(zipio::extractMember(pk, folder, bad), 0) << bad;
    EXPECT_FALSE(fs::exists(folder)); // refused before anything is made
    // "../../escape_0_1.ql" has a safe bare name: it lands inside the folder.
    EXPECT_EQ(zipio::extractMember(pk, folder, "../../escape_0_1.ql"), 0);
    EXPECT_TRUE(fs::exists(folder / "escape_0_1.ql"));
    EXPECT_FALSE(fs::exists(root / "escape_0_1.ql"));

    // A link planted under the member's name is replaced, its target untouched.
    fs::create_symlink(victim(), folder / "ok_0_1.ql");
    EXPECT_EQ(zipio::extractMember(pk, folder, "ok_0_1.ql"), 0);
    EXPECT_FALSE(fs::is_symlink(folder / "ok_0_1.ql"));
    EXPECT_EQ(fs::file_size(root / "victim"), 4u);

    // A link in place of the folder is refused.
    fs::create_directory(root / "elsewhere");
    fs::create_directory_symlink(root / "elsewhere", root / "linked");
    EXPECT_NE(zipio::extractMember(pk, root / "linked", "ok_0_1.ql"), 0);
    EXPECT_TRUE(fs::is_empty(root / "elsewhere"));
}

// Whatever sits in the data folder under a pack's name, the scan ends, names
// each file it could not use with the cause, and keeps the good packs.
TEST_F(PackTest, HostileFilesInDataAreNamedAndGoodPacksStay)
{
    const fs::path data = root / "data";
    { std::ofstream(data / "A.qlp") << "not a zip at all"; }
    zoo({{"Folder/", {}}, {"Folder/x_1_2.ql", crossBytes(5)}}, "B");
    fs::create_directory(data / "C.qlp");
    zoo({{"y_0_0.ql", crossBytes(5)}}, "D");
    fs::create_symlink(data / "D.qlp", data / "Aa.qlp"); // players link packs in: followed
    ASSERT_EQ(::mkfifo((data / "F.qlp").c_str(), 0600), 0); // would block a reader for good
    fs::create_symlink("/dev/zero", data / "Z.qlp");       // would never end
    { std::ofstream(data / "Huge.qlp") << "x"; }
    fs::resize_file(data / "Huge.qlp", zipio::kMaxPackBytes + 1);
    writeZip(data / "OLD.QLP", {{"o_0_1.ql", crossBytes(6)}});
    { std::ofstream(data / "E.qlp.bak") << "x"; }
    TPackModelDir top("root");
    std::map<std::string, std::string> byPack;
    for (const std::string& p : scanPacks(top))
        byPack[p.substr(0, p.find(':'))] = p.substr(p.find(':') + 2);
    EXPECT_EQ(byPack.size(), 5u);
    EXPECT_NE(byPack["A.qlp"].find("not a ZIP"), std::string::npos) << byPack["A.qlp"];
    EXPECT_EQ(byPack["C.qlp"], "a folder, not a file");
    EXPECT_EQ(byPack["F.qlp"], "not a regular file");
    EXPECT_EQ(byPack["Z.qlp"], "not a regular file");
    EXPECT_EQ(byPack["Huge.qlp"].rfind("larger than", 0), 0u);
    std::vector<std::string> names;
    for (auto& c : top.children)
        names.push_back(c->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Aa", "B", "D", "OLD"}));
    EXPECT_EQ(top.totalCount, 4);
    TPackModelFile* x = findCrossword(top, "B\\Folder\\x_1_2");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(std::make_pair(bool(x->isColor), int(x->level)), std::make_pair(true, 2));
    EXPECT_EQ(widthOf("Aa\\y_0_0"), 5);
    EXPECT_EQ(widthOf("OLD\\o_0_1"), 6);
}

// A member nested 30,000 folders deep once crashed the game at every start.
// Such a member is skipped and reported; the rest of its pack stays, and the
// catalogue itself never recurses with the depth of what it is given.
TEST_F(PackTest, OverlongMemberPathsAreSkippedTheRestOfThePackStays)
{
    auto folders = [](int n, const char* sep) {
        std::string p;
        for (int i = 0; i < n; ++i)
            p += std::string("d") + sep;
        return p;
    };
    zoo({{folders(30000, "/") + "x_0_1.ql", crossBytes(5)},
         {folders(33, "/") + "y_0_1.ql", crossBytes(5)},
         {std::string(1100, 'n') + "_0_1.ql", crossBytes(5)},
         {folders(32, "/") + "z_0_1.ql", crossBytes(6)},
         {"ok_0_1.ql", crossBytes(7)},
         {"semi;colon_0_1.ql", crossBytes(5)}, // ";" separates ids in the profile: progress could never be kept
         {"F/" + std::string(300, 'p') + "_0_1.ql", crossBytes(5)}},
        "Deep");
    TPackModelDir top("root");
    const std::vector<std::string> problems = scanPacks(top);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].rfind("Deep.qlp: 3 member(s) skipped, path longer", 0), 0u) << problems[0];
    EXPECT_EQ(problems[1].rfind("Deep.qlp: 1 member(s) skipped, ';' in the name", 0), 0u) << problems[1];
    EXPECT_EQ(problems[2].rfind("Deep.qlp: 1 member(s) skipped, a name part longer", 0), 0u) << problems[2];
    EXPECT_EQ(top.totalCount, 2);
    EXPECT_EQ(widthOf("Deep\\" + folders(32, "\\") + "z_0_1"), 6);
    EXPECT_EQ(widthOf("Deep\\ok_0_1"), 7);

    auto tower = std::make_unique<TPackModelDir>("root");
    insertCrossword(*tower, "P\\x_0_1", folders(200000, "\\") + "x_0", 1, false);
    recount(*tower);
    EXPECT_EQ(tower->totalCount, 1);
    EXPECT_NE(findCrossword(*tower, "P\\x_0_1"), nullptr);
    tower.reset();
}

// Names as Windows tools write them (DOS code page, no UTF-8 flag), backslash
// separators, and a name that repeats: each shows readably and opens.
TEST_F(PackTest, MembersOpenByIndexWhateverTheirNames)
{
    const fs::path pk = zoo({{"Tiere/K\x84" "fer_0_1.ql", crossBytes(5)}, {"A\\b_0_1.ql", crossBytes(6)},
                             {"dup_0_1.ql", crossBytes(7)}, {"dvp_0_1.ql", crossBytes(8)}});
    { // libzip will not write a name twice: rename the second in the bytes
        std::ifstream in(pk, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::size_t at; (at = bytes.find("dvp_0_1")) != std::string::npos;)
            bytes[at + 1] = 'u';
        std::ofstream(pk, std::ios::binary) << bytes;
    }
    TPackModelDir top("root");
    EXPECT_TRUE(scanPacks(top).empty());
    std::vector<std::pair<std::string, int>> opened;
    for (auto& child : static_cast<TPackModelDir&>(*top.children.at(0)).children) {
        TPackModel* node = child.get();
        while (!node->isFile())
            node = static_cast<TPackModelDir&>(*node).children.at(0).get();
        auto* f = static_cast<TPackModelFile*>(node);
        opened.emplace_back(f->id, widthOf(f->id, f->memberIndex));
    }
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, int>>{
                          {"Zoo\\Tiere\\K\xe4" "fer_0_1", 5}, {"Zoo\\A\\b_0_1", 6}, {"Zoo\\dup_0_1", 7}, {"Zoo\\dup_0_1", 8}}));
    EXPECT_EQ(widthOf("Zoo\\dup_0_1"), 7); // by id alone (a profile's current crossword) the first of a name opens
}

// Each failure names what failed: the pack is not blamed for a bad TEMP, and
// nothing that is not a crossword opens as a blank grid.
TEST_F(PackTest, OpeningFailuresNameTheirCause)
{
    const fs::path pk = zoo({{"t_0_1.ql", crossBytes(5)}, {"empty_0_1.ql", {}}, {"short_0_1.ql", {'Q', 'L', 0, 0, 0}}});
    { // a member stored as a symbolic link
        int err = 0;
        zip_t* z = zip_open(pk.c_str(), 0, &err);
        ASSERT_NE(z, nullptr);
        static const char target[] = "/etc/passwd";
        const zip_int64_t i = zip_file_add(z, "link_0_1.ql", zip_source_buffer(z, target, sizeof target - 1, 0), 0);
        zip_file_set_external_attributes(z, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX, zip_uint32_t(0120777) << 16);
        ASSERT_EQ(zip_close(z), 0);
    }
    const std::string shortFile = working().string() + ": the file ends before the crossword's size";
    struct Case { std::string id; int code; std::string detail; };
    for (const Case& c : std::vector<Case>{{"Zoo\\empty_0_1", 30004, shortFile},
                                           {"Zoo\\short_0_1", 30004, shortFile},
                                           {"Zoo\\link_0_1", 30000, "Zoo.qlp: link_0_1: a link, not a crossword file"},
                                           {"Zoo\\gone_0_1", 30000, "Zoo.qlp: no crossword gone_0_1"},
                                           {"Nope\\t_0_1", 30000, "Nope.qlp: No such file or directory"},
                                           {"t_0_1", 30000, "'t_0_1' names no pack"}}) {
        CrossData d;
        EXPECT_EQ(failure(c.id, d), std::make_pair(c.code, c.detail)) << c.id;
        EXPECT_FALSE(d.hasCells()) << c.id;
    }

    { std::ofstream(root / "file") << "x"; }
    setenv("TEMP", (root / "file").c_str(), 1);
    CrossData d;
    const auto [code, detail] = failure("Zoo\\t_0_1", d);
    EXPECT_EQ(code, 30004);
    EXPECT_EQ(detail.rfind("TEMP: " + (root / "file").string() + "/~qltemp: ", 0), 0u) << detail;
}

TEST_F(PackTest, ReadsPackMadeByZipProgram)
{
    fs::path src = root / "src";
    fs::create_directories(src / "Sub");
    for (auto [p, w] : {std::pair{"Sub/s_0_1.ql", 6}, std::pair{"r_1_3.ql", 9}}) {
        auto b = crossBytes(w, 4);
        std::ofstream(src / p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    }
    // Deflated and stored.
    std::string cmd = "cd '" + src.string() + "' && zip -q -r '" + (root / "data" / "Z.qlp").string() + "' Sub r_1_3.ql"
                    + " && zip -q -0 -r '" + (root / "data" / "S.qlp").string() + "' Sub r_1_3.ql";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    TPackModelDir top("root");
    EXPECT_TRUE(scanPacks(top).empty());
    EXPECT_EQ(top.totalCount, 4);
    for (auto [id, w] : {std::pair{"Z\\Sub\\s_0_1", 6}, std::pair{"S\\Sub\\s_0_1", 6}, std::pair{"Z\\r_1_3", 9}}) {
        ASSERT_NE(findCrossword(top, id), nullptr) << id;
        EXPECT_EQ(widthOf(id), w) << id;
    }
}

class TempFolder : public ::testing::TestWithParam<const char*> {};

// Unset or empty TEMP: never the root nor a shared folder.
TEST_P(TempFolder, PerUserWithoutTemp)
{
    const std::optional<std::string> saved =
        std::getenv("TEMP") ? std::optional<std::string>(std::getenv("TEMP")) : std::nullopt;
    GetParam() ? setenv("TEMP", GetParam(), 1) : unsetenv("TEMP");
    const std::string t = pack::tempFolder();
    saved ? setenv("TEMP", saved->c_str(), 1) : unsetenv("TEMP");
    ASSERT_GT(t.size(), 8u);
    EXPECT_EQ(t.substr(t.size() - 8), "\\~qltemp");
    std::string base = t.substr(0, t.size() - 8);
    EXPECT_NE(base, "/tmp");
    struct stat st {};
    ASSERT_EQ(::stat(base.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(st.st_mode & 0077, 0u);
}
INSTANTIATE_TEST_SUITE_P(UnsetOrEmpty, TempFolder, ::testing::Values(nullptr, ""));

void collect(TPackModelDir& dir, std::vector<TPackModelFile*>& out)
{
    for (auto& c : dir.children) {
        if (c->isFile())
            out.push_back(static_cast<TPackModelFile*>(c.get()));
        else
            collect(static_cast<TPackModelDir&>(*c), out);
    }
}

// The shipped packs as the game sees them: scanned, every crossword opened
// through the working file, its colour flag true to its cells.
TEST_F(PackTest, ShippedPacksScanAndOpen)
{
    const fs::path source = TESSELLOR_SOURCE_DIR;
    std::size_t pictures = 0;
    for (auto& e : fs::recursive_directory_iterator(source / "packs-src"))
        pictures += e.is_regular_file() && e.path().extension() == ".txt";
    pack::setDataFolder((source / "data").string());
    TPackModelDir top("root");
    EXPECT_TRUE(scanPacks(top).empty());
    EXPECT_GE(top.children.size(), 4u);
    EXPECT_EQ(std::size_t(top.totalCount), pictures);
    std::vector<TPackModelFile*> files;
    collect(top, files);
    bool levels[4] = {};
    for (TPackModelFile* f : files) {
        ASSERT_LE(f->level, 3) << f->id;
        levels[f->level] = true;
        CrossData d;
        pack::loadFromPack(d, f->id);
        EXPECT_EQ(d.name, f->id);
        EXPECT_GE(std::min(d.width, d.height), 5) << f->id;
        bool colour = false;
        for (int x = 0; x < d.width; ++x)
            for (int y = 0; y < d.height; ++y)
                colour |= d.value(x, y) > 0 && d.value(x, y) != 3;
        EXPECT_EQ(bool(f->isColor), colour) << f->id;
    }
    for (bool seen : levels)
        EXPECT_TRUE(seen);
}

} // namespace

#ifdef TESSELLOR_TOOL
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

ToolRun runTool(const fs::path& work, const std::string& args)
{
    const std::string cmd = std::string(TESSELLOR_TOOL) + " " + args + " >'" + (work / "out").string() + "' 2>'"
                          + (work / "err").string() + "'";
    const int raw = std::system(cmd.c_str());
    auto slurp = [](const fs::path& p) {
        std::ifstream in(p);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), slurp(work / "out"), slurp(work / "err")};
}

std::size_t lines(const std::string& s) { return std::size_t(std::count(s.begin(), s.end(), '\n')); }

// The tool goes on past what it cannot read, names it and ends with status 1
// (it once aborted on the first such crossword and lost the rest).
TEST_F(PackTest, ToolCommandsGoOnPastUnreadableCrosswords)
{
    std::string blocks;
    for (int i = 0; i < 128; ++i)
        blocks += (i % 2) ? '1' : '2';
    const std::vector<std::uint8_t> wide = {'Q', 'L', 0, 0, 0, 129, 0, 1, 1};
    const std::vector<std::uint8_t> zero = {'Q', 'L', 0, 0, 0, 0, 0, 1};
    zoo({{"a_0_1.ql", crossBytes(5)}, {"b_0_1.ql", zero}, {"c_0_1.ql", wide},
         {"d_0_1.ql", testgrids::fileBytes({blocks})}, {"e_0_1.ql", crossBytes(6)}},
        "Bad");
    { std::ofstream(root / "data" / "Broken.qlp") << "no zip"; }
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
    std::string packs = "'";
    packs += (root / "data" / "Bad.qlp").string();
    packs += "' '";
    packs += (root / "data" / "Broken.qlp").string();
    packs += "'";

    ToolRun list = runTool(root, "list " + packs);
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(lines(list.out), 5u) << list.out;
    EXPECT_NE(list.out.find("Bad\\e_0_1  level 1  black-and-white  6 x 5"), std::string::npos) << list.out;
    for (const char* named : {"b_0_1: size 0 x 1", "c_0_1: size 129 x 1", "d_0_1: a line holds more than 127",
                              "Broken.qlp: not a ZIP"})
        EXPECT_NE(list.err.find(named), std::string::npos) << named << " in " << list.err;

    ToolRun rate = runTool(root, "rate " + packs);
    EXPECT_EQ(rate.status, 1);
    EXPECT_EQ(lines(rate.out), 2u) << rate.out;
    EXPECT_EQ(lines(rate.err), 4u) << rate.err;
}

// 100,000 members in 100,000 folders: the pack is opened once and listed
// (it once reopened the archive per member and never finished).
TEST_F(PackTest, ToolListsAPackOfAHundredThousandMembers)
{
    const fs::path big = root / "Big.qlp";
    int err = 0;
    zip_t* z = zip_open(big.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    static const std::vector<std::uint8_t> bytes = crossBytes(5);
    for (int i = 0; i < 100000; ++i) {
        std::string name = "F"; // appended: GCC 12 warns falsely (-Wrestrict) on "F" + string
        name += std::to_string(i);
        name += "/x_0_1.ql";
        zip_source_t* src = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
        const zip_int64_t idx = zip_file_add(z, name.c_str(), src, 0);
        ASSERT_GE(idx, 0);
        zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    ToolRun list = runTool(root, "list '" + big.string() + "'");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(lines(list.out), 100000u);
}

} // namespace
#endif
