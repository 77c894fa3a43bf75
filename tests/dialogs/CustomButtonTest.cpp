#include "widgets/TCustomButton.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A shown button in a window of its own, focus on it when asked.
struct ShownButton {
    QWidget window;
    TCustomButton* button;
    int clicks = 0;
    explicit ShownButton(TCustomButton::TCustomButtonStyle style = TCustomButton::bsFlat)
    {
        window.resize(200, 60);
        button = new TCustomButton(&window);
        button->setGeometry(10, 10, 100, 25);
        button->setButtonStyle(style);
        button->setCaption(QStringLiteral("Ok"));
        button->setColor(QColor(0xD4, 0xD0, 0xC8));
        QObject::connect(button, &TCustomButton::clicked, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    QImage picture() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The bounding box of the pixels of one colour.
QRect pixelsOf(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST(CustomButton, SpaceAndEnterClickOnceOnTheReleaseOtherKeysDoNothing)
{
    ShownButton b;
    b.button->setFocus();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        b.clicks = 0;
        QTest::keyPress(b.button, key);
        EXPECT_TRUE(b.button->isDown());
        EXPECT_EQ(b.clicks, 0) << "clicked on the press";
        QTest::keyRelease(b.button, key);
        EXPECT_FALSE(b.button->isDown());
        EXPECT_EQ(b.clicks, 1);
    }
    b.clicks = 0;
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Tab}) {
        QTest::keyPress(b.button, key);
        QTest::keyRelease(b.button, key);
        EXPECT_FALSE(b.button->isDown());
    }
    EXPECT_EQ(b.clicks, 0);
    // A held Space repeats; only its real release clicks.
    QTest::keyPress(b.button, Qt::Key_Space);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(b.button, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(b.button, &repeatPress);
    QTest::keyRelease(b.button, Qt::Key_Space);
    EXPECT_EQ(b.clicks, 1);
}

TEST(CustomButton, LeftClickClicksRightPressOnlyDrawsPressed)
{
    ShownButton b;
    QTest::mouseClick(b.button, Qt::LeftButton, {}, QPoint(50, 12));
    EXPECT_EQ(b.clicks, 1);
    EXPECT_TRUE(b.button->hasFocus()) << "a press takes the focus";

    QTest::mousePress(b.button, Qt::RightButton, {}, QPoint(50, 12));
    EXPECT_TRUE(b.button->isDown());
    // Pressed flat: filled with the shadow colour.
    EXPECT_EQ(b.picture().pixel(50, 3) & 0xFFFFFF, b.button->shadowColor().rgb() & 0xFFFFFF);
    QTest::mouseRelease(b.button, Qt::RightButton, {}, QPoint(50, 12));
    EXPECT_FALSE(b.button->isDown());
    EXPECT_EQ(b.clicks, 1);

    // Released away from the button: no click, but no longer pressed.
    QTest::mousePress(b.button, Qt::LeftButton, {}, QPoint(50, 12));
    QTest::mouseRelease(b.button, Qt::LeftButton, {}, QPoint(150, 40));
    EXPECT_FALSE(b.button->isDown());
    EXPECT_EQ(b.clicks, 1);
}

TEST(CustomButton, DisabledCaptionIsGreyAndPressedCaptionMovesOneDownRight)
{
    ShownButton b;
    b.button->setFocusPolicy(Qt::NoFocus);
    const QRect black = pixelsOf(b.picture(), 0x000000);
    ASSERT_FALSE(black.isEmpty()) << "caption drawn in black";
    EXPECT_TRUE(pixelsOf(b.picture(), TCustomButton::kDisabledText).isEmpty());

    QTest::mousePress(b.button, Qt::RightButton, {}, QPoint(50, 12));
    const QRect pressed = pixelsOf(b.picture(), 0x000000);
    EXPECT_EQ(pressed.topLeft(), black.topLeft() + QPoint(1, 1));
    EXPECT_EQ(pressed.size(), black.size());
    QTest::mouseRelease(b.button, Qt::RightButton, {}, QPoint(50, 12));

    b.button->setEnabled(false);
    const QImage disabled = b.picture();
    EXPECT_TRUE(pixelsOf(disabled, 0x000000).isEmpty());
    EXPECT_EQ(pixelsOf(disabled, TCustomButton::kDisabledText).topLeft(), black.topLeft());
    // A disabled button takes no clicks.
    QTest::mouseClick(b.button, Qt::LeftButton, {}, QPoint(50, 12));
    EXPECT_EQ(b.clicks, 0);
}

TEST(CustomButton, FlatOutlineIsShadowWithoutFocusAndHighlightWithIt)
{
    ShownButton b;
    b.button->setFocusColor(QColor(0xFF, 0x00, 0x00));
    QWidget other(&b.window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setGeometry(150, 10, 20, 20);
    other.show();
    other.setFocus();
    const QRgb shadow = b.button->shadowColor().rgb() & 0xFFFFFF;
    const QRgb light = b.button->highlightColor().rgb() & 0xFFFFFF;
    ASSERT_NE(shadow, light);
    QImage picture = b.picture();
    for (QPoint p : {QPoint(0, 0), QPoint(99, 24), QPoint(50, 0), QPoint(0, 12)})
        EXPECT_EQ(picture.pixel(p) & 0xFFFFFF, shadow) << p.x() << "," << p.y();
    EXPECT_EQ(picture.pixel(50, 3) & 0xFFFFFF, b.button->color().rgb() & 0xFFFFFF);

    b.button->setFocus();
    EXPECT_TRUE(b.button->focusFlag());
    picture = b.picture();
    for (QPoint p : {QPoint(0, 0), QPoint(99, 24), QPoint(50, 0), QPoint(0, 12)})
        EXPECT_EQ(picture.pixel(p) & 0xFFFFFF, light) << p.x() << "," << p.y();
    EXPECT_TRUE(pixelsOf(picture, 0xFF0000).isEmpty()) << "the focus colour is not a flat button's";

    other.setFocus();
    EXPECT_FALSE(b.button->focusFlag());
}

TEST(CustomButton, RectAndRoundLooksBevelAndFrameInTheFocusColour)
{
    ShownButton rect(TCustomButton::bsRect);
    rect.button->setFocusColor(QColor(0xFF, 0x00, 0x00));
    rect.button->clearFocus();
    const QRgb shadow = rect.button->shadowColor().rgb() & 0xFFFFFF;
    const QRgb light = rect.button->highlightColor().rgb() & 0xFFFFFF;
    QImage up = rect.picture();
    EXPECT_EQ(up.pixel(1, 12) & 0xFFFFFF, light);   // left edge
    EXPECT_EQ(up.pixel(50, 1) & 0xFFFFFF, light);   // top edge
    EXPECT_EQ(up.pixel(98, 12) & 0xFFFFFF, shadow); // right edge
    EXPECT_EQ(up.pixel(50, 23) & 0xFFFFFF, shadow); // bottom edge
    QTest::mousePress(rect.button, Qt::RightButton, {}, QPoint(50, 12));
    QImage down = rect.picture();
    EXPECT_EQ(down.pixel(1, 12) & 0xFFFFFF, shadow);
    EXPECT_EQ(down.pixel(98, 12) & 0xFFFFFF, light);
    // Pressing took the focus: the outline is in the focus colour.
    EXPECT_EQ(down.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(down.pixel(99, 24) & 0xFFFFFF, 0xFF0000u);
    QTest::mouseRelease(rect.button, Qt::RightButton, {}, QPoint(50, 12));

    ShownButton round(TCustomButton::bsRound);
    round.button->setFocusColor(QColor(0x00, 0x00, 0xFF));
    round.button->clearFocus();
    QImage r = round.picture();
    EXPECT_EQ(r.pixel(1, 12) & 0xFFFFFF, light);  // left bevel, column L
    EXPECT_EQ(r.pixel(50, 1) & 0xFFFFFF, light);  // top bevel, row T
    EXPECT_EQ(r.pixel(98, 12) & 0xFFFFFF, shadow); // right bevel, column R - 1
    EXPECT_TRUE(pixelsOf(r, 0x0000FF).isEmpty());
    round.button->setFocus();
    r = round.picture();
    EXPECT_EQ(r.pixel(0, 12) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(r.pixel(50, 0) & 0xFFFFFF, 0x0000FFu);
    // The corners are rounded off.
    EXPECT_NE(r.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
}
