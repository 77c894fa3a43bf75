#include "config/CrossException.h"
#include "config/Localization.h"
#include "profile/UserConfig.h"
#include "grid/GridLayout.h"
#include "grid/GridModel.h"
#include "ProfileTestSupport.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using namespace profiletest;
using testgrids::crossword;

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

    UserConfig::Bindings bindings(GridLayout* layout = nullptr)
    {
        UserConfig::Bindings b;
        b.layout = layout;
        b.folder = folder.path();
        b.showPreview = [this](bool on) { previewCalls.push_back(on); };
        return b;
    }
    std::unique_ptr<UserConfig> open(const std::string& name = "Ann", GridLayout* layout = nullptr)
    {
        return std::make_unique<UserConfig>(name, language, bindings(layout));
    }
    ProfileData written(const std::string& name = "Ann")
    {
        const Bytes b = folder.read(name + ".pfl");
        return readProfileBytes(b.data(), b.size());
    }
    static bool contains(const Bytes& haystack, const Bytes& needle)
    {
        return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
    }

    ScratchFolder folder;
    Localization language;
    std::vector<std::string> shown;
    std::vector<bool> previewCalls;
};

// 5 columns, 4 rows; at most 2 blocks in a row, 2 in a column.
CrossData fiveByFour(const std::string& name)
{
    return crossword({"#.#..", "##.#.", ".....", "#...#"}, name);
}

// 3 columns, 3 rows, one block per line.
CrossData threeByThree(const std::string& name)
{
    return crossword({"#..", ".#.", "..#"}, name);
}

void makeCurrent(UserConfig& p, const GridModel& g)
{
    const CrossData& d = *g.data();
    p.SetCurrent(d.name, d.width, d.height, d.maxRowClues, d.maxColClues);
}

} // namespace

TEST_F(Profile, NewPlayerWritesNoCurrentCrosswordAndTheLanguage)
{
    auto p = open();
    EXPECT_EQ(p->current(), -1);
    EXPECT_EQ(p->currentId(), "");
    EXPECT_TRUE(previewCalls.empty());
    EXPECT_TRUE(p->FinishSession(nullptr));
    const Bytes file = folder.read("Ann.pfl");
    EXPECT_TRUE(contains(file, shortBlock("ACTV_CROSS", 0xFFFF)));
    EXPECT_TRUE(contains(file, block("LANG______", text("english"))));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Profile, SettingsSurviveARoundTrip)
{
    GridLayout grid;
    {
        auto p = open("Ann", &grid);
        p->setAutoMark(true);
        p->setShowHover(false);
        p->setPreviewShown(true);
        p->AddSolved("Zoo\\Cats_1_2");
        grid.setCellSize(27);
        language.LoadLanguage("deutsch");
        ASSERT_TRUE(p->FinishSession(nullptr));
    }
    language.LoadLanguage("english");
    GridLayout other;
    auto p = open("Ann", &other);
    EXPECT_TRUE(p->autoMark());
    EXPECT_FALSE(p->showHover());
    EXPECT_TRUE(p->previewShown());
    EXPECT_EQ(previewCalls, std::vector<bool>{true});
    EXPECT_EQ(other.cellSize(), 27);
    EXPECT_EQ(language.CurrentLanguage(), "deutsch");
    EXPECT_TRUE(p->IsSolved("zoo\\cats_1_2"));
}

TEST_F(Profile, StoredCellSizeGoesToTheGridOrStaysWithTheProfile)
{
    folder.write("Ann.pfl", signature() + shortBlock("SIZE______", 31));
    GridLayout grid;
    grid.setCellSize(20);
    open("Ann", &grid);
    EXPECT_EQ(grid.cellSize(), 12);

    folder.write("Bob.pfl", signature() + shortBlock("SIZE______", 4));
    EXPECT_EQ(open("Bob")->cellSize(), 4);
}

