#pragma once

#include <string>
#include <vector>

// Every key the program looks up, with the English default its caller
// passes. The callers keep their own literal defaults (a text shows even
// when this list and a caller disagree); the list is what a complete language
// file must define, and the tests hold the callers, the list and the shipped
// files together.
struct LanguageKey {
    std::string key;
    std::string englishDefault;
};

const std::vector<LanguageKey>& languageKeys();

// The printf conversions of a format text in order ("%d", "%s", ...; "%%"
// is no conversion), flags, width and precision included. A translation has
// to keep exactly these, or the formatted text shows a slip.
std::vector<std::string> formatPlaceholders(const std::string& text);
