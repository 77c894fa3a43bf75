#pragma once

#include "config/BoundedFile.h"
#include "profile/CrossState.h"
#include "profile/WindowPlacement.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The contents of a profile file without anything they are applied to: the
// profile reads into this, the tool prints it, the writer serialises it.
//
// File layout: the 12 bytes "Tessellor1.1", then blocks of a 10-byte tag, a
// 4-byte big-endian payload length and the payload. Flag and number blocks
// carry 2 bytes, high byte first. The blocks of the clock and the window
// come last; a reader that knows only the older blocks passes over them as
// it passes over any tag it does not know.
struct ProfileData {
    static constexpr std::string_view kSignature = "Tessellor1.1";
    static constexpr int kDefaultCellSize = 12; // a stored size outside 3..30

    // Solved crossword ids; no two equal ignoring letter case.
    const std::vector<std::string>& solved() const { return solved_; }
    // Adds the id unless it is there already in some spelling. Ids holding
    // ";" are refused: ";" ends an id in the file, so such an id would split
    // and shift every later byte of the block.
    bool addSolved(const std::string& id);
    bool isSolved(const std::string& id) const;

    // Saved progress in the order of creation; entries are only appended.
    const std::vector<CrossState>& states() const { return states_; }
    CrossState& state(int position) { return states_[std::size_t(position)]; }
    // Position of the current entry as stored, 0..65535, or -1.
    int current = -1;
    bool autoMark = false;
    bool showHover = true;

    // What the file said about things the profile does not own, in file
    // order / last one wins. Unset when the file had no such block.
    std::vector<std::string> languages;
    std::optional<bool> preview;
    std::optional<int> cellSize; // already mapped into 3..30

    // Seconds spent on each crossword ("CROSS_TIME"), by id; ids never hold
    // ";". Written only when there is at least one.
    std::map<std::string, std::uint32_t> playSeconds;
    // Where the main window was ("WINDOW____"); written only when set.
    std::optional<WindowPlacement> window;
    // Play aids, off unless their flag block says 1: crossing the rest of a
    // finished line ("LINE_HELP_") and keeping mistakes framed ("MISTAKES__").
    // Their blocks are written only when on.
    bool lineHelp = false;
    bool liveMistakes = false;

    // The first entry with exactly this id, or -1.
    int findState(const std::string& id) const;
    bool hasProgress(const std::string& id) const { return findState(id) >= 0; }
    // Appends an entry and keeps the id index in step; returns its position.
    int addState(CrossState entry);

private:
    void reindexSolved() const;

    std::vector<std::string> solved_;
    std::vector<CrossState> states_;
    // Lower-cased solved ids, for the catalogue that asks once per crossword;
    // rebuilt when the code page has changed since.
    mutable std::unordered_set<std::string> solvedLower_;
    mutable int solvedCodePage_ = 0;
    // First position of each id in `states`; entries are only ever appended,
    // so the first position of an id never changes once known.
    std::unordered_map<std::string, int> firstState_;
};

// Reads the bytes of a profile file. Raises CrossException 30006 when they
// do not begin with the signature. Damaged blocks never read past the end or
// allocate more than the bytes hold: a block or record cut short by the end
// is dropped, unknown tags are skipped, blocks may repeat in any order.
ProfileData readProfileBytes(const std::uint8_t* bytes, std::size_t size);

// A profile holds a few kilobytes per crossword opened; a file past this is
// no profile of ours, and reading it whole would only exhaust memory.
constexpr std::uint64_t kMaxProfileBytes = 64u << 20;

// All bytes of a profile file. Fails (with `bytes` empty and the cause in the
// result) for a file that is missing, is no regular file (a folder, a FIFO, a
// link to a device), is larger than kMaxProfileBytes or cannot be read.
boundedfile::Result readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// The bytes of a profile file, blocks in the order the program writes them.
// The caller supplies what lives outside the profile: the language table's
// current language, the preview window's state and the grid's cell size.
std::vector<std::uint8_t> profileBytes(const ProfileData& data, const std::string& language, bool previewShown,
                                       int cellSize);

// Replaces `path` by `bytes` so that a failure at any point leaves the old
// file as it was: the bytes go into a new file in the same folder, which is
// flushed to the disk and only then renamed over the old one. Raises
// CrossException 30007 when any step fails (the temporary file is removed)
// and when the old file is there but may not be written.
void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Tests put a writer here to make writing fail part way. The writer gets a
// chunk and returns how many of its bytes it wrote; fewer than asked is a
// failure. An empty function restores the ordinary writer.
using ChunkWriter = std::function<std::size_t(int fd, const std::uint8_t* data, std::size_t size)>;
void setChunkWriterForTesting(ChunkWriter writer);

// Why a player's name cannot be a profile name, for the profile dialog. The
// name becomes "<name>.pfl" in the working folder, so it must stay one plain
// file name there.
enum class ProfileNameProblem {
    None,
    Empty,
    DotName,         // "." or ".."
    PathSeparator,   // "/" or "\"
    BadCharacter,    // control characters and < > : " | ? *
    TooLong,         // "<name>.pfl" longer than a file name can be
};
ProfileNameProblem checkProfileName(std::string_view name);
inline bool isValidProfileName(std::string_view name) { return checkProfileName(name) == ProfileNameProblem::None; }
