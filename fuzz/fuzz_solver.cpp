// The solver on the clues of any small crossword a file can hold.
#include "config/CrossException.h"
#include "data/CrossData.h"
#include "grid/GridModel.h"
#include "solver/Solver.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CrossData d;
    try {
        d.readBytes(data, size);
    } catch (const CrossException&) {
        return 0;
    }
    // Small enough that the enumeration stays quick.
    if (d.width <= 0 || d.height <= 0 || d.width > 12 || d.height > 12)
        return 0;
    GridModel grid;
    (void)solveFromScratch(grid, d);
    return 0;
}
