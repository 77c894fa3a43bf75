#include "widgets/GridWidget.h"

#include "widgets/UiText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {
MouseFlags flagsOf(const QMouseEvent* e)
{
    MouseFlags f;
    f.shift = e->modifiers() & Qt::ShiftModifier;
    f.ctrl = e->modifiers() & Qt::ControlModifier;
    f.leftHeld = e->buttons() & Qt::LeftButton;
    f.rightHeld = e->buttons() & Qt::RightButton;
    return f;
}

bool buttonOf(const QMouseEvent* e, MouseButton& out)
{
    switch (e->button()) {
    case Qt::LeftButton: out = MouseButton::Left; return true;
    case Qt::RightButton: out = MouseButton::Right; return true;
    case Qt::MiddleButton: out = MouseButton::Middle; return true;
    default: return false;
    }
}
}

GridWidget::GridWidget(QWidget* parent)
    : QWidget(parent), pointer_(model_, layout_), painter_(model_, layout_, pointer_)
{
    // Only what changed is repainted, so the widget has no background of its
    // own to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Keyboard play: the grid takes the focus by Tab or a click.
    setFocusPolicy(Qt::StrongFocus);
    model_.setListener(this);
    pointer_.setView(this);
}

GridWidget::~GridWidget()
{
    model_.setListener(nullptr);
    pointer_.setView(nullptr);
}

void GridWidget::setCursorFactory(CursorFactory factory)
{
    cursorFactory_ = std::move(factory);
    if (cursorId_ >= 0 && cursorFactory_)
        setCursor(cursorFactory_(cursorId_));
}

bool GridWidget::setCellSize(int size)
{
    if (!layout_.setCellSize(size))
        return false;
    geometryChanged();
    redrawCursorCell();
    fullRepaint();
    return true;
}

void GridWidget::fullRepaint()
{
    model_.AutoMarkClues();
    pointer_.dropCrosshair();
    update();
    emit fullRepaintRequested();
}

void GridWidget::geometryChanged()
{
    // Keeps the top-left corner; the scroll area follows the new size.
    resize(layout_.controlWidth(), layout_.controlHeight());
    updateGeometry();
}

void GridWidget::setSuggestLit(bool lit)
{
    suggestLit_ = lit;
    if (const auto cell = model_.suggestedCell())
        cellChanged(cell->first, cell->second);
}

QSize GridWidget::sizeHint() const
{
    return QSize(layout_.controlWidth(), layout_.controlHeight());
}

QString GridWidget::positionText(int column, int row)
{
    return QStringLiteral("%1 : %2").arg(column).arg(row);
}

QString GridWidget::spanText(const GridPointer::Span& span, bool rectangle)
{
    return rectangle ? QStringLiteral("%1 x %2").arg(span.width).arg(span.height) : QString::number(span.cells);
}

QString GridWidget::stateText(CellState state)
{
    static const char* const keys[] = {"cell_state_empty", "cell_state_def_yes", "cell_state_def_no", "cell_state_mark"};
    static const char* const defaults[] = {"empty", "present", "absence", "mark"};
    const int i = int(state) & 3;
    return uitext::text(keys[i], defaults[i]);
}

// ------------------------------------------------------------ notifications

void GridWidget::cellChanged(int column, int row)
{
    invalidateRect(layout_.cellRect(column, row));
    model_.host().previewCellChanged(column, row);
}

void GridWidget::clueChanged(bool top, int first, int second)
{
    invalidateRect(top ? layout_.topClueRect(first, second) : layout_.leftClueRect(first, second));
}

void GridWidget::crosswordLoaded()
{
    layout_.setShape(model_.width(), model_.height(), model_.rowClueCount(), model_.colClueCount());
    pointer_.reset();
    geometryChanged();
    redrawCursorCell();
}

void GridWidget::suggestionChanged()
{
    suggestLit_ = false;
}

void GridWidget::invalidateRect(const PixelRect& rect)
{
    update(rect.x, rect.y, rect.w, rect.h);
}

void GridWidget::setCursorId(int id)
{
    if (id == cursorId_)
        return;
    cursorId_ = id;
    if (cursorFactory_)
        setCursor(cursorFactory_(id));
}

QRect GridWidget::cursorFrame(int column, int row) const
{
    // The frame reaches one pixel beyond the cell's square on every side.
    const PixelRect r = layout_.cellRect(column, row);
    return QRect(r.x - 1, r.y - 1, r.w + 2, r.h + 2);
}

void GridWidget::cellCursorMoved(int column, int row)
{
    update(shownCursor_);
    shownCursor_ = cursorFrame(column, row);
    update(shownCursor_);
    emit cellCursorMovedTo(shownCursor_);
}

void GridWidget::redrawCursorCell()
{
    if (pointer_.cursorColumn() >= 0) {
        shownCursor_ = cursorFrame(pointer_.cursorColumn(), pointer_.cursorRow());
        update(shownCursor_);
    }
}

void GridWidget::pointerOver(int column, int row)
{
    // While a stroke is dragged its length stands in the state panel: the
    // cell under a band shows the band, not its own state, and a number or
    // a size fits that panel in every language where "state (7)" would not.
    const GridPointer::Span span = pointer_.dragSpan();
    emit cellStatus(positionText(column, row),
                    span.cells == 0 ? stateText(model_.cell(column, row).state)
                                    : spanText(span, pointer_.drawMode() == DrawMode::Rect));
}

// ------------------------------------------------------------------- events

void GridWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    for (const QRect& area : event->region()) {
        p.setClipRect(area);
        painter_.paint(p, area, suggestLit_, hasFocus());
    }
}

void GridWidget::mousePressEvent(QMouseEvent* event)
{
    MouseButton button;
    if (!buttonOf(event, button))
        return;
    const QPoint pos = event->position().toPoint();
    pointer_.press(pos.x(), pos.y(), button, flagsOf(event));
}

void GridWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    pointer_.move(pos.x(), pos.y(), flagsOf(event));
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    MouseButton button;
    if (!buttonOf(event, button))
        return;
    const QPoint pos = event->position().toPoint();
    pointer_.release(pos.x(), pos.y(), button, flagsOf(event));
}

void GridWidget::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shift = mods == Qt::ShiftModifier;
    if (mods == Qt::NoModifier || shift) {
        int dc = 0, dr = 0;
        switch (event->key()) {
        case Qt::Key_Left: dc = -1; break;
        case Qt::Key_Right: dc = 1; break;
        case Qt::Key_Up: dr = -1; break;
        case Qt::Key_Down: dr = 1; break;
        default: break;
        }
        if (dc != 0 || dr != 0) {
            pointer_.moveCellCursor(dc, dr, shift);
            return;
        }
    }
    if (mods == Qt::NoModifier && !event->isAutoRepeat()) {
        switch (event->key()) {
        case Qt::Key_Space: pointer_.clickAtCursor(DefYes); return;
        case Qt::Key_X: pointer_.clickAtCursor(DefNo); return;
        case Qt::Key_M: pointer_.clickAtCursor(Mark); return;
        default: break;
        }
    }
    // Tab and everything else travel on as usual.
    QWidget::keyPressEvent(event);
}

void GridWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    redrawCursorCell();
}

void GridWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    redrawCursorCell();
}
