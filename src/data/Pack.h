#pragma once
// Packs: zip archives of crossword files. Paths inside the program use "\";
// they are turned into "/" only where they reach the file system.
#include <functional>
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

int listArchive(const std::string& packPath, const std::function<void(const std::string&)>& memberCallback);
int extractMember(const std::string& packPath, const std::string& folder, const std::string& memberPath);

// Fills data with the crossword of the given id (Pack\Folder\Name_c_l) through
// the working file "curcross.tmp" of the temporary folder; data.name = id.
// Errors: CrossException 30000 when the member cannot be extracted, 30004 when
// the working file cannot be replaced or read.
void loadFromPack(CrossData& data, const std::string& id);

} // namespace pack
