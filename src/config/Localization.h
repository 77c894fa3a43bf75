#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

// The texts of the language loaded last. Every shown text is looked up by a
// literal key with a literal English default, so a language file needs only
// the keys it translates. Texts are 8-bit strings in the system's ANSI code
// page; they are converted only where the user interface shows them.
class Localization {
public:
    using Callback = std::function<void()>;

    Localization() = default;

    // Replaces the texts by those of "language/<name>.lng" and calls every
    // callback. Raises CrossException 30005 for an empty name or a file that
    // cannot be opened; the table is then left exactly as it was.
    void LoadLanguage(const std::string& name);

    // The text for the key, or the default when the key is absent or empty;
    // in both cases every backslash-n pair becomes a line feed.
    std::string GetText(const std::string& key, const std::string& defaultText) const;

    void AddLanguageCallback(Callback callback);
    const std::string& CurrentLanguage() const { return language_; }

    // Folder that holds the language files ("language" below the working
    // folder unless a test points it elsewhere).
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& folder() const { return folder_; }

    // Parses the contents of a language file into key/text entries.
    static std::map<std::string, std::string> parse(const std::string& bytes);
    static std::string expandLineBreaks(std::string text);

    // The program's one table, owned by the main window; null before it is
    // created and in programs without windows.
    static Localization* global();
    static void setGlobal(Localization* table);

private:
    std::map<std::string, std::string> entries_;
    std::vector<Callback> callbacks_;
    std::string language_;
    std::string folder_ = "language";
};
