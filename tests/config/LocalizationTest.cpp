#include "profile/ProfileTestSupport.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/LanguageKeys.h"
#include "config/Localization.h"
#include "profile/UserConfig.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using profiletest::ScratchFolder;

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

// A language table over a scratch language folder.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch.path().empty());
        table.setFolder(scratch.path());
    }
    void write(const std::string& name, const std::string& bytes) { writeBytes(scratch.file(name + ".lng"), bytes); }
    // Writes the file and loads it.
    void load(const std::string& bytes)
    {
        write("test", bytes);
        table.LoadLanguage("test");
    }
    std::string text(const std::string& key) const { return table.GetText(key, "<default>"); }

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
        {"two", "a=b"},
        {"spaced ", " text "},
        {"spaced", "<default>"},
        {"empty", "<default>"},
        {"", "<default>"},
        {"no equals sign at all", "<default>"},
        {"#comment", "is an entry like any other"},
        {"repeated", "last"},
        {"TWO", "<default>"},  // keys compare byte by byte
        {"mid", "x\ry"},       // a CR that does not end a line is text
        {"long", longText},
        {std::string(998, 'k'), "edge"},
        {"lines", "a\nb\nc"},
        {"slashes", "x\\\ny"},  // the pair counts wherever it stands
        {"last", "no line end"},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(text(key), expected) << key;
    EXPECT_EQ(table.GetText("absent", "one\\ntwo"), "one\ntwo");
    EXPECT_EQ(table.GetText("absent", "trailing\\"), "trailing\\");
}

TEST(LanguageParser, ManyLinesWithoutEqualsSignsAreSkippedLineByLine)
{
    // Two hundred thousand lines that define nothing, then one that does:
    // each line is looked at once, not the whole rest of the file per line.
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "no entry\n";
    bytes += "key=found";
    const auto entries = Localization::parse(bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.at("key"), "found");
}

TEST_F(LanguageFolder, LoadingReplacesEverythingAndCallsBackInOrderWithTheNewTexts)
{
    std::vector<std::string> seen;
    table.AddLanguageCallback([&] { seen.push_back("first:" + text("k")); });
    table.AddLanguageCallback([&] { seen.push_back("second:" + text("k")); });
    EXPECT_TRUE(seen.empty()) << "registering sets nothing";
    EXPECT_EQ(table.CurrentLanguage(), "");

    write("one", "k=1\nonly_in_one=yes\n");
    write("two", "k=2\n");
    table.LoadLanguage("one");
    table.LoadLanguage("two");
    EXPECT_EQ(seen, (std::vector<std::string>{"first:1", "second:1", "first:2", "second:2"}));
    EXPECT_EQ(table.CurrentLanguage(), "two");
    EXPECT_EQ(text("only_in_one"), "<default>");
}

TEST_F(LanguageFolder, FailedLoadRaises30005AndKeepsTextsNameAndWindows)
{
    write("good", "k=kept\n");
    int calls = 0;
    table.AddLanguageCallback([&] { ++calls; });
    table.LoadLanguage("good");
    ASSERT_EQ(calls, 1);

    std::filesystem::create_directory(scratch.file("folder.lng"));
    // A file far beyond any real table is refused before it is read.
    writeBytes(scratch.file("huge.lng"), "k=x\n");
    std::filesystem::resize_file(scratch.file("huge.lng"), Localization::kMaxFileSize + 1);

    ::mkfifo(scratch.file("fifo.lng").c_str(), 0600);
    // The message names the file and the cause.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"missing", "missing.lng: no such file"},
        {"folder", "folder.lng: a folder"},
        {"huge", "huge.lng: larger than"},
        {"fifo", "fifo.lng: not a regular file"},
        {"../nowhere/at/all", "all.lng: no such file"}};
    for (const auto& [name, detail] : cases) {
        try {
            table.LoadLanguage(name);
            ADD_FAILURE() << "loaded '" << name << "'";
        } catch (const CrossException& e) {
            EXPECT_EQ(e.code(), 30005) << name;
            EXPECT_NE(e.detail().find(detail), std::string::npos) << e.detail();
        }
        EXPECT_EQ(text("k"), "kept") << name;
        EXPECT_EQ(table.CurrentLanguage(), "good") << name;
    }
    EXPECT_EQ(calls, 1);
}

