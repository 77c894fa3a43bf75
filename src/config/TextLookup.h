#pragma once

#include <string>

// What a message needs from the language table: a text by key, with the
// English default when the key is missing. Errors are raised deep in the
// core, below the table that translates them, so they see only this.
class TextLookup {
public:
    virtual ~TextLookup() = default;
    virtual std::string GetText(const std::string& key, const std::string& defaultText) const = 0;

    // The lookup errors are shown through: the program's one language table
    // while it exists, null otherwise.
    static const TextLookup* current();
    static void setCurrent(const TextLookup* lookup);
};
