// "rate": runs the automatic solver on crosswords and packs and prints how
// it went, so authors can check that a crossword is solvable and how hard.
#include "Command.h"
#include "Inputs.h"

#include "data/CrossData.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

struct Options {
    bool json = false;
    bool cells = false;
};

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
    for (const std::string& path : paths)
        if (!forEachCrossword(path, "rate", [&](const std::string& id, const CrossData& data) {
                rateOne(id, data, options);
            }))
            status = 1;
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
                        "  A path or member that cannot be read is named on standard error and the\n"
                        "  others are still rated; the exit status is then 1.\n",
                        run});

} // namespace
