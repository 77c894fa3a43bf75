#include "profile/ProfileFile.h"

#include "config/AnsiCase.h"
#include "config/CodePage.h"
#include "config/CrossException.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ------------------------------------------------------------ ProfileData

bool ProfileData::isSolved(const std::string& id) const
{
    reindexSolved();
    return solvedLower_.count(codepage::lowerCase(id, solvedCodePage_)) != 0;
}

bool ProfileData::addSolved(const std::string& id)
{
    if (id.find(';') != std::string::npos || isSolved(id))
        return false;
    solved_.push_back(id);
    solvedLower_.insert(codepage::lowerCase(id, solvedCodePage_));
    return true;
}

void ProfileData::reindexSolved() const
{
    const int page = codepage::current();
    if (page == solvedCodePage_)
        return;
    solvedCodePage_ = page;
    solvedLower_.clear();
    for (const std::string& s : solved_)
        solvedLower_.insert(codepage::lowerCase(s, page));
}

int ProfileData::findState(const std::string& id) const
{
    const auto it = firstState_.find(id);
    return it == firstState_.end() ? -1 : it->second;
}

int ProfileData::addState(CrossState entry)
{
    const int position = int(states_.size());
    firstState_.emplace(entry.id(), position); // keeps an earlier position
    states_.push_back(std::move(entry));
    return position;
}

// ---------------------------------------------------------------- reading

namespace {

constexpr std::size_t kTagSize = 10;
constexpr std::uint32_t kWindowSize = 18;

bool tagIs(const std::uint8_t* tag, const char (&name)[kTagSize + 1])
{
    return std::memcmp(tag, name, kTagSize) == 0;
}

// A read position over the file's bytes. Every read checks what is left
// first; a read that does not fit takes nothing.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t left() const { return size_ - pos_; }
    const std::uint8_t* here() const { return data_ + pos_; }
    void skip(std::size_t n) { pos_ += std::min(n, left()); }
    void toEnd() { pos_ = size_; }

