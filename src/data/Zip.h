#pragma once
// Thin wrapper over libzip: the only place that talks to the archive library.
// Results: 0 success, any other value failure.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct zip;

namespace zipio {

// A crossword file is at most 8 + 65535 + 128 x 128 bytes; a member far
// beyond that is no crossword and is never written out.
constexpr unsigned long long kMaxMemberBytes = 1u << 20;
// A pack of 100,000 crosswords is a few megabytes; a file past this is no pack.
constexpr unsigned long long kMaxPackBytes = 1ull << 30;

// One pack, opened once for listing and reading members by their index: a
// member is found again even when its name repeats or holds odd bytes.
class Archive {
public:
    Archive() = default;
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Only a regular file (links to one are followed) of at most
    // kMaxPackBytes. False with error() saying why.
    bool open(const std::string& path);
    const std::string& error() const { return error_; }

    std::uint64_t count() const;
    // The member's name in UTF-8: as stored when the archive marks it UTF-8 or
    // it is valid UTF-8, else read in the DOS code page (how most Windows
    // tools write names). Empty when the entry has none.
    std::string name(std::uint64_t index) const;
    // The name exactly as stored.
    std::string rawName(std::uint64_t index) const;
    // A folder entry (name ending in "/", or marked as a folder).
    bool isFolder(std::uint64_t index) const;
    // A member stored as a symbolic link: never read as a file.
    bool isLink(std::uint64_t index) const;
    // The member's bytes, at most kMaxMemberBytes. False with error() set.
    bool read(std::uint64_t index, std::vector<std::uint8_t>& bytes);

private:
    zip* z_ = nullptr;
    std::string error_;
};

// Calls onMember once per member with its stored archive path ("/"
// separated). Folder entries are skipped.
int listMembers(const std::string& archivePath, const std::function<void(const std::string&)>& onMember);

// Writes bytes under the bare file name `name` into folder (created, with any
// missing parent, owner-only when missing). An existing file of that name is
// replaced atomically. Refused: a bare name that is empty, ".", ".." or holds
// a separator; a folder that is a link, no folder, or belongs to another
// user. No link is ever followed: the data goes to a fresh file which is then
// renamed over the name. False with `cause` saying why.
bool writeFile(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes,
               std::string& cause);

// Looks the member up by its stored path and writes it under its bare file
// name into folder (see writeFile); a member larger than kMaxMemberBytes is
// refused.
int extractMember(const std::string& archivePath, const std::string& folder, const std::string& memberPath);

} // namespace zipio
