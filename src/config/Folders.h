#pragma once
// Where the game keeps and finds its files.
//
// Started in a folder of its own (one whose "data" holds a pack or whose
// "language" holds a language file, as the repository folder does), the game
// works there exactly as it always has: packs from "data", languages from
// "language", help from "help", profiles beside them.
//
// Started anywhere else, it works in the player's data folder
// ($XDG_DATA_HOME/tessellor, by default ~/.local/share/tessellor): profiles
// live there, packs and languages come from the player's own "data" and
// "language" folders there first and then from the installed share folder
// (found relative to the executable, so a moved or staged install works),
// and help comes from the installed folder. Nothing is then written into the
// installed folder or into the folder the game was started from.
#include <string>
#include <vector>

namespace folders {

struct Layout {
    bool ownFolder = true;  // started in a folder of its own
    std::string work = ".";  // profiles; becomes the current folder
    std::vector<std::string> packs{"data"};  // searched in this order
    std::vector<std::string> languages{"language"};  // searched in this order
    std::string help = "help";
    std::string share;  // the installed folder; empty in a folder of its own
};

struct Inputs {
    std::string startFolder;  // the current folder at start
    std::string executableFolder;  // where the running program lies
    std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
    std::string home;  // $HOME, or the account's home when that is unset
};

// The installed share folder relative to the folder of the executable,
// as the build installs it ("../share/tessellor").
const std::string& shareFromExecutable();

// True when the folder holds data/*.qlp or language/*.lng (letter case
// ignored): a folder the game can work in as it stands.
bool isOwnFolder(const std::string& folder);

// Decides the layout. The player's data folder itself never counts as a
// folder of its own, so starting there still finds the installed packs.
// Fails (empty work, error set) only when no data folder can be named:
// neither an absolute XDG_DATA_HOME nor an absolute home.
Layout choose(const Inputs& inputs, std::string& error);

// Creates the working folder (owner-only, with any missing parents) and
// checks that the shipped files can be found. False with a message naming
// the folder and the reason otherwise.
bool prepare(const Layout& layout, std::string& error);

// Makes the layout the program's: enters the working folder. Call once at
// start, after prepare; the caller then points the pack search at
// layout.packs (packs live a layer above this one).
bool apply(const Layout& layout, std::string& error);

// The layout in force; the own-folder one until apply is called.
const Layout& current();

}  // namespace folders
