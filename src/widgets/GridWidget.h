#pragma once

#include "grid/GridLayout.h"
#include "grid/GridModel.h"
#include "grid/GridPointer.h"
#include "widgets/GridPainter.h"

#include <QWidget>

#include <functional>

// The puzzle grid on screen: lays the model out, draws it, and hands mouse
// input to the pointer, which turns it into editing commands.
class GridWidget : public QWidget, private GridModel::Listener, private GridPointer::View {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);
    ~GridWidget() override;

    GridModel& model() { return model_; }
    const GridModel& model() const { return model_; }
    GridPointer& pointer() { return pointer_; }
    const GridPointer& pointer() const { return pointer_; }
    // Setting the cell size here takes effect at the next load or zoom (the
    // profile stores the player's size this way).
    GridLayout& layout() { return layout_; }
    const GridLayout& layout() const { return layout_; }

    // Makes cursors for the identifiers the pointer asks for (the colour
    // cursors); until one is installed the grid keeps the arrow.
    using CursorFactory = std::function<QCursor(int id)>;
    void setCursorFactory(CursorFactory factory);

    // Accepts 3..30 only; lays everything out again and repaints.
    bool setCellSize(int size);
    int cellSize() const { return layout_.cellSize(); }
    // Strikes clues automatically first and drops the crosshair.
    void fullRepaint();
    // The control takes the layout's size (load or zoom).
    void geometryChanged();
    // The suggested cell's blink phase.
    void setSuggestLit(bool lit);
    bool suggestLit() const { return suggestLit_; }

    QSize sizeHint() const override;

    // The status texts of a cell: "column : row" and its state's name.
    static QString positionText(int column, int row);
    static QString stateText(CellState state);
    // The length of a stroke being dragged: "7" cells, or "3 x 4" for a
    // rectangle's width and height.
    static QString spanText(const GridPointer::Span& span, bool rectangle);

signals:
    // A full repaint was asked for (load, zoom, clear, commands).
    void fullRepaintRequested();
    // The mouse moved over a cell: its status texts (the state gives way to
    // the length of a stroke while one is dragged).
    void cellStatus(const QString& position, const QString& state);
    // The keyboard's cell cursor moved onto this square of the control.
    void cellCursorMovedTo(const QRect& square);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // GridModel::Listener and GridPointer::View
    void cellChanged(int column, int row) override;
    void clueChanged(bool top, int first, int second) override;
    void crosswordLoaded() override;
    void suggestionChanged() override;
    void invalidateRect(const PixelRect& rect) override;
    void setCursorId(int id) override;
    void pointerOver(int column, int row) override;
    void cellCursorMoved(int column, int row) override;
    void redrawCursorCell();
    QRect cursorFrame(int column, int row) const;

    GridModel model_;
    GridLayout layout_;
    GridPointer pointer_;
    GridPainter painter_;
    CursorFactory cursorFactory_;
    int cursorId_ = -1;
    bool suggestLit_ = false;
    QRect shownCursor_; // where the cell cursor's frame was last drawn
};
