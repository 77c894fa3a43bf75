// "list": the catalogue of one or more packs, as text or one JSON object per line.
#include "Command.h"

#include "config/CodePage.h"
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

struct Printer {
    bool json = false;
    std::string packPath;
    zipio::Archive* archive = nullptr;
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
        CrossData d;
        std::vector<std::uint8_t> bytes;
        std::string cause;
        if (!archive->read(std::uint64_t(f.memberIndex), bytes)) {
            cause = archive->error();
        } else {
            try {
                d.readBytes(bytes.data(), bytes.size());
            } catch (const CrossException& e) {
                cause = e.detail().empty() ? "not a crossword file" : e.detail();
            }
        }
        if (!cause.empty()) {
            std::cerr << "tessellor-tool list: " << packPath << ": " << codepage::toUtf8(f.id) << ": " << cause << "\n";
            status = 1;
        }
        if (json) {
            std::cout << "{\"id\":" << jsonString(codepage::toUtf8(f.id)) << ",\"name\":" << jsonString(codepage::toUtf8(f.name))
                      << ",\"level\":" << int(f.level) << ",\"color\":" << (f.isColor ? "true" : "false")
                      << ",\"width\":" << d.width << ",\"height\":" << d.height << "}\n";
        } else {
            std::cout << codepage::toUtf8(f.id) << "  level " << int(f.level) << "  " << (f.isColor ? "colour" : "black-and-white")
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
        // Each pack is opened once; members are then read by their index.
        zipio::Archive archive;
        if (!archive.open(p)) {
            std::cerr << "tessellor-tool list: " << p << ": " << archive.error() << "\n";
            printer.status = 1;
            continue;
        }
        TPackModelDir root("root");
        for (const std::string& problem : addPack(root, std::filesystem::path(p).filename().string(), archive)) {
            std::cerr << "tessellor-tool list: " << problem << "\n";
            printer.status = 1;
        }
        printer.packPath = p;
        printer.archive = &archive;
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
                        "  Member names are shown in UTF-8. A pack or member that cannot be read is\n"
                        "  named on standard error and the listing goes on; the exit status is then 1.\n",
                        run});
} // namespace
