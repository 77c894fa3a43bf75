#include "widgets/Text.h"

#include "config/CodePage.h"
#include "config/Localization.h"

QString toQt(const std::string& ansi)
{
    return QString::fromStdString(codepage::toUtf8(ansi));
}

QString uiText(const char* key, const char* defaultText)
{
    if (const Localization* table = Localization::global())
        return toQt(table->GetText(key, defaultText));
    return toQt(Localization::expandLineBreaks(defaultText));
}
