#pragma once
// Writing packs: every pack this program writes goes through here, so that
// the same crosswords always give the same bytes and a pack on disk is
// either the old one or the complete new one, never half of either.
#include <cstdint>
#include <string>
#include <vector>

namespace packwriter {

struct Member {
    std::string path; // archive path, "/" separated, with ".ql"
    std::vector<std::uint8_t> bytes;
};

// Writes the members in the given order, deflated, with a fixed time stamp
// and attributes, to PATH.part, and renames that over PATH when complete.
// False with `error` saying what failed; PATH is then untouched.
bool write(const std::string& path, const std::vector<Member>& members, std::string& error);

// The members of an existing pack, in archive order (directory entries
// skipped). Refuses members above the size a crossword can have and packs
// of more than kMaxMembers members.
constexpr std::size_t kMaxMembers = 100000;
bool read(const std::string& path, std::vector<Member>& members, std::string& error);

} // namespace packwriter
