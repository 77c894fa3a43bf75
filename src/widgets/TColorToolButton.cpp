#include "widgets/TColorToolButton.h"

#include "widgets/TColorMenu.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

TColorToolButton::TColorToolButton(QWidget* owner, RGB colour) : QToolButton(owner), colour_(colour)
{
    setToolTip(QStringLiteral("Select color"));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

void TColorToolButton::setColor(RGB colour)
{
    colour_ = colour;
    update();
}

void TColorToolButton::setColorMenu(TColorMenu* menu)
{
    if (colourMenu_ == menu)
        return;
    if (colourMenu_)
        disconnect(colourMenu_, nullptr, this, nullptr);
    colourMenu_ = menu;
    setMenu(menu);
    // The drop-down arrow only where there is something to drop down.
    setPopupMode(menu ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
    if (menu) {
        connect(menu, &TColorMenu::colorChosen, this, [this](RGB c) {
            setColor(c);
            emit colorChosen(c);
        });
        connect(menu, &QObject::destroyed, this, [this, menu] {
            if (colourMenu_ == menu)
                colourMenu_ = nullptr;
        });
    }
}

QRect TColorToolButton::swatchArea() const
{
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    QRect r = style()->subControlRect(QStyle::CC_ToolButton, &opt, QStyle::SC_ToolButton, this);
    return r.isValid() ? r : rect();
}

void TColorToolButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    // The style draws the raised/pressed panel and the arrow; the face is
    // ours, so no icon or text.
    opt.icon = QIcon();
    opt.text.clear();
    p.drawComplexControl(QStyle::CC_ToolButton, opt);

    const QRect a = swatchArea();
    const int L = a.left();
    const int T = a.top();
    const int R = a.left() + a.width();
    const int B = a.top() + a.height();
    if (R - 2 > L + 2 && B - 2 > T + 2)
        p.fillRect(QRect(L + 2, T + 2, R - L - 4, B - T - 4), Qt::black);
    if (R - 3 > L + 3 && B - 3 > T + 3)
        p.fillRect(QRect(L + 3, T + 3, R - L - 6, B - T - 6), QColor(red(colour_), green(colour_), blue(colour_)));
}
