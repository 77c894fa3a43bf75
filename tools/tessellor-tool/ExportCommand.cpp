// "export": writes crosswords as .non or XML puzzle files.
#include "Command.h"
#include "Inputs.h"

#include "data/CrossData.h"
#include "formats/MemberNames.h"
#include "formats/NonFormat.h"
#include "formats/PbnXml.h"
#include "formats/PuzzlePicture.h"
#include "solver/Rating.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace {

// The title shown in the tree: the last part of the id without "_C_L".
std::string titleOf(const std::string& id)
{
    std::string name = fs::path(id).stem().string();
    if (const std::size_t slash = id.find_last_of("\\/"); slash != std::string::npos)
        name = fs::path(id.substr(slash + 1)).string();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".ql") == 0) name.resize(name.size() - 3);
    if (name.size() > 4 && name[name.size() - 4] == '_' && name[name.size() - 2] == '_') name.resize(name.size() - 4);
    return name;
}

bool writeFile(const fs::path& path, const std::string& text)
{
    const fs::path tmp = path.string() + ".part";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) fs::remove(tmp, ec);
    return !ec;
}

int run(const std::vector<std::string>& args)
{
    std::string format = "auto", dir;
    std::vector<std::string> inputs;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size()) {
            format = args[++i];
            if (format != "non" && format != "xml") {
                std::cerr << "tessellor-tool export: --format takes non or xml\n";
                return 2;
            }
        } else if (args[i] == "-o" && i + 1 < args.size()) {
            dir = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            std::cerr << "tessellor-tool export: unknown option " << args[i] << "\n";
            return 2;
        } else {
            inputs.push_back(args[i]);
        }
    }
    if (dir.empty() || inputs.empty()) {
        std::cerr << "usage: tessellor-tool export [--format non|xml] -o DIR PACK.qlp|FILE.ql...\n";
        return 2;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        std::cerr << "tessellor-tool export: cannot make the folder " << dir << "\n";
        return 2;
    }
    bool ok = true;
    int written = 0;
    std::set<std::string> taken;
    for (const std::string& input : inputs) {
        ok = forEachCrossword(input, "export", [&](const std::string& id, const CrossData& data) {
                 const std::string title = titleOf(id);
                 const bool colour = isColourCrossword(data);
                 const bool xml = format == "xml" || (format == "auto" && colour);
                 if (!xml && colour) {
                     std::cerr << "tessellor-tool export: " << id << ": a colour crossword; .non is black-and-white only\n";
                     ok = false;
                     return;
                 }
                 const Puzzle p = puzzlepicture::fromCrossword(data, title);
                 const fs::path file = fs::path(dir) / (uniqueMemberName(safeMemberName(title), taken) + (xml ? ".xml" : ".non"));
                 if (!writeFile(file, xml ? pbnxml::write({p}) : nonformat::write(p))) {
                     std::cerr << "tessellor-tool export: cannot write " << file.string() << "\n";
                     ok = false;
                     return;
                 }
                 ++written;
             }) && ok;
    }
    std::cout << written << " crosswords written to " << dir << "\n";
    return ok ? 0 : 1;
}

Command::Registrar reg({"export", "write crosswords as .non or XML puzzle files",
                        "tessellor-tool export [--format non|xml] -o DIR PACK.qlp|FILE.ql...\n"
                        "  Writes one file per crossword into DIR (made when missing), named after its\n"
                        "  title (numbered when taken), with the title, the clues and the picture as\n"
                        "  goal. Without --format, black-and-white crosswords become .non files and\n"
                        "  colour ones XML; --format xml writes XML for all, --format non refuses\n"
                        "  colour crosswords. XML colours are the palette's (black for the dark grey\n"
                        "  of black-and-white crosswords), so \"import\" reads the files back to the\n"
                        "  same pictures.\n"
                        "  Exit status: 0 all written, 1 something unreadable or refused, 2 usage.\n",
                        run});
} // namespace
