#include "formats/PbnXml.h"

#include "formats/XmlReader.h"

#include <cctype>

namespace pbnxml {
namespace {

std::string trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

bool parseRgb(std::string s, RGB& out)
{
    s = trim(s);
    if (!s.empty() && s[0] == '#') s.erase(0, 1);
    if (s.size() != 3 && s.size() != 6) return false;
    RGB v = 0;
    for (char c : s) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : c >= 'a' && c <= 'f'                      ? c - 'a' + 10
                      : c >= 'A' && c <= 'F'                      ? c - 'A' + 10
                                                                  : -1;
        if (d < 0) return false;
        v = v * 16 + RGB(d);
        if (s.size() == 3) v = v * 16 + RGB(d); // "F80" is FF8800
    }
    out = v;
    return true;
}

int findColour(const std::vector<PuzzleColour>& colours, std::string_view name)
{
    for (std::size_t i = 0; i < colours.size(); ++i)
        if (colours[i].name == name) return int(i);
    return -1;
}

// The clue lines of one <clues>; colours are looked up by name.
std::string readClues(const XmlElement& clues, const std::vector<PuzzleColour>& colours, int defaultColour,
                      std::vector<ClueLine>& out)
{
    for (const auto& line : clues.children) {
        if (line->name != "line") continue;
        if (out.size() == std::size_t(Puzzle::kMaxSide)) return "more than 128 lines of clues";
        ClueLine clue;
        for (const auto& count : line->children) {
            if (count->name != "count") continue;
            int colour = defaultColour;
            if (const std::string* c = count->attribute("color")) {
                colour = findColour(colours, *c);
                if (colour < 0) return "unknown colour \"" + c->substr(0, 40) + "\"";
            }
            const std::string digits = trim(count->text);
            if (digits.empty() || digits.size() > 3 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                return "a count is not a number: \"" + digits.substr(0, 20) + "\"";
            const int n = std::stoi(digits);
            if (n == 0) continue;
            if (colour == 0) return "a count in the background colour";
            if (clue.size() == std::size_t(Puzzle::kMaxSide)) return "more than 128 counts in a line";
            clue.push_back({colour, n});
        }
        out.push_back(std::move(clue));
    }
    return {};
}

// "|X..X|\n|.XX.|": rows between bars, one symbol per cell; without bars the
// cells run on and the width cuts them into rows.
std::string readImage(const std::string& text, const std::vector<PuzzleColour>& colours, Puzzle& p)
{
    std::vector<std::vector<std::uint8_t>> rows(1);
    const bool bars = text.find('|') != std::string::npos;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (c == '|') {
            if (!rows.back().empty()) rows.emplace_back();
            continue;
        }
        if (c == '?' || c == '[') return "the goal picture is not complete";
        int v = -1;
        for (std::size_t i = 0; i < colours.size(); ++i)
            if (colours[i].symbol == c) v = int(i);
        if (v < 0) return std::string("the goal picture holds '") + c + "', no colour's character";
        if (rows.back().size() >= std::size_t(Puzzle::kMaxSide) * (bars ? 1 : Puzzle::kMaxSide))
            return "the goal picture is larger than 128 x 128";
        rows.back().push_back(std::uint8_t(v));
    }
    if (rows.back().empty()) rows.pop_back();
    if (!bars && !rows.empty()) {
        if (p.width == 0 || rows[0].size() % std::size_t(p.width) != 0)
            return "the goal picture has no rows";
        std::vector<std::uint8_t> all = std::move(rows[0]);
        rows.clear();
        for (std::size_t i = 0; i < all.size(); i += std::size_t(p.width))
            rows.emplace_back(all.begin() + long(i), all.begin() + long(i) + p.width);
    }
    if (rows.empty()) return "the goal picture is empty";
    if (rows.size() > std::size_t(Puzzle::kMaxSide)) return "the goal picture is larger than 128 x 128";
    for (const auto& r : rows)
        if (r.size() != rows[0].size()) return "the rows of the goal picture differ in length";
    const int w = int(rows[0].size()), h = int(rows.size());
    if ((p.width && p.width != w) || (p.height && p.height != h))
        return "the goal picture is " + std::to_string(w) + " x " + std::to_string(h) + ", the clues " +
               std::to_string(p.width) + " x " + std::to_string(p.height);
    p.width = w;
    p.height = h;
    for (const auto& r : rows) p.goal.insert(p.goal.end(), r.begin(), r.end());
    return {};
}

std::string readPuzzle(const XmlElement& e, Puzzle& p)
{
    if (const std::string* type = e.attribute("type"); type && *type != "grid")
        return "puzzles of type \"" + type->substr(0, 20) + "\" are not grids";
    std::vector<PuzzleColour> colours{{"white", 0xFFFFFF, '.'}, {"black", 0x000000, 'X'}};
    for (const auto& c : e.children) {
        if (c->name != "color") continue;
        const std::string* name = c->attribute("name");
        if (!name || name->empty()) return "a colour without a name";
        PuzzleColour colour{*name, 0, '\0'};
        if (!parseRgb(c->text, colour.rgb)) return "colour \"" + name->substr(0, 40) + "\" is not RGB: " + trim(c->text).substr(0, 20);
        if (const std::string* ch = c->attribute("char")) {
            if (ch->size() != 1 || (*ch)[0] == '|' || (*ch)[0] == '?' || (*ch)[0] == '[' ||
                std::isspace(static_cast<unsigned char>((*ch)[0])))
                return "colour \"" + name->substr(0, 40) + "\" has an unusable character";
            colour.symbol = (*ch)[0];
        }
        if (int i = findColour(colours, *name); i >= 0) {
            if (!colour.symbol) colour.symbol = colours[std::size_t(i)].symbol;
            colours[std::size_t(i)] = colour;
        } else {
            if (colours.size() == 256) return "more than 256 colours";
            colours.push_back(colour);
        }
    }
    const std::string* bgName = e.attribute("backgroundcolor");
    const std::string* fgName = e.attribute("defaultcolor");
    const int bg = findColour(colours, bgName ? *bgName : "white");
    if (bg < 0) return "unknown background colour \"" + bgName->substr(0, 40) + "\"";
    // The background becomes colour 0; the others keep their order.
    std::rotate(colours.begin(), colours.begin() + bg, colours.begin() + bg + 1);
    const int fg = findColour(colours, fgName ? *fgName : "black");
    if (fg < 0 && fgName) return "unknown default colour \"" + fgName->substr(0, 40) + "\"";

    bool haveRows = false, haveColumns = false;
    for (const auto& c : e.children) {
        if (c->name != "clues") continue;
        const std::string* type = c->attribute("type");
        const bool rows = type && *type == "rows";
        if (!rows && !(type && *type == "columns")) return "clues that are neither rows nor columns";
        if (rows ? haveRows : haveColumns) return std::string("two sets of ") + (rows ? "row" : "column") + " clues";
        (rows ? haveRows : haveColumns) = true;
        if (auto err = readClues(*c, colours, fg, rows ? p.rows : p.columns); !err.empty())
            return (rows ? "row clues: " : "column clues: ") + err;
    }
    if (haveRows != haveColumns) return haveRows ? "column clues missing" : "row clues missing";
    p.width = int(p.columns.size());
    p.height = int(p.rows.size());
    for (const auto& c : e.children) {
        if (c->name != "solution") continue;
        const std::string* type = c->attribute("type");
        if (type && *type != "goal") continue; // other solutions and saved games
        const XmlElement* image = c->child("image");
        if (!image) return "a goal without <image>";
        if (auto err = readImage(image->text, colours, p); !err.empty()) return err;
        break;
    }
    if (!haveRows) {
        if (p.goal.empty()) return "no clues and no goal picture";
        p.rows = Puzzle::cluesOf(p.goal, p.width, p.height, true);
        p.columns = Puzzle::cluesOf(p.goal, p.width, p.height, false);
    }
    // Keep only the colours the puzzle uses, so that a set's shared
    // declarations do not make a black-and-white puzzle look coloured.
    std::vector<int> used(colours.size(), 0), renumber(colours.size(), 0);
    used[0] = 1;
    for (const auto* lines : {&p.rows, &p.columns})
        for (const auto& l : *lines)
            for (const auto& r : l) used[std::size_t(r.colour)] = 1;
    for (std::uint8_t v : p.goal) used[v] = 1;
    p.colours.clear();
    for (std::size_t i = 0; i < colours.size(); ++i)
        if (used[i]) {
            renumber[i] = int(p.colours.size());
            p.colours.push_back(colours[i]);
        }
    if (p.colours.size() == 1) p.colours.push_back(colours.size() > 1 ? colours[std::size_t(std::max(fg, 1))] : colours[0]);
    for (auto* lines : {&p.rows, &p.columns})
        for (auto& l : *lines)
            for (auto& r : l) r.colour = renumber[std::size_t(r.colour)];
    for (std::uint8_t& v : p.goal) v = std::uint8_t(renumber[v]);
    return p.check();
}

std::string escape(std::string_view s)
{
    std::string r;
    for (char c : s) {
        if (c == '&') r += "&amp;";
        else if (c == '<') r += "&lt;";
        else if (c == '>') r += "&gt;";
        else if (c == '"') r += "&quot;";
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') r += c;
    }
    return r;
}

std::string hex6(RGB c)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (int shift = 20; shift >= 0; shift -= 4) s += digits[(c >> shift) & 0xF];
    return s;
}

} // namespace

