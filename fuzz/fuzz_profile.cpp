// Any bytes as a profile file: read through the file reader the game uses,
// then write what was read and read it again; the second read must give the
// same bytes as the first write.
#include "config/CrossException.h"
#include "profile/ProfileFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessellor-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern + "/p.pfl";
    }();
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            std::abort();
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes) || bytes.size() != size)
        std::abort();
    try {
        const ProfileData first = readProfileBytes(bytes.data(), bytes.size());
        const auto written = profileBytes(first, "english", false, 15);
        const ProfileData second = readProfileBytes(written.data(), written.size());
        if (profileBytes(second, "english", false, 15) != written)
            std::abort();
    } catch (const CrossException&) {
    }
    return 0;
}
