#include "widgets/ToolBarImageList.h"

#include <QSize>

namespace {

const char* const kNames[ToolBarImageList::kCount] = {
    "00-crosswords", "01-crossword", "02-preferences", "03-exit", "04-preview",
    "05-help",       "06-about",     "07-brush",       "08-line", "09-rect",
    "10-zoom-in",    "11-zoom-out",  "12-clear",       "13-undo", "14-hover",
    "15-zoom-fit",   "16-redo",      "17-mistakes",    "18-import",
};

}  // namespace

QString ToolBarImageList::resourcePath(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    return QStringLiteral(":/icons/%1.png").arg(QLatin1String(kNames[index]));
}

QIcon ToolBarImageList::icon(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    const QString base = QStringLiteral(":/icons/%1").arg(QLatin1String(kNames[index]));
    QIcon icon;
    icon.addFile(base + QStringLiteral(".png"), QSize(16, 16));
    icon.addFile(base + QStringLiteral("@2x.png"), QSize(32, 32));
    return icon;
}