bool read(std::string_view text, std::vector<Entry>& out, std::string& error)
{
    out.clear();
    XmlReader reader(text);
    bool tooMany = false;
    const bool ok = reader.forEach("puzzle", [&](const XmlElement& e) {
        if (out.size() == kMaxPuzzles) {
            tooMany = true;
            return;
        }
        Entry entry;
        if (const XmlElement* t = e.child("title")) entry.name = trim(t->text).substr(0, 200);
        entry.puzzle.title = entry.name;
        if (const XmlElement* id = e.child("id"); id && entry.name.empty()) entry.name = trim(id->text).substr(0, 200);
        if (entry.name.empty()) entry.name = "puzzle " + std::to_string(out.size() + 1);
        entry.error = readPuzzle(e, entry.puzzle);
        if (!entry.error.empty()) entry.puzzle = Puzzle{};
        out.push_back(std::move(entry));
    });
    if (!ok) {
        error = reader.error();
        out.clear();
        return false;
    }
    if (tooMany) {
        error = "more than " + std::to_string(kMaxPuzzles) + " puzzles";
        out.clear();
        return false;
    }
    if (out.empty()) {
        error = "no <puzzle> in it";
        return false;
    }
    return true;
}

std::string write(const std::vector<Puzzle>& puzzles)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<!DOCTYPE pbn SYSTEM \"http://webpbn.com/pbn-0.3.dtd\">\n"
                    "<puzzleset>\n";
    for (const Puzzle& p : puzzles) {
        s += "<puzzle type=\"grid\" defaultcolor=\"" + escape(p.colours[1].name) + "\" backgroundcolor=\"" +
             escape(p.colours[0].name) + "\">\n";
        if (!p.title.empty()) s += "<title>" + escape(p.title) + "</title>\n";
        for (const PuzzleColour& c : p.colours)
            s += "<color name=\"" + escape(c.name) + "\" char=\"" + escape(std::string(1, c.symbol)) + "\">" +
                 hex6(c.rgb) + "</color>\n";
        for (int part = 0; part < 2; ++part) {
            s += part == 0 ? "<clues type=\"columns\">\n" : "<clues type=\"rows\">\n";
            for (const ClueLine& line : part == 0 ? p.columns : p.rows) {
                s += "<line>";
                for (const ClueRun& r : line) {
                    s += r.colour == 1 ? "<count>"
                                       : "<count color=\"" + escape(p.colours[std::size_t(r.colour)].name) + "\">";
                    s += std::to_string(r.length) + "</count>";
                }
                s += "</line>\n";
            }
            s += "</clues>\n";
        }
        if (!p.goal.empty()) {
            s += "<solution type=\"goal\">\n<image>\n";
            for (int y = 0; y < p.height; ++y) {
                s += '|';
                for (int x = 0; x < p.width; ++x)
                    s += p.colours[p.goal[std::size_t(y) * std::size_t(p.width) + std::size_t(x)]].symbol;
                s += "|\n";
            }
            s += "</image>\n</solution>\n";
        }
        s += "</puzzle>\n";
    }
    s += "</puzzleset>\n";
    return s;
}

} // namespace pbnxml