// Names outside the language folder, or cut short by a zero byte, count as
// missing too.
TEST_F(Profile, MissingLanguageKeepsTheCurrentOneAndSaysSoOnce)
{
    std::ofstream(folder.file("secret.lng")) << "error_30005=secret\n";
    folder.write("Ann.pfl", signature() + block("LANG______", text("klingon")) + shortBlock("SIZE______", 9) +
                                block("LANG______", text("../secret")) +
                                block("LANG______", text(std::string("deutsch\0.x", 10))) +
                                block("LANG______", {}) + shortBlock("AUTOMARK__", 1));
    std::unique_ptr<UserConfig> p;
    ASSERT_NO_THROW(p = open());
    EXPECT_EQ(language.CurrentLanguage(), "english");
    EXPECT_EQ(shown, std::vector<std::string>{"No language"});
    // The rest of the file was read all the same.
    EXPECT_EQ(p->cellSize(), 9);
    EXPECT_TRUE(p->autoMark());
    // Written back with the language the player now has, so the next start
    // is clean.
    ASSERT_TRUE(p->FinishSession(nullptr));
    EXPECT_EQ(written().languages, std::vector<std::string>{"english"});
    shown.clear();
    open();
    EXPECT_TRUE(shown.empty());
}

TEST_F(Profile, NotAProfileFileRaises30006AndIsLeftAlone)
{
    const Bytes junk = text("PK\3\4 some archive");
    folder.write("Ann.pfl", junk);
    int code = 0;
    try {
        open();
    } catch (const CrossException& e) {
        code = e.code();
    }
    EXPECT_EQ(code, 30006);
    EXPECT_EQ(folder.read("Ann.pfl"), junk);
}

// A profile that is no regular file once froze the game (a FIFO) or ate
// memory without end (a link to /dev/zero). Each keeps the defaults, the
// player is told which file and why, and nothing replaces it at the end.
TEST_F(Profile, ProfileThatIsNoRegularFileIsNamedKeptAndNotRead)
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
        std::unique_ptr<UserConfig> p;
        ASSERT_NO_THROW(p = open());
        EXPECT_TRUE(p->states().empty());
        ASSERT_EQ(shown.size(), 1u) << cause;
        EXPECT_NE(shown[0].find(path + ": " + cause), std::string::npos) << shown[0];
        EXPECT_FALSE(p->FinishSession(nullptr));
        const bool regular = std::filesystem::is_regular_file(std::filesystem::symlink_status(path));
        EXPECT_TRUE(!regular || std::filesystem::file_size(path) == kMaxProfileBytes + 1) << cause;
    }
    std::filesystem::remove_all(path);
}

TEST_F(Profile, PreviewBlockIsHandedToTheWindowOnce)
{
    folder.write("Ann.pfl", signature() + shortBlock("PREVIEW___", 1) + shortBlock("PREVIEW___", 2));
    auto p = open();
    EXPECT_EQ(previewCalls, std::vector<bool>{false});
    EXPECT_FALSE(p->previewShown());
}

TEST_F(Profile, SetCurrentFindsTheExactIdOrAppends)
{
    auto p = open();
    p->SetCurrent("Zoo\\A_1_1", 5, 4, 2, 3);
    p->SetCurrent("Zoo\\B_1_1", 1, 1, 1, 1);
    EXPECT_EQ(p->current(), 1);
    p->SetCurrent("Zoo\\A_1_1", 9, 9, 9, 9);
    EXPECT_EQ(p->current(), 0);
    EXPECT_EQ(p->currentId(), "Zoo\\A_1_1");
    ASSERT_EQ(p->states().size(), 2u);
    // The entry keeps the sizes it was made with.
    EXPECT_EQ(p->states()[0].width(), 5);
    EXPECT_EQ(p->states()[0].columnClueCount(), 3);
    // Letter case counts for progress.
    p->SetCurrent("zoo\\a_1_1", 2, 2, 1, 1);
    EXPECT_EQ(p->current(), 2);
    EXPECT_TRUE(p->HasProgress("Zoo\\A_1_1"));
    EXPECT_FALSE(p->HasProgress("ZOO\\A_1_1"));
    // An id the file cannot hold leaves no current entry and adds none.
    p->SetCurrent("bad;id", 1, 1, 1, 1);
    EXPECT_EQ(p->current(), -1);
    EXPECT_EQ(p->states().size(), 3u);
}

