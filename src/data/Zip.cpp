#include "data/Zip.h"

#include "config/BoundedFile.h"

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {
namespace {

// Makes `folder` (and any missing parent) with owner-only rights and checks
// that the folder is a real directory of this user: a link planted in its
// place, or a folder someone else controls, is never written into.
bool ownFolder(const std::string& folder, std::string& cause)
{
    if (folder.empty()) {
        cause = "no folder given";
        return false;
    }
    for (std::string::size_type p = folder.find('/', 1); p != std::string::npos; p = folder.find('/', p + 1))
        ::mkdir(folder.substr(0, p).c_str(), 0700);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        cause = folder + ": cannot be created (" + std::strerror(errno) + ")";
        return false;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        cause = folder + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        cause = folder + ": a link, not a folder";
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        cause = folder + ": not a folder";
        return false;
    }
    if (st.st_uid != ::getuid()) {
        cause = folder + ": belongs to another user";
        return false;
    }
    if ((st.st_mode & 0077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        cause = folder + ": cannot be made private";
        return false;
    }
    return true;
}

bool safeBareName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos;
}

std::string zipError(int code)
{
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    std::string text = zip_error_strerror(&e);
    zip_error_fini(&e);
    return text;
}

} // namespace

Archive::~Archive()
{
    if (z_)
        zip_discard(z_);
}

bool Archive::open(const std::string& path)
{
    if (z_) {
        zip_discard(z_);
        z_ = nullptr;
    }
    error_.clear();
    boundedfile::Result result;
    const int fd = boundedfile::openRegular(path, kMaxPackBytes, result);
    if (fd < 0) {
        error_ = result.cause;
        return false;
    }
    int err = 0;
    z_ = zip_fdopen(fd, ZIP_RDONLY, &err);
    if (!z_) {
        ::close(fd); // zip_fdopen takes the descriptor only when it succeeds
        error_ = "not a ZIP archive or damaged (" + zipError(err) + ")";
        return false;
    }
    return true;
}

std::uint64_t Archive::count() const
{
    if (!z_)
        return 0;
    const zip_int64_t n = zip_get_num_entries(z_, 0);
    return n < 0 ? 0 : std::uint64_t(n);
}

std::string Archive::name(std::uint64_t index) const
{
    const char* n = z_ ? zip_get_name(z_, index, ZIP_FL_ENC_GUESS) : nullptr;
    return n ? std::string(n) : std::string();
}

std::string Archive::rawName(std::uint64_t index) const
{
    const char* n = z_ ? zip_get_name(z_, index, ZIP_FL_ENC_RAW) : nullptr;
    return n ? std::string(n) : std::string();
}

namespace {
mode_t storedType(zip_t* z, std::uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (z && zip_file_get_external_attributes(z, index, 0, &system, &attributes) == 0 && system == ZIP_OPSYS_UNIX)
        return mode_t(attributes >> 16) & S_IFMT;
    return 0;
}
} // namespace

bool Archive::isFolder(std::uint64_t index) const
{
    const std::string n = rawName(index);
    return n.empty() || n.back() == '/' || storedType(z_, index) == S_IFDIR;
}

bool Archive::isLink(std::uint64_t index) const
{
    return storedType(z_, index) == S_IFLNK;
}

bool Archive::read(std::uint64_t index, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    error_.clear();
    if (!z_ || index >= count()) {
        error_ = "no such member";
        return false;
    }
    if (isFolder(index) || isLink(index)) {
        error_ = isLink(index) ? "a link, not a crossword file" : "a folder, not a crossword file";
        return false;
    }
    zip_stat_t info;
    zip_stat_init(&info);
    if (zip_stat_index(z_, index, 0, &info) == 0 && (info.valid & ZIP_STAT_SIZE) && info.size > kMaxMemberBytes) {
        error_ = "larger than " + std::to_string(kMaxMemberBytes) + " bytes";
        return false;
    }
    zip_file_t* in = zip_fopen_index(z_, index, 0);
    if (!in) {
        error_ = std::string("cannot be unpacked (") + zip_strerror(z_) + ")";
        return false;
    }
    std::uint8_t buf[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(in, buf, sizeof buf);
        if (got < 0) {
            error_ = std::string("damaged (") + zip_file_strerror(in) + ")";
            break;
        }
        if (got == 0)
            break;
        // The stored size may lie; a member that inflates past the limit is
        // refused rather than allowed to fill memory.
        if (bytes.size() + std::uint64_t(got) > kMaxMemberBytes) {
            error_ = "larger than " + std::to_string(kMaxMemberBytes) + " bytes";
            break;
        }
        bytes.insert(bytes.end(), buf, buf + got);
    }
    zip_fclose(in);
    if (!error_.empty()) {
        bytes.clear();
        return false;
    }
    return true;
}

int listMembers(const std::string& archivePath, const std::function<void(const std::string&)>& onMember)
{
    Archive a;
    if (!a.open(archivePath))
        return -1;
    const std::uint64_t n = a.count();
    for (std::uint64_t i = 0; i < n; ++i)
        if (!a.isFolder(i))
            onMember(a.rawName(i));
    return 0;
}

bool writeFile(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes,
               std::string& cause)
{
    if (!safeBareName(name)) {
        cause = "'" + name + "' is no file name";
        return false;
    }
    if (!ownFolder(folder, cause))
        return false;
    std::string tmpl = folder + "/.extract-XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        cause = folder + ": cannot write (" + std::strerror(errno) + ")";
        return false;
    }
    bool ok = true;
    for (std::size_t off = 0; off < bytes.size();) {
        const ssize_t w = ::write(fd, bytes.data() + off, bytes.size() - off);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        off += std::size_t(w);
    }
    if (::close(fd) != 0)
        ok = false;
    // rename replaces a link at the target instead of writing through it.
    if (!ok || ::rename(tmpl.c_str(), (folder + "/" + name).c_str()) != 0) {
        cause = folder + "/" + name + ": cannot write (" + std::strerror(errno) + ")";
        ::unlink(tmpl.c_str());
        return false;
    }
    return true;
}

int extractMember(const std::string& archivePath, const std::string& folder, const std::string& memberPath)
{
    const std::string::size_type slash = memberPath.find_last_of('/');
    const std::string bare = slash == std::string::npos ? memberPath : memberPath.substr(slash + 1);
    if (!safeBareName(bare))
        return -10;
    Archive a;
    if (!a.open(archivePath))
        return -1;
    const std::uint64_t n = a.count();
    std::uint64_t index = n;
    for (std::uint64_t i = 0; i < n && index == n; ++i)
        if (a.rawName(i) == memberPath)
            index = i;
    if (index == n)
        return -11;
    std::vector<std::uint8_t> bytes;
    if (!a.read(index, bytes))
        return -12;
    std::string cause;
    return writeFile(folder, bare, bytes, cause) ? 0 : -14;
}

} // namespace zipio
