// Any bytes as a language file.
#include "config/Localization.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto entries = Localization::parse(std::string(reinterpret_cast<const char*>(data), size));
    (void)entries.size();
    return 0;
}
