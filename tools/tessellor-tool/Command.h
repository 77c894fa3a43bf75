#pragma once

#include <functional>
#include <string>
#include <vector>

// tessellor-tool is a set of sub-commands ("rate", "list", ...). Each lives in
// its own file and registers itself with a static Command::Registrar.
struct Command {
    std::string name;
    std::string summary; // one line for the overview
    std::string help;    // full text for "tessellor-tool help NAME"
    // Receives the arguments after the command name; returns the exit status.
    std::function<int(const std::vector<std::string>& args)> run;

    struct Registrar {
        explicit Registrar(Command command);
    };
    static const std::vector<Command>& all();
};
