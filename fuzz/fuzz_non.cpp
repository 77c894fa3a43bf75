// Any bytes as a .non puzzle: read; whatever is accepted must write and
// read back to the same clues, and map onto the palette.
#include "formats/ColourMapping.h"
#include "formats/NonFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Puzzle p;
    std::string error;
    if (!nonformat::read(std::string_view(reinterpret_cast<const char*>(data), size), p, error)) return 0;
    Puzzle back;
    if (!nonformat::read(nonformat::write(p), back, error) || back.rows != p.rows || back.columns != p.columns ||
        back.goal != p.goal)
        std::abort();
    return 0;
}
