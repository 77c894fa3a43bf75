#pragma once
// The catalogue: one node per pack, per folder in a pack, one leaf per crossword.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPackModel {
public:
    virtual ~TPackModel() = default;
    virtual bool isFile() const = 0;
    std::string name;
};

class TPackModelDir : public TPackModel {
public:
    explicit TPackModelDir(std::string n = {}) { name = std::move(n); }
    bool isFile() const override { return false; }
    std::int32_t editedCount = 0;
    std::int32_t solvedCount = 0;
    std::int32_t totalCount = 0;
    std::vector<std::unique_ptr<TPackModel>> children;
};

class TPackModelFile : public TPackModel {
public:
    // Level of a member whose level character is not "0".."3": no level bar.
    static constexpr std::uint8_t kNoLevel = 255;
    bool isFile() const override { return true; }
    std::string id;
    std::uint8_t level = 0;
    std::uint8_t isColor = 0;
    std::uint8_t edited = 0;
    std::uint8_t solved = 0;
};

// Where the solved / edited marks come from (the player's profile). Without
// predicates every mark is false.
struct ProfileMarks {
    std::function<bool(const std::string&)> isSolved;    // id compared ignoring case
    std::function<bool(const std::string&)> hasProgress; // id compared exactly
};
void setProfileMarks(ProfileMarks marks);

// Inserts every crossword of every "*.qlp" regular file of the data folders,
// packs in name order (of two packs with one file name, the one in the
// earlier folder), then recounts. A pack that cannot be listed is skipped and the scan
// goes on; the file names of such packs are returned so that the caller can
// show error 30000 once after the scan.
std::vector<std::string> scanPacks(TPackModelDir& root);

// Member callback while a pack is listed: inserts one crossword of the current
// pack. Names shorter than six characters are skipped.
void addMember(const std::string& memberName);

void insertCrossword(TPackModelDir& dir, const std::string& id, const std::string& displayPath,
                     std::uint8_t level, bool isColor);
void recount(TPackModelDir& dir);
TPackModelFile* findCrossword(TPackModelDir& dir, const std::string& id);

// Decoded member name of a pack; false when the name is outside the scheme.
struct MemberInfo {
    std::string id;          // Pack\Folder\Name_c_l
    std::string displayPath; // Pack\Folder\Name_c
    std::uint8_t level = 0;
    bool isColor = false;
};
bool decodeMember(const std::string& packFileName, const std::string& memberName, MemberInfo& out);
