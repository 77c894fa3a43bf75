#include "profile/ProfileTestSupport.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/LanguageKeys.h"
#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "profile/UserConfig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using profiletest::ScratchFolder;
using Args = std::vector<FormatArg>;

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A language table over a scratch language folder, in the Cyrillic code
// page, where 8-bit texts and UTF-8 differ in every letter.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch.path().empty());
        ASSERT_TRUE(codepage::setCurrent(1251));
        table.setFolder(scratch.path());
    }
    void TearDown() override { codepage::setCurrent(saved); }
    void write(const std::string& name, const std::string& bytes) { writeBytes(scratch.file(name + ".lng"), bytes); }
    // Writes the file and loads it.
    void load(const std::string& bytes)
    {
        write("test", bytes);
        table.LoadLanguage("test");
    }
    std::string text(const std::string& key) const { return table.GetText(key, "<default>"); }

    const int saved = codepage::current();
    ScratchFolder scratch;
    Localization table;
};

TEST_F(LanguageFolder, EntriesAreSplitAtTheFirstEqualsSignUntrimmedWithBackslashNAsLineFeed)
{
    const std::string longText(5000, 'x');
    load("two=a=b\n"
         "spaced = text \n"
         "empty=\n"
         "=starts with equals\n"
         "no equals sign at all\n"
         "\n"
         "#comment=is an entry like any other\n"
         "repeated=first\n"
         "repeated=last\r\n"
         "mid=x\ry\r\n"
         "long=" + longText + "\n" + std::string(998, 'k') + "=edge\n"
         "lines=a\\nb\\nc\n"
         "slashes=x\\\\ny\n"
         "last=no line end");
    const std::pair<std::string, std::string> cases[] = {
        {"two", "a=b"}, {"spaced ", " text "}, {"spaced", "<default>"},
        {"empty", "<default>"}, {"", "<default>"}, {"no equals sign at all", "<default>"},
        {"#comment", "is an entry like any other"}, {"repeated", "last"},
        {"TWO", "<default>"}, // keys compare byte by byte
        {"mid", "x\ry"},      // a CR that does not end a line is text
        {"long", longText}, {std::string(998, 'k'), "edge"},
        {"lines", "a\nb\nc"}, {"slashes", "x\\\ny"}, // the pair counts wherever it stands
        {"last", "no line end"},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(text(key), expected) << key;
    EXPECT_EQ(table.GetText("absent", "one\\ntwo"), "one\ntwo");
    EXPECT_EQ(table.GetText("absent", "trailing\\"), "trailing\\");

    // Lines without an equals sign are skipped one by one, not by searching
    // the rest of the file from each line.
    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += "no entry\n";
    EXPECT_EQ(Localization::parse(many + "key=found"), (std::map<std::string, std::string>{{"key", "found"}}));
}

// A load replaces every text and calls the windows back in order; a failed
// one raises 30005 naming the file and the cause, and changes nothing.
TEST_F(LanguageFolder, LoadingReplacesEverythingAndCallsBackAFailedLoadKeepsAll)
{
    std::vector<std::string> seen;
    table.AddLanguageCallback([&] { seen.push_back("first:" + text("k")); });
    table.AddLanguageCallback([&] { seen.push_back("second:" + text("k")); });
    write("one", "k=1\nonly_in_one=yes\n");
    write("two", "k=2\n");
    table.LoadLanguage("one");
    table.LoadLanguage("two");
    EXPECT_EQ(text("only_in_one"), "<default>");

    std::filesystem::create_directory(scratch.file("folder.lng"));
    // A file far beyond any real table is refused before it is read.
    writeBytes(scratch.file("huge.lng"), "k=x\n");
    std::filesystem::resize_file(scratch.file("huge.lng"), Localization::kMaxFileSize + 1);
    ::mkfifo(scratch.file("fifo.lng").c_str(), 0600);
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"missing", "missing.lng: no such file"},
        {"folder", "folder.lng: a folder"},
        {"huge", "huge.lng: larger than"},
        {"fifo", "fifo.lng: not a regular file"},
        {"../nowhere/at/all", "all.lng: no such file"},
    };
    for (const auto& [name, detail] : cases) {
        try {
            table.LoadLanguage(name);
            ADD_FAILURE() << "loaded '" << name << "'";
        } catch (const CrossException& e) {
            EXPECT_EQ(e.code(), 30005) << name;
            EXPECT_NE(e.detail().find(detail), std::string::npos) << e.detail();
        }
        EXPECT_EQ(text("k"), "2") << name;
        EXPECT_EQ(table.CurrentLanguage(), "two") << name;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"first:1", "second:1", "first:2", "second:2"}));
}

