#include "config/AnsiCase.h"

#include "config/CodePage.h"

#include <array>
#include <cstdint>
#include <iconv.h>
#include <locale.h>
#include <map>
#include <wctype.h>

namespace codepage {
namespace {

using Table = std::array<unsigned char, 256>;

// One character through iconv; false when the converter refuses it.
bool convert(iconv_t cd, const char* in, std::size_t inSize, char* out, std::size_t outCapacity,
             std::size_t& outSize)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* dst = out;
    std::size_t left = inSize, room = outCapacity;
    if (iconv(cd, &src, &left, &dst, &room) == std::size_t(-1) || left != 0)
        return false;
    // Flush any shift state; single-byte pages have none, but be exact.
    if (iconv(cd, nullptr, nullptr, &dst, &room) == std::size_t(-1))
        return false;
    outSize = outCapacity - room;
    return true;
}

Table buildTable(int codePage)
{
    Table table;
    for (int b = 0; b < 256; ++b)
        table[std::size_t(b)] = (b >= 'A' && b <= 'Z') ? (unsigned char)(b + 32) : (unsigned char)b;

    const std::string name = "CP" + std::to_string(codePage);
    iconv_t toWide = iconv_open("UTF-32LE", name.c_str());
    iconv_t fromWide = iconv_open(name.c_str(), "UTF-32LE");
    // The C.UTF-8 locale carries the full Unicode case tables whatever the
    // process locale is.
    locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    if (toWide != iconv_t(-1) && fromWide != iconv_t(-1) && unicode != locale_t(nullptr)) {
        for (int b = 0x80; b < 256; ++b) {
            const char byte = char(b);
            unsigned char wide[8];
            std::size_t n = 0;
            if (!convert(toWide, &byte, 1, reinterpret_cast<char*>(wide), sizeof wide, n) || n != 4)
                continue;
            const std::uint32_t upper = std::uint32_t(wide[0]) | std::uint32_t(wide[1]) << 8 |
                                        std::uint32_t(wide[2]) << 16 | std::uint32_t(wide[3]) << 24;
            const std::uint32_t lower = std::uint32_t(towlower_l(wint_t(upper), unicode));
            if (lower == upper)
                continue;
            const unsigned char lowerWide[4] = {(unsigned char)(lower), (unsigned char)(lower >> 8),
                                                (unsigned char)(lower >> 16), (unsigned char)(lower >> 24)};
            char back[8];
            if (convert(fromWide, reinterpret_cast<const char*>(lowerWide), 4, back, sizeof back, n) && n == 1)
                table[std::size_t(b)] = (unsigned char)back[0];
        }
    }
    if (unicode != locale_t(nullptr))
        freelocale(unicode);
    if (toWide != iconv_t(-1))
        iconv_close(toWide);
    if (fromWide != iconv_t(-1))
        iconv_close(fromWide);
    return table;
}

const Table& tableFor(int codePage)
{
    // Built once per code page; the program runs on one thread.
    static std::map<int, Table> tables;
    auto it = tables.find(codePage);
    if (it == tables.end())
        it = tables.emplace(codePage, buildTable(codePage)).first;
    return it->second;
}

}  // namespace

std::string lowerCase(std::string_view text, int codePage)
{
    const Table& table = tableFor(codePage);
    std::string out(text);
    for (char& c : out)
        c = char(table[(unsigned char)c]);
    return out;
}

std::string lowerCase(std::string_view text)
{
    return lowerCase(text, current());
}

}  // namespace codepage
