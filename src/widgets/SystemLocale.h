#pragma once

#include <QLocale>

// How the system's locale looks to the parts of the program that think in
// Windows terms: its primary language id (which names the language file to
// start with) and its ANSI code page (in which all texts are kept).
namespace systemlocale {

// The Windows primary language id of the locale's language; 0 (neutral,
// which starts in English) for languages Windows gives no id of their own.
unsigned primaryLanguageId(const QLocale& locale);

// The ANSI code page Windows uses for the locale (1250..1258).
int codePage(const QLocale& locale);

}  // namespace systemlocale