    bool u16(std::uint32_t& v)
    {
        if (left() < 2)
            return false;
        v = std::uint32_t(here()[0]) << 8 | here()[1];
        pos_ += 2;
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        if (left() < 4)
            return false;
        const std::uint8_t* p = here();
        v = std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
        pos_ += 4;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Flag and number blocks: the length field is passed over unread and exactly
// two bytes follow, whatever it says.
bool readShort(Cursor& in, std::uint32_t& value)
{
    std::uint32_t ignored;
    return in.u32(ignored) && in.u16(value);
}

} // namespace

ProfileData readProfileBytes(const std::uint8_t* bytes, std::size_t size)
{
    const std::size_t sig = ProfileData::kSignature.size();
    if (size < sig || std::memcmp(bytes, ProfileData::kSignature.data(), sig) != 0)
        throw CrossException(30006);

    ProfileData data;
    Cursor in(bytes + sig, size - sig);
    while (in.left() >= kTagSize) {
        const std::uint8_t* tag = in.here();
        in.skip(kTagSize);
        std::uint32_t length = 0, value = 0;
        if (tagIs(tag, "SOLV_CROSS")) {
            if (!in.u32(length))
                break;
            // Each ";" ends an id; bytes after the last one are dropped.
            const std::size_t n = std::min<std::size_t>(length, in.left());
            const char* text = reinterpret_cast<const char*>(in.here());
            std::size_t start = 0;
            for (std::size_t i = 0; i < n; ++i)
                if (text[i] == ';') {
                    data.addSolved(std::string(text + start, i - start));
                    start = i + 1;
                }
            in.skip(n);
        } else if (tagIs(tag, "LANG______")) {
            if (!in.u32(length) || length > in.left())
                break; // a name cut short by the end of the file names nothing
            data.languages.emplace_back(reinterpret_cast<const char*>(in.here()), length);
            in.skip(length);
        } else if (tagIs(tag, "PREVIEW___")) {
            if (!readShort(in, value))
                break;
            data.preview = value == 1;
        } else if (tagIs(tag, "SIZE______")) {
            if (!readShort(in, value))
                break;
            data.cellSize = (value < 3 || value > 30) ? ProfileData::kDefaultCellSize : int(value);
        } else if (tagIs(tag, "AUTOMARK__")) {
            if (!readShort(in, value))
                break;
            data.autoMark = value == 1;
        } else if (tagIs(tag, "HOVER_____")) {
            if (!readShort(in, value))
                break;
            data.showHover = value == 1;
        } else if (tagIs(tag, "ACTV_CROSS")) {
            if (!readShort(in, value))
                break;
            data.current = int(value);
        } else if (tagIs(tag, "CROSS_DATA")) {
            if (!in.u32(length))
                break;
            // The length is checked only between records, so a record may run
            // on past it; the next tag is read wherever the records stopped.
            std::uint64_t count = 0;
            while (count < length && in.left() > 0) {
                std::size_t consumed = 0;
                auto entry = CrossState::readRecord(in.here(), in.left(), consumed);
                if (!entry) {
                    in.toEnd(); // only the end of the file cuts a record short
                    break;
                }
                data.addState(std::move(*entry));
                in.skip(consumed);
                count += consumed;
            }
        } else if (tagIs(tag, "LINE_HELP_")) {
            if (!readShort(in, value))
                break;
            data.lineHelp = value == 1;
        } else if (tagIs(tag, "MISTAKES__")) {
            if (!readShort(in, value))
                break;
            data.liveMistakes = value == 1;
        } else if (tagIs(tag, "CROSS_TIME")) {
            if (!in.u32(length))
                break;
            // Records of an id, ";" and four bytes of seconds; a record cut
            // short by the block's end or the file's end is dropped.
            const std::size_t n = std::min<std::size_t>(length, in.left());
            const std::uint8_t* p = in.here();
            std::size_t at = 0;
            while (at < n) {
                const void* semi = std::memchr(p + at, ';', n - at);
                if (!semi)
                    break;
                const std::size_t end = std::size_t(static_cast<const std::uint8_t*>(semi) - p);
                if (n - end - 1 < 4)
                    break;
                const std::uint8_t* s = p + end + 1;
                data.playSeconds[std::string(reinterpret_cast<const char*>(p + at), end - at)] =
                    std::uint32_t(s[0]) << 24 | std::uint32_t(s[1]) << 16 | std::uint32_t(s[2]) << 8 | s[3];
                at = end + 5;
            }
            in.skip(length);
        } else if (tagIs(tag, "WINDOW____")) {
            if (!in.u32(length))
                break;
            // Four signed 32-bit numbers and a flag; a longer block may carry
            // more that a later version adds, a shorter one is not a window.
            if (length >= kWindowSize && in.left() >= kWindowSize) {
                const std::uint8_t* p = in.here();
                auto number = [p](int i) {
                    return std::int32_t(std::uint32_t(p[i]) << 24 | std::uint32_t(p[i + 1]) << 16 |
                                        std::uint32_t(p[i + 2]) << 8 | p[i + 3]);
                };
                data.window = WindowPlacement{number(0), number(4), number(8), number(12), (p[16] << 8 | p[17]) == 1};
            }
            in.skip(length);
        } else {
            // A block this program does not know. Its length is never taken
            // as negative: a damaged length must not move the reading back.
            if (!in.u32(length))
                break;
            in.skip(length);
        }
    }
    return data;
}

boundedfile::Result readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    return boundedfile::read(path, kMaxProfileBytes, bytes);
}

// ---------------------------------------------------------------- writing

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v >> 24));
    out.push_back(std::uint8_t(v >> 16));
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[kTagSize + 1], std::uint32_t length)
{
    out.insert(out.end(), tag, tag + kTagSize);
    put32(out, length);
}

void putShort(std::vector<std::uint8_t>& out, const char (&tag)[kTagSize + 1], std::uint32_t value)
{
    putTag(out, tag, 2);
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

} // namespace

