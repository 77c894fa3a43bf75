#pragma once

#include "config/TextLookup.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// The texts of the language loaded last. Every shown text is looked up by a
// literal key with a literal English default, so a language file needs only
// the keys it translates. Texts are 8-bit strings in the system's ANSI code
// page; they are converted only where the user interface shows them.
//
// A language file holds one key=text entry per line: the key is everything
// before the first "=", the text everything after it; nothing is trimmed,
// CR LF counts as one line end, a later line of the same key wins, and lines
// without "=" or starting with it define nothing. Lines are read whole,
// however long. A file that starts with the UTF-8 byte-order mark is taken
// as UTF-8 and its keys and texts are converted to the current code page
// (characters the page lacks become '?'), so that every text in memory stays
// in one encoding whatever file it came from.
class Localization : public TextLookup {
public:
    using Callback = std::function<void()>;

    Localization() = default;

    // Replaces the texts by those of "<name>.lng" in the first language
    // folder that holds a readable one, and calls every callback. Raises CrossException 30005 for an empty name or a file that
    // cannot be read; the table is then left exactly as it was and no
    // callback runs.
    void LoadLanguage(const std::string& name);

    // The text for the key, or the default when the key is absent or empty;
    // in both cases every backslash-n pair becomes a line feed.
    std::string GetText(const std::string& key, const std::string& defaultText) const override;

    // Appends a window's callback; it runs after every later successful load,
    // in the order of registration. Registering sets no text by itself.
    void AddLanguageCallback(Callback callback);
    // The name given to the last successful load; empty before the first.
    const std::string& CurrentLanguage() const { return language_; }

    // The language file's base name for a Windows primary language id
    // (0x19 russian, 0x07 german, ...); "english" for ids it does not know.
    static std::string DefaultLanguageName(unsigned primaryLanguageId);

    // The languages a player can choose: every regular, not hidden file of the
    // language folders whose name matches "*.lng*", offered once under its
    // name without the last four characters, sorted by name without regard
    // to letter case (the file system's own order is arbitrary here).
    std::vector<std::string> AvailableLanguages() const;

    // Folders that hold the language files, searched in order: "language"
    // below the working folder unless set (an installed game puts the
    // player's own folder before the shipped one; tests point it elsewhere).
    void setFolder(std::string folder) { folders_ = {std::move(folder)}; }
    void setFolders(std::vector<std::string> folders) { folders_ = std::move(folders); }
    const std::vector<std::string>& folders() const { return folders_; }

    // Parses the contents of a language file into key/text entries.
    static std::map<std::string, std::string> parse(const std::string& bytes);
    static std::string expandLineBreaks(std::string text);

    // Language files larger than this are refused as damaged: no real table
    // comes near it, and reading one whole must not exhaust memory.
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    // The program's one table, owned by the main window; null before it is
    // created and in programs without windows. Setting it also makes it the
    // table errors are shown in.
    static Localization* global();
    static void setGlobal(Localization* table);

private:
    std::map<std::string, std::string> entries_;
    std::vector<Callback> callbacks_;
    std::string language_;
    std::vector<std::string> folders_{"language"};
};