TEST_F(LanguageFolder, Utf8FileWithByteOrderMarkIsConvertedToTheCodePage)
{
    // "Игра" and an em dash in UTF-8; the Greek alpha has no place in 1251.
    load("\xEF\xBB\xBFmain_win_menu_game=\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\n"
         "dash=a\xE2\x80\x94z\n"
         "alpha=\xCE\xB1!\n");
    EXPECT_EQ(text("main_win_menu_game"), "\xC8\xE3\xF0\xE0");
    EXPECT_EQ(text("dash"), "a\x97z");
    EXPECT_EQ(text("alpha"), "?!");

    // Without the mark the same bytes stay as they are.
    load("main_win_menu_game=\xD0\x98\n\xEF\xBB\xBFkey=v\n");
    EXPECT_EQ(text("main_win_menu_game"), "\xD0\x98");
    EXPECT_EQ(text("\xEF\xBB\xBFkey"), "v");
}

// Names are 8-bit text in the code page, file names on disk UTF-8: a
// Cyrillic language or player name must find the same file it was saved as.
TEST_F(LanguageFolder, AvailableLanguagesAreRegularLngFilesByTheirEightBitNames)
{
    for (const char* name : {"english.lng", "german.lngbak1", "readme.txt", "notes.ln", ".hidden.lng"})
        writeBytes(scratch.file(name), "");
    std::filesystem::create_directory(scratch.file("folder.lng"));
    writeBytes(scratch.file("OLD.LNG"), "k=old\n"); // case is ignored, as where the format comes from
    // "русский" as a file name in UTF-8, and in 1251.
    writeBytes(scratch.file("\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.lng"), "k=v\n");
    const std::string russian = "\xF0\xF3\xF1\xF1\xEA\xE8\xE9";
    EXPECT_EQ(table.AvailableLanguages(), (std::vector<std::string>{"english", "german.lng", "OLD", russian}));
    table.LoadLanguage("OLD");
    EXPECT_EQ(table.CurrentLanguage(), "OLD");
    table.LoadLanguage(russian);
    EXPECT_EQ(text("k"), "v");

    UserConfig::Bindings bindings;
    bindings.folder = scratch.path();
    {
        UserConfig profile("\xC8\xE2\xE0\xED", table, bindings); // "Иван"
        profile.WriteProfile();
    }
    EXPECT_TRUE(std::filesystem::exists(scratch.file("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD.pfl")));
    // The next start reads that file and loads its language again.
    table.LoadLanguage("english");
    UserConfig again("\xC8\xE2\xE0\xED", table, bindings);
    EXPECT_EQ(table.CurrentLanguage(), russian);

    table.setFolder(scratch.file("no such folder"));
    EXPECT_TRUE(table.AvailableLanguages().empty());
}

TEST_F(LanguageFolder, ErrorMessagesComeFromTheTableOrNameTheirKey)
{
    load("error_30006=Not a profile.\\nChoose another.\nerror_30007=\n");
    const std::pair<int, std::string> cases[] = {
        {30006, "Not a profile.\nChoose another."},
        {30005, "Unknown error: error_30005"},
        {30007, "Unknown error: error_30007"}, // an empty text is no text
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(CrossException(code).messageText(&table), message) << code;

    // Show hands the text of the program's table, if there is one, to the display.
    std::vector<std::string> shown;
    CrossException::setDisplay([&](const std::string& text) { shown.push_back(text); });
    Localization::setGlobal(&table);
    CrossException(30006).Show();
    Localization::setGlobal(nullptr);
    CrossException(30006).Show();
    CrossException::setDisplay(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"Not a profile.\nChoose another.", "Unknown error: error_30006"}));
}

TEST(SafeFormat, FillsMatchingPlaceholdersInOrder)
{
    EXPECT_EQ(safeFormat("%d : %d", Args{std::int64_t(4), std::int64_t(7)}), "4 : 7");
    EXPECT_EQ(safeFormat(" Category: %s\n Solved - %d", Args{std::string("Zoo"), std::int64_t(3)}),
              " Category: Zoo\n Solved - 3");
    EXPECT_EQ(safeFormat("%.2d:%.2d %.2f %%", Args{std::int64_t(5), std::int64_t(12), 99.5}), "05:12 99.50 %");
    EXPECT_EQ(safeFormat("Total: %d", Args{std::int64_t(5000000000LL)}), "Total: 5000000000");
}

