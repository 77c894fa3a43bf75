// "build": makes a pack from a folder tree of crossword pictures.
#include "Command.h"
#include "Inputs.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/PackWriter.h"
#include "data/Pack.h"
#include "grid/GridModel.h"
#include "solver/Clues.h"
#include "solver/CompleteSolver.h"
#include "solver/Rating.h"
#include "solver/Solver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#ifdef TESSELLOR_TOOL_HAS_QTGUI
#include <QImage>
#include <QString>
#endif

namespace fs = std::filesystem;

namespace {

struct Source {
    fs::path file;
    std::string member; // archive path without "_C_L.ql"
    CrossData data;
    int level = -1;     // given by the author, -1 when the solver rates it
};

// Cell characters of a text grid: '.' background, '#' dark grey, '1'..'9' and
// 'a'..'i' palette entries 1..18, plus the letters a "colours:" header names.
int charToIndex(char c, const std::map<char, int>& extra)
{
    if (auto it = extra.find(c); it != extra.end()) return it->second;
    if (c == '.') return 0;
    if (c == '#') return 3;
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'i') return c - 'a' + 10;
    return -1;
}

bool parseColours(const std::string& text, std::map<char, int>& extra, std::string& error)
{
    std::istringstream in(text);
    std::string item;
    while (in >> item) {
        if (item.size() < 3 || item[1] != '=' || !(item[0] >= 'A' && item[0] <= 'Z')) {
            error = "colours: entries are LETTER=INDEX with an upper-case letter, not '" + item + "'";
            return false;
        }
        char* end = nullptr;
        long v = std::strtol(item.c_str() + 2, &end, 10);
        if (*end != '\0' || v < 1 || v > 18) {
            error = "colours: index of '" + item + "' is not 1..18";
            return false;
        }
        extra[item[0]] = int(v);
    }
    return true;
}

// Text grid: optional header lines "key: value" ("level: N", "colours: R=11
// G=9 ..."; others are notes), then one line per row of cells.
bool readText(const fs::path& p, Source& s, std::string& error)
{
    std::ifstream in(p, std::ios::binary);
    if (!in) { error = "cannot open"; return false; }
    std::string line;
    std::vector<std::string> rows;
    std::map<char, int> extra;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::string::size_type colon = line.find(':');
        if (colon != std::string::npos && rows.empty()) {
            std::string key = line.substr(0, colon), value = line.substr(colon + 1);
            if (key == "level") {
                char* end = nullptr;
                long v = std::strtol(value.c_str(), &end, 10);
                while (*end == ' ') ++end;
                if (*end != '\0' || v < 0 || v > 3) { error = "level is not 0..3"; return false; }
                s.level = int(v);
            } else if (key == "colours" && !parseColours(value, extra, error)) {
                return false;
            }
            continue;
        }
        rows.push_back(line);
    }
    if (rows.empty()) { error = "no rows"; return false; }
    std::size_t w = rows[0].size();
    if (w == 0 || w > std::size_t(CrossData::kMaxSide) || rows.size() > std::size_t(CrossData::kMaxSide)) {
        error = "size outside 1..128";
        return false;
    }
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, 0, std::uint8_t(w), 0, std::uint8_t(rows.size())};
    for (const auto& r : rows) {
        if (r.size() != w) { error = "rows of different lengths"; return false; }
        for (char c : r) {
            int v = charToIndex(c, extra);
            if (v < 0) { error = std::string("unknown cell character '") + c + "'"; return false; }
            bytes.push_back(std::uint8_t(v));
        }
    }
    try {
        s.data.readBytes(bytes.data(), bytes.size());
    } catch (const CrossException&) {
        error = "more than 127 blocks in a line";
        return false;
    }
    return true;
}

#ifdef TESSELLOR_TOOL_HAS_QTGUI
struct ImageSource : PixelSource {
    QImage img;
    int width() const override { return img.width(); }
    int height() const override { return img.height(); }
    std::uint32_t rgb(int x, int y) const override { return std::uint32_t(img.pixel(x, y)) & 0xFFFFFF; }
};
#endif

bool validUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2)
                return false;
        i += n;
    }
    return true;
}

// A source whose member the game could not open, or whose progress the
// profile could not keep, is refused here rather than shipped.
std::string nameProblem(const std::string& member)
{
    if (member.find('\\') != std::string::npos)
        return "a backslash in the name (the game reads it as a folder separator)";
    if (!validUtf8(member))
        return "the name is not UTF-8";
    // The name as the game will hold it, with the flags the member gets.
    return pack::memberNameProblem(pack::programMemberName(member + "_0_0.ql"));
}

