// Command-line tool for puzzle authors: builds, lists and rates packs.

#include "Command.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
std::vector<Command>& registry()
{
    static std::vector<Command> commands;
    return commands;
}

void usage(FILE* out)
{
    std::fprintf(out, "usage: tessellor-tool COMMAND [ARGS...]\n\ncommands:\n");
    auto commands = Command::all();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : commands)
        std::fprintf(out, "  %-10s %s\n", c.name.c_str(), c.summary.c_str());
    std::fprintf(out, "  %-10s %s\n", "help", "show the help of one command");
}
}

Command::Registrar::Registrar(Command command)
{
    registry().push_back(std::move(command));
}

const std::vector<Command>& Command::all()
{
    return registry();
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "help" || name == "--help" || name == "-h") {
        if (!args.empty())
            for (const auto& c : Command::all())
                if (c.name == args[0]) {
                    std::fputs(c.help.c_str(), stdout);
                    return 0;
                }
        usage(stdout);
        return 0;
    }
    for (const auto& c : Command::all())
        if (c.name == name)
            return c.run(args);
    std::fprintf(stderr, "tessellor-tool: unknown command '%s'\n", name.c_str());
    usage(stderr);
    return 2;
}
