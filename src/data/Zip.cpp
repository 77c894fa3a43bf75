#include "data/Zip.h"

#include <zip.h>

#include <cerrno>
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

    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return -13;
    struct stat st {};
    // The folder itself must be a real directory, not a link planted there.
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return -14;

    std::string tmpl = folder + "/.extract-XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return -15;
    char buf[65536];
    bool ok = true;
    for (;;) {
        zip_int64_t got = zip_fread(in, buf, sizeof buf);
        if (got < 0) { ok = false; break; }
        if (got == 0) break;
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
