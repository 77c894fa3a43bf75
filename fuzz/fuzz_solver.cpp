// Both solvers on the clues of any small crossword a file can hold.
#include "config/CrossException.h"
#include "data/CrossData.h"
#include "grid/GridModel.h"
#include "solver/Clues.h"
#include "solver/CompleteSolver.h"
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
    // The line step costs length x blocks, so every size the solver takes
    // stays quick; one past it reaches the refusal.
    if (d.width <= 0 || d.height <= 0 || d.width > Solver::kMaxLine + 1 || d.height > Solver::kMaxLine + 1)
        return 0;
    GridModel grid;
    (void)solveFromScratch(grid, d);
    // The complete solver on the same clues, with a limit so a hard picture
    // ends the run rather than the fuzzer's patience.
    Clues clues;
    if (Clues::fromCrossword(d, clues)) {
        CompleteSolver complete(clues);
        const SolveCount count = complete.solve({0, 200});
        if (!count.stopped && count.solutions == 0)
            __builtin_trap(); // the stored picture itself fits its clues
    }
    return 0;
}
