#pragma once

#include "data/CrossData.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// Turns puzzle files into crosswords for a pack: .non files, XML puzzle sets
// (every puzzle), and whatever pictures the caller can read. Each puzzle is
// solved from its clues by the complete solver and taken only when exactly
// one picture fits them; its colours are mapped onto the palette, its title
// becomes a safe member name (numbered when taken), and the level comes
// from the rating rule. What cannot be taken is listed in `refusals`, one
// line naming the file (and the puzzle) and the reason; the rest go on.
class Importer {
public:
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    struct Crossword {
        std::string member; // archive path with "_C_L.ql"
        CrossData data;
        int level = 0;
    };

    // Reads a picture file the core cannot (text grid, PNG, ...) into `out`;
    // returns false with `error` when it cannot. Asked only for files that
    // are neither .non nor XML.
    using PictureReader = std::function<bool(const std::string& path, CrossData& out, std::string& error)>;

    // Names already in the target pack ("Folder/Title_C_L.ql") are kept free.
    Importer(std::string folder, const std::vector<std::string>& existingMembers, PictureReader pictures,
             double secondsPerPuzzle = 60);

    // Imports every puzzle of one file. Returns false when the file itself
    // could not be read (missing, not a regular file, too large, damaged).
    bool addFile(const std::string& path);

    const std::vector<Crossword>& crosswords() const { return crosswords_; }
    const std::vector<std::string>& refusals() const { return refusals_; }

private:
    bool addPuzzle(const std::string& file, const std::string& puzzle, const struct Puzzle& p, const std::string& title);
    bool addPicture(const std::string& file, CrossData& data, const std::string& title);
    bool take(const std::string& where, CrossData& data, const std::string& title);

    std::string folder_;
    std::set<std::string> taken_;
    PictureReader pictures_;
    double seconds_;
    std::vector<Crossword> crosswords_;
    std::vector<std::string> refusals_;
};
