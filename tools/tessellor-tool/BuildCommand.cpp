// "build": makes a pack from a folder tree of crossword pictures.
#include "Command.h"

#include "data/CrossData.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <zip.h>

#ifdef TESSELLOR_TOOL_HAS_QTGUI
#include <QImage>
#include <QString>
#endif

namespace fs = std::filesystem;

namespace {

struct Source {
    std::string member; // archive path without "_c_l.ql"
    CrossData data;
    int level = -1;
};

int charToIndex(char c)
{
    if (c == '.') return 0;
    if (c == '#') return 3;
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'i') return c - 'a' + 10;
    return -1;
}

struct Grid : PixelSource {
    std::vector<std::string> rows;
    int width() const override { return rows.empty() ? 0 : int(rows[0].size()); }
    int height() const override { return int(rows.size()); }
    std::uint32_t rgb(int, int) const override { return 0; }
};

// Text grid: optional header lines "key: value" (level), then rows of cells.
bool readText(const fs::path& p, Source& s, std::string& error)
{
    std::ifstream in(p);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.rfind("level:", 0) == 0) { s.level = std::atoi(line.c_str() + 6); continue; }
        if (line.find(':') != std::string::npos) continue; // other header lines
        rows.push_back(line);
    }
    if (rows.empty()) { error = "no rows"; return false; }
    std::size_t w = rows[0].size();
    if (w == 0 || w > 128 || rows.size() > 128) { error = "size outside 1..128"; return false; }
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, 0, std::uint8_t(w), 0, std::uint8_t(rows.size())};
    for (const auto& r : rows) {
        if (r.size() != w) { error = "rows of different lengths"; return false; }
        for (char c : r) {
            int v = charToIndex(c);
            if (v < 0) { error = std::string("unknown cell character '") + c + "'"; return false; }
            bytes.push_back(std::uint8_t(v));
        }
    }
    s.data.readBytes(bytes.data(), bytes.size());
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

bool isColour(const CrossData& d)
{
    for (int x = 0; x < d.width; ++x)
        for (int y = 0; y < d.height; ++y)
            if (d.value(x, y) > 0 && d.value(x, y) != 3) return true;
    return false;
}

int run(const std::vector<std::string>& args)
{
    int givenLevel = -1;
    std::vector<std::string> pos;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--level" && i + 1 < args.size()) givenLevel = std::atoi(args[++i].c_str());
        else pos.push_back(args[i]);
    }
    if (pos.size() != 2) { std::cerr << "usage: tessellor-tool build [--level N] SOURCE_DIR OUT.qlp\n"; return 2; }
    fs::path srcDir = pos[0];
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(srcDir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) files.push_back(it->path());
    if (ec) { std::cerr << "tessellor-tool build: cannot read " << srcDir << "\n"; return 1; }
    std::sort(files.begin(), files.end());
    std::vector<Source> sources;
    for (const fs::path& f : files) {
        std::string ext = f.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        Source s;
        std::string rel = fs::relative(f, srcDir).replace_extension().generic_string();
        s.member = rel;
        std::string error;
        if (ext == ".txt") {
            if (!readText(f, s, error)) { std::cerr << f << ": " << error << "\n"; return 1; }
        } else if (ext == ".png" || ext == ".bmp") {
#ifdef TESSELLOR_TOOL_HAS_QTGUI
            ImageSource img;
            if (!img.img.load(QString::fromStdString(f.string()))) { std::cerr << f << ": cannot load picture\n"; return 1; }
            if (img.width() > 128 || img.height() > 128) { std::cerr << f << ": size outside 1..128\n"; return 1; }
            s.data.fromPicture(img, fs::path(rel).filename().string());
#else
            std::cerr << f << ": pictures need the tool built with QtGui\n";
            return 1;
#endif
        } else {
            continue;
        }
        if (givenLevel >= 0 && s.level < 0) s.level = givenLevel;
        if (s.level < 0 || s.level > 3) { std::cerr << f << ": level 0..3 missing (header \"level: N\" or --level)\n"; return 1; }
        sources.push_back(std::move(s));
    }
    std::string out = pos[1];
    fs::remove(out, ec);
    int err = 0;
    zip_t* z = zip_open(out.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) { std::cerr << "tessellor-tool build: cannot create " << out << "\n"; return 1; }
    std::set<std::string> dirs;
    for (Source& s : sources) {
        std::string name = s.member + "_" + (isColour(s.data) ? "1" : "0") + "_" + std::to_string(s.level) + ".ql";
        std::vector<std::uint8_t> bytes = s.data.toFileBytes();
        void* copy = std::malloc(bytes.size());
        std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(copy));
        zip_source_t* zs = zip_source_buffer(z, copy, bytes.size(), 1);
        zip_int64_t idx = zip_file_add(z, name.c_str(), zs, ZIP_FL_ENC_RAW);
        if (idx < 0) { zip_source_free(zs); zip_discard(z); std::cerr << name << ": " << "cannot add\n"; return 1; }
        // Fixed time stamp so that a rebuild gives the same bytes.
        zip_file_set_dostime(z, zip_uint64_t(idx), 0, (0 << 9) | (1 << 5) | 1, 0);
        zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_DEFLATE, 9);
    }
    if (zip_close(z) != 0) { std::cerr << "tessellor-tool build: cannot write " << out << "\n"; zip_discard(z); return 1; }
    std::cout << sources.size() << " crosswords written to " << out << "\n";
    return 0;
}

Command::Registrar reg({"build", "make a pack from a folder of pictures",
                        "tessellor-tool build [--level N] SOURCE_DIR OUT.qlp\n"
                        "  Every .txt (text grid), .png or .bmp below SOURCE_DIR becomes one crossword,\n"
                        "  member FOLDERS/TITLE_C_L.ql. C is 1 when any filled cell is not the dark grey\n"
                        "  (index 3), else 0. L is the level: header line \"level: N\" of a text grid, or\n"
                        "  --level N for pictures. Text grid rows: '.' background, '#' dark grey,\n"
                        "  '1'..'9' and 'a'..'i' palette entries 1..18. Members are written in path order\n"
                        "  with a fixed time stamp, so a rebuild gives the same pack.\n",
                        run});
} // namespace
