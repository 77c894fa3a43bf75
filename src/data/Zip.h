#pragma once
// Thin wrapper over libzip: the only place that talks to the archive library.
// Results: 0 success, any other value failure.
#include <functional>
#include <string>

namespace zipio {

// Calls onMember once per file member with its archive path ("/" separated).
// Directory entries (names ending in "/") are skipped.
int listMembers(const std::string& archivePath, const std::function<void(const std::string&)>& onMember);

// Writes the member under its bare file name into folder (created owner-only
// when missing). An existing file of that name is replaced atomically. A member
// whose bare name is empty, ".", ".." or holds a separator is refused, and no
// link is ever followed: the data goes to a fresh file which is then renamed.
int extractMember(const std::string& archivePath, const std::string& folder, const std::string& memberPath);

} // namespace zipio
