#include "data/Pack.h"

#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/Zip.h"

#include <algorithm>
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
    const std::string file = name + ".qlp";
    for (const std::string& folder : folderSetting()) {
        const std::string path = folder + "\\" + file;
        struct stat st {};
        if (::stat(toFsPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return path;
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

int listArchive(const std::string& packPath, const std::function<void(const std::string&)>& memberCallback)
{
    return zipio::listMembers(toFsPath(packPath), memberCallback);
}

int extractMember(const std::string& packPath, const std::string& folder, const std::string& memberPath)
{
    return zipio::extractMember(toFsPath(packPath), toFsPath(folder), memberPath);
}

void loadFromPack(CrossData& data, const std::string& id)
{
    std::string::size_type p = id.find('\\');
    std::string packName = p == std::string::npos ? std::string() : id.substr(0, p);
    std::string member = (p == std::string::npos ? id : id.substr(p + 1)) + ".ql";
    if (packName.empty())
        throw CrossException(30000);
    const std::string packFile = packPath(packName);
    std::string slashed = toFsPath(member);
    std::string folder = tempFolder();
    if (extractMember(packFile, folder, slashed) != 0)
        throw CrossException(30000);
    std::string::size_type last = member.find_last_of('\\');
    std::string fileName = last == std::string::npos ? member : member.substr(last + 1);
    std::string working = folder + "\\curcross.tmp";
    // rename() replaces the old working file in one step, so no delete first.
    if (std::rename(toFsPath(folder + "\\" + fileName).c_str(), toFsPath(working).c_str()) != 0)
        throw CrossException(30004);
    data.readFile(toFsPath(working));
    data.name = id;
}

} // namespace pack
