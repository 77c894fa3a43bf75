#pragma once

#include "grid/GridModel.h"
#include "widgets/GridPainter.h"

#include <QWidget>

#include <functional>

// The puzzle grid on screen: draws the model and hands mouse input to it.
// Everything the player does to the crossword is decided by GridModel.
class GridWidget : public QWidget, public GridView {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);
    ~GridWidget() override;

    GridModel& model() { return model_; }
    const GridModel& model() const { return model_; }

    // Makes cursors for the identifiers the model asks for (the colour
    // cursors); until one is installed the grid keeps the arrow.
    using CursorFactory = std::function<QCursor(int id)>;
    void setCursorFactory(CursorFactory factory);

    // GridView
    void invalidateRect(int x, int y, int w, int h) override;
    void invalidateAll() override;
    void geometryChanged() override;
    void setCursorId(int id) override;

    QSize sizeHint() const override;

signals:
    // The model asked for a full repaint (load, zoom, clear, commands).
    void fullRepaintRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    GridModel model_;
    GridPainter painter_;
    CursorFactory cursorFactory_;
    int cursorId_ = -1;
};
