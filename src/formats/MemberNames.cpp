#include "formats/MemberNames.h"

#include <cctype>

namespace {
constexpr std::size_t kMaxName = 48;

std::string folded(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

std::string safeMemberName(std::string_view title)
{
    std::string out;
    bool gap = false;
    for (char c : title) {
        const auto u = static_cast<unsigned char>(c);
        const bool keep = u < 0x80 && (std::isalnum(u) || c == ' ' || c == '-' || c == '_');
        if (!keep) {
            gap = true;
            continue;
        }
        if (gap && !out.empty() && out.back() != '_' && out.back() != ' ') out += '_';
        gap = false;
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '_')) out.pop_back();
    if (out.size() > kMaxName) {
        out.resize(kMaxName);
        while (!out.empty() && (out.back() == ' ' || out.back() == '_')) out.pop_back();
    }
    return out.empty() ? "Puzzle" : out;
}

std::string uniqueMemberName(const std::string& name, std::set<std::string>& taken)
{
    std::string candidate = name;
    for (int n = 2; taken.count(folded(candidate)); ++n) candidate = name + " " + std::to_string(n);
    taken.insert(folded(candidate));
    return candidate;
}
