#include "widgets/ColorCursors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <map>

namespace {

std::map<int, QCursor>& table()
{
    static std::map<int, QCursor> cursors;
    return cursors;
}

QColor toQColor(RGB c) { return QColor(red(c), green(c), blue(c)); }

}  // namespace

QString ColorCursors::resourceName(int nn)
{
    return QStringLiteral("CUR_DRAW1C%1").arg(nn, 2, 10, QLatin1Char('0'));
}

QPixmap ColorCursors::image(int paletteIndex, qreal devicePixelRatio)
{
    if (paletteIndex < 1 || paletteIndex > 18)
        return {};
    if (devicePixelRatio < 1.0)
        devicePixelRatio = 1.0;
    const QColor colour = toQColor(PaletteColor(paletteIndex));
    const int px = qRound(kSize * devicePixelRatio);
    QPixmap pm(px, px);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    // A pencil lying from the tip at the hot spot down to the right. Its body
    // carries the colour; a white halo keeps it visible on dark cells.
    p.save();
    p.translate(kHotSpot.x(), kHotSpot.y());
    p.rotate(45.0);
    const qreal w = 3.2; // half the body's width
    QPolygonF wood{{0.0, 0.0}, {7.0, -w}, {7.0, w}};
    QPainterPath body;
    body.addRect(QRectF(7.0, -w, 12.0, 2 * w));
    QPainterPath outline;
    outline.addPolygon(wood);
    outline.addRect(QRectF(7.0, -w, 16.0, 2 * w));
    outline = outline.simplified();

    p.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(outline);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF0, 0xD0, 0x9A));
    p.drawPolygon(wood);
    p.setBrush(colour);
    p.drawPath(body);
    p.setBrush(QColor(0xE0, 0x80, 0x90)); // eraser
    p.drawRect(QRectF(19.0, -w, 4.0, 2 * w));
    p.setBrush(Qt::black); // lead point
    p.drawPolygon(QPolygonF{{0.0, 0.0}, {2.8, -1.3}, {2.8, 1.3}});

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(outline);
    p.drawLine(QPointF(7.0, -w), QPointF(7.0, w));
    p.drawLine(QPointF(19.0, -w), QPointF(19.0, w));
    p.restore();

    // A swatch below the pencil shows the colour large enough to tell the
    // light shades apart.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect swatch(19, 19, 12, 12);
    p.fillRect(swatch.adjusted(-1, -1, 1, 1), Qt::white);
    p.fillRect(swatch, Qt::black);
    p.fillRect(swatch.adjusted(1, 1, -1, -1), colour);
    p.end();
    return pm;
}

void ColorCursors::registerCursors()
{
    auto& cursors = table();
    if (!cursors.empty())
        return;
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    for (int nn = 1; nn <= kCount; ++nn)
        cursors.emplace(20 + nn, QCursor(image(nn, dpr), kHotSpot.x(), kHotSpot.y()));
}

bool ColorCursors::isRegistered(int id)
{
    return table().count(id) != 0;
}

QCursor ColorCursors::cursor(int id)
{
    registerCursors();
    const auto it = table().find(id);
    if (it == table().end())
        return QCursor(Qt::ArrowCursor);
    return it->second;
}
