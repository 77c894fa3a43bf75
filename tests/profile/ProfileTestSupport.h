#pragma once

// Helpers for the profile tests: profile bytes built block by block, and a
// scratch folder that disappears with the test.

#include "config/CrossException.h"
#include "profile/CrossState.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace profiletest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes be32(std::uint32_t v)
{
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

inline Bytes signature() { return text("Tessellor1.1"); }

// A block with the given payload and a length field that matches it.
inline Bytes block(const std::string& tag, const Bytes& payload)
{
    return text(tag) + be32(std::uint32_t(payload.size())) + payload;
}

// A flag or number block: length 2, value high byte first.
inline Bytes shortBlock(const std::string& tag, std::uint16_t value)
{
    return block(tag, {std::uint8_t(value >> 8), std::uint8_t(value)});
}

inline Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes record(const CrossState& entry)
{
    Bytes out;
    entry.appendRecord(out);
    return out;
}

// The code of the CrossException that `action` raises, 0 when it raises none.
template <class Action>
int raisedCode(Action action)
{
    try {
        action();
    } catch (const CrossException& e) {
        return e.code();
    }
    return 0;
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessellor-profile-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder() { std::error_code ec; std::filesystem::remove_all(path_, ec); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(file(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    Bytes read(const std::string& name) const { return readBytes(file(name)); }

private:
    std::string path_;
};

} // namespace profiletest
