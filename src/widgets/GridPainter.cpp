#include "widgets/GridPainter.h"

#include "grid/GridLayout.h"
#include "grid/GridModel.h"
#include "grid/GridPointer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {
const QColor kCrossPen(0x22, 0x22, 0x22);
const QColor kStrikePen(0x33, 0x33, 0x33);
const QColor kClueEdgePen(0xBB, 0xBB, 0xBB);
const QColor kCursorPen(0x1E, 0x64, 0xFF);
const QColor kMistakePen(0xE0, 0x10, 0x10);

QColor toQColor(RGB rgb)
{
    return QColor(red(rgb), green(rgb), blue(rgb));
}

// Decimal texts of every possible clue number, made once.
const std::array<QString, 128>& numberTexts()
{
    static const std::array<QString, 128> texts = [] {
        std::array<QString, 128> t;
        for (int i = 0; i < 128; ++i)
            t[i] = QString::number(i);
        return t;
    }();
    return texts;
}

// A line from a up to but not including b, like the classic canvas LineTo.
// Every line the grid draws is diagonal, so the last pixel drawn is the one
// a step before b.
void lineTo(QPainter& p, int x0, int y0, int x1, int y1)
{
    const int sx = (x1 > x0) - (x1 < x0), sy = (y1 > y0) - (y1 < y0);
    p.drawLine(x0, y0, x1 - sx, y1 - sy);
}

// Paints the one-pixel border of the area l <= x < r, t <= y < b.
void outline(QPainter& p, int l, int t, int r, int b, const QColor& colour)
{
    p.fillRect(l, t, r - l, 1, colour);
    p.fillRect(l, b - 1, r - l, 1, colour);
    p.fillRect(l, t, 1, b - t, colour);
    p.fillRect(r - 1, t, 1, b - t, colour);
}
}

GridPainter::GridPainter(const GridModel& model, const GridLayout& layout, const GridPointer& pointer)
    : model_(model), layout_(layout), pointer_(pointer)
{
}

