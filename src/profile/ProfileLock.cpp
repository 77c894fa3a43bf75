#include "profile/ProfileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

ProfileLock::Result ProfileLock::take(const std::string& profilePath)
{
    release();
    const std::string path = profilePath + ".lock";
    // A few rounds at most: each one that fails lost a race with an instance
    // that removed the file between our open and our lock.
    for (int round = 0; round < 8; ++round) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
        if (fd < 0)
            return Result::Failed;
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return Result::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            ::close(fd);
            return e == EWOULDBLOCK ? Result::InUse : Result::Failed;
        }
        struct stat named {};
        if (::stat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev) {
            // Whose lock it is, for a person looking at the folder.
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (::ftruncate(fd, 0) == 0 && ::write(fd, pid.data(), pid.size()) < 0) {
                // The number is only a note; the lock is what counts.
            }
            fd_ = fd;
            path_ = path;
            return Result::Taken;
        }
        ::close(fd);
    }
    return Result::Failed;
}

void ProfileLock::release()
{
    if (fd_ < 0)
        return;
    // Unlinked while still locked, so that nobody can lock the old file
    // after we let go of it (take() checks that the name still leads to the
    // file it locked).
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}