std::vector<std::uint8_t> profileBytes(const ProfileData& data, const std::string& language, bool previewShown,
                                       int cellSize)
{
    std::uint64_t solvedLength = 0;
    for (const std::string& id : data.solved())
        solvedLength += id.size() + 1;
    std::uint64_t statesLength = 0;
    for (const CrossState& e : data.states())
        statesLength += e.recordSize();
    // The length fields hold 32 bits; a profile that big is refused rather
    // than written with lengths that would shift every later block.
    if (solvedLength > 0xFFFFFFFFu || statesLength > 0xFFFFFFFFu || language.size() > 0xFFFFFFFFu)
        throw CrossException(30007);

    std::vector<std::uint8_t> out;
    out.reserve(ProfileData::kSignature.size() + 8 * 14 + 16 + solvedLength + language.size() + statesLength);
    out.insert(out.end(), ProfileData::kSignature.begin(), ProfileData::kSignature.end());

    putTag(out, "SOLV_CROSS", std::uint32_t(solvedLength));
    for (const std::string& id : data.solved()) {
        out.insert(out.end(), id.begin(), id.end());
        out.push_back(';');
    }
    putTag(out, "LANG______", std::uint32_t(language.size()));
    out.insert(out.end(), language.begin(), language.end());
    putShort(out, "PREVIEW___", previewShown ? 1 : 0);
    putShort(out, "SIZE______", std::uint32_t(cellSize) & 0xFFFF);
    putShort(out, "AUTOMARK__", data.autoMark ? 1 : 0);
    putShort(out, "HOVER_____", data.showHover ? 1 : 0);
    // A position that 16 bits cannot hold would name another entry when read
    // back; it is written as "none" instead.
    const bool fits = data.current >= 0 && data.current <= 0xFFFF;
    putShort(out, "ACTV_CROSS", fits ? std::uint32_t(data.current) : 0xFFFFu);
    putTag(out, "CROSS_DATA", std::uint32_t(statesLength));
    for (const CrossState& e : data.states())
        e.appendRecord(out);

    if (!data.playSeconds.empty()) {
        std::uint64_t timesLength = 0;
        for (const auto& [id, seconds] : data.playSeconds)
            if (id.find(';') == std::string::npos)
                timesLength += id.size() + 5;
        if (timesLength > 0xFFFFFFFFu)
            throw CrossException(30007);
        putTag(out, "CROSS_TIME", std::uint32_t(timesLength));
        for (const auto& [id, seconds] : data.playSeconds) {
            if (id.find(';') != std::string::npos)
                continue;
            out.insert(out.end(), id.begin(), id.end());
            out.push_back(';');
            put32(out, seconds);
        }
    }
    if (data.window) {
        const WindowPlacement& w = *data.window;
        putTag(out, "WINDOW____", kWindowSize);
        for (int v : {w.x, w.y, w.width, w.height})
            put32(out, std::uint32_t(v));
        out.push_back(0);
        out.push_back(w.maximised ? 1 : 0);
    }
    if (data.lineHelp)
        putShort(out, "LINE_HELP_", 1);
    if (data.liveMistakes)
        putShort(out, "MISTAKES__", 1);
    return out;
}

// ------------------------------------------------------- file replacement

namespace {

ChunkWriter& chunkWriter()
{
    static ChunkWriter writer;
    return writer;
}

std::size_t writeChunk(int fd, const std::uint8_t* data, std::size_t size)
{
    if (chunkWriter())
        return chunkWriter()(fd, data, size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

void setChunkWriterForTesting(ChunkWriter writer)
{
    chunkWriter() = std::move(writer);
}

void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    // mkstemp creates the file exclusively, so an existing file or link of
    // that name is never followed. The name does not end in ".pfl", so a
    // temporary file left by a crash is never offered as a profile.
    // A profile the player has made read-only stays as it is, as it would
    // if it were written in place.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        throw CrossException(30007);
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw CrossException(30007);

    // Keep the rights of the file being replaced; a new profile gets what an
    // ordinary new file would get.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    bool ok = ::fchmod(fd, mode) == 0;
    constexpr std::size_t kChunk = 64 * 1024;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const std::size_t n = std::min(kChunk, bytes.size() - done);
        ok = writeChunk(fd, bytes.data() + done, n) == n;
        done += n;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw CrossException(30007);
    }
    // Make the rename itself durable; the new file is complete either way.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// ------------------------------------------------------------ names

ProfileNameProblem checkProfileName(std::string_view name)
{
    if (name.empty())
        return ProfileNameProblem::Empty;
    if (name == "." || name == "..")
        return ProfileNameProblem::DotName;
    for (unsigned char c : name) {
        if (c == '/' || c == '\\')
            return ProfileNameProblem::PathSeparator;
        if (c < 0x20 || c == 0x7F || std::strchr("<>:\"|?*", c))
            return ProfileNameProblem::BadCharacter;
    }
    // 255 bytes is the longest file name the common file systems take.
    if (name.size() + 4 > 255)
        return ProfileNameProblem::TooLong;
    return ProfileNameProblem::None;
}
