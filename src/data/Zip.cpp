#include "data/Zip.h"

#include <zip.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zipio {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

Archive openArchive(const std::string& path, int& err)
{
    err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z && err == 0)
        err = -1;
    return Archive(z);
}

// Makes `folder` (and any missing parent) with owner-only rights and checks
// that the folder is a real directory of this user: a link planted in its
// place, or a folder someone else controls, is never written into.
bool ownFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    for (std::string::size_type p = folder.find('/', 1); p != std::string::npos; p = folder.find('/', p + 1))
        ::mkdir(folder.substr(0, p).c_str(), 0700);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 0077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return false;
    return true;
}

bool safeBareName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos;
}

} // namespace

int listMembers(const std::string& archivePath, const std::function<void(const std::string&)>& onMember)
{
    int err = 0;
    Archive z = openArchive(archivePath, err);
    if (!z)
        return err;
    zip_int64_t n = zip_get_num_entries(z.get(), 0);
    if (n < 0)
        return -2;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(z.get(), zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (!name)
            return -3;
        std::string member(name);
        if (member.empty() || member.back() == '/')
            continue;
        onMember(member);
    }
    return 0;
}

int extractMember(const std::string& archivePath, const std::string& folder, const std::string& memberPath)
{
    std::string::size_type slash = memberPath.find_last_of('/');
    std::string bare = slash == std::string::npos ? memberPath : memberPath.substr(slash + 1);
    if (!safeBareName(bare))
        return -10;
    int err = 0;
    Archive z = openArchive(archivePath, err);
    if (!z)
        return err;
    zip_int64_t index = zip_name_locate(z.get(), memberPath.c_str(), ZIP_FL_ENC_RAW);
    if (index < 0)
        return -11;
    zip_file_t* in = zip_fopen_index(z.get(), zip_uint64_t(index), 0);
    if (!in)
        return -12;
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> inGuard(in, zip_fclose);

    zip_stat_t info;
    zip_stat_init(&info);
    if (zip_stat_index(z.get(), zip_uint64_t(index), 0, &info) == 0 && (info.valid & ZIP_STAT_SIZE)
        && info.size > kMaxMemberBytes)
        return -17;
    if (!ownFolder(folder))
        return -14;

    std::string tmpl = folder + "/.extract-XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return -15;
    char buf[65536];
    bool ok = true;
    std::uint64_t total = 0;
    for (;;) {
        zip_int64_t got = zip_fread(in, buf, sizeof buf);
        if (got < 0) { ok = false; break; }
        if (got == 0) break;
        // The stored size may lie; a member that inflates past the limit is
        // refused rather than allowed to fill the disk.
        total += std::uint64_t(got);
        if (total > kMaxMemberBytes) { ok = false; break; }
        for (zip_int64_t off = 0; off < got;) {
            ssize_t w = ::write(fd, buf + off, size_t(got - off));
            if (w < 0) { if (errno == EINTR) continue; ok = false; break; }
            off += w;
        }
        if (!ok) break;
    }
    if (::close(fd) != 0)
        ok = false;
    // rename replaces a link at the target instead of writing through it.
    if (!ok || ::rename(tmpl.c_str(), (folder + "/" + bare).c_str()) != 0) {
        ::unlink(tmpl.c_str());
        return -16;
    }
    return 0;
}

} // namespace zipio
