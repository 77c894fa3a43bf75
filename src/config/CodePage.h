#pragma once

#include <string>
#include <string_view>

// Texts stay 8-bit in the system's ANSI code page in memory and in files;
// the user interface converts them to Unicode only where it shows them.
namespace codepage {

// The ANSI code page of the running system (1250..1258), chosen once from
// the system locale; 1252 until something sets it.
int current();
void setCurrent(int codePage);

// Converts 8-bit text in the current code page to UTF-8. Bytes the code page
// leaves undefined become U+FFFD; the result is never shorter than a marker.
std::string toUtf8(std::string_view ansi);
// Converts UTF-8 to the current code page; characters it cannot hold become
// '?'. Used for texts that come from Unicode sources (UTF-8 language files).
std::string fromUtf8(std::string_view utf8);

}  // namespace codepage
