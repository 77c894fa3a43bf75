#include "dialogs/PreviewFrm.h"

#include "config/Localization.h"
#include "widgets/UiText.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

PreviewFrm::PreviewFrm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("PreviewFrm"));
    setWindowTitle(QStringLiteral("PreviewFrm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    picture_ = QImage(106, 81, QImage::Format_RGB32);
    picture_.fill(Qt::white);
    setFixedSize(picture_.size());
    if (Localization* table = Localization::global())
        table->AddLanguageCallback([frame = QPointer<PreviewFrm>(this)] {
            if (frame)
                frame->ApplyLanguage();
        });
}

void PreviewFrm::ApplyLanguage()
{
    setWindowTitle(uitext::text("preview_win_caption", "Preview"));
}

void PreviewFrm::resizeForCrossword(int columns, int rows)
{
    // An empty crossword still keeps a window the player can find.
    const QSize size(std::max(1, columns * kScale), std::max(1, rows * kScale));
    picture_ = QImage(size, QImage::Format_RGB32);
    picture_.fill(Qt::white);
    setFixedSize(size);
    update();
}

void PreviewFrm::paintCell(const GridPointer& shown, int column, int row)
{
    const QRect block(column * kScale, row * kScale, kScale, kScale);
    if (!picture_.rect().contains(block))
        return;
    const RGB rgb = shown.shownState(column, row) == DefYes ? shown.shownColour(column, row) : kWhite;
    const QRgb value = qRgb(red(rgb), green(rgb), blue(rgb));
    for (int y = block.top(); y <= block.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        for (int x = block.left(); x <= block.right(); ++x)
            line[x] = value;
    }
    update(block);
}

void PreviewFrm::paintAll(const GridPointer& shown, int columns, int rows)
{
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            paintCell(shown, c, r);
}

void PreviewFrm::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    for (const QRect& area : event->region())
        p.drawImage(area.topLeft(), picture_, area);
}