TEST(SafeFormat, WrongOrMissingPlaceholdersStayVisibleAndSafe)
{
    // A text where a number belongs, and the other way round.
    EXPECT_EQ(safeFormat("%s wait %d", Args{std::int64_t(29), std::string("x")}), "%s wait %d");
    EXPECT_EQ(safeFormat("wait %d %d %n", Args{std::int64_t(1)}), "wait 1 %d %n");
    EXPECT_EQ(safeFormat("no placeholder", Args{std::int64_t(1)}), "no placeholder");
    EXPECT_EQ(safeFormat("cut %", Args{}), "cut %");
    EXPECT_EQ(safeFormat("%99999999d", Args{std::int64_t(1)}).size() < 600, true);
}

// Each shipped file defines exactly the program's keys, in 8-bit text (a
// UTF-8 file shows as mojibake on the players' systems) and with every
// placeholder of the English text, so a translated format cannot read a
// wrong argument.
TEST(ShippedLanguages, EachDefinesExactlyTheProgramsKeysKeepingEveryPlaceholder)
{
    // Placeholders are listed in order with their flags.
    EXPECT_EQ(formatPlaceholders("a %d b %s c %-5.2f %% %ld"),
              (std::vector<std::string>{"%d", "%s", "%-5.2f", "%ld"}));
    EXPECT_TRUE(formatPlaceholders("100%% sure").empty());
    EXPECT_EQ(formatPlaceholders("end %"), (std::vector<std::string>{"%"}));

    std::set<std::string> programKeys;
    for (const LanguageKey& k : languageKeys())
        programKeys.insert(k.key);
    // "Igra" in 1251 and "Uber..." in 1252; a missing file fails here too.
    const std::string dir = TESSELLOR_SOURCE_DIR "/language/";
    const std::tuple<std::string, std::string, std::string> encodings[] = {
        {"english", "main_win_menu_game", "Game"},
        {"russian", "main_win_menu_game", "\xC8\xE3\xF0\xE0"},
        {"german", "main_win_menu_about", "\xDC" "ber..."},
    };
    for (const auto& [name, key, text] : encodings)
        EXPECT_EQ(Localization::parse(readBytes(dir + name + ".lng"))[key], text) << name;

    for (const auto& file : std::filesystem::directory_iterator(dir)) {
        if (file.path().extension() != ".lng")
            continue;
        SCOPED_TRACE(file.path().filename().string());
        const std::string bytes = readBytes(file.path());
        EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
        const auto entries = Localization::parse(bytes);
        std::set<std::string> keys;
        for (const auto& [key, text] : entries) {
            keys.insert(key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_EQ(text.find('\r'), std::string::npos) << key;
        }
        EXPECT_THAT(keys, ::testing::ContainerEq(programKeys));
        // Every non-empty line is an entry: nothing the reader would skip.
        std::istringstream lines(bytes);
        int count = 0;
        for (std::string line; std::getline(lines, line);)
            count += !line.empty() && line != "\r";
        EXPECT_EQ(count, int(entries.size()));
        for (const LanguageKey& k : languageKeys())
            if (entries.count(k.key)) {
                EXPECT_EQ(formatPlaceholders(entries.at(k.key)), formatPlaceholders(k.englishDefault)) << k.key;
            }
    }
}

// Every key written as a literal in the program's sources is in the key
// list, and every listed key is asked for somewhere, so the shipped files
// cannot drift from the code.
TEST(ShippedLanguages, KeyListMatchesTheKeyLiteralsOfTheSources)
{
    const std::regex literal(
        "\"((main_win|suggest_button|cell_state|tree_view_hint|preference_win|profile_win|select_cross|common_str|"
        "solved_info|preview_win|about|help_win|import|error)_[a-z0-9_]*[a-z0-9])\"");
    std::set<std::string> used;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TESSELLOR_SOURCE_DIR "/src")) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h") || entry.path().filename() == "LanguageKeys.cpp")
            continue;
        const std::string source = readBytes(entry.path());
        for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
            used.insert((*it)[1]);
    }
    std::set<std::string> listed;
    for (const LanguageKey& k : languageKeys())
        listed.insert(k.key);
    for (const std::string& key : used)
        EXPECT_TRUE(listed.count(key)) << "used but not listed: " << key;
    // The error keys are put together from the code at run time.
    for (const std::string& key : listed)
        EXPECT_TRUE(key.rfind("error_", 0) == 0 || used.count(key)) << "listed but never asked for: " << key;
}

}  // namespace
