#pragma once

#include "data/Color.h"

#include <QRect>
#include <QToolButton>

class TColorMenu;

// The tool button that shows the current drawing colour as a swatch (a
// one-pixel black frame two pixels inside the button) and opens the colour
// pop-up from its drop-down arrow. Its hint is "Select color".
class TColorToolButton : public QToolButton {
    Q_OBJECT
public:
    TColorToolButton(QWidget* owner, RGB colour);

    RGB color() const { return colour_; }
    // Stores the colour and repaints; emits nothing (the grid and the
    // program set the colour this way).
    void setColor(RGB colour);

    // Gives the button its pop-up, opened from a drop-down arrow (null
    // removes both). A colour the player chooses there becomes
    // the button's colour and is passed on through colorChosen.
    void setColorMenu(TColorMenu* menu);
    TColorMenu* colorMenu() const { return colourMenu_; }

    // The part of the button the swatch is drawn in: the whole button
    // except its drop-down arrow.
    QRect swatchArea() const;

signals:
    // The player picked a colour from the pop-up (after the button took it).
    void colorChosen(RGB colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RGB colour_;
    TColorMenu* colourMenu_ = nullptr;
};
