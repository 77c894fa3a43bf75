#pragma once
// Packs: zip archives of crossword files. Paths inside the program use "\";
// they are turned into "/" only where they reach the file system.
#include <functional>
#include <string>

class CrossData;

namespace pack {

// Folder that holds the packs, "data" below the working folder unless set
// (tests point it elsewhere).
const std::string& dataFolder();
void setDataFolder(const std::string& folder);

// TEMP + "\~qltemp". Without TEMP (or with an empty one) the base is per-user: $XDG_RUNTIME_DIR, or
// /tmp/tessellor-<uid> created with owner-only rights; never a shared folder.
std::string tempFolder();

// Program path ("\" separated) to a file-system path.
std::string toFsPath(const std::string& path);

int listArchive(const std::string& packPath, const std::function<void(const std::string&)>& memberCallback);
int extractMember(const std::string& packPath, const std::string& folder, const std::string& memberPath);

// Fills data with the crossword of the given id (Pack\Folder\Name_c_l) through
// the working file "curcross.tmp" of the temporary folder; data.name = id.
// Errors: CrossException 30000 when the member cannot be extracted, 30004 when
// the working file cannot be replaced or read.
void loadFromPack(CrossData& data, const std::string& id);

} // namespace pack
