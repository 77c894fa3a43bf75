#pragma once
// Packs: zip archives of crossword files. Paths inside the program use "\";
// they are turned into "/" only where they reach the file system.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CrossData;

namespace pack {

// Folders that hold the packs, searched in order: "data" below the working
// folder unless set. An installed game adds its shipped packs after the
// player's own, so a player's pack of the same file name is the one used.
const std::vector<std::string>& dataFolders();
void setDataFolders(std::vector<std::string> folders);
void setDataFolder(const std::string& folder);

// Path of the pack file NAME.qlp (NAME without extension) in the first data
// folder that holds it as a regular file; in the first folder when none does.
std::string packPath(const std::string& name);

// TEMP + "\~qltemp". Without TEMP (or with an empty one) the base is per-user: $XDG_RUNTIME_DIR, or
// /tmp/tessellor-<uid> created with owner-only rights; never a shared folder.
std::string tempFolder();

// Program path ("\" separated) to a file-system path.
std::string toFsPath(const std::string& path);

// Member paths past these limits are skipped and reported like a damaged
// pack: nothing a player makes needs them, and a path 30,000 folders deep
// would only serve to exhaust whatever walks it.
constexpr std::size_t kMaxMemberPathBytes = 1024;
constexpr int kMaxMemberFolders = 32;

// A member name as the program keeps it: the archive's name (UTF-8, see
// zipio::Archive::name) in the ANSI code page, with "\" as the only
// separator ("/" and a stored "\" alike). Converted here once, so that the
// catalogue, the profile and the opening of a crossword all agree on it.
std::string programMemberName(const std::string& utf8Name);
// Why the catalogue leaves a member out, or empty when it takes it: a path
// past the limits, a name part too long to be a file name of its own (the
// member is extracted under it), or a ";", which separates ids in the
// profile so that its progress could never be kept.
std::string memberNameProblem(const std::string& programName);
// The longest name part of a member: what the file system allows.
constexpr std::size_t kMaxNamePartBytes = 255;

// Fills data with the crossword of the given id (Pack\Folder\Name_c_l) through
// the working file "curcross.tmp" of the temporary folder; data.name = id.
// memberIndex, when known from the catalogue, is tried first; otherwise (or
// when the pack has changed since) the first member with that id is taken.
// Errors: CrossException 30000 when the pack or member cannot be read, 30004
// when the working file cannot be written, replaced or read; the detail names
// the file and the cause.
void loadFromPack(CrossData& data, const std::string& id, std::int64_t memberIndex = -1);

} // namespace pack
