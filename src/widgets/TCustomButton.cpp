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

void TCustomButton::setFocusColor(const QColor& color)
{
    focusColor_ = color;
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
        // on light grey, which nobody can see: the focus colour frames it.
        frame(p, cL, cT, cR, cB, focused ? focusColor_ : shadow);
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
            frame(p, cL, cT, cR, cB, focusColor_);
        break;
    case bsRound: {
        p.fillRect(QRect(QPoint(L + 2, T + 2), QPoint(R - 3, B - 3)), color_);
        p.setPen(color_);
        segment(p, L + 2, T + 1, R - 2, T + 1);
        p.setPen(down_ ? shadow : light);
        segment(p, L, B - 5, L, T + 3);
        segment(p, L + 1, T + 3, L + 1, T + 1);
        segment(p, L + 2, T + 1, L + 4, T + 1);
        segment(p, L + 4, T, R - 4, T);
        segment(p, R - 4, T + 1, R - 2, T + 1);
        segment(p, R - 2, T + 2, R - 2, T + 4);
        p.setPen(down_ ? light : shadow);
        segment(p, R - 1, T + 4, R - 1, B - 4);
        segment(p, R - 2, B - 4, R - 2, B - 2);
        segment(p, R - 3, B - 2, R - 5, B - 2);
        segment(p, R - 5, B - 1, L + 3, B - 1);
        segment(p, L + 3, B - 2, L + 1, B - 2);
        segment(p, L + 1, B - 3, L + 1, B - 5);
        caption(QRect(cL + 3, cT + 3, cR - cL - 6, cB - cT - 6));
        if (focused) {
            p.setPen(focusColor_);
            const int pts[][4] = {
                {cL, cB - 6, cL, cT + 4},         {cL + 1, cT + 4, cL + 1, cT + 2}, {cL + 2, cT + 2, cL + 2, cT + 1},
                {cL + 3, cT + 1, cL + 5, cT + 1}, {cL + 5, cT, cR - 5, cT},         {cR - 5, cT + 1, cR - 3, cT + 1},
                {cR - 3, cT + 2, cR - 3, cT + 3}, {cR - 2, cT + 3, cR - 2, cT + 5}, {cR - 1, cT + 5, cR - 1, cB - 5},
                {cR - 2, cB - 5, cR - 2, cB - 3}, {cR - 3, cB - 3, cR - 3, cB - 2}, {cR - 4, cB - 2, cR - 6, cB - 2},
                {cR - 6, cB - 1, cL + 4, cB - 1}, {cL + 4, cB - 2, cL + 2, cB - 2}, {cL + 2, cB - 3, cL + 1, cB - 3},
                {cL + 1, cB - 4, cL + 1, cB - 6},
            };
            for (const auto& s : pts)
                segment(p, s[0], s[1], s[2], s[3]);
        }
        break;
    }
    }
}
