#include "widgets/TCustomButton.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

// A shown button in a window of its own that counts its clicks.
struct ShownButton {
    QWidget window;
    TCustomButton* button = new TCustomButton(&window);
    int clicks = 0;
    ShownButton()
    {
        window.resize(200, 60);
        button->setGeometry(10, 10, 100, 25);
        QObject::connect(button, &TCustomButton::clicked, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowExposed(&window);
    }
};

}  // namespace

TEST(CustomButton, SpaceEnterAndLeftButtonClickOnTheReleaseOtherKeysAndButtonsDoNot)
{
    ShownButton b;
    b.button->setFocus();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_A, Qt::Key_Escape, Qt::Key_Tab}) {
        const int clicks = key == Qt::Key_Space || key == Qt::Key_Return;
        b.clicks = 0;
        QTest::keyPress(b.button, key);
        EXPECT_EQ(b.button->isDown(), clicks == 1) << key;
        EXPECT_EQ(b.clicks, 0) << "clicked on the press";
        QTest::keyRelease(b.button, key);
        EXPECT_FALSE(b.button->isDown());
        EXPECT_EQ(b.clicks, clicks) << key;
    }
    // A held Space repeats; only its real release clicks.
    b.clicks = 0;
    QTest::keyPress(b.button, Qt::Key_Space);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(b.button, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(b.button, &repeatPress);
    QTest::keyRelease(b.button, Qt::Key_Space);
    EXPECT_EQ(b.clicks, 1);

    // A left click clicks; a right press only draws pressed.
    b.button->clearFocus();
    QTest::mouseClick(b.button, Qt::LeftButton, {}, QPoint(50, 12));
    EXPECT_EQ(b.clicks, 2);
    EXPECT_TRUE(b.button->hasFocus()) << "a press takes the focus";

    QTest::mousePress(b.button, Qt::RightButton, {}, QPoint(50, 12));
    EXPECT_TRUE(b.button->isDown());
    QTest::mouseRelease(b.button, Qt::RightButton, {}, QPoint(50, 12));
    EXPECT_FALSE(b.button->isDown());
    EXPECT_EQ(b.clicks, 2);

    // Released away from the button: no click, but no longer pressed.
    QTest::mousePress(b.button, Qt::LeftButton, {}, QPoint(50, 12));
    QTest::mouseRelease(b.button, Qt::LeftButton, {}, QPoint(150, 40));
    EXPECT_FALSE(b.button->isDown());
    EXPECT_EQ(b.clicks, 2);
}
