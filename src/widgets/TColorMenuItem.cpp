#include "widgets/TColorMenuItem.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Fills the rectangle from (l, t) up to but excluding (r, b).
void fill(QPainter& p, int l, int t, int r, int b, const QColor& colour)
{
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), colour);
}

QColor toQColor(RGB c) { return QColor(red(c), green(c), blue(c)); }

}  // namespace

TColorMenuItem::TColorMenuItem(QObject* owner, RGB colour)
    : QAction(QStringLiteral("  "), owner), colour_(colour)
{
}

QSize TColorMenuItem::itemSize(const QFontMetrics& metrics)
{
    // The caption's width plus the room a menu leaves for a check mark and
    // margins, at least a comfortable square to aim at.
    const int w = metrics.horizontalAdvance(QStringLiteral("  ")) + 14;
    const int h = metrics.height() + 6;
    return {qMax(w, 20), qMax(h, 18)};
}

void TColorMenuItem::paint(QPainter& p, const QRect& r, RGB colour, bool selected,
                           const QColor& buttonFace)
{
    const int L = r.left();
    const int T = r.top();
    const int R = r.left() + r.width();
    const int B = r.top() + r.height();
    const QColor swatch = toQColor(colour);
    fill(p, L - 1, T + 1, R, B - 1, buttonFace);
    if (selected) {
        fill(p, L - 1, T + 1, R, B - 1, Qt::black);
        fill(p, L, T + 2, R - 1, B - 2, swatch);
    } else {
        fill(p, L, T + 2, R - 1, B - 2, Qt::black);
        fill(p, L + 1, T + 3, R - 2, B - 3, swatch);
    }
}

void TColorMenuItem::paint(QPainter& p, const QRect& r, bool selected, const QColor& buttonFace) const
{
    paint(p, r, colour_, selected, buttonFace);
}
