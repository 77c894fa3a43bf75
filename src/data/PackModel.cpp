#include "data/PackModel.h"

#include "data/Pack.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {
ProfileMarks& marks()
{
    static ProfileMarks m;
    return m;
}
// The member callback carries no context, so the scan keeps its target here.
TPackModelDir* gInsertRoot = nullptr;
std::string gPackFileName;
} // namespace

void setProfileMarks(ProfileMarks m) { marks() = std::move(m); }

bool decodeMember(const std::string& packFileName, const std::string& memberName, MemberInfo& out)
{
    if (memberName.empty() || memberName.back() == '/')
        return false;
    std::size_t L = memberName.size();
    if (L < 6 || packFileName.size() < 4)
        return false;
    std::string copy = memberName;
    std::replace(copy.begin(), copy.end(), '/', '\\');
    out.isColor = copy[L - 6] == '1';
    char lv = copy[L - 4];
    out.level = (lv >= '0' && lv <= '3') ? std::uint8_t(lv - '0') : TPackModelFile::kNoLevel;
    std::string pack = packFileName.substr(0, packFileName.size() - 4);
    out.displayPath = pack + "\\" + copy.substr(0, L - 5);
    out.id = pack + "\\" + copy.substr(0, L - 3);
    return true;
}

void addMember(const std::string& memberName)
{
    MemberInfo info;
    if (!gInsertRoot || !decodeMember(gPackFileName, memberName, info))
        return;
    insertCrossword(*gInsertRoot, info.id, info.displayPath, info.level, info.isColor);
}

void insertCrossword(TPackModelDir& dir, const std::string& id, const std::string& path,
                     std::uint8_t level, bool isColor)
{
    std::string::size_type p = path.find('\\');
    if (p == std::string::npos) {
        auto file = std::make_unique<TPackModelFile>();
        file->name = path;
        file->id = id;
        file->level = level;
        file->isColor = isColor ? 1 : 0;
        file->solved = marks().isSolved && marks().isSolved(id) ? 1 : 0;
        file->edited = marks().hasProgress && marks().hasProgress(id) ? 1 : 0;
        dir.children.push_back(std::move(file));
        return;
    }
    std::string head = path.substr(0, p);
    std::string rest = path.substr(p + 1);
    TPackModelDir* folder = nullptr;
    for (auto& child : dir.children) {
        if (!child->isFile() && child->name == head) {
            folder = static_cast<TPackModelDir*>(child.get());
            break;
        }
    }
    if (!folder) {
        dir.children.push_back(std::make_unique<TPackModelDir>(head));
        folder = static_cast<TPackModelDir*>(dir.children.back().get());
    }
    insertCrossword(*folder, id, rest, level, isColor);
}

void recount(TPackModelDir& dir)
{
    dir.editedCount = dir.solvedCount = dir.totalCount = 0;
    for (auto& child : dir.children) {
        if (child->isFile()) {
            auto& f = static_cast<TPackModelFile&>(*child);
            dir.editedCount += f.edited ? 1 : 0;
            dir.solvedCount += f.solved ? 1 : 0;
            dir.totalCount += 1;
        } else {
            auto& d = static_cast<TPackModelDir&>(*child);
            recount(d);
            dir.editedCount += d.editedCount;
            dir.solvedCount += d.solvedCount;
            dir.totalCount += d.totalCount;
        }
    }
}

TPackModelFile* findCrossword(TPackModelDir& dir, const std::string& id)
{
    for (auto& child : dir.children) {
        if (child->isFile()) {
            auto* f = static_cast<TPackModelFile*>(child.get());
            if (f->id == id)
                return f;
        } else if (TPackModelFile* found = findCrossword(static_cast<TPackModelDir&>(*child), id)) {
            return found;
        }
    }
    return nullptr;
}

std::vector<std::string> scanPacks(TPackModelDir& root)
{
    namespace fs = std::filesystem;
    // File name -> folder; the first folder that holds a name wins, so a
    // player's own pack hides the shipped one of the same name.
    std::map<std::string, std::string> packs;
    for (const std::string& folderName : pack::dataFolders()) {
        std::error_code ec;
        const fs::path folder = pack::toFsPath(folderName);
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string n = it->path().filename().string();
            std::error_code sec;
            // Only regular files: a folder or device named *.qlp is no pack.
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".qlp") == 0
                && fs::is_regular_file(it->symlink_status(sec)) && !sec)
                packs.emplace(std::move(n), folderName);
        }
    }
    std::vector<std::string> failed;
    gInsertRoot = &root;
    for (const auto& [n, folder] : packs) {
        gPackFileName = n;
        if (pack::listArchive(folder + "\\" + n, addMember) != 0)
            failed.push_back(n);
    }
    gInsertRoot = nullptr;
    recount(root);
    return failed;
}
