#include "Inputs.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

bool eachInPack(const std::string& path, const std::string& command,
                const std::function<void(const std::string&, const CrossData&)>& visit)
{
    namespace fs = std::filesystem;
    const fs::path pack(path);
    std::vector<std::string> members;
    if (zipio::listMembers(path, [&](const std::string& m) { members.push_back(m); }) != 0) {
        std::cerr << "tessellor-tool " << command << ": cannot read pack " << path << "\n";
        return false;
    }
    pack::setDataFolder(pack.has_parent_path() ? pack.parent_path().string() : std::string("."));
    bool allRead = true;
    for (const std::string& member : members) {
        MemberInfo info;
        if (!decodeMember(pack.filename().string(), member, info))
            continue;
        CrossData data;
        try {
            pack::loadFromPack(data, info.id);
        } catch (const CrossException& e) {
            std::cerr << "tessellor-tool " << command << ": cannot read " << member << " in " << path << " (error "
                      << e.code() << ")\n";
            allRead = false;
            continue;
        }
        visit(info.id, data);
    }
    return allRead;
}

} // namespace

bool forEachCrossword(const std::string& path, const std::string& command,
                      const std::function<void(const std::string&, const CrossData&)>& visit)
{
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".qlp") == 0)
        return eachInPack(path, command, visit);
    CrossData data;
    try {
        data.readFile(path);
    } catch (const CrossException& e) {
        std::cerr << "tessellor-tool " << command << ": cannot read " << path << " (error " << e.code() << ")\n";
        return false;
    }
    if (data.width <= 0 || data.height <= 0) {
        std::cerr << "tessellor-tool " << command << ": " << path << " is not a crossword file\n";
        return false;
    }
    visit(path, data);
    return true;
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}
