#include "config/Localization.h"
#include "profile/UserConfig.h"
#include "grid/GridLayout.h"
#include "grid/GridModel.h"
#include "ProfileTestSupport.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace profiletest;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(folder.file("language"));
        std::ofstream(folder.file("language/english.lng")) << "error_30005=No language\n";
        std::ofstream(folder.file("language/deutsch.lng")) << "error_30005=Keine Sprache\n";
        language.setFolder(folder.file("language"));
        language.LoadLanguage("english");
        Localization::setGlobal(&language);
        CrossException::setDisplay([this](const std::string& text) { shown.push_back(text); });
    }
    void TearDown() override
    {
        CrossException::setDisplay({});
        Localization::setGlobal(nullptr);
        setChunkWriterForTesting({});
    }

    std::unique_ptr<UserConfig> open(const std::string& name = "Ann", GridLayout* layout = nullptr)
    {
        UserConfig::Bindings b;
        b.layout = layout;
        b.folder = folder.path();
        b.showPreview = [this](bool on) { previewCalls.push_back(on); };
        return std::make_unique<UserConfig>(name, language, b);
    }

    ScratchFolder folder;
    Localization language;
    std::vector<std::string> shown;
    std::vector<bool> previewCalls;
};

// 5 columns, 4 rows, two clue slots each way; and 3 x 3 with one slot.
CrossData fiveByFour(const std::string& name)
{
    return testgrids::crossword({"#.#..", "##.#.", ".....", "#...#"}, name);
}

CrossData threeByThree(const std::string& name)
{
    return testgrids::crossword({"#..", ".#.", "..#"}, name);
}

} // namespace

// A language that is missing keeps the current one and is named once; names
// outside the language folder, or cut short by a zero byte, count as missing.
TEST_F(Profile, MissingLanguageKeepsTheCurrentOneAndTheRestIsRead)
{
    std::ofstream(folder.file("secret.lng")) << "error_30005=secret\n";
    folder.write("Ann.pfl", signature() + block("LANG______", text("klingon")) + shortBlock("SIZE______", 3) +
                                block("LANG______", text("../secret")) + shortBlock("PREVIEW___", 1) +
                                block("LANG______", text(std::string("deutsch\0.x", 10))) +
                                block("LANG______", {}) + shortBlock("PREVIEW___", 2) +
                                shortBlock("ACTV_CROSS", 0xFFFF) +
                                block("CROSS_DATA", record(CrossState("Zoo\\A_1_1", 3, 3, 1, 1))));
    const auto p = open(); // throws nothing
    EXPECT_EQ(language.CurrentLanguage(), "english");
    EXPECT_EQ(shown, std::vector<std::string>{"No language"});
    // The last preview block reaches the window, once; without a grid the
    // profile keeps the size.
    EXPECT_EQ(previewCalls, std::vector<bool>{false});
    EXPECT_EQ(p->cellSize(), 3);
    // FF FF names no entry, so nothing is copied into the one there is.
    EXPECT_EQ(p->currentState(), nullptr);
    GridModel grid;
    grid.SetDataSource(threeByThree("Zoo\\A_1_1"));
    grid.restoreCell(1, 1, DefYes, 3);
    p->SaveProgress(grid);
    EXPECT_EQ(p->states()[0].cellState(1, 1), Empty);
    // Written back with the language the player now has, so the next start
    // is clean.
    ASSERT_TRUE(p->FinishSession(nullptr));
    shown.clear();
    open();
    EXPECT_TRUE(shown.empty());
}

