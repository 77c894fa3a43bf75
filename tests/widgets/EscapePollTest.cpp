#include "widgets/EscapePoll.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(EscapePollTest, SwallowsInputAndReportsEscapeOnce)
{
    QPushButton button(QStringLiteral("x"));
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicked(&button, &QPushButton::clicked);
    {
        EscapePoll escape;
        QTest::mouseClick(&button, Qt::LeftButton);
        QApplication::postEvent(&button, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
        EXPECT_FALSE(escape.poll());
        QApplication::postEvent(&button, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_TRUE(escape.poll());
        EXPECT_FALSE(escape.poll()); // reported once
        EXPECT_EQ(clicked.count(), 0);
    }
    // Afterwards input reaches the widgets again.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace
