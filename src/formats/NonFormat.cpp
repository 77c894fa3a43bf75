#include "formats/NonFormat.h"

#include <cctype>

namespace nonformat {
namespace {

// Real files have a few hundred lines; this only keeps absurd ones short.
constexpr int kMaxLines = 100000;

struct Line {
    std::string_view text; // without the line end
    int number = 0;
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string_view unquote(std::string_view s)
{
    s = trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return s;
}

std::string lower(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

std::string at(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
}

// A size or clue number: digits only, at most 3 of them (nothing here is
// above 128), so no overflow and no sign.
bool number(std::string_view s, int& v)
{
    if (s.empty() || s.size() > 3) return false;
    v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

// "3,1,2", "3 1 2" or "0"/"" for an empty line.
bool clueLine(std::string_view s, ClueLine& out)
{
    out.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ',' || s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ',' && s[j] != ' ' && s[j] != '\t') ++j;
        if (j == i) break;
        int v = 0;
        if (!number(s.substr(i, j - i), v)) return false;
        if (v > 0) out.push_back({1, v});
        else if (s.size() > 0 && !out.empty()) return false; // a 0 inside a list
        if (out.size() > std::size_t(Puzzle::kMaxSide)) return false;
        i = j;
    }
    return true;
}

bool isKeywordLine(std::string_view s)
{
    return !s.empty() && std::isalpha(static_cast<unsigned char>(s.front()));
}

} // namespace

bool read(std::string_view text, Puzzle& out, std::string& error)
{
    out = Puzzle{};
    std::vector<Line> lines;
    int number_ = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (l.find('\0') != std::string_view::npos) {
            error = at(number_ + 1, "not a text file");
            return false;
        }
        if (number_ == kMaxLines) {
            error = "more than " + std::to_string(kMaxLines) + " lines";
            return false;
        }
        lines.push_back({trim(l), ++number_});
        if (end == text.size()) break;
        pos = end + 1;
    }
    bool haveRows = false, haveColumns = false;
    std::vector<ClueLine> rows, columns;
    std::string goalText;
    bool goalSeen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (l.text.empty() || l.text.front() == '#') continue;
        std::size_t sp = 0;
        while (sp < l.text.size() && !std::isspace(static_cast<unsigned char>(l.text[sp]))) ++sp;
        const std::string key = lower(l.text.substr(0, sp));
        const std::string_view value = trim(l.text.substr(sp));
        if (key == "width" || key == "height") {
            int v = 0;
            if (!number(value, v) || v < 1 || v > Puzzle::kMaxSide) {
                error = at(l.number, key + " is not 1..128");
                return false;
            }
            (key == "width" ? out.width : out.height) = v;
        } else if (key == "title") {
            out.title = std::string(unquote(value).substr(0, 200));
        } else if (key == "rows" || key == "columns") {
            bool& seen = key == "rows" ? haveRows : haveColumns;
            if (seen) {
                error = at(l.number, "second \"" + key + "\"");
                return false;
            }
            seen = true;
            // The clue lines run up to the next keyword. Blank lines among them
            // are empty clues when that makes the count right, separators
            // otherwise.
            std::vector<const Line*> block;
            std::size_t j = i + 1;
            for (; j < lines.size() && !isKeywordLine(lines[j].text); ++j) {
                if (lines[j].text.size() > 0 && lines[j].text.front() == '#') continue;
                block.push_back(&lines[j]);
                if (block.size() > 4 * std::size_t(Puzzle::kMaxSide)) {
                    error = at(lines[j].number, "more than 128 " + key);
                    return false;
                }
            }
            while (!block.empty() && block.back()->text.empty()) block.pop_back();
            const int want = key == "rows" ? out.height : out.width;
            if (want > 0 && block.size() != std::size_t(want)) {
                std::vector<const Line*> filled;
                for (const Line* b : block)
                    if (!b->text.empty()) filled.push_back(b);
                if (filled.size() == std::size_t(want)) block = filled;
            }
            auto& target = key == "rows" ? rows : columns;
            for (const Line* b : block) {
                ClueLine c;
                if (!clueLine(b->text, c)) {
                    error = at(b->number, "not a clue: \"" + std::string(b->text.substr(0, 40)) + "\"");
                    return false;
                }
                target.push_back(std::move(c));
            }
            i = j - 1;
        } else if (key == "goal") {
            if (goalSeen) continue; // one picture is enough
            goalSeen = true;
            goalText = std::string(unquote(value));
            // The picture may also follow on its own lines of 0s and 1s.
            for (std::size_t j = i + 1; j < lines.size() && !isKeywordLine(lines[j].text); ++j, ++i)
                goalText += lines[j].text;
        }
        // Any other key (by, copyright, catalogue, license, saved, ...) is a
        // note for people.
    }
    if (out.width == 0 || out.height == 0) {
        error = "width or height missing";
        return false;
    }
    if (!haveRows || !haveColumns) {
        error = haveRows ? "\"columns\" missing" : "\"rows\" missing";
        return false;
    }
    out.rows = std::move(rows);
    out.columns = std::move(columns);
    if (goalSeen) {
        const std::size_t cells = std::size_t(out.width) * std::size_t(out.height);
        for (char c : goalText) {
            if (c == '0' || c == '1') {
                if (out.goal.size() == cells) {
                    error = "the goal picture has more than " + std::to_string(cells) + " cells";
                    return false;
                }
                out.goal.push_back(std::uint8_t(c - '0'));
            } else if (c != '"' && !std::isspace(static_cast<unsigned char>(c))) {
                error = std::string("the goal picture holds '") + c + "'";
                return false;
            }
        }
    }
    error = out.check();
    return error.empty();
}

std::string write(const Puzzle& p)
{
    std::string s;
    if (!p.title.empty()) {
        std::string t;
        for (char c : p.title) t += c == '"' || c == '\n' || c == '\r' ? '\'' : c;
        s += "title \"" + t + "\"\n";
    }
    s += "width " + std::to_string(p.width) + "\nheight " + std::to_string(p.height) + "\n";
    for (int part = 0; part < 2; ++part) {
        s += part == 0 ? "\nrows\n" : "\ncolumns\n";
        for (const ClueLine& line : part == 0 ? p.rows : p.columns) {
            if (line.empty()) s += '0';
            for (std::size_t k = 0; k < line.size(); ++k) {
                if (k) s += ',';
                s += std::to_string(line[k].length);
            }
            s += '\n';
        }
    }
    if (!p.goal.empty()) {
        s += "\ngoal \"";
        for (std::uint8_t v : p.goal) s += v ? '1' : '0';
        s += "\"\n";
    }
    return s;
}

} // namespace nonformat
