#pragma once

#include <string>
#include <string_view>

// Texts stay 8-bit in the system's ANSI code page in memory and in files;
// the user interface converts them to Unicode only where it shows them.
namespace codepage {

// The Windows ANSI code pages this program knows: 1250 Central European,
// 1251 Cyrillic, 1252 Western, 1253 Greek, 1254 Turkish, 1255 Hebrew,
// 1256 Arabic, 1257 Baltic, 1258 Vietnamese.
bool isSupported(int codePage);

// The ANSI code page of the running system, chosen once at start-up from the
// system locale; 1252 until something sets it. Setting a page the program
// has no table for is refused (returns false, the page stays).
int current();
bool setCurrent(int codePage);

// Which script a locale writes its language in, where one language id covers
// several (Serbian and Croatian share 0x1A; Azeri and Uzbek come in Latin
// and Cyrillic letters).
enum class Script { Default, Latin, Cyrillic };

// The ANSI code page Windows gives a locale of this primary language id (the
// low 10 bits of a locale id); 1252 for every language without a page of its
// own among the nine above.
int forLocale(unsigned primaryLanguageId, Script script = Script::Default);

// The Unicode character of one byte; U+FFFD for the few bytes the page leaves
// undefined.
char32_t toUnicode(unsigned char byte, int codePage);

// Converts 8-bit text to UTF-8 (in the current page unless one is given).
std::string toUtf8(std::string_view ansi);
std::string toUtf8(std::string_view ansi, int codePage);
// Converts UTF-8 to 8-bit text; characters the page cannot hold, and broken
// UTF-8 sequences, become '?'. Used for texts that come from Unicode sources
// (names typed into Qt widgets, UTF-8 language files).
std::string fromUtf8(std::string_view utf8);
std::string fromUtf8(std::string_view utf8, int codePage);

}  // namespace codepage