TEST_F(LanguageFolder, Utf8FileWithByteOrderMarkIsConvertedToTheCodePage)
{
    const int saved = codepage::current();
    ASSERT_TRUE(codepage::setCurrent(1251));
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
    codepage::setCurrent(saved);
}

// Names are 8-bit text in the code page, file names on disk UTF-8: a
// Cyrillic language or player name must find the same file it was saved as.
TEST_F(LanguageFolder, EightBitNamesMeetUtf8FileNames)
{
    const int saved = codepage::current();
    ASSERT_TRUE(codepage::setCurrent(1251));
    // "русский" as a file name in UTF-8.
    const std::string utf8 = "\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9";
    writeBytes(scratch.file(utf8 + ".lng"), "k=v\n");
    const std::vector<std::string> offered = table.AvailableLanguages();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], "\xF0\xF3\xF1\xF1\xEA\xE8\xE9");
    table.LoadLanguage(offered[0]);
    EXPECT_EQ(text("k"), "v");

    UserConfig::Bindings bindings;
    bindings.folder = scratch.path();
    {
        UserConfig profile("\xC8\xE2\xE0\xED", table, bindings); // "Иван"
        profile.WriteProfile();
    }
    EXPECT_TRUE(std::filesystem::exists(scratch.file("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD.pfl")));
    // The next start reads that file and loads its language again.
    write("english", "");
    table.LoadLanguage("english");
    UserConfig again("\xC8\xE2\xE0\xED", table, bindings);
    EXPECT_EQ(table.CurrentLanguage(), offered[0]);
    codepage::setCurrent(saved);
}

TEST(LanguageNames, UnknownIdsAndWholeLocaleIdsFallBackToEnglish)
{
    for (unsigned id : {0x00u, 0x28u, 0x64u, 0xFFu, 0x419u})
        EXPECT_EQ(Localization::DefaultLanguageName(id), "english") << std::hex << id;
}

TEST_F(LanguageFolder, AvailableLanguagesAreRegularLngFilesWithoutTheirLastFourCharacters)
{
    write("english", "");
    write("russian", "");
    writeBytes(scratch.file("german.lngbak1"), "");
    writeBytes(scratch.file("readme.txt"), "");
    writeBytes(scratch.file("notes.ln"), "");
    writeBytes(scratch.file(".hidden.lng"), "");
    std::filesystem::create_directory(scratch.file("folder.lng"));
    writeBytes(scratch.file("OLD.LNG"), "k=old\n"); // case is ignored, as where the format comes from
    EXPECT_EQ(table.AvailableLanguages(), (std::vector<std::string>{"english", "german.lng", "OLD", "russian"}));
    table.LoadLanguage("OLD");
    EXPECT_EQ(table.CurrentLanguage(), "OLD");

    table.setFolder(scratch.file("no such folder"));
    EXPECT_TRUE(table.AvailableLanguages().empty());
}

TEST(ErrorMessages, MissingKeyShowsUnknownErrorAndFileTextsKeepTheirLineBreaks)
{
    ScratchFolder scratch;
    writeBytes(scratch.file("test.lng"), "error_30006=Not a profile.\\nChoose another.\nerror_30007=\n");
    Localization table;
    table.setFolder(scratch.path());
    table.LoadLanguage("test");

    EXPECT_EQ(CrossException(30005).key(), "error_30005");
    EXPECT_EQ(CrossException(30005).messageText(&table), "Unknown error: error_30005");
    EXPECT_EQ(CrossException(30007).messageText(&table), "Unknown error: error_30007");
    EXPECT_EQ(CrossException(30006).messageText(&table), "Not a profile.\nChoose another.");
    EXPECT_EQ(CrossException(30006).messageText(nullptr), "Unknown error: error_30006");

    // Show hands the text of the program's table to the display, once.
    std::vector<std::string> shown;
    CrossException::setDisplay([&](const std::string& text) { shown.push_back(text); });
    Localization::setGlobal(&table);
    const CrossException error(30006);
    error.Show();
    CrossException(12345).Show();
    Localization::setGlobal(nullptr);
    CrossException(30006).Show();
    CrossException::setDisplay(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"Not a profile.\nChoose another.", "Unknown error: error_12345",
                                               "Unknown error: error_30006"}));
    EXPECT_EQ(error.code(), 30006);
}