// A profile that is no regular file once froze the game (a FIFO) or ate
// memory without end (a link to /dev/zero). Each keeps the defaults, the
// player is told which file and why, and nothing replaces it at the end.
TEST_F(Profile, ProfileThatCannotBeReadIsNamedAndNeverOverwritten)
{
    const std::string path = folder.file("Ann.pfl");
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { std::filesystem::create_directory(path); }, "a folder, not a file"},
        {[&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file"},
        {[&] { std::filesystem::create_symlink("/dev/zero", path); }, "not a regular file"},
        {[&] {
             std::ofstream(path) << "x";
             std::filesystem::resize_file(path, kMaxProfileBytes + 1);
         },
         "larger than " + std::to_string(kMaxProfileBytes) + " bytes"},
    };
    for (const auto& [make, cause] : cases) {
        std::filesystem::remove_all(path);
        make();
        shown.clear();
        const auto p = open(); // throws nothing
        ASSERT_EQ(shown.size(), 1u) << cause;
        EXPECT_NE(shown[0].find(path + ": " + cause), std::string::npos) << shown[0];
        EXPECT_FALSE(p->FinishSession(nullptr));
        const bool regular = std::filesystem::is_regular_file(std::filesystem::symlink_status(path));
        EXPECT_TRUE(!regular || std::filesystem::file_size(path) == kMaxProfileBytes + 1) << cause;
    }

    // A file that is no profile at all stops the start and is left alone.
    folder.write("Ann.pfl", text("PK\3\4 some archive"));
    EXPECT_EQ(raisedCode([&] { open(); }), 30006);
    EXPECT_EQ(folder.read("Ann.pfl"), text("PK\3\4 some archive"));
    // A name that is not a plain file name never writes outside the folder.
    EXPECT_EQ(raisedCode([&] { open("../escaped")->WriteProfile(); }), 30007);
    EXPECT_FALSE(std::filesystem::exists(folder.file("../escaped.pfl")));
}

// Progress goes by the exact id; the solved list ignores letter case.
TEST_F(Profile, CurrentEntryAndSolvedList)
{
    auto p = open();
    p->SetCurrent("Zoo\\A_1_1", 5, 4, 2, 3);
    p->SetCurrent("Zoo\\B_1_1", 1, 1, 1, 1);
    p->SetCurrent("Zoo\\A_1_1", 9, 9, 9, 9);
    EXPECT_EQ(p->currentId(), "Zoo\\A_1_1");
    EXPECT_EQ(p->states()[0], CrossState("Zoo\\A_1_1", 5, 4, 2, 3)); // keeps the sizes it was made with
    p->SetCurrent("zoo\\a_1_1", 2, 2, 1, 1);
    EXPECT_EQ(p->current(), 2);
    // An id the file cannot hold leaves no current entry and adds none.
    p->SetCurrent("bad;id", 1, 1, 1, 1);
    EXPECT_EQ(p->current(), -1);
    EXPECT_EQ(p->states().size(), 3u);

    p->AddSolved("Zoo\\\xC9lan_1_2");
    p->AddSolved("zoo\\\xE9LAN_1_2");
    p->AddSolved("logo\\x;y");
    EXPECT_EQ(p->solved(), std::vector<std::string>{"Zoo\\\xC9lan_1_2"});
    const ProfileMarks marks = p->catalogueMarks();
    EXPECT_TRUE(marks.isSolved("ZOO\\\xC9LAN_1_2"));
    EXPECT_TRUE(marks.hasProgress("Zoo\\B_1_1"));
    EXPECT_FALSE(marks.hasProgress("zoo\\b_1_1"));
}

