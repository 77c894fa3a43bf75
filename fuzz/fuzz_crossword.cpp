// Any bytes as a crossword file: read, derive the clues, write back.
#include "config/CrossException.h"
#include "data/CrossData.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CrossData d;
    try {
        d.readBytes(data, size);
    } catch (const CrossException&) {
        return 0;
    }
    if (d.width > 0 && d.height > 0) {
        (void)d.maxBlocks(true);
        (void)d.maxBlocks(false);
        (void)d.toFileBytes();
    }
    return 0;
}
