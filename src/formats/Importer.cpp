#include "formats/Importer.h"

#include "config/CrossException.h"
#include "formats/ColourMapping.h"
#include "formats/MemberNames.h"
#include "formats/NonFormat.h"
#include "formats/PbnXml.h"
#include "formats/Puzzle.h"
#include "formats/PuzzlePicture.h"
#include "solver/Clues.h"
#include "solver/CompleteSolver.h"
#include "solver/Rating.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string lowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string e = path.substr(dot);
    for (char& c : e) c = char(std::tolower(static_cast<unsigned char>(c)));
    return e;
}

std::string stem(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Only regular files, and only up to the cap: a FIFO or a device would
// block or never end.
bool readWhole(const std::string& path, std::string& out, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open";
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = "not a regular file";
        return false;
    }
    if (std::size_t(st.st_size) > Importer::kMaxFileBytes) {
        ::close(fd);
        error = "larger than " + std::to_string(Importer::kMaxFileBytes >> 20) + " MiB";
        return false;
    }
    out.assign(std::size_t(st.st_size), '\0');
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n <= 0) break;
        got += std::size_t(n);
    }
    ::close(fd);
    out.resize(got);
    return true;
}

bool looksLikeXml(const std::string& text)
{
    std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    return i < text.size() && text[i] == '<';
}

// Member names end in "_C_L.ql"; the part before is what must stay unique.
std::string memberKey(const std::string& member)
{
    std::string key = member.size() > 7 ? member.substr(0, member.size() - 7) : member;
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

} // namespace

Importer::Importer(std::string folder, const std::vector<std::string>& existingMembers, PictureReader pictures,
                   double secondsPerPuzzle)
    : folder_(std::move(folder)), pictures_(std::move(pictures)), seconds_(secondsPerPuzzle)
{
    // A folder of the pack is one level, named as members are.
    if (!folder_.empty()) folder_ = safeMemberName(folder_);
    for (const std::string& m : existingMembers) {
        std::string key = memberKey(m);
        for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
        taken_.insert(key);
    }
}

bool Importer::addFile(const std::string& path)
{
    const bool read = readFile(path);
    solveQueued();
    return read;
}

void Importer::refuse(std::string line)
{
    if (queue_.empty())
        refusals_.push_back(std::move(line));
    else
        queue_.push_back({.refusal = std::move(line)});
}

std::size_t Importer::queuedPuzzles() const
{
    return std::size_t(std::count_if(queue_.begin(), queue_.end(), [](const Queued& q) { return q.refusal.empty(); }));
}

bool Importer::readFile(const std::string& path)
{
    std::string text, error;
    const std::string ext = lowerExtension(path);
    const bool puzzleFile = ext == ".non" || ext == ".xml" || ext == ".pbn";
    if (!puzzleFile && pictures_ && ext != "") {
        Queued q{.file = path, .name = path, .title = stem(path), .picture = true};
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || std::size_t(st.st_size) > kMaxFileBytes) {
            refuse(path + ": " + (::stat(path.c_str(), &st) != 0 ? "cannot open" : "not a regular file of at most 16 MiB"));
            return false;
        }
        if (!pictures_(path, q.data, error)) {
            refuse(path + ": " + error);
            return false;
        }
        queue_.push_back(std::move(q));
        return true;
    }
    if (!readWhole(path, text, error)) {
        refuse(path + ": " + error);
        return false;
    }
    if (ext == ".xml" || ext == ".pbn" || (ext != ".non" && looksLikeXml(text))) {
        std::vector<pbnxml::Entry> set;
        if (!pbnxml::read(text, set, error)) {
            refuse(path + ": " + error);
            return false;
        }
        for (pbnxml::Entry& e : set) {
            if (!e.error.empty()) {
                refuse(path + ": " + e.name + ": " + e.error);
                continue;
            }
            std::string title = e.puzzle.title.empty() ? stem(path) : e.puzzle.title;
            queue_.push_back({.file = path, .name = e.name, .title = std::move(title), .puzzle = std::move(e.puzzle)});
        }
        return true;
    }
    Puzzle p;
    if (!nonformat::read(text, p, error)) {
        refuse(path + ": " + error);
        return false;
    }
    std::string title = p.title.empty() ? stem(path) : p.title;
    queue_.push_back({.file = path, .name = title, .title = title, .puzzle = std::move(p)});
    return true;
}

bool Importer::solveQueued(const Progress& progress, const std::atomic<bool>* stop)
{
    stop_ = stop;
    const std::size_t total = queuedPuzzles();
    std::size_t number = 0;
    for (; !queue_.empty(); queue_.pop_front()) {
        Queued& q = queue_.front();
        if (stopped())
            break;
        if (!q.refusal.empty()) {
            refusals_.push_back(std::move(q.refusal));
            continue;
        }
        if (progress)
            progress(++number, total, q.file, q.picture ? std::string() : q.name);
        if (q.picture)
            addPicture(q.file, q.data, q.title);
        else
            addPuzzle(q.file, q.name, q.puzzle, q.title);
    }
    stop_ = nullptr;
    return !(stop && stop->load(std::memory_order_relaxed));
}

