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
#include <optional>
#include <tuple>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The file of a w x h crossword, every cell dark grey.
std::vector<std::uint8_t> crossBytes(int w, int h = 5)
{
    return testgrids::fileBytes(std::vector<std::string>(std::size_t(h), std::string(std::size_t(w), '#')), "x");
}

using Members = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

// Writes a zip with the given members (name -> bytes; a name ending in '/' is a folder).
void writeZip(const fs::path& path, const Members& members)
{
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (auto& [name, bytes] : members) {
        if (name.back() == '/')
            zip_dir_add(z, name.c_str(), ZIP_FL_ENC_RAW);
        else
            zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), ZIP_FL_ENC_RAW);
    }
    ASSERT_EQ(zip_close(z), 0);
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
        setenv("TEMP", (root / "temp").c_str(), 1); // made with its parent on first use
        oldData = pack::dataFolders();
        pack::setDataFolder((root / "data").string());
    }
    void TearDown() override
    {
        pack::setDataFolders(oldData);
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
};

TEST(MemberName, DecodesIdDisplayPathColourAndLevel)
{
    const std::pair<const char*, std::string> cases[] = {
        {"Animals/Cats/Tom_1_2.ql", "Zoo\\Animals\\Cats\\Tom_1_2 Zoo\\Animals\\Cats\\Tom_1 colour 2"},
        {"x_0_3.ql", "Zoo\\x_0_3 Zoo\\x_0 mono 3"},
        {"x_2_9.ql", "Zoo\\x_2_9 Zoo\\x_2 mono 255"}, // only "1" marks colour; "9" is no level
        {"a.ql", ""},
        {"Animals/", ""}};
    for (const auto& [member, want] : cases) {
        MemberInfo m;
        const bool ok = decodeMember("Zoo.qlp", member, m);
        EXPECT_EQ(ok ? m.id + " " + m.displayPath + (m.isColor ? " colour " : " mono ") + std::to_string(m.level) : "",
                  want);
    }
}

// Each folder is made once whatever order its members come in, the profile's
// marks reach the crosswords and the counts add up.
TEST(Catalogue, FoldersOnceMarksAndCountsInEveryMemberOrder)
{
    std::vector<std::string> members = {"Animals/a_0_1.ql", "Animals/Cats/c_1_3.ql", "Animals/Cats/d_0_0.ql",
                                        "Animals/e_0_2.ql", "Plants/b_1_0.ql", "x_0_2.ql"};
    setProfileMarks({[](const std::string& id) { return id == "Zoo\\Animals\\a_0_1"; },
                     [](const std::string& id) { return id == "Zoo\\Animals\\a_0_1" || id == "Zoo\\Plants\\b_1_0"; }});
    do {
        TPackModelDir root("root");
        for (const std::string& m : members) {
            MemberInfo info;
            ASSERT_TRUE(decodeMember("Zoo.qlp", m, info));
            insertCrossword(root, info.id, info.displayPath, info.level, info.isColor);
        }
        recount(root);
        ASSERT_EQ(root.children.size(), 1u);
        auto& zoo = static_cast<TPackModelDir&>(*root.children[0]);
        ASSERT_EQ(zoo.children.size(), 3u);
        auto& animals = static_cast<TPackModelDir&>(*zoo.folders.at("Animals"));
        ASSERT_EQ(animals.children.size(), 3u);
        EXPECT_EQ(animals.folders.at("Cats")->totalCount, 2);
        EXPECT_EQ(std::make_tuple(animals.totalCount, animals.solvedCount, animals.editedCount),
                  std::make_tuple(4, 1, 1));
        EXPECT_EQ(std::make_tuple(root.totalCount, root.solvedCount, root.editedCount), std::make_tuple(6, 1, 2));
    } while (std::next_permutation(members.begin(), members.end()));
    setProfileMarks({});
}

