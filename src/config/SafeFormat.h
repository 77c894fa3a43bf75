#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// printf-style formatting for format strings that come from language files.
// Each conversion takes the next argument only when its kind fits (d i u x X
// c for integers, f e g for reals, s for texts); a conversion that does not
// fit, or has no argument left, is copied as it stands. So a translation
// with a wrong placeholder shows a visible slip instead of reading memory.
using FormatArg = std::variant<std::int64_t, double, std::string>;

std::string safeFormat(const std::string& format, const std::vector<FormatArg>& args);

// Time spent as the game shows it (status bar, solved notice, tree hint):
// "m:ss" below an hour, "h:mm:ss" from then on.
std::string clockText(std::uint32_t seconds);
