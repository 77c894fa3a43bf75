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

