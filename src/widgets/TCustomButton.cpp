#include "widgets/TCustomButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A line from start to end with the end point left out, as the button's
// look is measured; only straight horizontal and vertical runs occur.
void segment(QPainter& p, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    else if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    p.drawLine(x1, y1, x2, y2);
}

// The 1-pixel outline of a rectangle given by its exclusive right and bottom.
void frame(QPainter& p, int left, int top, int right, int bottom, const QColor& colour)
{
    p.setPen(colour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(left, top, right - left - 1, bottom - top - 1);
}

}  // namespace

TCustomButton::TCustomButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    color_ = palette().color(QPalette::Button);
    resize(100, 25);
}

void TCustomButton::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TCustomButton::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TCustomButton::setButtonStyle(TCustomButtonStyle style)
{
    style_ = style;
    update();
}

QColor TCustomButton::shadowColor() const
{
    return palette().color(QPalette::Active, QPalette::Dark);
}

QColor TCustomButton::highlightColor() const
{
    return palette().color(QPalette::Active, QPalette::Light);
}

bool TCustomButton::isClickKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

void TCustomButton::mousePressEvent(QMouseEvent* event)
{
    down_ = true;
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
    setFocus(Qt::MouseFocusReason);
    update();
}

void TCustomButton::mouseReleaseEvent(QMouseEvent* event)
{
    down_ = false;
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        leftPressed_ = false;
    update();
    if (click)
        emit clicked();
}

void TCustomButton::keyPressEvent(QKeyEvent* event)
{
    if (!isClickKey(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    down_ = true;
    setFocus(Qt::OtherFocusReason);
    update();
}

void TCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats as release and press pairs; only the real release
    // of the key is the click.
    if (!isClickKey(event->key()) || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    down_ = false;
    update();
    emit clicked();
}

void TCustomButton::focusInEvent(QFocusEvent* event)
{
    hasFocus_ = true;
    QWidget::focusInEvent(event);
    update();
}

void TCustomButton::focusOutEvent(QFocusEvent* event)
{
    hasFocus_ = false;
    QWidget::focusOutEvent(event);
    update();
}

void TCustomButton::changeEvent(QEvent* event)
{
    // A button disabled while held must not stay drawn pressed.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        down_ = false;
        leftPressed_ = false;
    }
    QWidget::changeEvent(event);
    update();
}

void TCustomButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int cL = 0, cT = 0, cR = width(), cB = height();
    const int L = cL + 1, T = cT + 1, R = cR - 1, B = cB - 1;
    const QFontMetrics metrics(font());
    const int xT = R / 2 - metrics.horizontalAdvance(caption_) / 2;
    const int yT = B / 2 - metrics.height() / 2;
    const QColor shadow = shadowColor();
    const QColor light = highlightColor();
    const bool focused = hasFocus() || hasFocus_;
    const QColor textColour = isEnabled() ? QColor(Qt::black) : QColor(kDisabledText);

    auto caption = [&](const QRect& clip) {
        p.save();
        p.setClipRect(clip);
        p.setFont(font());
        p.setPen(textColour);
        const int shift = down_ ? 1 : 0;
        p.drawText(QRect(xT + shift, yT + shift, metrics.horizontalAdvance(caption_) + 1, metrics.height()),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
        p.restore();
    };
    const QRect r2(cL + 2, cT + 2, cR - cL - 4, cB - cT - 4);

    switch (style_) {
    case bsFlat:
        p.fillRect(rect(), down_ ? shadow : color_);
        caption(r2);
        // The highlight colour the flat look once used for focus is white
        // on light grey, which nobody can see: black frames it.
        frame(p, cL, cT, cR, cB, focused ? QColor(Qt::black) : shadow);
        break;
    case bsRect:
        p.fillRect(rect(), color_);
        p.setPen(down_ ? shadow : light);
        segment(p, L, B - 1, L, T);
        segment(p, L, T, R - 1, T);
        p.setPen(down_ ? light : shadow);
        segment(p, R - 1, T, R - 1, B - 1);
        segment(p, R - 1, B - 1, L, B - 1);
        caption(r2);
        if (focused)
            frame(p, cL, cT, cR, cB, Qt::black);
        break;
    }
}
