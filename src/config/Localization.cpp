#include "config/Localization.h"

#include "config/CrossException.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {
Localization* g_table = nullptr;
}

Localization* Localization::global() { return g_table; }
void Localization::setGlobal(Localization* table) { g_table = table; }

std::map<std::string, std::string> Localization::parse(const std::string& bytes)
{
    std::map<std::string, std::string> entries;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        // Text mode: a CR LF pair is one line end.
        if (!line.empty() && line.back() == '\r' && end < bytes.size())
            line.pop_back();
        pos = next;
        const size_t eq = line.find('=');
        if (line.empty() || eq == std::string::npos || eq == 0)
            continue;
        entries[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return entries;
}

void Localization::LoadLanguage(const std::string& name)
{
    if (name.empty())
        throw CrossException(30005);
    std::ifstream in(folder_ + "/" + name + ".lng", std::ios::binary);
    if (!in)
        throw CrossException(30005);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    entries_ = parse(bytes);
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
