#pragma once

#include <string>
#include <string_view>

namespace codepage {

// Lower-cases 8-bit text the way the system's ANSI lower-case mapping does for
// the given code page: every byte whose character has a lower-case partner in
// the same code page becomes that partner; everything else stays. Code pages
// the system cannot convert fall back to ASCII letters only.
std::string lowerCase(std::string_view text, int codePage);
// The same in the current code page.
std::string lowerCase(std::string_view text);

}  // namespace codepage
