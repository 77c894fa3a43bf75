#include "config/Localization.h"

#include "config/BoundedFile.h"
#include "config/CodePage.h"
#include "config/CrossException.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {
Localization* g_table = nullptr;

struct LanguageName {
    unsigned id;
    const char* name;
};

// Windows primary language ids and the lower-case forms of their SDK names;
// language files are named after these.
constexpr LanguageName kLanguageNames[] = {
    {0x01, "arabic"}, {0x02, "bulgarian"}, {0x03, "catalan"}, {0x04, "chinese"},
    {0x05, "czech"}, {0x06, "danish"}, {0x07, "german"}, {0x08, "greek"},
    {0x09, "english"}, {0x0A, "spanish"}, {0x0B, "finnish"}, {0x0C, "french"},
    {0x0D, "hebrew"}, {0x0E, "hungarian"}, {0x0F, "icelandic"}, {0x10, "italian"},
    {0x11, "japanese"}, {0x12, "korean"}, {0x13, "dutch"}, {0x14, "norwegian"},
    {0x15, "polish"}, {0x16, "portuguese"}, {0x18, "romanian"}, {0x19, "russian"},
    {0x1A, "serbian"}, {0x1B, "slovak"}, {0x1C, "albanian"}, {0x1D, "swedish"},
    {0x1E, "thai"}, {0x1F, "turkish"}, {0x20, "urdu"}, {0x21, "indonesian"},
    {0x22, "ukrainian"}, {0x23, "belarusian"}, {0x24, "slovenian"}, {0x25, "estonian"},
    {0x26, "latvian"}, {0x27, "lithuanian"}, {0x29, "farsi"}, {0x2A, "vietnamese"},
    {0x2B, "armenian"}, {0x2C, "azeri"}, {0x2D, "basque"}, {0x2F, "macedonian"},
    {0x37, "georgian"}, {0x38, "faeroese"}, {0x39, "hindi"}, {0x3E, "malay"},
    {0x3F, "kazak"}, {0x40, "kyrgyz"}, {0x41, "swahili"}, {0x43, "uzbek"},
    {0x44, "tatar"}, {0x45, "bengali"}, {0x46, "punjabi"}, {0x47, "gujarati"},
    {0x48, "oriya"}, {0x49, "tamil"}, {0x4A, "telugu"}, {0x4B, "kannada"},
    {0x4C, "malayalam"}, {0x4D, "assamese"}, {0x4E, "marathi"}, {0x4F, "sanskrit"},
    {0x50, "mongolian"}, {0x56, "galician"}, {0x57, "konkani"}, {0x58, "manipuri"},
    {0x59, "sindhi"}, {0x5A, "syriac"}, {0x60, "kashmiri"}, {0x61, "nepali"},
    {0x65, "divehi"},
};

bool hasUtf8Bom(const std::string& bytes)
{
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF
           && static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF;
}

std::string asciiLower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

Localization* Localization::global() { return g_table; }
void Localization::setGlobal(Localization* table)
{
    g_table = table;
    TextLookup::setCurrent(table);
}

std::map<std::string, std::string> Localization::parse(const std::string& bytes)
{
    const bool utf8 = hasUtf8Bom(bytes);
    std::map<std::string, std::string> entries;
    size_t pos = utf8 ? 3 : 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        const bool hasLineFeed = end != std::string::npos;
        if (!hasLineFeed)
            end = bytes.size();
        size_t lineEnd = end;
        // Text mode: a CR LF pair is one line end; a CR elsewhere is a byte
        // of the text.
        if (hasLineFeed && lineEnd > pos && bytes[lineEnd - 1] == '\r')
            --lineEnd;
        // Look for "=" inside this line only: searching the rest of the file
        // for every line without one would make a large file quadratic.
        const size_t eq = size_t(std::find(bytes.begin() + std::ptrdiff_t(pos), bytes.begin() + std::ptrdiff_t(lineEnd), '=')
                                 - bytes.begin());
        if (eq > pos && eq < lineEnd) {
            std::string key = bytes.substr(pos, eq - pos);
            std::string text = bytes.substr(eq + 1, lineEnd - eq - 1);
            if (utf8) {
                key = codepage::fromUtf8(key);
                text = codepage::fromUtf8(text);
            }
            entries[std::move(key)] = std::move(text);
        }
        pos = hasLineFeed ? end + 1 : bytes.size();
    }
    return entries;
}

void Localization::LoadLanguage(const std::string& name)
{
    if (name.empty())
        throw CrossException(30005);
    std::string bytes;
    // Names are 8-bit text; file names on disk are UTF-8. "*.lng" is matched
    // without regard to case, so NAME.LNG is found as well. The first folder
    // that holds the name is the one read.
    const std::string file = codepage::toUtf8(name + ".lng");
    const std::string wanted = asciiLower(file);
    std::filesystem::path path;
    for (const std::string& folder : folders_) {
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::path(folder) / file, ec)) {
            path = std::filesystem::path(folder) / file;
            break;
        }
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (asciiLower(it->path().filename().string()) == wanted) {
                path = it->path();
                break;
            }
        if (!path.empty())
            break;
    }
    if (path.empty())
        throw CrossException(30005, name + ".lng: no such file in the language folder");
    const boundedfile::Result read = boundedfile::read(path.string(), kMaxFileSize, bytes);
    if (!read)
        throw CrossException(30005, codepage::fromUtf8(path.string()) + ": " + read.cause);
    auto entries = parse(bytes);
    // Only a complete read replaces anything.
    entries_ = std::move(entries);
    language_ = name;
    for (const auto& cb : callbacks_)
        cb();
}

std::string Localization::expandLineBreaks(std::string text)
{
    // A replacement never forms a new pair (the line feed is neither a
    // backslash nor an n), so one pass equals replacing the first pair again
    // and again.
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out.push_back('\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string Localization::GetText(const std::string& key, const std::string& defaultText) const
{
    const auto it = entries_.find(key);
    if (it != entries_.end() && !it->second.empty())
        return expandLineBreaks(it->second);
    return expandLineBreaks(defaultText);
}

void Localization::AddLanguageCallback(Callback callback)
{
    callbacks_.push_back(std::move(callback));
}

std::string Localization::DefaultLanguageName(unsigned primaryLanguageId)
{
    for (const LanguageName& entry : kLanguageNames)
        if (entry.id == primaryLanguageId)
            return entry.name;
    return "english";
}

std::vector<std::string> Localization::AvailableLanguages() const
{
    std::vector<std::string> names;
    for (const std::string& folder : folders_) {
        std::error_code ec;
        std::filesystem::directory_iterator it(folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            const std::string file = it->path().filename().string();
            // "*.lng*" matches every name that holds ".lng"; a name with a
            // leading dot is a hidden file and never offered.
            if (file.empty() || file[0] == '.' || asciiLower(file).find(".lng") == std::string::npos)
                continue;
            std::error_code typeError;
            if (!it->is_regular_file(typeError) || typeError)
                continue;
            // Offered as 8-bit text, like every other name the program keeps;
            // loading it converts back to the same file name.
            const std::string ansi = codepage::fromUtf8(file);
            names.push_back(ansi.substr(0, ansi.size() - 4));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = asciiLower(a), lb = asciiLower(b);
        return la != lb ? la < lb : a < b;
    });
    // A language of the player's that is also shipped is offered once.
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
