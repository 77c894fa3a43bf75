#include "widgets/UiText.h"

#include "config/CodePage.h"
#include "config/Localization.h"

namespace uitext {

QString fromAnsi(const std::string& ansi)
{
    return QString::fromStdString(codepage::toUtf8(ansi));
}

QString text(const std::string& key, const std::string& defaultText)
{
    if (const Localization* table = Localization::global())
        return fromAnsi(table->GetText(key, defaultText));
    return fromAnsi(Localization::expandLineBreaks(defaultText));
}

}  // namespace uitext