// Whether the picture is the only one its clues allow; says why not.
bool onlySolution(const CrossData& data, double timeLimit, std::string& why)
{
    Clues clues;
    if (!Clues::fromCrossword(data, clues)) {
        why = "more than 18 colours";
        return false;
    }
    CompleteSolver solver(clues);
    const SolveCount count = solver.solve({timeLimit, 0});
    if (count.solutions >= 2) {
        for (int y = 0; y < data.height; ++y)
            for (int x = 0; x < data.width; ++x) {
                const std::size_t i = std::size_t(y) * std::size_t(data.width) + std::size_t(x);
                if (count.first[i] != count.second[i]) {
                    why = "more than one picture fits its clues; two of them differ first at column "
                        + std::to_string(x + 1) + ", row " + std::to_string(y + 1) + " (counted from 1 at the top left)";
                    return false;
                }
            }
    }
    if (count.stopped) {
        char text[96];
        std::snprintf(text, sizeof text, "not settled within %g s whether other pictures fit its clues", timeLimit);
        why = text;
        return false;
    }
    if (count.solutions == 1) {
        for (int y = 0; y < data.height; ++y)
            for (int x = 0; x < data.width; ++x)
                if (count.first[std::size_t(y) * std::size_t(data.width) + std::size_t(x)]
                    != std::max(data.value(x, y), 0)) {
                    why = "the solver's only solution is not the picture (please report this)";
                    return false;
                }
        return true;
    }
    why = "no picture fits its clues (please report this)";
    return false;
}

int run(const std::vector<std::string>& args)
{
    int givenLevel = -1;
    bool solve = true;
    bool verbose = false;
    double timeLimit = 60;
    std::vector<std::string> pos;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--level" && i + 1 < args.size()) {
            givenLevel = std::atoi(args[++i].c_str());
            if (givenLevel < 0 || givenLevel > 3) { std::cerr << "tessellor-tool build: --level takes 0..3\n"; return 2; }
        } else if (args[i] == "--no-solve") {
            solve = false;
        } else if (args[i] == "--time-limit" && i + 1 < args.size()) {
            char* end = nullptr;
            timeLimit = std::strtod(args[++i].c_str(), &end);
            if (*end || !(timeLimit >= 0) || timeLimit > 1e6) {
                std::cerr << "tessellor-tool build: --time-limit takes seconds (0 for none)\n";
                return 2;
            }
        } else if (args[i] == "--verbose") {
            verbose = true;
        } else {
            pos.push_back(args[i]);
        }
    }
    if (pos.size() != 2) {
        std::cerr << "usage: tessellor-tool build [--level N] [--no-solve] [--time-limit S] [--verbose] SOURCE_DIR OUT.qlp\n";
        return 2;
    }
    fs::path srcDir = pos[0];
    std::vector<fs::path> files;
    std::error_code ec;
    if (!fs::is_directory(srcDir, ec)) { std::cerr << "tessellor-tool build: " << srcDir << " is not a folder\n"; return 1; }
    for (fs::recursive_directory_iterator it(srcDir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) files.push_back(it->path());
    if (ec) { std::cerr << "tessellor-tool build: cannot read " << srcDir << "\n"; return 1; }
    // Byte order of the relative paths: the member order is the same on every
    // machine and file system.
    std::sort(files.begin(), files.end(),
              [&](const fs::path& a, const fs::path& b) { return a.generic_string() < b.generic_string(); });
    std::vector<Source> sources;
    bool failed = false;
    for (const fs::path& f : files) {
        std::string ext = f.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        Source s;
        s.file = f;
        std::string rel = fs::relative(f, srcDir).replace_extension().generic_string();
        s.member = rel;
        std::string error;
        if ((ext == ".txt" || ext == ".png" || ext == ".bmp") && !(error = nameProblem(rel)).empty()) {
            std::cerr << f.string() << ": " << error << "\n";
            failed = true;
            continue;
        }
        if (ext == ".txt") {
            if (!readText(f, s, error)) { std::cerr << f.string() << ": " << error << "\n"; failed = true; continue; }
        } else if (ext == ".png" || ext == ".bmp") {
#ifdef TESSELLOR_TOOL_HAS_QTGUI
            ImageSource img;
            if (!img.img.load(QString::fromStdString(f.string()))) { std::cerr << f.string() << ": cannot load picture\n"; failed = true; continue; }
            try {
                s.data.fromPicture(img, fs::path(rel).filename().string());
            } catch (const CrossException&) {
                std::cerr << f.string() << ": size outside 1..128\n";
                failed = true;
                continue;
            }
#else
            std::cerr << f.string() << ": pictures need the tool built with QtGui\n";
            failed = true;
            continue;
#endif
        } else {
            continue;
        }
        if (s.level < 0) s.level = givenLevel;
        if (solve) {
            std::string why;
            if (!onlySolution(s.data, timeLimit, why)) {
                std::cerr << f.string() << ": " << why << "\n";
                failed = true;
                continue;
            }
            SolveReport report;
            const int level = rateLevel(s.data, report);
            if (verbose)
                std::cout << rel << "  " << s.data.width << " x " << s.data.height << "  "
                          << Solver::resultName(report.result) << "  tries " << report.tries << "  placements "
                          << report.placements << "  level " << level << "\n";
            if (s.level < 0) s.level = level;
        }
        if (s.level < 0) {
            std::cerr << f.string() << ": level 0..3 missing (header \"level: N\" or --level; --no-solve does not rate)\n";
            failed = true;
            continue;
        }
        sources.push_back(std::move(s));
    }
    if (failed) return 1;
    std::string out = pos[1];
    std::vector<packwriter::Member> members;
    for (Source& s : sources)
        members.push_back({s.member + "_" + (isColourCrossword(s.data) ? "1" : "0") + "_" + std::to_string(s.level) + ".ql",
                           s.data.toFileBytes()});
    std::string error;
    if (!packwriter::write(out, members, error)) {
        std::cerr << "tessellor-tool build: " << error << "\n";
        return 1;
    }
    std::cout << sources.size() << " crosswords written to " << out << "\n";
    return 0;
}

} // namespace

