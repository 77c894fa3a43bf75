#include "config/Folders.h"


#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#ifndef TESSELLOR_SHARE_FROM_BIN
#define TESSELLOR_SHARE_FROM_BIN "../share/tessellor"
#endif

namespace folders {
namespace {
namespace fs = std::filesystem;

Layout& currentLayout()
{
    static Layout layout;
    return layout;
}

bool holdsFileEndingIn(const fs::path& folder, const std::string& suffix)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= suffix.size() || name[0] == '.')
            continue;
        std::string tail = name.substr(name.size() - suffix.size());
        for (char& c : tail)
            c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        std::error_code typeError;
        if (tail == suffix && it->is_regular_file(typeError) && !typeError)
            return true;
    }
    return false;
}

bool sameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// mkdir -p with owner-only rights for what it creates; what exists is left
// as it is (the player may have set up the folders to taste).
bool makeFolders(const fs::path& folder, std::string& reason)
{
    std::string path;
    for (const fs::path& part : folder) {
        if (part == "/") {
            // Appended rather than assigned: GCC 12 warns falsely (-Wrestrict)
            // about assigning a literal to a string here.
            path.clear();
            path += '/';
            continue;
        }
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += part.string();
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            reason = path + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        reason = path + ": not a folder";
        return false;
    }
    if (::access(path.c_str(), R_OK | W_OK | X_OK) != 0) {
        reason = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
}  // namespace

const std::string& shareFromExecutable()
{
    static const std::string relative = TESSELLOR_SHARE_FROM_BIN;
    return relative;
}

bool isOwnFolder(const std::string& folder)
{
    const fs::path base(folder);
    return holdsFileEndingIn(base / "data", ".qlp") || holdsFileEndingIn(base / "language", ".lng");
}

Layout choose(const Inputs& in, std::string& error)
{
    // A relative XDG_DATA_HOME is invalid and is to be ignored.
    std::string dataHome;
    if (!in.xdgDataHome.empty() && in.xdgDataHome[0] == '/')
        dataHome = in.xdgDataHome;
    else if (!in.home.empty() && in.home[0] == '/')
        dataHome = (fs::path(in.home) / ".local/share").string();
    const std::string playerFolder = dataHome.empty() ? std::string() : (fs::path(dataHome) / "tessellor").string();

    if (isOwnFolder(in.startFolder) && !(!playerFolder.empty() && sameFolder(in.startFolder, playerFolder)))
        return Layout{};

    if (playerFolder.empty()) {
        error = "The player's data folder cannot be named: neither XDG_DATA_HOME nor HOME is an absolute path.";
        return Layout{false, {}, {}, {}, {}, {}};
    }
    const fs::path share = (fs::path(in.executableFolder) / shareFromExecutable()).lexically_normal();
    const fs::path work(playerFolder);
    Layout layout;
    layout.ownFolder = false;
    layout.work = work.string();
    layout.share = share.string();
    layout.packs = {(work / "data").string(), (share / "data").string()};
    layout.languages = {(work / "language").string(), (share / "language").string()};
    layout.help = (share / "help").string();
    return layout;
}

bool prepare(const Layout& layout, std::string& error)
{
    if (layout.ownFolder)
        return true;
    std::string reason;
    if (!makeFolders(layout.work, reason)) {
        error = "The player's data folder could not be made ready (" + reason + ").";
        return false;
    }
    std::error_code ec;
    bool languages = false;
    for (const std::string& folder : layout.languages)
        languages = languages || fs::is_directory(folder, ec);
    if (!languages) {
        error = "The game's own files were not found in " + layout.share
                + ". Start it from the folder that holds \"data\" and \"language\", or install it.";
        return false;
    }
    return true;
}

bool apply(const Layout& layout, std::string& error)
{
    // A relative TEMP meant the start folder; keep it meaning that.
    if (const char* temp = std::getenv("TEMP"); !layout.ownFolder && temp && *temp && temp[0] != '/') {
        std::error_code ec;
        const fs::path absolute = fs::absolute(temp, ec);
        if (!ec)
            ::setenv("TEMP", absolute.c_str(), 1);
    }
    if (!layout.ownFolder && ::chdir(layout.work.c_str()) != 0) {
        error = "The player's data folder could not be entered (" + layout.work + ": " + std::strerror(errno) + ").";
        return false;
    }
    currentLayout() = layout;
    return true;
}

const Layout& current() { return currentLayout(); }

}  // namespace folders
