// "list": the catalogue of one or more packs, as text or one JSON object per line.
#include "Command.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"

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

int run(const std::vector<std::string>& args)
{
    bool json = false;
    std::vector<std::string> packs;
    for (const auto& a : args) {
        if (a == "--json") json = true;
        else packs.push_back(a);
    }
    if (packs.empty()) {
        std::cerr << "usage: tessellor-tool list [--json] PACK...\n";
        return 2;
    }
    int status = 0;
    for (const std::string& p : packs) {
        std::string file = std::filesystem::path(p).filename().string();
        std::vector<std::string> members;
        if (zipio::listMembers(p, [&](const std::string& m) { members.push_back(m); }) != 0) {
            std::cerr << "tessellor-tool list: cannot read pack " << p << "\n";
            status = 1;
            continue;
        }
        for (const std::string& m : members) {
            MemberInfo info;
            if (!decodeMember(file, m, info)) continue;
            CrossData d;
            bool read = readMember(p, m, d);
            std::string node = info.displayPath.substr(info.displayPath.find_last_of('\\') + 1);
            if (!read) { std::cerr << "tessellor-tool list: cannot read " << m << " in " << p << "\n"; status = 1; }
            if (json) {
                std::cout << "{\"id\":" << jsonString(info.id) << ",\"name\":" << jsonString(node)
                          << ",\"level\":" << int(info.level) << ",\"color\":" << (info.isColor ? "true" : "false")
                          << ",\"width\":" << d.width << ",\"height\":" << d.height << "}\n";
            } else {
                std::cout << info.id << "  level " << int(info.level) << "  " << (info.isColor ? "colour" : "black-and-white")
                          << "  " << d.width << " x " << d.height << "\n";
            }
        }
    }
    return status;
}

Command::Registrar reg({"list", "print the catalogue of packs",
                        "tessellor-tool list [--json] PACK...\n"
                        "  Prints every crossword of the packs: id, level, colour or black-and-white, size.\n"
                        "  With --json, one object per line with id, name, level, color, width, height.\n",
                        run});
} // namespace