TEST_F(Profile, SolvedListIgnoresLetterCaseAndFeedsTheCatalogue)
{
    auto p = open();
    p->AddSolved("Zoo\\\xC9lan_1_2");
    p->AddSolved("zoo\\\xE9LAN_1_2");
    p->AddSolved("logo\\x;y");
    EXPECT_EQ(p->solved(), std::vector<std::string>{"Zoo\\\xC9lan_1_2"});
    p->SetCurrent("Zoo\\Other_1_1", 1, 1, 1, 1);

    const ProfileMarks marks = p->catalogueMarks();
    EXPECT_TRUE(marks.isSolved("ZOO\\\xC9LAN_1_2"));
    EXPECT_FALSE(marks.isSolved("Zoo\\Other_1_1"));
    EXPECT_TRUE(marks.hasProgress("Zoo\\Other_1_1"));
    EXPECT_FALSE(marks.hasProgress("zoo\\other_1_1"));
}

TEST_F(Profile, ProgressTravelsBetweenGridAndFile)
{
    GridModel grid;
    grid.SetDataSource(fiveByFour("Zoo\\Cats_1_2"));
    {
        auto p = open("Ann");
        makeCurrent(*p, grid);
        grid.restoreCell(0, 0, DefYes, 5);
        grid.restoreCell(4, 3, DefNo, 0);
        grid.restoreCell(2, 1, Mark, 18);
        grid.setLeftMark(1, 3, 1);
        grid.setTopMark(3, 0, 1);
        ASSERT_TRUE(p->FinishSession(&grid));
    }
    GridModel fresh;
    fresh.SetDataSource(fiveByFour("Zoo\\Cats_1_2"));
    auto p = open("Ann");
    EXPECT_EQ(p->currentId(), "Zoo\\Cats_1_2");
    p->RestoreProgress(fresh);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(fresh.cellState(c, r), grid.cellState(c, r)) << c << "," << r;
            EXPECT_EQ(fresh.cellColourIndex(c, r), grid.cellColourIndex(c, r)) << c << "," << r;
        }
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(fresh.leftMark(s, i), grid.leftMark(s, i));
            EXPECT_EQ(fresh.topMark(i, s), grid.topMark(i, s));
        }
}

TEST_F(Profile, OnlyTheOverlapIsCopiedWhenSizesDiffer)
{
    auto p = open();
    // The entry was made when the crossword was 3 x 3 with one clue slot.
    GridModel small;
    small.SetDataSource(threeByThree("Zoo\\Grown_1_1"));
    makeCurrent(*p, small);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            small.restoreCell(c, r, DefYes, 7);
    small.setLeftMark(0, 2, 1);
    small.setTopMark(2, 0, 1);
    p->SaveProgress(small);

    // Now it is 5 x 4 with two slots: the entry fills the corner only.
    GridModel big;
    big.SetDataSource(fiveByFour("Zoo\\Grown_1_1"));
    makeCurrent(*p, big);
    EXPECT_EQ(p->states().size(), 1u);
    p->RestoreProgress(big);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(big.cellState(c, r), c < 3 && r < 3 ? DefYes : Empty) << c << "," << r;
    EXPECT_EQ(big.cellColourIndex(2, 2), 7);
    EXPECT_EQ(big.leftMark(0, 2), 1);
    EXPECT_EQ(big.leftMark(1, 2), 0);
    EXPECT_EQ(big.topMark(2, 0), 1);

    // And back: the big grid's changes reach the entry only where it has room.
    big.restoreCell(0, 0, DefNo, 0);
    big.restoreCell(4, 3, Mark, 2);
    big.setTopMark(1, 1, 1);
    p->SaveProgress(big);
    const CrossState& e = p->states()[0];
    EXPECT_EQ(e.width(), 3);
    EXPECT_EQ(e.cellState(0, 0), DefNo);
    EXPECT_EQ(e.cellState(2, 2), DefYes);
    EXPECT_EQ(e.columnClueCount(), 1);
}

