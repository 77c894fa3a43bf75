// Any bytes as an XML puzzle set: read; every puzzle accepted must write and
// read back to the same clues and goal, and its colours map or are refused.
#include "formats/ColourMapping.h"
#include "formats/PbnXml.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<pbnxml::Entry> set;
    std::string error;
    if (!pbnxml::read(std::string_view(reinterpret_cast<const char*>(data), size), set, error)) return 0;
    for (const auto& e : set) {
        if (!e.error.empty()) continue;
        const Puzzle& p = e.puzzle;
        std::vector<RGB> inks;
        for (std::size_t i = 1; i < p.colours.size(); ++i) inks.push_back(p.colours[i].rgb);
        std::vector<int> entries;
        if (mapColours(inks, entries, error))
            for (int v : entries)
                if (v < 1 || v > 18) std::abort();
        // Symbols may repeat in a read puzzle; the writer needs them distinct.
        Puzzle q = p;
        for (std::size_t i = 0; i < q.colours.size(); ++i) {
            q.colours[i].symbol = char('A' + i % 26);
            q.colours[i].name = "c" + std::to_string(i);
        }
        if (q.colours.size() > 26) continue;
        std::vector<pbnxml::Entry> back;
        if (!pbnxml::read(pbnxml::write({q}), back, error) || back.size() != 1 || !back[0].error.empty() ||
            back[0].puzzle.rows != q.rows || back[0].puzzle.columns != q.columns || back[0].puzzle.goal != q.goal)
            std::abort();
    }
    return 0;
}
