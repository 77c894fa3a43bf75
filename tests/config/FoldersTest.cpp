#include "config/Folders.h"

#include "config/Localization.h"
#include "data/Pack.h"
#include "data/PackModel.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A pack whose crosswords carry the given member names; the contents do not
// matter to the scan.
void writePack(const fs::path& path, const std::vector<std::string>& members)
{
    fs::create_directories(path.parent_path());
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (const std::string& m : members)
        zip_file_add(z, m.c_str(), zip_source_buffer(z, "x", 1, 0), ZIP_FL_ENC_RAW);
    ASSERT_EQ(zip_close(z), 0);
}

class Folders : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tessellor-folders-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        previous = fs::current_path();
        savedPacks = pack::dataFolders();
    }
    void TearDown() override
    {
        fs::current_path(previous);
        pack::setDataFolders(savedPacks);
        folders::apply(folders::Layout{}, ignored);
        fs::remove_all(root);
    }
    folders::Inputs inputs(const fs::path& start) const
    {
        return {start.string(), (root / "usr/bin").string(), (root / "xdg").string(), (root / "home").string()};
    }

    fs::path root, previous;
    std::vector<std::string> savedPacks;
    std::string ignored;
};

// Which folder the game works in, from where it is started and what the
// environment names.
TEST_F(Folders, WorkingFolderFollowsStartFolderAndEnvironment)
{
    writePack(root / "repo/data/Zoo.qlp", {"a_0_0.ql"});
    writeText(root / "langonly/language/english.LNG", "k=v\n");
    writeText(root / "unrelated/data/notes.txt", "not a pack");
    writeText(root / "unrelated/language/readme", "");
    fs::create_directories(root / "empty");
    writePack(root / "xdg/tessellor/data/Mine.qlp", {"m_0_0.ql"});

    const std::string player = (root / "xdg/tessellor").string();
    const std::string homePlayer = (root / "home/.local/share/tessellor").string();
    // work empty: no layout, an error
    struct Case { const char* what; std::string start, xdg, home; bool own; std::string work; };
    const Case cases[] = {
        {"folder with a pack", "repo", "xdg", "home", true, "."},
        {"folder with a language file, any case", "langonly", "xdg", "home", true, "."},
        {"data and language without game files", "unrelated", "xdg", "home", false, player},
        {"empty folder", "empty", "xdg", "home", false, player},
        {"relative XDG_DATA_HOME is ignored", "empty", "rel", "home", false, homePlayer},
        {"unset XDG_DATA_HOME", "empty", "", "home", false, homePlayer},
        {"the player's own folder, though it holds packs", "xdg/tessellor", "xdg", "home", false, player},
        {"no absolute home at all", "empty", "", "", false, ""},
        {"relative home", "empty", "", "home-rel", false, ""},
    };
    for (const Case& c : cases) {
        folders::Inputs in = inputs(root / c.start);
        in.xdgDataHome = c.xdg.empty() ? "" : c.xdg == "rel" ? "rel/share" : (root / c.xdg).string();
        in.home = c.home.empty() ? "" : c.home == "home-rel" ? "home" : (root / c.home).string();
        std::string error;
        const folders::Layout layout = folders::choose(in, error);
        EXPECT_EQ(layout.ownFolder, c.own) << c.what;
        EXPECT_EQ(layout.work, c.work) << c.what;
        EXPECT_EQ(error.empty(), !c.work.empty()) << c.what << ": " << error;
    }
}

// Installed: the player's packs and languages come before the shipped ones,
// and a player's pack of the same file name replaces the shipped one.
TEST_F(Folders, InstalledGameFindsShippedFilesBesideThePlayersOwn)
{
    const fs::path share = root / "usr/share/tessellor";
    writePack(share / "data/Zoo.qlp", {"shipped_0_0.ql"});
    writePack(share / "data/Birds.qlp", {"owl_0_1.ql"});
    writeText(share / "language/english.lng", "who=shipped\n");
    writeText(share / "language/german.lng", "who=shipped\n");
    writePack(root / "xdg/tessellor/data/Zoo.qlp", {"mine_1_2.ql"});
    writeText(root / "xdg/tessellor/language/english.lng", "who=player\n");

    std::string error;
    const folders::Layout layout = folders::choose(inputs(root / "start"), error);
    EXPECT_EQ(std::make_pair(layout.share, layout.help), std::make_pair(share.string(), (share / "help").string()));
    ASSERT_TRUE(folders::prepare(layout, error)) << error;
    ASSERT_TRUE(folders::apply(layout, error)) << error;
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root / "xdg/tessellor"));
    pack::setDataFolders(layout.packs);
    TPackModelDir top("root");
    EXPECT_TRUE(scanPacks(top).empty());
    EXPECT_EQ(top.totalCount, 2);
    EXPECT_NE(findCrossword(top, "Zoo\\mine_1_2"), nullptr);
    EXPECT_NE(findCrossword(top, "Birds\\owl_0_1"), nullptr);

    Localization table;
    table.setFolders(folders::current().languages);
    table.LoadLanguage("english");
    EXPECT_EQ(table.GetText("who", ""), "player");
    table.LoadLanguage("german");
    EXPECT_EQ(table.GetText("who", ""), "shipped");
    EXPECT_EQ(table.AvailableLanguages(), (std::vector<std::string>{"english", "german"}));
}

TEST_F(Folders, PlayersFolderIsMadeOwnerOnlyOrRefusedWithTheReason)
{
    writeText(root / "usr/share/tessellor/language/english.lng", "");
    std::string error;
    folders::Layout layout = folders::choose(inputs(root / "start"), error);
    ASSERT_TRUE(folders::prepare(layout, error)) << error;
    for (const char* made : {"xdg", "xdg/tessellor"})
        EXPECT_EQ(fs::status(root / made).permissions(), fs::perms::owner_all) << made;

    // A file where the folder belongs, and an install without its files.
    writeText(root / "blocked/xdg", "a file");
    folders::Inputs in = inputs(root / "start");
    in.xdgDataHome = (root / "blocked/xdg").string();
    layout = folders::choose(in, error);
    EXPECT_FALSE(folders::prepare(layout, error));
    EXPECT_NE(error.find(in.xdgDataHome), std::string::npos) << error;

    fs::remove_all(root / "usr");
    layout = folders::choose(inputs(root / "start"), error);
    error.clear();
    EXPECT_FALSE(folders::prepare(layout, error));
    EXPECT_NE(error.find("usr/share/tessellor"), std::string::npos) << error;
}

}  // namespace
