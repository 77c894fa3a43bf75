#pragma once

#include <QColor>
#include <QWidget>

// The program's own flat push button, drawn entirely by itself so that every
// dialog and the suggest bar look the same on every desktop style. It clicks
// on a left press and release over it, and on the release of Space or Enter
// while it has the focus.
class TCustomButton : public QWidget {
    Q_OBJECT
public:
    enum TCustomButtonStyle { bsRect, bsFlat };

    explicit TCustomButton(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The same, under the names Qt's buttons use.
    QString text() const { return caption_; }
    void setText(const QString& text) { setCaption(text); }
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    void setButtonStyle(TCustomButtonStyle style);

    bool isDown() const { return down_; }

    // The colours the look is drawn in, from the widget's palette.
    QColor shadowColor() const;
    QColor highlightColor() const;
    static constexpr QRgb kDisabledText = 0x808080;

    QSize sizeHint() const override { return {100, 25}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static bool isClickKey(int key);

    bool down_ = false;
    bool hasFocus_ = false;
    bool leftPressed_ = false;
    QColor focusColor_ = Qt::black;
    TCustomButtonStyle style_ = bsRect;
    QColor color_;
    QString caption_;
};