bool Importer::addPuzzle(const std::string& file, const std::string& name, const Puzzle& p, const std::string& title)
{
    const std::string where = file + ": " + name + ": ";
    std::vector<RGB> inks;
    for (std::size_t i = 1; i < p.colours.size(); ++i) inks.push_back(p.colours[i].rgb);
    std::vector<int> entries;
    std::string error;
    if (!mapColours(inks, entries, error)) {
        refusals_.push_back(where + error);
        return false;
    }
    // The solver numbers colours in the order of their palette entries.
    Clues clues;
    clues.width = p.width;
    clues.height = p.height;
    std::vector<int> byEntry(entries.begin(), entries.end());
    std::sort(byEntry.begin(), byEntry.end());
    std::vector<std::uint8_t> number(p.colours.size(), 0);
    for (std::size_t c = 1; c < p.colours.size(); ++c)
        number[c] = std::uint8_t(1 + (std::find(byEntry.begin(), byEntry.end(), entries[c - 1]) - byEntry.begin()));
    for (int e : byEntry) clues.palette.push_back(std::uint8_t(e));
    for (const auto* from : {&p.rows, &p.columns}) {
        auto& to = from == &p.rows ? clues.rows : clues.columns;
        for (const ClueLine& line : *from) {
            std::vector<ClueBlock> blocks;
            for (const ClueRun& r : line) blocks.push_back({number[std::size_t(r.colour)], std::uint8_t(r.length)});
            to.push_back(std::move(blocks));
        }
    }
    CompleteSolver solver(clues);
    const SolveCount count = solver.solve({.seconds = seconds_, .stop = stop_});
    if (stopped())
        return false;
    if (count.solutions == 0 && !count.stopped) {
        refusals_.push_back(where + "no picture fits its clues");
        return false;
    }
    if (count.solutions >= 2) {
        refusals_.push_back(where + "more than one picture fits its clues");
        return false;
    }
    if (count.stopped) {
        char text[96];
        std::snprintf(text, sizeof text, "not solved within %g s", seconds_);
        refusals_.push_back(where + text);
        return false;
    }
    std::vector<std::uint8_t> bytes = {'Q', 'L', 0, 0, std::uint8_t(p.width >> 8), std::uint8_t(p.width),
                                       std::uint8_t(p.height >> 8), std::uint8_t(p.height)};
    bytes.insert(bytes.end(), count.first.begin(), count.first.end());
    CrossData data;
    try {
        data.readBytes(bytes.data(), bytes.size());
    } catch (const CrossException&) {
        refusals_.push_back(where + "not a crossword this game can show");
        return false;
    }
    if (!p.goal.empty()) {
        // The goal gives these clues (the reader checked), and only one
        // picture does, so it can only differ if something here is wrong.
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const std::uint8_t g = p.goal[std::size_t(y) * std::size_t(p.width) + std::size_t(x)];
                if ((g ? entries[g - 1u] : 0) != data.value(x, y)) {
                    refusals_.push_back(where + "the solution is not the goal picture (please report this)");
                    return false;
                }
            }
    }
    return take(where, data, title);
}

bool Importer::addPicture(const std::string& file, CrossData& data, const std::string& title)
{
    Clues clues;
    if (!Clues::fromCrossword(data, clues)) {
        refusals_.push_back(file + ": more than 18 colours");
        return false;
    }
    CompleteSolver solver(clues);
    const SolveCount count = solver.solve({.seconds = seconds_, .stop = stop_});
    if (stopped())
        return false;
    if (count.solutions != 1 || count.stopped) {
        refusals_.push_back(file + ": " + (count.solutions >= 2 ? "more than one picture fits its clues" : "not solved in time"));
        return false;
    }
    return take(file + ": ", data, title);
}

bool Importer::take(const std::string& where, CrossData& data, const std::string& title)
{
    bool filled = false;
    for (int x = 0; x < data.width && !filled; ++x)
        for (int y = 0; y < data.height && !filled; ++y) filled = data.value(x, y) > 0;
    if (!filled) {
        refusals_.push_back(where + "the picture is empty");
        return false;
    }
    const std::string prefix = folder_.empty() ? std::string() : folder_ + "/";
    std::string key = prefix + safeMemberName(title);
    // Compared in lower case, the prefix included.
    std::string member = uniqueMemberName(key, taken_);
    const int level = rateLevel(data);
    Crossword c;
    c.member = member + "_" + (isColourCrossword(data) ? "1" : "0") + "_" + std::to_string(level) + ".ql";
    c.level = level;
    data.name = member;
    c.data = std::move(data);
    crosswords_.push_back(std::move(c));
    return true;
}
