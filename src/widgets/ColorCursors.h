#pragma once

#include "data/Color.h"

#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <QString>

// The drawing cursors that show the current colour over the grid. There is
// one per palette index 1..18, kept in a cursor table under the identifier
// 20 + index (21..38), which is what ColorCursor() in the grid core returns.
class ColorCursors {
public:
    static constexpr int kFirstId = 21;
    static constexpr int kLastId = 38;
    static constexpr int kCount = kLastId - kFirstId + 1;
    // Logical size of a cursor picture and the pen tip that does the drawing.
    static constexpr int kSize = 32;
    static constexpr QPoint kHotSpot{1, 1};

    // Builds the eighteen cursors and stores them under 21..38. Needs a
    // QGuiApplication; later calls change nothing.
    static void registerCursors();
    static bool isRegistered(int id);

    // The cursor stored under the identifier (registering the set first if
    // nobody has yet); identifiers without a cursor give the arrow.
    static QCursor cursor(int id);

    // The picture of the cursor for a palette index 1..18, drawn for the
    // given device pixel ratio; a null pixmap for other indices.
    static QPixmap image(int paletteIndex, qreal devicePixelRatio = 1.0);

    // Name of the cursor picture nn (01..18) as the resources list it.
    static QString resourceName(int nn);
};
