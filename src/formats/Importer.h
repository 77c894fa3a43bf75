#pragma once

#include "data/CrossData.h"
#include "formats/Puzzle.h"

#include <atomic>
#include <deque>
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

    // The two halves of addFile, for a caller that shows progress or lets
    // the player stop: readFile only reads and queues (quick), solveQueued
    // settles the queued puzzles in order, the slow part. Refusals come in
    // the same order as from addFile.
    bool readFile(const std::string& path);
    std::size_t queuedPuzzles() const;
    // Told before each puzzle is solved: its number from 1, how many were
    // queued, and where it comes from.
    using Progress = std::function<void(std::size_t number, std::size_t total, const std::string& file,
                                        const std::string& puzzle)>;
    // Returns false when `stop` was raised: it ends the solver within
    // moments, and the lists are then incomplete, for the caller to drop.
    bool solveQueued(const Progress& progress = {}, const std::atomic<bool>* stop = nullptr);

    const std::vector<Crossword>& crosswords() const { return crosswords_; }
    const std::vector<std::string>& refusals() const { return refusals_; }

private:
    // One puzzle waiting for the solver, or a refusal found while reading,
    // kept in line so that refusals stay in the order of the files.
    struct Queued {
        std::string file{}, name{}, title{};
        std::string refusal{};
        bool picture = false;
        Puzzle puzzle{};
        CrossData data{};
    };
    void refuse(std::string line);
    bool addPuzzle(const std::string& file, const std::string& puzzle, const Puzzle& p, const std::string& title);
    bool addPicture(const std::string& file, CrossData& data, const std::string& title);
    // The solver ended because `stop` was raised: no refusal then.
    bool stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }
    bool take(const std::string& where, CrossData& data, const std::string& title);

    std::string folder_;
    std::set<std::string> taken_;
    PictureReader pictures_;
    double seconds_;
    const std::atomic<bool>* stop_ = nullptr;
    std::deque<Queued> queue_;
    std::vector<Crossword> crosswords_;
    std::vector<std::string> refusals_;
};
