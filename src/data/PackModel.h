#pragma once
// The catalogue: one node per pack, per folder in a pack, one leaf per crossword.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
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
    // Takes the subtree apart without recursion, however deep it is.
    ~TPackModelDir() override;
    bool isFile() const override { return false; }
    std::int32_t editedCount = 0;
    std::int32_t solvedCount = 0;
    std::int32_t totalCount = 0;
    std::vector<std::unique_ptr<TPackModel>> children;
    // The folder children by name, so that a pack of 100,000 folders is not
    // searched child by child for every member.
    std::unordered_map<std::string, TPackModelDir*> folders;
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
    // Where the member sits in its pack, -1 when not known: two members of the
    // same name, or names the archive spells oddly, still open the right one.
    std::int64_t memberIndex = -1;
};

// Where the solved / edited marks come from (the player's profile). Without
// predicates every mark is false.
struct ProfileMarks {
    std::function<bool(const std::string&)> isSolved;    // id compared ignoring case
    std::function<bool(const std::string&)> hasProgress; // id compared exactly
};
void setProfileMarks(ProfileMarks marks);

// Inserts every crossword of every "*.qlp" (letter case ignored) of the data
// folders that is a regular file or a link to one, packs in name order (of
// two packs with one file name, the one in the earlier folder), then
// recounts. A pack that cannot be read is skipped, and so is a member that
// pack::memberNameProblem refuses; the scan goes on. Each such problem is
// returned as "Pack.qlp: cause" so that the caller can show error 30000 once
std::vector<std::string> scanPacks(TPackModelDir& root);

// Inserts the crosswords of one opened pack below root (the pack node is made
// from packFileName). Returns the problems as scanPacks does.
namespace zipio { class Archive; }
std::vector<std::string> addPack(TPackModelDir& root, const std::string& packFileName, zipio::Archive& archive);

// Walks down `displayPath` ("\" separated) without recursion, making the
// folders it lacks. Returns the new crossword node.
TPackModelFile* insertCrossword(TPackModelDir& dir, const std::string& id, const std::string& displayPath,
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
// memberName is the program's form of the name (pack::programMemberName);
// "/" is taken as a separator too.
bool decodeMember(const std::string& packFileName, const std::string& memberName, MemberInfo& out);

// The crossword members of an opened pack in member order, as the game sees
// them: visit(index, info) for each it can open, skip(index, why) for each
// whose name pack::memberNameProblem refuses. Folders and names outside the
// scheme are passed over. The catalogue and the tool walk packs through this
// one filter, so both agree on what a pack holds.
void forEachCrosswordMember(zipio::Archive& archive, const std::string& packFileName,
                            const std::function<void(std::uint64_t, const MemberInfo&)>& visit,
                            const std::function<void(std::uint64_t, const std::string&)>& skip);

// "*.qlp" and "*.lng" as the described platform matches them: ignoring case.
bool hasExtension(const std::string& fileName, const std::string& extension);
