#pragma once
// Thin wrapper over libzip: the only place that talks to the archive library.
// Results: 0 success, any other value failure.
#include <functional>
#include <string>

namespace zipio {

// A crossword file is at most 8 + 65535 + 128 x 128 bytes; a member far
// beyond that is no crossword and is never written out.
constexpr unsigned long long kMaxMemberBytes = 1u << 20;

// Calls onMember once per file member with its archive path ("/" separated).
// Directory entries (names ending in "/") are skipped.
int listMembers(const std::string& archivePath, const std::function<void(const std::string&)>& onMember);

// Writes the member under its bare file name into folder (created, with any
// missing parent, owner-only when missing). An existing file of that name is
// replaced atomically. Refused: a member whose bare name is empty, ".", ".."
// or holds a separator; a member larger than kMaxMemberBytes; a folder that is
// a link or belongs to another user. No link is ever followed: the data goes
// to a fresh file which is then renamed over the name.
int extractMember(const std::string& archivePath, const std::string& folder, const std::string& memberPath);

} // namespace zipio