bool readPictureFile(const std::string& path, CrossData& out, std::string& error)
{
    const fs::path p(path);
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (ext == ".txt") {
        Source s;
        if (!readText(p, s, error)) return false;
        out = std::move(s.data);
        return true;
    }
    if (ext == ".png" || ext == ".bmp") {
#ifdef TESSELLOR_TOOL_HAS_QTGUI
        ImageSource img;
        if (!img.img.load(QString::fromStdString(path))) { error = "cannot load picture"; return false; }
        try {
            out.fromPicture(img, p.stem().string());
        } catch (const CrossException&) {
            error = "size outside 1..128";
            return false;
        }
        return true;
#else
        error = "pictures need the tool built with QtGui";
        return false;
#endif
    }
    error = "neither a puzzle (.non, .xml) nor a picture (.txt, .png, .bmp)";
    return false;
}

namespace {

Command::Registrar reg({"build", "make a pack from a folder of pictures",
                        "tessellor-tool build [--level N] [--no-solve] [--time-limit S] [--verbose] SOURCE_DIR OUT.qlp\n"
                        "  Every .txt (text grid), .png or .bmp below SOURCE_DIR becomes one crossword,\n"
                        "  member FOLDERS/TITLE_C_L.ql (the file's path below SOURCE_DIR without its\n"
                        "  extension, then the flags). Members are written in byte order of their paths\n"
                        "  with a fixed time stamp, so a rebuild gives the same pack.\n"
                        "  C, the colour flag, is 1 when any filled cell is not the dark grey (index 3).\n"
                        "  Pictures go through the palette as the game maps colours.\n"
                        "\n"
                        "  Text grid: optional header lines first, then one line per row, every row as\n"
                        "  long as the first; empty lines are ignored. Cells: '.' background, '#' dark\n"
                        "  grey (3), '1'..'9' palette entries 1..9, 'a'..'i' entries 10..18.\n"
                        "  Headers:  level: N             the level 0..3, instead of the rating\n"
                        "            colours: R=11 G=9    upper-case letters standing for entries 1..18\n"
                        "            any other KEY: TEXT  a note, ignored\n"
                        "  Palette: 1 light grey, 2 grey, 3 dark grey, 4 light blue, 5 blue, 6 dark blue,\n"
                        "  7 light green, 8 green, 9 dark green, 10 light red, 11 red, 12 dark red,\n"
                        "  13 light magenta, 14 magenta, 15 dark magenta, 16 light yellow, 17 yellow,\n"
                        "  18 ochre.\n"
                        "\n"
                        "  Every crossword must be the only picture its clues allow: the complete solver\n"
                        "  (see \"help check\") counts the solutions from the clues alone, and a crossword\n"
                        "  with more than one stops the build with a message naming it and the first cell\n"
                        "  where two of its solutions differ. One it cannot settle within the time limit\n"
                        "  (--time-limit S, default 60 s per crossword) stops the build as well.\n"
                        "  L, the level, is the one given (header, else --level), else the rating of the\n"
                        "  automatic solver run from a cleared field:\n"
                        "    3  it needed guesses (more than one try) or ended without solving (its\n"
                        "       colour logic is not exact), or lines alone took at least 1000\n"
                        "       placements per cell\n"
                        "    2  lines alone, at least 4.0 placements per cell\n"
                        "    1  lines alone, at least 1.5 placements per cell\n"
                        "    0  lines alone, less\n"
                        "  --no-solve skips both solvers; every crossword then needs a given level.\n"
                        "  --verbose  one line per crossword with the solver's figures and the rating.\n"
                        "  The pack is written to OUT.qlp.part first and renamed when complete.\n",
                        run});
} // namespace
