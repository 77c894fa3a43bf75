// The grid widget driven by real mouse events, as the player drives it: the
// widget hands presses, drags and releases to the model, and what the model
// decides shows in the widget's pixels.
#include "TestGrids.h"
#include "data/Color.h"
#include "grid/GridModel.h"
#include "widgets/EscapePoll.h"
#include "widgets/GridWidget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testgrids::crossword;

class GridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        widget.layout().setCellSize(15);
        model.SetDataSource(crossword({"#####", "#...#", "#.5.#", "#...#", "#####"}));
        model.SetColor(PaletteColor(3));
        widget.show();
    }
    QPoint centre(int c, int r) const { return {widget.layout().cellX(c) + 7, widget.layout().cellY(r) + 7}; }
    void send(QEvent::Type type, int c, int r, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF at(centre(c, r));
        QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(&widget, &event);
    }
    QRgb pixel(int c, int r)
    {
        return widget.grab().toImage().pixel(centre(c, r) + QPoint(-4, -4)) & 0xFFFFFF; // off the centre mark
    }

    GridWidget widget;
    GridModel& model = widget.model();
};

// Each stroke drags along row `row` from column `from` to column `to`.
TEST_F(GridInput, BrushDragsFillBlankMarkAndEmptyByButtonAndCtrl)
{
    const struct {
        int row, from, to;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        CellState state;
    } strokes[] = {
        {0, 0, 2, Qt::LeftButton, {}, DefYes},
        {1, 0, 1, Qt::RightButton, {}, DefNo},
        {2, 0, 1, Qt::RightButton, Qt::ControlModifier, Mark},
        {0, 1, 2, Qt::LeftButton, Qt::ControlModifier, Empty},
    };
    for (const auto& s : strokes) {
        send(QEvent::MouseButtonPress, s.from, s.row, s.button, s.button, s.modifiers);
        for (int c = s.from + 1; c <= s.to; ++c)
            send(QEvent::MouseMove, c, s.row, Qt::NoButton, s.button, s.modifiers);
        send(QEvent::MouseButtonRelease, s.to, s.row, s.button, Qt::NoButton, s.modifiers);
        for (int c = s.from; c <= s.to; ++c)
            EXPECT_EQ(model.cellState(c, s.row), s.state) << s.row << " " << c;
        EXPECT_EQ(model.cellState(s.to + 1, s.row), Empty) << s.row;
    }
    EXPECT_EQ(model.cellState(0, 0), DefYes);
    const RGB colour = model.currentColour();
    EXPECT_EQ(pixel(0, 0), QColor(red(colour), green(colour), blue(colour)).rgb() & 0xFFFFFF);
    EXPECT_EQ(pixel(1, 0), 0xFFFFFFu);
}

TEST_F(GridInput, LineShowsItsBandWhileDraggingAndCommitsOnRelease)
{
    widget.pointer().setDrawMode(DrawMode::Line);
    const QRgb before = pixel(2, 4);
    send(QEvent::MouseButtonPress, 0, 4, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, 4, 4, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(model.cellState(2, 4), Empty) << "committed before the release";
    EXPECT_NE(pixel(2, 4), before) << "the band is not drawn";
    send(QEvent::MouseButtonRelease, 4, 4, Qt::LeftButton, Qt::NoButton);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model.cellState(c, 4), DefYes) << c;
    model.Undo(); // and the widget shows it
    EXPECT_EQ(pixel(2, 4), before);
}

// Shift with the widget's own modifier mapping picks the colour, and the
// cursor the widget makes carries it.
TEST_F(GridInput, ShiftPickedColourReachesTheCursor)
{
    std::vector<int> cursorIds;
    widget.setCursorFactory([&](int id) {
        cursorIds.push_back(id);
        return QCursor(Qt::CrossCursor);
    });
    model.restoreCell(2, 2, DefYes, 5);
    send(QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, 2, 2, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(model.currentColour(), PaletteColor(5));
    EXPECT_EQ(model.cellState(2, 2), DefYes);
    ASSERT_FALSE(cursorIds.empty());
    EXPECT_EQ(cursorIds.back(), ColorCursor(PaletteColor(5)));
}

// During a long run the escape poll takes all input and reports Escape.
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
