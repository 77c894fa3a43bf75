#pragma once
// Opening files that someone else may have put in our way. Only regular files
// (or links to them) are read, and only up to a size the caller names: a FIFO
// would block the program for good, a link to a device would feed it without
// end. Every failure says what was wrong with the file.
#include <cstdint>
#include <string>
#include <vector>

namespace boundedfile {

enum class Failure { None, Missing, NotRegular, TooLarge, Unreadable };

struct Result {
    Failure failure = Failure::None;
    std::string cause; // for the player: "not a regular file", "larger than 1048576 bytes", ...
    explicit operator bool() const { return failure == Failure::None; }
};

// Opens `path` for reading when it is a regular file of at most maxBytes
// bytes. Returns the descriptor (owned by the caller) or -1 with `result`
// saying why. Never blocks on a FIFO and never opens a device.
int openRegular(const std::string& path, std::uint64_t maxBytes, Result& result);

// Reads the whole file under the same conditions. A file that grows past
// maxBytes while it is read is refused too.
Result read(const std::string& path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes);
Result read(const std::string& path, std::uint64_t maxBytes, std::string& bytes);

} // namespace boundedfile
