#include "Inputs.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

// Every crossword of a pack, in member order; the pack is opened once and a
// member that cannot be read is named and skipped.
bool eachInPack(const std::string& path, const std::string& command,
                const std::function<void(const std::string&, const CrossData&)>& visit)
{
    zipio::Archive archive;
    if (!archive.open(path)) {
        std::cerr << "tessellor-tool " << command << ": " << path << ": " << archive.error() << "\n";
        return false;
    }
    const std::string packFile = std::filesystem::path(path).filename().string();
    bool allRead = true;
    std::vector<std::uint8_t> bytes;
    forEachCrosswordMember(
        archive, packFile,
        [&](std::uint64_t i, const MemberInfo& info) {
            CrossData data;
            std::string cause;
            if (!archive.read(i, bytes)) {
                cause = archive.error();
            } else {
                try {
                    data.readBytes(bytes.data(), bytes.size());
                } catch (const CrossException& e) {
                    cause = e.detail().empty() ? "not a crossword file" : e.detail();
                }
            }
            if (!cause.empty()) {
                std::cerr << "tessellor-tool " << command << ": " << path << ": " << codepage::toUtf8(info.id)
                          << ": " << cause << "\n";
                allRead = false;
                return;
            }
            visit(codepage::toUtf8(info.id), data);
        },
        [&](std::uint64_t i, const std::string& why) {
            std::cerr << "tessellor-tool " << command << ": " << path << ": member " << i << " skipped, " << why
                      << "\n";
            allRead = false;
        });
    return allRead;
}

} // namespace

bool forEachCrossword(const std::string& path, const std::string& command,
                      const std::function<void(const std::string&, const CrossData&)>& visit)
{
    if (hasExtension(path, ".qlp"))
        return eachInPack(path, command, visit);
    CrossData data;
    try {
        data.readFile(path);
    } catch (const CrossException& e) {
        std::cerr << "tessellor-tool " << command << ": " << (e.detail().empty() ? path : e.detail()) << "\n";
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
