// Any bytes as a profile file: read, then write what was read and read it
// again; the second read must give the same bytes as the first write.
#include "config/CrossException.h"
#include "profile/ProfileFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const ProfileData first = readProfileBytes(data, size);
        const auto bytes = profileBytes(first, "english", false, 15);
        const ProfileData second = readProfileBytes(bytes.data(), bytes.size());
        if (profileBytes(second, "english", false, 15) != bytes)
            std::abort();
    } catch (const CrossException&) {
    }
    return 0;
}
