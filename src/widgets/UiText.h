#pragma once

#include <QString>

#include <string>

// Texts are kept 8-bit in the system's code page; these helpers are the one
// place where widgets turn them into what Qt shows.
namespace uitext {

// The 8-bit text in the current code page as a QString.
QString fromAnsi(const std::string& ansi);

// The language table's text for the key, or the English default when no
// table exists yet (widgets can be built before the main window).
QString text(const std::string& key, const std::string& defaultText);

}  // namespace uitext