// The working file is replaced on every open (the same bare name in two
// folders, a link planted in its place), in a folder of the player's alone;
// when it cannot be replaced the record in hand stays.
TEST_F(PackTest, WorkingFileIsReplacedNotWrittenThroughInAnOwnerOnlyFolder)
{
    zoo({{"A/t_0_1.ql", crossBytes(5)}, {"B/t_0_1.ql", crossBytes(7)}, {"../../escape_0_1.ql", crossBytes(8)}});
    const fs::path folder = working().parent_path();
    EXPECT_EQ(widthOf("Zoo\\A\\t_0_1"), 5);
    ::chmod(folder.c_str(), 0777); // a folder of ours others may write into is closed before use
    EXPECT_EQ(widthOf("Zoo\\B\\t_0_1"), 7);
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    EXPECT_EQ(widthOf("Zoo\\..\\..\\escape_0_1"), 8);
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2); // data, temp

    fs::remove(working());
    std::ofstream(root / "victim") << "keep";
    fs::create_symlink(root / "victim", working());
    EXPECT_EQ(widthOf("Zoo\\A\\t_0_1"), 5);
    EXPECT_FALSE(fs::is_symlink(working()));
    EXPECT_EQ(fs::file_size(root / "victim"), 4u);

    CrossData d;
    pack::loadFromPack(d, "Zoo\\B\\t_0_1");
    fs::remove(working());
    fs::create_directories(working() / "inside"); // a folder in the way: the move fails
    EXPECT_EQ(failure("Zoo\\A\\t_0_1", d).first, 30004);
    EXPECT_EQ(std::make_pair(d.name, d.width), std::make_pair(std::string("Zoo\\B\\t_0_1"), 7));

    fs::remove_all(folder);
    fs::create_directory(root / "elsewhere");
    fs::create_directory_symlink(root / "elsewhere", folder); // a link in place of the folder is refused
    EXPECT_EQ(failure("Zoo\\A\\t_0_1", d).first, 30004);
    EXPECT_TRUE(fs::is_empty(root / "elsewhere"));
    std::string cause; // and whatever asks, only a bare file name is written
    for (const char* bad : {"", ".", "..", "a/b", "a\\b"})
        EXPECT_FALSE(zipio::writeFile((root / "out").string(), bad, {1}, cause)) << bad;
    EXPECT_FALSE(fs::exists(root / "out"));
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
    EXPECT_EQ(scanPacks(top), (std::vector<std::string>{
                                  "A.qlp: not a ZIP archive or damaged (Not a zip archive)",
                                  "C.qlp: a folder, not a file", "F.qlp: not a regular file",
                                  "Huge.qlp: larger than 1073741824 bytes", "Z.qlp: not a regular file"}));
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

    TPackModelDir tower("root"); // taken apart at the end without recursion
    insertCrossword(tower, "P\\x_0_1", folders(200000, "\\") + "x_0", 1, false);
    recount(tower);
    EXPECT_EQ(tower.totalCount, 1);
    EXPECT_NE(findCrossword(tower, "P\\x_0_1"), nullptr);
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
    EXPECT_EQ(findCrossword(top, "Zoo\\dup_0_1")->memberIndex, 2);
    EXPECT_EQ(findCrossword(top, "zoo\\dup_0_1"), nullptr); // lookups are exact
}

