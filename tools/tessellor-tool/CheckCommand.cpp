// "check": counts the solutions of crosswords from their clues alone, so an
// author knows a picture is the only one that fits.
#include "Command.h"
#include "Inputs.h"

#include "data/CrossData.h"
#include "solver/Clues.h"
#include "solver/CompleteSolver.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

struct Options {
    bool json = false;
    bool cells = false;
    double timeLimit = 60;
};

char cellChar(int index)
{
    return index == 0 ? '.' : index < 10 ? char('0' + index) : char('a' + index - 10);
}

std::string rowText(const std::vector<std::uint8_t>& cells, int width, int row)
{
    std::string out;
    for (int c = 0; c < width; ++c)
        out += cellChar(cells[std::size_t(row) * std::size_t(width) + std::size_t(c)]);
    return out;
}

const char* verdict(const SolveCount& r)
{
    if (r.solutions >= 2)
        return "multiple";
    if (r.stopped)
        return r.solutions ? "stopped-1" : "stopped";
    return r.solutions ? "unique" : "none";
}

void checkOne(const std::string& id, const CrossData& data, const Options& options)
{
    Clues clues;
    if (!Clues::fromCrossword(data, clues)) {
        std::cerr << "tessellor-tool check: " << id << " uses more than " << Clues::kMaxColours << " colours\n";
        return;
    }
    CompleteSolver solver(clues);
    const SolveCount r = solver.solve({options.timeLimit, 0});
    const int w = clues.width, h = clues.height;
    if (options.json) {
        char seconds[64];
        std::snprintf(seconds, sizeof seconds, "%.6f,\"wall_seconds\":%.6f", r.seconds, r.wallSeconds);
        std::cout << "{\"id\":" << jsonString(id) << ",\"width\":" << w << ",\"height\":" << h
                  << ",\"solutions\":" << r.solutions << ",\"line_solvable\":" << (r.lineSolvable ? "true" : "false")
                  << ",\"stopped\":" << (r.stopped ? "true" : "false") << ",\"seconds\":" << seconds
                  << ",\"lines\":" << r.lines << ",\"probes\":" << r.probes << ",\"guesses\":" << r.guesses;
        if (options.cells) {
            auto grid = [&](const char* name, const std::vector<std::uint8_t>& cells) {
                std::cout << ",\"" << name << "\":[";
                for (int row = 0; row < h; ++row)
                    std::cout << (row ? "," : "") << '"' << rowText(cells, w, row) << '"';
                std::cout << "]";
            };
            if (r.solutions >= 1)
                grid("cells", r.first);
            if (r.solutions >= 2)
                grid("second", r.second);
        }
        std::cout << "}\n";
    } else {
        std::printf("%-40s %4d x %-4d %-9s %-4s %10.4f s  lines %10lld  probes %9lld  guesses %7lld\n", id.c_str(), w,
                    h, verdict(r), r.lineSolvable ? "line" : "", r.seconds, static_cast<long long>(r.lines),
                    static_cast<long long>(r.probes), static_cast<long long>(r.guesses));
        if (options.cells)
            for (int n = 0; n < r.solutions; ++n) {
                if (n)
                    std::printf("    --\n");
                for (int row = 0; row < h; ++row)
                    std::printf("    %s\n", rowText(n ? r.second : r.first, w, row).c_str());
            }
    }
    std::cout.flush();
}

int run(const std::vector<std::string>& args)
{
    Options options;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            options.json = true;
        } else if (a == "--cells") {
            options.cells = true;
        } else if (a == "--time-limit") {
            char* end = nullptr;
            const char* text = i + 1 < args.size() ? args[++i].c_str() : "";
            options.timeLimit = std::strtod(text, &end);
            if (!*text || *end || !(options.timeLimit >= 0) || options.timeLimit > 1e6) {
                std::cerr << "tessellor-tool check: --time-limit takes seconds (0 for none)\n";
                return 2;
            }
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) {
        std::cerr << "usage: tessellor-tool check [--json] [--cells] [--time-limit S] PATH...\n";
        return 2;
    }
    int status = 0;
    for (const std::string& path : paths)
        if (!forEachCrossword(path, "check", [&](const std::string& id, const CrossData& data) {
                checkOne(id, data, options);
            }))
            status = 1;
    return status;
}

Command::Registrar reg({"check", "count the solutions of crosswords and packs from their clues",
                        "tessellor-tool check [--json] [--cells] [--time-limit S] PATH...\n"
                        "  PATH is a crossword file or a pack (.qlp: every crossword in it, in member order).\n"
                        "  Each crossword is solved from its clues alone, never from its stored picture,\n"
                        "  by the complete solver: exact line logic, probing and a search that tries every\n"
                        "  value of a cell and stops at the second solution. One line per crossword with\n"
                        "  its id, size, verdict (unique, multiple, none; stopped when the time limit ran\n"
                        "  out first), \"line\" when line logic alone decided every cell, the solving time\n"
                        "  and the work done (lines solved, values probed, search branches).\n"
                        "  --json        one JSON object per line: id, width, height, solutions (0, 1, or\n"
                        "                2 for two or more), line_solvable, stopped, seconds (processor\n"
                        "                time spent solving, not reading), wall_seconds (elapsed), lines,\n"
                        "                probes, guesses\n"
                        "  --cells       add the first solution (\"cells\") and, when there are two, the\n"
                        "                second (\"second\"): one string per row, top to bottom, '.' for\n"
                        "                background, 1-9 and a-i for palette index 1..18\n"
                        "  --time-limit S  stop a crossword after S seconds (default 60, 0 for none);\n"
                        "                \"stopped\" is then true and \"solutions\" counts what was found\n"
                        "  Exit status 0 when every input was read, 1 when one could not be (named on\n"
                        "  stderr); the others are still checked.\n",
                        run});

} // namespace
