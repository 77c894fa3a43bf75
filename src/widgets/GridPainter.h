#pragma once

#include <QFont>
#include <QRect>

class QPainter;
class GridLayout;
class GridModel;
class GridPointer;
struct BCell;

// Draws the grid model at the layout's pixel geometry: clue squares, cells
// in their plain, rubber-band and highlighted forms, and the pointer's hover
// crosshair. Only what intersects the given area is drawn, so a paint
// event costs in proportion to what was exposed, not to the crossword.
class GridPainter {
public:
    GridPainter(const GridModel& model, const GridLayout& layout, const GridPointer& pointer);

    // Paints `area` (control coordinates) onto `p`, which must be clipped to
    // it: white background, clues, cells, and the crosshair when shown. The
    // suggested cell is drawn highlighted while its blink is lit; the cell
    // cursor is framed while the grid has the keyboard focus, and so are the
    // cells the model shows as mistakes.
    void paint(QPainter& p, const QRect& area, bool suggestLit = false, bool cursorShown = false);

    // Single objects, as the paint uses them.
    void drawCell(QPainter& p, int column, int row, bool highlighted);
    // The keyboard's cell cursor around a cell, where it meets `area`.
    void drawCellCursor(QPainter& p, const QRect& area, int column, int row);
    void drawClue(QPainter& p, int x, int y, const BCell& clue);
    void invertCrosshair(QPainter& p, const QRect& area);

    // The clue font at a cell size: face "Small" where the system has it,
    // any small sans-serif face otherwise, s / 2 points at 96 dots per inch.
    static QFont clueFont(int cellSize);

private:
    void prepareFont();

    const GridModel& model_;
    const GridLayout& layout_;
    const GridPointer& pointer_;
    int fontSize_ = -1;
    QFont font_;
    // Pixel widths of the clue numbers 0..127 in the current font.
    int numberWidth_[128] = {};
};
