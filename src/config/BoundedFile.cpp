#include "config/BoundedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace boundedfile {
namespace {

Result fail(Failure f, std::string cause)
{
    Result r;
    r.failure = f;
    r.cause = std::move(cause);
    return r;
}

std::string tooLarge(std::uint64_t maxBytes)
{
    return "larger than " + std::to_string(maxBytes) + " bytes";
}

template <typename Bytes>
Result readInto(const std::string& path, std::uint64_t maxBytes, Bytes& bytes)
{
    bytes.clear();
    Result result;
    const int fd = openRegular(path, maxBytes, result);
    if (fd < 0)
        return result;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            ::close(fd);
            bytes.clear();
            return fail(Failure::Unreadable, std::strerror(e));
        }
        if (n == 0)
            break;
        if (bytes.size() + std::uint64_t(n) > maxBytes) {
            ::close(fd);
            bytes.clear();
            return fail(Failure::TooLarge, tooLarge(maxBytes));
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return result;
}

} // namespace

int openRegular(const std::string& path, std::uint64_t maxBytes, Result& result)
{
    result = Result();
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        result = fail(e == ENOENT ? Failure::Missing : Failure::Unreadable, std::strerror(e));
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        result = fail(Failure::Unreadable, std::strerror(e));
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        result = fail(Failure::NotRegular, S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file");
        return -1;
    }
    if (std::uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        result = fail(Failure::TooLarge, tooLarge(maxBytes));
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

Result read(const std::string& path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes)
{
    return readInto(path, maxBytes, bytes);
}

Result read(const std::string& path, std::uint64_t maxBytes, std::string& bytes)
{
    return readInto(path, maxBytes, bytes);
}

} // namespace boundedfile
