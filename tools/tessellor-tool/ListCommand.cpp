// "list": the catalogue of one or more packs, as text or one JSON object per line.
#include "Command.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <zip.h>

namespace {

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') { out += '\\'; out += char(c); }
        else if (c < 0x20) { char buf[8]; std::snprintf(buf, sizeof buf, "\\u%04x", c); out += buf; }
        else out += char(c);
    }
    return out + "\"";
}

// Reads one member straight from the archive into a record.
bool readMember(const std::string& packPath, const std::string& member, CrossData& d)
{
    int err = 0;
    zip_t* z = zip_open(packPath.c_str(), ZIP_RDONLY, &err);
    if (!z) return false;
    zip_stat_t st;
    bool ok = false;
    if (zip_stat(z, member.c_str(), ZIP_FL_ENC_RAW, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && st.size < (1u << 20)) {
        if (zip_file_t* f = zip_fopen(z, member.c_str(), ZIP_FL_ENC_RAW)) {
            std::vector<std::uint8_t> buf(st.size);
            zip_int64_t got = zip_fread(f, buf.data(), buf.size());
            zip_fclose(f);
            if (got >= 0) { d.readBytes(buf.data(), std::size_t(got)); ok = true; }
        }
    }
    zip_discard(z);
    return ok;
}

struct Printer {
    bool json = false;
    std::string packPath;
    int status = 0;

    // Crosswords in catalogue order: the order of the tree in the game.
    void walk(const TPackModelDir& dir)
    {
        for (const auto& child : dir.children) {
            if (child->isFile())
                print(static_cast<const TPackModelFile&>(*child));
            else
                walk(static_cast<const TPackModelDir&>(*child));
        }
    }

    void print(const TPackModelFile& f)
    {
        // The id leads back to the member as the game opens it.
        std::string member = f.id.substr(f.id.find('\\') + 1) + ".ql";
        std::replace(member.begin(), member.end(), '\\', '/');
        CrossData d;
        if (!readMember(packPath, member, d)) {
            std::cerr << "tessellor-tool list: cannot read " << member << " in " << packPath << "\n";
            status = 1;
        }
        if (json) {
            std::cout << "{\"id\":" << jsonString(f.id) << ",\"name\":" << jsonString(f.name)
                      << ",\"level\":" << int(f.level) << ",\"color\":" << (f.isColor ? "true" : "false")
                      << ",\"width\":" << d.width << ",\"height\":" << d.height << "}\n";
        } else {
            std::cout << f.id << "  level " << int(f.level) << "  " << (f.isColor ? "colour" : "black-and-white")
                      << "  " << d.width << " x " << d.height << "\n";
        }
    }
};

int run(const std::vector<std::string>& args)
{
    Printer printer;
    std::vector<std::string> packs;
    for (const auto& a : args) {
        if (a == "--json") printer.json = true;
        else packs.push_back(a);
    }
    if (packs.empty()) {
        std::cerr << "usage: tessellor-tool list [--json] PACK...\n";
        return 2;
    }
    for (const std::string& p : packs) {
        std::string file = std::filesystem::path(p).filename().string();
        TPackModelDir root("root");
        int result = zipio::listMembers(p, [&](const std::string& m) {
            MemberInfo info;
            if (decodeMember(file, m, info))
                insertCrossword(root, info.id, info.displayPath, info.level, info.isColor);
        });
        if (result != 0) {
            std::cerr << "tessellor-tool list: cannot read pack " << p << "\n";
            printer.status = 1;
            continue;
        }
        printer.packPath = p;
        printer.walk(root);
    }
    return printer.status;
}

Command::Registrar reg({"list", "print the catalogue of packs",
                        "tessellor-tool list [--json] PACK...\n"
                        "  Prints every crossword of the packs: id, level, colour or black-and-white, size.\n"
                        "  With --json, one object per line with id, name, level, color, width, height.\n"
                        "  The order is the catalogue's: folders in the order their first crossword\n"
                        "  appears in the pack. Members whose names are shorter than six characters are\n"
                        "  left out; a level character other than 0..3 shows as level 255 (no level).\n"
                        "  Exit status 1 when a pack or a member could not be read.\n",
                        run});
} // namespace
