#pragma once

#include "data/Color.h"

#include <QAction>
#include <QColor>
#include <QRect>
#include <QSize>

class QFontMetrics;
class QPainter;

// One colour of the colour pop-up: an action that carries a palette colour
// and draws itself as a swatch. Its caption is two blanks, so the item is as
// large as that caption in the menu font.
class TColorMenuItem : public QAction {
    Q_OBJECT
public:
    TColorMenuItem(QObject* owner, RGB colour);

    RGB color() const { return colour_; }
    void setColor(RGB colour) { colour_ = colour; }

    // The item opens a new column of the pop-up.
    bool startsColumn() const { return startsColumn_; }
    void setStartsColumn(bool on) { startsColumn_ = on; }

    // Size of an item whose caption is two blanks in the given font.
    static QSize itemSize(const QFontMetrics& metrics);

    // Draws an item into its rectangle: the button-face background, then a
    // swatch with a one-pixel black border, one pixel larger on every side
    // while the item is selected.
    static void paint(QPainter& painter, const QRect& itemRect, RGB colour, bool selected,
                      const QColor& buttonFace);
    void paint(QPainter& painter, const QRect& itemRect, bool selected, const QColor& buttonFace) const;

private:
    RGB colour_;
    bool startsColumn_ = false;
};
