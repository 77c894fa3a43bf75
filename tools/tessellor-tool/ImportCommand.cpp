// "import": makes a pack from puzzle files (.non, XML sets) and pictures.
#include "Command.h"
#include "Inputs.h"

#include "data/PackWriter.h"
#include "formats/Importer.h"

#include <cstdlib>
#include <iostream>

namespace {

int run(const std::vector<std::string>& args)
{
    std::string out, folder;
    double timeLimit = 60;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--folder" && i + 1 < args.size()) {
            folder = args[++i];
        } else if (args[i] == "--time-limit" && i + 1 < args.size()) {
            char* end = nullptr;
            timeLimit = std::strtod(args[++i].c_str(), &end);
            if (*end || !(timeLimit >= 0) || timeLimit > 1e6) {
                std::cerr << "tessellor-tool import: --time-limit takes seconds (0 for none)\n";
                return 2;
            }
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            std::cerr << "tessellor-tool import: unknown option " << args[i] << "\n";
            return 2;
        } else {
            files.push_back(args[i]);
        }
    }
    if (out.empty() || files.empty()) {
        std::cerr << "usage: tessellor-tool import -o PACK.qlp [--folder NAME] [--time-limit S] FILE...\n";
        return 2;
    }
    Importer importer(folder, {}, readPictureFile, timeLimit);
    int read = 0;
    for (const std::string& f : files) read += importer.addFile(f) ? 1 : 0;
    for (const std::string& r : importer.refusals()) std::cerr << "tessellor-tool import: " << r << "\n";
    if (importer.crosswords().empty()) {
        std::cerr << "tessellor-tool import: nothing to write; " << out << " left as it was\n";
        return read == 0 ? 2 : 1;
    }
    std::vector<packwriter::Member> members;
    for (const auto& c : importer.crosswords()) members.push_back({c.member, c.data.toFileBytes()});
    std::string error;
    if (!packwriter::write(out, members, error)) {
        std::cerr << "tessellor-tool import: " << error << "\n";
        return 2;
    }
    std::cout << members.size() << " crosswords written to " << out << "\n";
    return importer.refusals().empty() ? 0 : 1;
}

Command::Registrar reg({"import", "make a pack from .non and XML puzzle files and pictures",
                        "tessellor-tool import -o PACK.qlp [--folder NAME] [--time-limit S] FILE...\n"
                        "  Every puzzle of every FILE becomes one crossword of PACK.qlp, in the order\n"
                        "  given (a set's puzzles in their order), member [NAME/]TITLE_C_L.ql.\n"
                        "  FILE is one of:\n"
                        "    .non   a black-and-white puzzle: \"width N\", \"height N\", \"rows\" and\n"
                        "           \"columns\" each followed by one clue line per line (\"3,1\" or\n"
                        "           \"3 1\"; \"0\" or nothing for an empty line), optional \"title\"\n"
                        "           and \"goal\" (0s and 1s); other keys are notes\n"
                        "    .xml   a puzzle set: <puzzleset> of <puzzle type=\"grid\"> with <color>\n"
                        "           entries, <clues type=\"rows\"|\"columns\"> of <line><count>, and an\n"
                        "           optional <solution type=\"goal\"><image>; every puzzle is read,\n"
                        "           black-and-white or colour\n"
                        "    .txt .png .bmp  a picture, as \"build\" reads it\n"
                        "  Other names are read as XML when they begin with '<', else as .non.\n"
                        "\n"
                        "  Each puzzle is solved from its clues by the complete solver; one that no\n"
                        "  picture or more than one picture fits, or that is not settled within the\n"
                        "  time limit (60 s unless --time-limit), is refused with a message naming the\n"
                        "  file and the puzzle, and the others go on. So are damaged puzzles: sizes\n"
                        "  outside 1..128, clues that cannot fit, unknown colours, files over 16 MiB.\n"
                        "  Colours: each puzzle colour goes to the nearest palette entry (1..18) not\n"
                        "  taken by a nearer colour, so distinct colours stay distinct; black counts as\n"
                        "  the dark grey (3), so black-and-white puzzles stay black-and-white. More than\n"
                        "  18 colours are refused. TITLE is the puzzle's title (else the file name)\n"
                        "  made safe: ASCII letters, digits, spaces, '-' and '_', at most 48, numbered\n"
                        "  \"TITLE 2\", ... when taken. L is the level by the rating rule of \"build\".\n"
                        "  The pack is written as \"build\" writes it (same crosswords, same bytes), to\n"
                        "  PACK.qlp.part first and renamed when complete.\n"
                        "  Exit status: 0 all imported, 1 something refused (the rest is written),\n"
                        "  2 nothing could be read or the pack could not be written.\n",
                        run});
} // namespace
