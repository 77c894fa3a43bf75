#include "data/PackModel.h"

#include "data/Pack.h"
#include "data/Zip.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {
ProfileMarks& marks()
{
    static ProfileMarks m;
    return m;
}
} // namespace

TPackModelDir::~TPackModelDir()
{
    std::vector<std::unique_ptr<TPackModel>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<TPackModel> node = std::move(pending.back());
        pending.pop_back();
        if (!node->isFile()) {
            auto& dir = static_cast<TPackModelDir&>(*node);
            for (auto& child : dir.children)
                pending.push_back(std::move(child));
            dir.children.clear();
        }
    }
}

void setProfileMarks(ProfileMarks m) { marks() = std::move(m); }

bool decodeMember(const std::string& packFileName, const std::string& memberName, MemberInfo& out)
{
    if (memberName.empty() || memberName.back() == '/' || memberName.back() == '\\')
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

TPackModelFile* insertCrossword(TPackModelDir& top, const std::string& id, const std::string& path,
                                std::uint8_t level, bool isColor)
{
    TPackModelDir* dir = &top;
    std::string::size_type start = 0;
    for (std::string::size_type p = path.find('\\'); p != std::string::npos; p = path.find('\\', start)) {
        std::string head = path.substr(start, p - start);
        start = p + 1;
        auto found = dir->folders.find(head);
        if (found != dir->folders.end()) {
            dir = found->second;
            continue;
        }
        dir->children.push_back(std::make_unique<TPackModelDir>(head));
        auto* folder = static_cast<TPackModelDir*>(dir->children.back().get());
        dir->folders.emplace(std::move(head), folder);
        dir = folder;
    }
    auto file = std::make_unique<TPackModelFile>();
    file->name = path.substr(start);
    file->id = id;
    file->level = level;
    file->isColor = isColor ? 1 : 0;
    file->solved = marks().isSolved && marks().isSolved(id) ? 1 : 0;
    file->edited = marks().hasProgress && marks().hasProgress(id) ? 1 : 0;
    TPackModelFile* raw = file.get();
    dir->children.push_back(std::move(file));
    return raw;
}

void recount(TPackModelDir& top)
{
    // Depth-first with an explicit stack: a folder's counts are summed into
    // its parent once all of its children are done.
    struct Frame {
        TPackModelDir* dir;
        std::size_t next;
    };
    std::vector<Frame> stack{{&top, 0}};
    top.editedCount = top.solvedCount = top.totalCount = 0;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.dir->children.size()) {
            TPackModelDir* done = f.dir;
            stack.pop_back();
            if (!stack.empty()) {
                TPackModelDir* parent = stack.back().dir;
                parent->editedCount += done->editedCount;
                parent->solvedCount += done->solvedCount;
                parent->totalCount += done->totalCount;
            }
            continue;
        }
        TPackModel* child = f.dir->children[f.next++].get();
        if (child->isFile()) {
            auto& file = static_cast<TPackModelFile&>(*child);
            f.dir->editedCount += file.edited ? 1 : 0;
            f.dir->solvedCount += file.solved ? 1 : 0;
            f.dir->totalCount += 1;
        } else {
            auto* d = static_cast<TPackModelDir*>(child);
            d->editedCount = d->solvedCount = d->totalCount = 0;
            stack.push_back({d, 0});
        }
    }
}

TPackModelFile* findCrossword(TPackModelDir& top, const std::string& id)
{
    struct Frame {
        TPackModelDir* dir;
        std::size_t next;
    };
    std::vector<Frame> stack{{&top, 0}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.dir->children.size()) {
            stack.pop_back();
            continue;
        }
        TPackModel* child = f.dir->children[f.next++].get();
        if (child->isFile()) {
            auto* file = static_cast<TPackModelFile*>(child);
            if (file->id == id)
                return file;
        } else {
            stack.push_back({static_cast<TPackModelDir*>(child), 0});
        }
    }
    return nullptr;
}

bool hasExtension(const std::string& fileName, const std::string& extension)
{
    if (fileName.size() <= extension.size())
        return false;
    return std::equal(extension.begin(), extension.end(), fileName.end() - std::ptrdiff_t(extension.size()),
                      [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

void forEachCrosswordMember(zipio::Archive& archive, const std::string& packFileName,
                            const std::function<void(std::uint64_t, const MemberInfo&)>& visit,
                            const std::function<void(std::uint64_t, const std::string&)>& skip)
{
    const std::uint64_t n = archive.count();
    for (std::uint64_t i = 0; i < n; ++i) {
        if (archive.isFolder(i))
            continue;
        const std::string name = pack::programMemberName(archive.name(i));
        MemberInfo info;
        if (!decodeMember(packFileName, name, info))
            continue;
        if (const std::string why = pack::memberNameProblem(name); !why.empty())
            skip(i, why);
        else
            visit(i, info);
    }
}

std::vector<std::string> addPack(TPackModelDir& root, const std::string& packFileName, zipio::Archive& archive)
{
    // Skipped members are counted by cause: one line per cause, however many.
    std::vector<std::pair<std::string, std::size_t>> skipped;
    forEachCrosswordMember(
        archive, packFileName,
        [&](std::uint64_t i, const MemberInfo& info) {
            insertCrossword(root, info.id, info.displayPath, info.level, info.isColor)->memberIndex =
                std::int64_t(i);
        },
        [&](std::uint64_t, const std::string& why) {
            auto it = std::find_if(skipped.begin(), skipped.end(), [&](const auto& s) { return s.first == why; });
            if (it == skipped.end())
                skipped.emplace_back(why, 1);
            else
                ++it->second;
        });
    std::vector<std::string> problems;
    for (const auto& [why, count] : skipped)
        problems.push_back(packFileName + ": " + std::to_string(count) + " member(s) skipped, " + why);
    return problems;
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
            if (hasExtension(n, ".qlp"))
                packs.emplace(std::move(n), folderName);
        }
    }
    std::vector<std::string> problems;
    for (const auto& [n, folder] : packs) {
        // Links are followed (players link packs into the folder); anything
        // but a regular file is reported by the opening.
        zipio::Archive archive;
        if (!archive.open(pack::toFsPath(folder + "\\" + n))) {
            problems.push_back(n + ": " + archive.error());
            continue;
        }
        for (std::string& p : addPack(root, n, archive))
            problems.push_back(std::move(p));
    }
    recount(root);
    return problems;
}
