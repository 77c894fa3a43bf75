// The grid widget driven by real mouse events, as the player drives it: the
// widget hands presses, drags and releases to the model, and what the model
// decides shows in the widget's pixels and cursor.
#include "TestGrids.h"
#include "grid/GridModel.h"
#include "widgets/GridWidget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

using testgrids::crossword;

class GridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        widget.layout().setCellSize(15);
        widget.model().SetDataSource(crossword({"#####", "#...#", "#.5.#", "#...#", "#####"}));
        widget.setCursorFactory([this](int id) {
            cursorIds.push_back(id);
            return QCursor(Qt::CrossCursor);
        });
        widget.model().SetColor(PaletteColor(3));
        cursorIds.clear();
        widget.show();
    }
    GridModel& model() { return widget.model(); }
    QPoint centre(int c, int r) const
    {
        return {widget.layout().cellX(c) + 7, widget.layout().cellY(r) + 7};
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = {})
    {
        QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, modifiers);
        QApplication::sendEvent(&widget, &event);
    }
    // Press at the first cell, move over the others, release at the last.
    void drag(const std::vector<QPoint>& path, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::MouseButtonPress, path.front(), button, button, modifiers);
        for (std::size_t i = 1; i < path.size(); ++i)
            send(QEvent::MouseMove, path[i], Qt::NoButton, button, modifiers);
        send(QEvent::MouseButtonRelease, path.back(), button, Qt::NoButton, modifiers);
    }
    QRgb pixel(int c, int r)
    {
        const QImage image = widget.grab().toImage();
        const QPoint p = centre(c, r) + QPoint(-4, -4); // off the centre mark
        return image.pixel(p) & 0xFFFFFF;
    }
    static QRgb rgbOf(RGB colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF) & 0xFFFFFF; }

    GridWidget widget;
    std::vector<int> cursorIds;
};

TEST_F(GridInput, BrushDragsFillBlankMarkAndEmptyByButtonAndCtrl)
{
    const RGB colour = model().currentColour();
    ASSERT_NE(rgbOf(colour), 0xFFFFFFu);
    drag({centre(0, 0), centre(1, 0), centre(2, 0)}, Qt::LeftButton);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(model().cellState(c, 0), DefYes) << c;
        EXPECT_EQ(pixel(c, 0), rgbOf(colour)) << c;
    }
    EXPECT_EQ(model().cellState(3, 0), Empty);

    drag({centre(0, 1), centre(1, 1)}, Qt::RightButton);
    EXPECT_EQ(model().cellState(0, 1), DefNo);
    EXPECT_EQ(model().cellState(1, 1), DefNo);

    drag({centre(0, 2), centre(1, 2)}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(model().cellState(0, 2), Mark);
    EXPECT_EQ(model().cellState(1, 2), Mark);

    drag({centre(1, 0), centre(2, 0)}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(model().cellState(0, 0), DefYes);
    EXPECT_EQ(model().cellState(1, 0), Empty);
    EXPECT_EQ(model().cellState(2, 0), Empty);
    EXPECT_EQ(pixel(1, 0), 0xFFFFFFu);
}

TEST_F(GridInput, LineShowsItsBandWhileDraggingAndCommitsOnRelease)
{
    widget.pointer().setDrawMode(DrawMode::Line);
    const QRgb before = pixel(2, 4);
    send(QEvent::MouseButtonPress, centre(0, 4), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, centre(4, 4), Qt::NoButton, Qt::LeftButton);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model().cellState(c, 4), Empty) << "committed before the release: " << c;
    EXPECT_NE(pixel(2, 4), before) << "the band is not drawn";
    send(QEvent::MouseButtonRelease, centre(4, 4), Qt::LeftButton, Qt::NoButton);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model().cellState(c, 4), DefYes) << c;
    model().Undo();
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model().cellState(c, 4), Empty) << c;
    EXPECT_EQ(pixel(2, 4), before);
}

TEST_F(GridInput, ShiftPicksTheColourOfACellAndTheCursorFollows)
{
    model().restoreCell(2, 2, DefYes, 5);
    send(QEvent::MouseButtonPress, centre(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, centre(2, 2), Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(model().currentColour(), PaletteColor(5));
    ASSERT_FALSE(cursorIds.empty());
    EXPECT_EQ(cursorIds.back(), ColorCursor(PaletteColor(5)));
    EXPECT_EQ(model().cellState(2, 2), DefYes); // Shift never changes a cell
    drag({centre(0, 0), centre(1, 0)}, Qt::LeftButton);
    EXPECT_EQ(model().cellColourIndex(0, 0), 5);
}

} // namespace