// Progress and what lives outside the profile go to the file and come back
// where they live. Between sizes progress goes only where both the entry and
// the grid have room; never into another crossword.
TEST_F(Profile, ProgressAndSettingsTravelThroughTheFile)
{
    GridModel grid;
    grid.SetDataSource(fiveByFour("Zoo\\Cats_1_2"));
    grid.restoreCell(0, 0, DefYes, 5);
    grid.restoreCell(4, 3, DefNo, 0);
    grid.restoreCell(2, 1, Mark, 18);
    grid.setLeftMark(0, 2, 1);
    grid.setLeftMark(1, 3, 1);
    grid.setTopMark(2, 0, 1);
    grid.setTopMark(3, 1, 1);
    GridLayout layout;
    {
        auto p = open("Ann", &layout);
        EXPECT_TRUE(previewCalls.empty()); // a new player has no preview block
        p->setPreviewShown(true);
        layout.setCellSize(27);
        language.LoadLanguage("deutsch");
        ASSERT_TRUE(p->FinishSession(&grid)); // makes the grid's crossword current
    }
    language.LoadLanguage("english");
    auto p = open("Ann", &layout);
    EXPECT_TRUE(p->previewShown());
    EXPECT_EQ(previewCalls, std::vector<bool>{true});
    EXPECT_EQ(language.CurrentLanguage(), "deutsch");
    EXPECT_EQ(p->currentId(), "Zoo\\Cats_1_2");
    GridModel fresh;
    fresh.SetDataSource(fiveByFour("Zoo\\Cats_1_2"));
    p->RestoreProgress(fresh);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(fresh.cellState(c, r), grid.cellState(c, r)) << c << "," << r;
            EXPECT_EQ(fresh.cellColourIndex(c, r), grid.cellColourIndex(c, r)) << c << "," << r;
            EXPECT_EQ(fresh.leftMark(c % 2, r), grid.leftMark(c % 2, r)) << c << "," << r;
            EXPECT_EQ(fresh.topMark(c, r % 2), grid.topMark(c, r % 2)) << c << "," << r;
        }

    // The crossword has shrunk to 3 x 3 with one slot: the corner comes back,
    // and the small grid's changes reach only the corner of the entry.
    GridModel small;
    small.SetDataSource(threeByThree("Zoo\\Cats_1_2"));
    p->RestoreProgress(small);
    EXPECT_EQ(small.cellColourIndex(2, 1), 18);
    EXPECT_EQ(small.leftMark(0, 2), 1);
    EXPECT_EQ(small.topMark(2, 0), 1);
    small.restoreCell(0, 0, DefNo, 0);
    p->SaveProgress(small);
    const CrossState& e = p->states()[0];
    EXPECT_EQ(e.cellState(0, 0), DefNo);
    EXPECT_EQ(e.cellState(4, 3), DefNo);
    EXPECT_EQ(e.leftMark(1, 3), 1);

    GridModel other;
    other.SetDataSource(threeByThree("Zoo\\B_1_1"));
    other.restoreCell(1, 1, DefYes, 3);
    p->SaveProgress(other);
    p->RestoreProgress(other);
    EXPECT_EQ(e.cellState(1, 1), Empty);
    EXPECT_EQ(other.cellColourIndex(1, 1), 3);

    // At shutdown the logo becomes current and is saved like any crossword.
    GridModel logo;
    logo.SetDataSource(threeByThree("logo"));
    logo.ShowSolution();
    ASSERT_TRUE(p->FinishSession(&logo));
    layout.setCellSize(20);
    const auto again = open("Ann", &layout);
    EXPECT_EQ(layout.cellSize(), 27);
    EXPECT_EQ(again->currentId(), "logo");
    EXPECT_EQ(again->states().back().cellState(0, 0), DefYes);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Profile, WritingOnlyWhenSomethingChangedAndKeepingTheOldFileOnFailure)
{
    folder.write("Ann.pfl", signature() + block("SOLV_CROSS", text("kept;")));
    auto p = open();
    EXPECT_TRUE(p->WriteProfileIfChanged()); // the file was not in this program's layout
    int writes = 0;
    setChunkWriterForTesting([&](int fd, const std::uint8_t* data, std::size_t size) {
        ++writes;
        return std::size_t(std::max<ssize_t>(0, ::write(fd, data, size)));
    });
    EXPECT_FALSE(p->WriteProfileIfChanged());
    p->setPlaySeconds("Zoo\\Cats_1_2", 75);
    EXPECT_TRUE(p->WriteProfileIfChanged());
    EXPECT_FALSE(p->WriteProfileIfChanged());
    EXPECT_EQ(writes, 1);
    EXPECT_FALSE(open()->WriteProfileIfChanged()); // read back as it was written

    // A write that stops part way at shutdown is shown as 30007.
    const Bytes before = folder.read("Ann.pfl");
    p->AddSolved("new");
    setChunkWriterForTesting([](int fd, const std::uint8_t* data, std::size_t size) {
        return std::size_t(std::max<ssize_t>(0, ::write(fd, data, std::min<std::size_t>(size, 20))));
    });
    EXPECT_FALSE(p->FinishSession(nullptr));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("error_30007"), std::string::npos);
    EXPECT_EQ(folder.read("Ann.pfl"), before);
}
