#pragma once

#include <QString>

class Localization;
class QMessageBox;

#include <string>

// Texts are kept 8-bit in the system's code page; these helpers are the one
// place where widgets turn them into what Qt shows.
namespace uitext {

// The 8-bit text in the current code page as a QString.
QString fromAnsi(const std::string& ansi);

// The language table's text for the key, or the English default when no
// table exists yet (widgets can be built before the main window).
QString text(const std::string& key, const std::string& defaultText);
// The same from a given table: dialogs look their texts up in the table they
// were made with, so a dialog built in a test needs no main window.
QString text(const Localization& table, const std::string& key, const std::string& defaultText);

// Gives the box's OK and Cancel buttons the texts of the language table
// ("common_str_ok", "common_str_cancel"); Qt's own would stay English.
void localizeButtons(QMessageBox& box);

}  // namespace uitext