QFont GridPainter::clueFont(int cellSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Small"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    const int points = cellSize / 2;
    // Points to pixels at 96 dpi, so the picture is the same on every screen.
    font.setPixelSize(std::max(1, (points * 96 + 36) / 72));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void GridPainter::prepareFont()
{
    const int s = layout_.cellSize();
    if (s == fontSize_)
        return;
    fontSize_ = s;
    font_ = clueFont(s);
    const QFontMetrics metrics(font_);
    const auto& texts = numberTexts();
    for (int i = 0; i < 128; ++i)
        numberWidth_[i] = metrics.horizontalAdvance(texts[i]);
}

void GridPainter::drawClue(QPainter& p, int x, int y, const BCell& clue)
{
    const int s = layout_.cellSize();
    const RGB colour = PaletteColor(clue.colourIndex);
    p.fillRect(x, y, s, s, toQColor(colour));
    if (clue.number > 0) {
        prepareFont();
        const int n = clue.number;
        p.setFont(font_);
        p.setPen(WhiteTextOn(colour) ? Qt::white : Qt::black);
        const int w = numberWidth_[n];
        const int left = x + s / 2 - w / 2;
        p.drawText(QRect(left, y + 2, w + 2, s + 16), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                   numberTexts()[n]);
    }
    if (clue.mark) {
        p.setPen(kStrikePen);
        lineTo(p, x, y, x + s, y + s);
        lineTo(p, x + s, y, x, y + s);
    }
    p.fillRect(x, y, 1, s, kClueEdgePen);
    p.fillRect(x, y, s, 1, kClueEdgePen);
}

void GridPainter::drawCell(QPainter& p, int column, int row, bool highlighted)
{
    const int x = layout_.cellX(column), y = layout_.cellY(row), s = layout_.cellSize();
    const bool preview = pointer_.showsPreview(column, row);
    const CellState state = pointer_.shownState(column, row);
    const QColor colour = toQColor(pointer_.shownColour(column, row));
    switch (state) {
    case Empty:
        p.fillRect(x, y, s, s, Qt::white);
        break;
    case DefYes:
        p.fillRect(x, y, s, s, colour);
        break;
    case DefNo:
        p.fillRect(x, y, s, s, Qt::white);
        p.setPen(kCrossPen);
        lineTo(p, x, y, x + s, y + s);
        lineTo(p, x + s, y, x, y + s);
        break;
    case Mark: {
        p.fillRect(x, y, s, s, colour);
        const int h = s / 2, d = s / 5;
        p.fillRect(x + h, y + h - d, 1, 2 * d + 1, kCrossPen);
        p.fillRect(x + h - d, y + h, 2 * d + 1, 1, kCrossPen);
        break;
    }
    }
    outline(p, x, y, x + s + 1, y + s + 1, preview ? Qt::white : Qt::black);
    if (highlighted) {
        outline(p, x + 1, y + 1, x + s, y + s, Qt::white);
        outline(p, x + 2, y + 2, x + s - 1, y + s - 1, Qt::black);
    }
    // The frame stays inside the cell's own pixels, so a neighbour drawn
    // later never paints over it.
    if (model_.mistakeShown(column, row)) {
        outline(p, x + 1, y + 1, x + s, y + s, kMistakePen);
        if (s >= 5)
            outline(p, x + 2, y + 2, x + s - 1, y + s - 1, kMistakePen);
    }
}

void GridPainter::drawCellCursor(QPainter& p, const QRect& area, int column, int row)
{
    // Over the grid lines around the cell, two pixels wide: drawn after all
    // cells, and away from the pixels the hover crosshair inverts.
    const int x = layout_.cellX(column), y = layout_.cellY(row), s = layout_.cellSize();
    if (!area.intersects(QRect(x - 1, y - 1, s + 3, s + 3)))
        return;
    outline(p, x - 1, y - 1, x + s + 2, y + s + 2, kCursorPen);
    outline(p, x, y, x + s + 1, y + s + 1, kCursorPen);
}

void GridPainter::invertCrosshair(QPainter& p, const QRect& area)
{
    if (!pointer_.crosshairShown())
        return;
    const int c = pointer_.hoverColumn(), r = pointer_.hoverRow();
    if (c < 0 || r < 0 || c >= model_.width() || r >= model_.height())
        return;
    const int s = layout_.cellSize();
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white = Qt::white;
    auto vertical = [&](int x, int y) {
        if (!area.intersects(QRect(x, y, s + 1, s + 1)))
            return;
        for (int dx : {1, s - 1, 2, s - 2})
            p.fillRect(x + dx, y, 1, s + 1, white);
    };
    auto horizontal = [&](int x, int y) {
        if (!area.intersects(QRect(x, y, s + 1, s + 1)))
            return;
        for (int dy : {1, s - 1, 2, s - 2})
            p.fillRect(x, y + dy, s + 1, 1, white);
    };
    for (int k = 0; k < model_.colClueCount(); ++k)
        vertical(layout_.cellX(c), layout_.topClueY(k));
    for (int rr = 0; rr <= r; ++rr)
        vertical(layout_.cellX(c), layout_.cellY(rr));
    for (int k = 0; k < model_.rowClueCount(); ++k)
        horizontal(layout_.leftClueX(k), layout_.cellY(r));
    for (int cc = 0; cc <= c; ++cc)
        horizontal(layout_.cellX(cc), layout_.cellY(r));
    p.restore();
}

void GridPainter::paint(QPainter& p, const QRect& area, bool suggestLit, bool cursorShown)
{
    p.fillRect(area, Qt::white);
    if (!model_.hasCrossword())
        return;
    const int s = layout_.cellSize();
    const int w = model_.width(), h = model_.height();
    const int rc = model_.rowClueCount(), cc = model_.colClueCount();

    // Objects whose s + 1 square meets the area. A cell's outline reaches one
    // pixel into its right and lower neighbours, so a neighbour just outside
    // the area is drawn too, in the same column-major order as a full
    // repaint, which decides who owns a shared border.
    auto firstColumn = [&](int px) {
        int c = 0;
        while (c < w && layout_.cellX(c) + s < px)
            ++c;
        return c;
    };
    auto firstRow = [&](int py) {
        int r = 0;
        while (r < h && layout_.cellY(r) + s < py)
            ++r;
        return r;
    };
    const int c0 = std::max(0, firstColumn(area.left()) - 1);
    const int r0 = std::max(0, firstRow(area.top()) - 1);
    int c1 = c0, r1 = r0;
    while (c1 < w && layout_.cellX(c1) <= area.right() + 1)
        ++c1;
    while (r1 < h && layout_.cellY(r1) <= area.bottom() + 1)
        ++r1;

    // Clue squares never overlap each other or the field.
    if (area.top() < cc * s) {
        const int k0 = std::max(0, area.top() / s), k1 = std::min(cc, area.bottom() / s + 1);
        for (int c = c0; c < c1; ++c)
            for (int k = k0; k < k1; ++k)
                drawClue(p, layout_.cellX(c), layout_.topClueY(k), model_.topClue(c, k));
    }
    if (area.left() < rc * s) {
        const int k0 = std::max(0, area.left() / s), k1 = std::min(rc, area.right() / s + 1);
        for (int k = k0; k < k1; ++k)
            for (int r = r0; r < r1; ++r)
                drawClue(p, layout_.leftClueX(k), layout_.cellY(r), model_.leftClue(k, r));
    }
    const auto suggested = model_.suggestedCell();
    for (int c = c0; c < c1; ++c)
        for (int r = r0; r < r1; ++r)
            drawCell(p, c, r, suggested && suggestLit && suggested->first == c && suggested->second == r);

    invertCrosshair(p, area);
    if (cursorShown && pointer_.cursorColumn() >= 0 && pointer_.cursorColumn() < w && pointer_.cursorRow() < h)
        drawCellCursor(p, area, pointer_.cursorColumn(), pointer_.cursorRow());
}
