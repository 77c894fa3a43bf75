// Any bytes as a pack: list it and extract every member into a scratch
// folder, then check that nothing was written outside that folder.
#include "data/Zip.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fs::path scratch = [] {
        std::string pattern = (fs::temp_directory_path() / "tessellor-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return fs::path(pattern);
    }();
    const fs::path pack = scratch / "p.qlp";
    const fs::path out = scratch / "out" / "inner";
    {
        FILE* f = std::fopen(pack.c_str(), "wb");
        if (!f)
            std::abort();
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::vector<std::string> members;
    zipio::listMembers(pack.string(), [&](const std::string& m) { members.push_back(m); });
    for (const std::string& m : members)
        zipio::extractMember(pack.string(), out.string(), m);
    // Only the pack itself and the extraction folder may exist.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(scratch, ec))
        if (entry.path() != pack && entry.path() != scratch / "out")
            std::abort();
    for (const auto& entry : fs::directory_iterator(scratch / "out", ec))
        if (entry.path() != out)
            std::abort();
    fs::remove_all(scratch / "out", ec);
    return 0;
}
