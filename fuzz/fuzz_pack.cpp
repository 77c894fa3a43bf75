// Any bytes as a pack: build its catalogue (member names of any length,
// depth and encoding), read every member by its index as a crossword, list
// it and extract every member into a scratch folder, then check that nothing
// was written outside that folder.
#include "config/CrossException.h"
#include "data/CrossData.h"
#include "data/PackModel.h"
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
    {
        zipio::Archive archive;
        if (archive.open(pack.string())) {
            TPackModelDir root("root");
            addPack(root, "p.qlp", archive);
            recount(root);
            for (std::uint64_t i = 0; i < archive.count(); ++i) {
                std::vector<std::uint8_t> bytes;
                if (!archive.read(i, bytes))
                    continue;
                CrossData d;
                try {
                    d.readBytes(bytes.data(), bytes.size());
                } catch (const CrossException&) {
                }
            }
        }
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
