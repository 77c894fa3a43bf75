#pragma once

#include "config/Localization.h"
#include "widgets/UiText.h"

#include <QString>

// The dialogs look their texts up in the table they were made with, so a
// dialog built in a test needs no main window.
inline QString dialogText(const Localization& table, const std::string& key, const std::string& defaultText)
{
    return uitext::fromAnsi(table.GetText(key, defaultText));
}