TEST(Placeholders, ConversionsAreListedInOrderWithTheirFlags)
{
    EXPECT_EQ(formatPlaceholders("a %d b %s c %-5.2f %% %ld"),
              (std::vector<std::string>{"%d", "%s", "%-5.2f", "%ld"}));
    EXPECT_TRUE(formatPlaceholders("100%% sure").empty());
    EXPECT_EQ(formatPlaceholders("end %"), (std::vector<std::string>{"%"}));
}

// ------------------------------------------------------------ shipped files

std::vector<std::filesystem::path> shippedLanguageFiles()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TESSELLOR_SOURCE_DIR "/language"))
        if (entry.is_regular_file() && entry.path().extension() == ".lng")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ShippedLanguages, EachDefinesExactlyTheProgramsKeysKeepingEveryPlaceholder)
{
    const auto files = shippedLanguageFiles();
    std::set<std::string> names;
    for (const auto& file : files)
        names.insert(file.stem().string());
    for (const char* required : {"english", "russian", "german"})
        EXPECT_TRUE(names.count(required)) << required;

    std::set<std::string> programKeys;
    for (const LanguageKey& k : languageKeys())
        EXPECT_TRUE(programKeys.insert(k.key).second) << "listed twice: " << k.key;

    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = readBytes(file);
        // 8-bit files: a UTF-8 file would show as mojibake on the players'
        // systems.
        EXPECT_FALSE(bytes.rfind("\xEF\xBB\xBF", 0) == 0);
        const auto entries = Localization::parse(bytes);
        std::set<std::string> keys;
        for (const auto& [key, text] : entries) {
            keys.insert(key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_EQ(text.find('\r'), std::string::npos) << key;
        }
        for (const std::string& key : programKeys)
            EXPECT_TRUE(keys.count(key)) << "missing: " << key;
        for (const std::string& key : keys)
            EXPECT_TRUE(programKeys.count(key)) << "not a key of the program: " << key;
        // Every non-empty line is an entry: nothing the reader would skip.
        std::istringstream lines(bytes);
        std::string line;
        int count = 0;
        while (std::getline(lines, line))
            if (!line.empty() && line != "\r")
                ++count;
        EXPECT_EQ(count, int(entries.size()));

        for (const LanguageKey& k : languageKeys()) {
            const auto it = entries.find(k.key);
            if (it == entries.end())
                continue;
            EXPECT_EQ(formatPlaceholders(it->second), formatPlaceholders(k.englishDefault)) << k.key;
            if (k.key.rfind("error_", 0) == 0) {
                EXPECT_EQ(it->second.find("Unknown error"), std::string::npos) << k.key;
            }
        }
    }
}

TEST(ShippedLanguages, RussianIsInCp1251AndGermanInCp1252)
{
    // "Игра" and "Über...": a file saved as UTF-8 would show mojibake.
    EXPECT_EQ(Localization::parse(readBytes(TESSELLOR_SOURCE_DIR "/language/russian.lng")).at("main_win_menu_game"),
              "\xC8\xE3\xF0\xE0");
    EXPECT_EQ(Localization::parse(readBytes(TESSELLOR_SOURCE_DIR "/language/german.lng")).at("main_win_menu_about"),
              "\xDC" "ber...");
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
    for (const std::string& key : listed) {
        if (key.rfind("error_", 0) == 0)
            continue;
        EXPECT_TRUE(used.count(key)) << "listed but never asked for: " << key;
    }
}

}  // namespace
