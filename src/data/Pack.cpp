#include "data/Pack.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/PackModel.h"
#include "data/Zip.h"

#include <algorithm>
#include <filesystem>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace pack {
namespace {
std::vector<std::string>& folderSetting()
{
    static std::vector<std::string> folders{"data"};
    return folders;
}

std::string perUserBase()
{
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) {
        struct stat st {};
        if (::stat(run, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
            return run;
    }
    std::string base = "/tmp/tessellor-" + std::to_string(::getuid());
    ::mkdir(base.c_str(), 0700);
    struct stat st {};
    if (::lstat(base.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) {
        if ((st.st_mode & 0077) != 0)
            ::chmod(base.c_str(), 0700);
        return base;
    }
    // Someone else holds that name: take a fresh private folder instead.
    static std::string fallback;
    if (fallback.empty()) {
        std::string tmpl = base + "-XXXXXX";
        if (::mkdtemp(tmpl.data()))
            fallback = tmpl;
    }
    return fallback.empty() ? base : fallback;
}
} // namespace

const std::vector<std::string>& dataFolders() { return folderSetting(); }
void setDataFolders(std::vector<std::string> folders)
{
    if (folders.empty())
        folders.push_back("data");
    folderSetting() = std::move(folders);
}
void setDataFolder(const std::string& folder) { folderSetting() = {folder}; }

std::string packPath(const std::string& name)
{
    // As the catalogue found it: the first folder that holds NAME.qlp, the
    // extension in any case (NAME.QLP), links followed.
    namespace fs = std::filesystem;
    const std::string file = name + ".qlp";
    for (const std::string& folder : folderSetting()) {
        const std::string path = folder + "\\" + file;
        struct stat st {};
        if (::stat(toFsPath(path).c_str(), &st) == 0)
            return path;
        std::string found;
        std::error_code ec;
        for (fs::directory_iterator it(toFsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
            const std::string n = it->path().filename().string();
            if (n.size() == file.size() && n.compare(0, name.size(), name) == 0 && hasExtension(n, ".qlp")
                && (found.empty() || n < found))
                found = n;
        }
        if (!found.empty())
            return folder + "\\" + found;
    }
    return folderSetting().front() + "\\" + file;
}

std::string tempFolder()
{
    const char* temp = std::getenv("TEMP");
    // An empty TEMP would put the folder at the file-system root.
    std::string base = temp && *temp ? std::string(temp) : perUserBase();
    return base + "\\~qltemp";
}

std::string toFsPath(const std::string& path)
{
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string programMemberName(const std::string& utf8Name)
{
    std::string name = codepage::fromUtf8(utf8Name);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string memberNameProblem(const std::string& programName)
{
    if (programName.size() > kMaxMemberPathBytes
        || std::count(programName.begin(), programName.end(), '\\') > kMaxMemberFolders)
        return "path longer than " + std::to_string(kMaxMemberPathBytes) + " bytes or deeper than "
             + std::to_string(kMaxMemberFolders) + " folders";
    if (programName.find(';') != std::string::npos)
        return "';' in the name (the profile could not keep its progress)";
    for (std::size_t start = 0, end; start <= programName.size(); start = end + 1) {
        end = std::min(programName.find('\\', start), programName.size());
        if (end - start > kMaxNamePartBytes)
            return "a name part longer than " + std::to_string(kMaxNamePartBytes) + " bytes";
    }
    return {};
}

void loadFromPack(CrossData& data, const std::string& id, std::int64_t memberIndex)
{
    const std::string::size_type p = id.find('\\');
    const std::string packName = p == std::string::npos ? std::string() : id.substr(0, p);
    if (packName.empty())
        throw CrossException(30000, "'" + id + "' names no pack");
    const std::string path = packPath(packName);
    const std::string packFile = path.substr(path.find_last_of('\\') + 1);
    zipio::Archive archive;
    if (!archive.open(toFsPath(path)))
        throw CrossException(30000, packFile + ": " + archive.error());

    auto holds = [&](std::uint64_t i) {
        MemberInfo info;
        return !archive.isFolder(i) && decodeMember(packFile, programMemberName(archive.name(i)), info) && info.id == id;
    };
    const std::uint64_t count = archive.count();
    std::uint64_t index = count;
    if (memberIndex >= 0 && std::uint64_t(memberIndex) < count && holds(std::uint64_t(memberIndex)))
        index = std::uint64_t(memberIndex);
    for (std::uint64_t i = 0; i < count && index == count; ++i)
        if (holds(i))
            index = i;
    const std::string shownId = id.substr(p + 1);
    if (index == count)
        throw CrossException(30000, packFile + ": no crossword " + shownId);
    std::vector<std::uint8_t> bytes;
    if (!archive.read(index, bytes))
        throw CrossException(30000, packFile + ": " + shownId + ": " + archive.error());

    const std::string folder = toFsPath(tempFolder());
    const std::string::size_type last = id.find_last_of('\\');
    const std::string fileName = id.substr(last + 1) + ".ql";
    std::string cause;
    // Without its own working folder the game cannot open anything; say so
    // rather than blame the pack.
    if (!zipio::writeFile(folder, fileName, bytes, cause))
        throw CrossException(30004, "TEMP: " + cause);
    const std::string working = folder + "/curcross.tmp";
    // rename() replaces the old working file in one step, so no delete first.
    if (std::rename((folder + "/" + fileName).c_str(), working.c_str()) != 0)
        throw CrossException(30004, working + ": cannot be replaced");
    data.readFile(working);
    data.name = id;
}

} // namespace pack