// Each failure names what failed: the pack is not blamed for a bad TEMP,
// nothing that is not a crossword opens as a blank grid, and a member far
// larger than any crossword is never unpacked.
TEST_F(PackTest, OpeningFailuresNameTheirCause)
{
    std::vector<std::uint8_t> huge(2u << 20, 0); // deflates to a few kilobytes
    huge[0] = 'Q';
    huge[1] = 'L';
    const fs::path pk = zoo({{"t_0_1.ql", crossBytes(5)}, {"empty_0_1.ql", {}}, {"short_0_1.ql", {'Q', 'L', 0, 0, 0}},
                             {"big_0_1.ql", huge}});
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
                                           {"Zoo\\big_0_1", 30000, "Zoo.qlp: big_0_1: larger than 1048576 bytes"},
                                           {"Zoo\\link_0_1", 30000, "Zoo.qlp: link_0_1: a link, not a crossword file"},
                                           {"Zoo\\gone_0_1", 30000, "Zoo.qlp: no crossword gone_0_1"},
                                           {"Nope\\t_0_1", 30000, "Nope.qlp: No such file or directory"},
                                           {"t_0_1", 30000, "'t_0_1' names no pack"}}) {
        CrossData d;
        EXPECT_EQ(failure(c.id, d), std::make_pair(c.code, c.detail)) << c.id;
        EXPECT_FALSE(d.hasCells()) << c.id;
    }
    EXPECT_FALSE(fs::exists(working().parent_path() / "big_0_1.ql"));

    { std::ofstream(root / "file") << "x"; }
    setenv("TEMP", (root / "file").c_str(), 1);
    CrossData d;
    const auto [code, detail] = failure("Zoo\\t_0_1", d);
    EXPECT_EQ(code, 30004);
    EXPECT_EQ(detail.rfind("TEMP: " + (root / "file").string() + "/~qltemp: ", 0), 0u) << detail;
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

} // namespace

#ifdef TESSELLOR_TOOL
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

// Runs the tool in folder work.
ToolRun runTool(const fs::path& work, const std::string& args)
{
    const std::string cmd = "cd '" + work.string() + "' && " + TESSELLOR_TOOL + " " + args + " >out 2>err";
    const int raw = std::system(cmd.c_str());
    auto slurp = [&](const char* name) {
        std::ifstream in(work / name);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), slurp("out"), slurp("err")};
}

std::size_t lines(const std::string& s) { return std::size_t(std::count(s.begin(), s.end(), '\n')); }

// The tool goes on past what it cannot read, names it and ends with status 1
// (it once aborted on the first such crossword and lost the rest).
TEST_F(PackTest, ToolCommandsGoOnPastUnreadableCrosswords)
{
    zoo({{"a_0_1.ql", crossBytes(5)}, {"b_0_1.ql", {'Q', 'L', 0, 0, 0, 0, 0, 1}},
         {"c_0_1.ql", {'Q', 'L', 0, 0, 0, 129, 0, 1, 1}}, {"e_0_1.ql", crossBytes(6)}},
        "Bad");
    { std::ofstream(root / "data" / "Broken.qlp") << "no zip"; }

    ToolRun list = runTool(root, "list data/Bad.qlp data/Broken.qlp");
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(lines(list.out), 4u) << list.out;
    EXPECT_NE(list.out.find("Bad\\e_0_1  level 1  black-and-white  6 x 5"), std::string::npos) << list.out;
    for (const char* named : {"b_0_1: size 0 x 1", "c_0_1: size 129 x 1", "Broken.qlp: not a ZIP"})
        EXPECT_NE(list.err.find(named), std::string::npos) << named << " in " << list.err;

    ToolRun rate = runTool(root, "rate data/Bad.qlp data/Broken.qlp");
    EXPECT_EQ(rate.status, 1);
    EXPECT_EQ(lines(rate.out), 2u) << rate.out;
    EXPECT_EQ(lines(rate.err), 3u) << rate.err;
}

// 100,000 members in 100,000 folders, stored uncompressed: the pack is opened
// once and listed (it once reopened the archive per member and never finished).
TEST_F(PackTest, ToolListsAPackOfAHundredThousandMembers)
{
    int err = 0;
    zip_t* z = zip_open((root / "Big.qlp").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    static const std::vector<std::uint8_t> bytes = crossBytes(5);
    for (int i = 0; i < 100000; ++i) {
        const std::string name = "F" + std::to_string(i) + "/x_0_1.ql";
        const zip_int64_t idx = zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), 0);
        ASSERT_GE(idx, 0);
        zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    ToolRun list = runTool(root, "list Big.qlp");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(lines(list.out), 100000u);
}

} // namespace
#endif
