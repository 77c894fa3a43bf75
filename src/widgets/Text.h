#pragma once

#include <QString>

#include <string>

// Texts live as 8-bit strings in the system's code page; these turn them
// into Qt strings at the point where they are shown.
QString toQt(const std::string& ansi);

// The text of `key` from the program's language table, or `defaultText`
// while there is no table or the key is missing.
QString uiText(const char* key, const char* defaultText);
