#include "widgets/UiText.h"

#include "config/CodePage.h"
#include "config/Localization.h"

#include <QAbstractButton>
#include <QMessageBox>

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

QString text(const Localization& table, const std::string& key, const std::string& defaultText)
{
    return fromAnsi(table.GetText(key, defaultText));
}

void localizeButtons(QMessageBox& box)
{
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(text("common_str_ok", "Ok"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(text("common_str_cancel", "Cancel"));
}

}  // namespace uitext
