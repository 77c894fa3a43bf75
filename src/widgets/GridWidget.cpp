#include "widgets/GridWidget.h"

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

GridWidget::GridWidget(QWidget* parent) : QWidget(parent), painter_(model_)
{
    // The model repaints only what changed, so the widget has no background
    // of its own to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    model_.setView(this);
}

GridWidget::~GridWidget()
{
    model_.setView(nullptr);
}

void GridWidget::setCursorFactory(CursorFactory factory)
{
    cursorFactory_ = std::move(factory);
    if (cursorId_ >= 0 && cursorFactory_)
        setCursor(cursorFactory_(cursorId_));
}

void GridWidget::invalidateRect(int x, int y, int w, int h)
{
    update(x, y, w, h);
}

void GridWidget::invalidateAll()
{
    update();
    emit fullRepaintRequested();
}

void GridWidget::geometryChanged()
{
    // Keeps the top-left corner; the scroll area follows the new size.
    resize(model_.controlWidth(), model_.controlHeight());
    updateGeometry();
}

void GridWidget::setCursorId(int id)
{
    if (id == cursorId_)
        return;
    cursorId_ = id;
    if (cursorFactory_)
        setCursor(cursorFactory_(id));
}

QSize GridWidget::sizeHint() const
{
    return QSize(model_.controlWidth(), model_.controlHeight());
}

void GridWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    for (const QRect& area : event->region()) {
        p.setClipRect(area);
        painter_.paint(p, area);
    }
}

void GridWidget::mousePressEvent(QMouseEvent* event)
{
    MouseButton button;
    if (!buttonOf(event, button))
        return;
    const QPoint pos = event->position().toPoint();
    model_.mousePress(pos.x(), pos.y(), button, flagsOf(event));
}

void GridWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    model_.mouseMove(pos.x(), pos.y(), flagsOf(event));
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    MouseButton button;
    if (!buttonOf(event, button))
        return;
    const QPoint pos = event->position().toPoint();
    model_.mouseRelease(pos.x(), pos.y(), button, flagsOf(event));
}