TEST_F(Profile, NoCopyWithoutAMatchingCurrentEntry)
{
    // ACTV_CROSS FF FF names no entry: the program starts on the logo.
    Bytes rec;
    CrossState("Zoo\\A_1_1", 3, 3, 1, 1).appendRecord(rec);
    folder.write("Ann.pfl", signature() + shortBlock("ACTV_CROSS", 0xFFFF) + block("CROSS_DATA", rec));
    auto p = open();
    EXPECT_EQ(p->current(), 65535);
    EXPECT_EQ(p->currentId(), "");
    EXPECT_EQ(p->currentState(), nullptr);

    GridModel grid;
    grid.SetDataSource(threeByThree("Zoo\\A_1_1"));
    grid.restoreCell(1, 1, DefYes, 3);
    p->SaveProgress(grid);
    EXPECT_EQ(p->states()[0].cellState(1, 1), Empty);

    // A current entry of another crossword than the grid's takes nothing and
    // gives nothing.
    p->SetCurrent("Zoo\\A_1_1", 3, 3, 1, 1);
    GridModel other;
    other.SetDataSource(threeByThree("Zoo\\B_1_1"));
    other.restoreCell(1, 1, DefYes, 3);
    p->SaveProgress(other);
    EXPECT_EQ(p->states()[0].cellState(1, 1), Empty);
    p->SaveProgress(grid);
    p->RestoreProgress(other);
    EXPECT_EQ(other.cellColourIndex(1, 1), 3);
    EXPECT_EQ(p->states()[0].cellState(1, 1), DefYes);
}

TEST_F(Profile, ShutdownSavesTheLogoAsCurrent)
{
    GridModel grid;
    grid.SetDataSource(threeByThree("logo"));
    grid.ShowSolution();
    auto p = open("Ann");
    p->SetCurrent("Zoo\\A_1_1", 3, 3, 1, 1);
    ASSERT_TRUE(p->FinishSession(&grid));
    const ProfileData d = written();
    ASSERT_EQ(d.states().size(), 2u);
    EXPECT_EQ(d.current, 1);
    EXPECT_EQ(d.states()[1].id(), "logo");
    EXPECT_EQ(d.states()[1].cellState(0, 0), DefYes);
}

TEST_F(Profile, FailedShutdownWriteShows30007AndKeepsTheOldFile)
{
    const Bytes old = signature() + block("SOLV_CROSS", text("kept;"));
    folder.write("Ann.pfl", old);
    auto p = open();
    p->AddSolved("new");
    setChunkWriterForTesting([](int fd, const std::uint8_t* data, std::size_t size) {
        const ssize_t n = ::write(fd, data, std::min<std::size_t>(size, 20));
        return std::size_t(n > 0 ? n : 0);
    });
    EXPECT_FALSE(p->FinishSession(nullptr));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("error_30007"), std::string::npos);
    EXPECT_EQ(folder.read("Ann.pfl"), old);
}

TEST_F(Profile, NameThatIsNotAFileNameNeverWritesOutsideTheFolder)
{
    std::filesystem::create_directory(folder.file("inner"));
    UserConfig::Bindings b = bindings();
    b.folder = folder.file("inner");
    UserConfig p("../escaped", language, b);
    int code = 0;
    try {
        p.WriteProfile();
    } catch (const CrossException& e) {
        code = e.code();
    }
    EXPECT_EQ(code, 30007);
    EXPECT_FALSE(std::filesystem::exists(folder.file("escaped.pfl")));
}

TEST_F(Profile, WritingWhilePlayingOnlyWhenSomethingChanged)
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
    p->setWindow({1, 2, 300, 200, false});
    EXPECT_TRUE(p->WriteProfileIfChanged());
    EXPECT_FALSE(p->WriteProfileIfChanged());
    EXPECT_EQ(writes, 1);

    auto again = open();
    EXPECT_EQ(again->playSeconds("Zoo\\Cats_1_2"), 75u);
    EXPECT_EQ(again->playSeconds("other"), 0u);
    EXPECT_EQ(again->window(), (WindowPlacement{1, 2, 300, 200, false}));
    EXPECT_TRUE(again->IsSolved("kept"));
    EXPECT_FALSE(again->WriteProfileIfChanged()); // read back as it was written
}
