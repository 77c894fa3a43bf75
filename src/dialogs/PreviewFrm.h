#pragma once

#include "grid/GridPointer.h"

#include <QImage>
#include <QWidget>

// The floating picture of the crossword at three pixels per cell. It keeps
// its picture in an image of its own, painted by the grid cell by cell, so
// the player sees the whole crossword while working in a zoomed grid.
class PreviewFrm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScale = 3;

    explicit PreviewFrm(QWidget* owner);

    void ApplyLanguage();

    // A crossword was bound: the picture takes its size and turns white.
    void resizeForCrossword(int columns, int rows);
    // The block of one cell, in the state the grid shows it (a rubber band
    // included).
    void paintCell(const GridPointer& shown, int column, int row);
    void paintAll(const GridPointer& shown, int columns, int rows);

    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
