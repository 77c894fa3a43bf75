// "rate": runs the automatic solver on crosswords and packs and prints how
// it went, so authors can check that a crossword is solvable and how hard.
#include "Command.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Pack.h"
#include "data/PackModel.h"
#include "data/Zip.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

struct Options {
    bool json = false;
    bool cells = false;
};

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

char cellChar(const GridModel& grid, int c, int r)
{
    switch (grid.cellState(c, r)) {
    case DefNo: return '.';
    case DefYes: {
        const int i = grid.cellColourIndex(c, r);
        return i < 10 ? char('0' + i) : char('a' + i - 10);
    }
    default: return '?';
    }
}

void rateOne(const std::string& id, const CrossData& data, const Options& options)
{
    GridModel grid;
    const SolveReport report = solveFromScratch(grid, data);
    if (options.json) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", report.seconds);
        char level[32];
        std::snprintf(level, sizeof level, "%f", report.level);
        std::cout << "{\"id\":" << jsonString(id) << ",\"width\":" << data.width << ",\"height\":" << data.height
                  << ",\"tries\":" << report.tries << ",\"placements\":" << report.placements
                  << ",\"decided\":" << report.decided << ",\"undecided\":" << report.undecided << ",\"result\":\""
                  << Solver::resultName(report.result) << "\",\"seconds\":" << seconds << ",\"level\":" << level;
        if (options.cells) {
            std::cout << ",\"cells\":[";
            for (int r = 0; r < grid.height(); ++r) {
                std::string row;
                for (int c = 0; c < grid.width(); ++c)
                    row += cellChar(grid, c, r);
                std::cout << (r ? "," : "") << jsonString(row);
            }
            std::cout << "]";
        }
        std::cout << "}\n";
    } else {
        std::printf("%-40s %4d x %-4d %-13s tries %4d  placements %12lld  undecided %5d  %8.3f s  level %.1f\n",
                    id.c_str(), data.width, data.height, Solver::resultName(report.result), report.tries,
                    static_cast<long long>(report.placements), report.undecided, report.seconds, report.level);
        if (options.cells)
            for (int r = 0; r < grid.height(); ++r) {
                std::string row;
                for (int c = 0; c < grid.width(); ++c)
                    row += cellChar(grid, c, r);
                std::printf("    %s\n", row.c_str());
            }
    }
    std::cout.flush();
}

// Every crossword of a pack, in member order, through the same extraction
// the game uses.
bool ratePack(const std::string& path, const Options& options)
{
    namespace fs = std::filesystem;
    const fs::path pack(path);
    std::vector<std::string> members;
    if (zipio::listMembers(path, [&](const std::string& m) { members.push_back(m); }) != 0)
        return false;
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
            std::cerr << "tessellor-tool rate: cannot read " << member << " in " << path << " (error " << e.code()
                      << ")\n";
            allRead = false;
            continue;
        }
        rateOne(info.id, data, options);
    }
    return allRead;
}

int run(const std::vector<std::string>& args)
{
    Options options;
    std::vector<std::string> paths;
    for (const auto& a : args) {
        if (a == "--json")
            options.json = true;
        else if (a == "--cells")
            options.cells = true;
        else
            paths.push_back(a);
    }
    if (paths.empty()) {
        std::cerr << "usage: tessellor-tool rate [--json] [--cells] PATH...\n";
        return 2;
    }
    int status = 0;
    for (const std::string& path : paths) {
        const bool isPack = path.size() > 4 && path.compare(path.size() - 4, 4, ".qlp") == 0;
        if (isPack) {
            if (!ratePack(path, options)) {
                std::cerr << "tessellor-tool rate: cannot read pack " << path << "\n";
                status = 2;
            }
            continue;
        }
        CrossData data;
        try {
            data.readFile(path);
        } catch (const CrossException& e) {
            std::cerr << "tessellor-tool rate: cannot read " << path << " (error " << e.code() << ")\n";
            status = 2;
            continue;
        }
        if (data.width <= 0 || data.height <= 0) {
            std::cerr << "tessellor-tool rate: " << path << " is not a crossword file\n";
            status = 2;
            continue;
        }
        rateOne(path, data, options);
    }
    return status;
}

Command::Registrar reg({"rate", "solve crosswords and packs with the automatic solver and rate them",
                        "tessellor-tool rate [--json] [--cells] PATH...\n"
                        "  PATH is a crossword file or a pack (.qlp: every crossword in it, in member order).\n"
                        "  Each crossword is solved from a cleared field; one line per crossword with its id,\n"
                        "  size, result (solved, stopped, contradiction), tries, placements, cells left\n"
                        "  undecided, time and LEVEL (tries x 0.1 + whole seconds x 0.1).\n"
                        "  --json  one JSON object per line: id, width, height, tries, placements, decided,\n"
                        "          undecided, result, seconds, level\n"
                        "  --cells add the solved picture: one string per row, '?' undecided, '.' blank,\n"
                        "          1-9 and a-i for filled cells of palette index 1..18\n"
                        "  Exit status 0 when every crossword was read, 2 when a path could not be read.\n",
                        run});

} // namespace
