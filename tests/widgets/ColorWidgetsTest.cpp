#include "widgets/TColorMenu.h"
#include "widgets/TColorMenuItem.h"
#include "widgets/TColorToolButton.h"

#include "data/Color.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QColor qc(RGB c) { return QColor(red(c), green(c), blue(c)); }

const RGB kSwatch = 0xFF0000;

}  // namespace

TEST(TColorMenuItem, SwatchIsOnePixelLargerOnEverySideWhenSelected)
{
    const QColor red = qc(kSwatch), face(0xC0, 0xC0, 0xC0), untouched(0x12, 0x34, 0x56);
    QImage images[2];
    for (bool selected : {false, true}) {
        images[selected] = QImage(32, 24, QImage::Format_RGB32);
        images[selected].fill(untouched);
        QPainter p(&images[selected]);
        // Item from (5, 2) up to, not including, (25, 20).
        TColorMenuItem::paint(p, QRect(5, 2, 20, 18), kSwatch, selected, face);
    }
    const struct {
        bool selected;
        int x, y;
        QColor expected;
    } cases[] = {
        // not selected: face band, black frame one inside, colour two inside
        {false, 4, 3, face},        {false, 5, 4, Qt::black},  {false, 23, 17, Qt::black},
        {false, 6, 5, red},         {false, 22, 16, red},      {false, 25, 10, untouched},
        // selected: the frame moves out to the face band's edge
        {true, 4, 3, Qt::black},    {true, 24, 18, Qt::black}, {true, 5, 4, red},
        {true, 5, 2, untouched},    {true, 4, 19, untouched},  {true, 25, 10, untouched},
    };
    for (const auto& c : cases)
        EXPECT_EQ(images[c.selected].pixelColor(c.x, c.y), c.expected)
            << (c.selected ? "selected " : "plain ") << c.x << "," << c.y;
}

TEST(TColorMenu, PaletteItemsFormSixColumnsOfThreeInIndexOrder)
{
    TColorMenu menu;
    menu.addPaletteItems();
    ASSERT_EQ(menu.colorItems().size(), 18);
    const QSize cell = menu.itemRect(0).size();
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu.colorItems()[i]->color(), PaletteColor(i + 1));
        EXPECT_EQ(menu.itemRect(i).topLeft() - menu.itemRect(0).topLeft(),
                  QPoint((i / 3) * cell.width(), (i % 3) * cell.height()));
        EXPECT_EQ(menu.itemAt(menu.itemRect(i).center()), i);
    }
    // The panel holds exactly the grid and the pixel the selected frame needs.
    EXPECT_EQ(menu.swatchPanel()->sizeHint(),
              QSize(menu.itemRect(0).left() + 6 * cell.width(), 3 * cell.height()));
    EXPECT_EQ(menu.itemAt(QPoint(0, 0)), -1);

    // A larger menu font makes larger items.
    QFont big = menu.font();
    big.setPointSizeF(big.pointSizeF() * 3);
    menu.setFont(big);
    EXPECT_GT(menu.itemRect(0).height(), cell.height());
    EXPECT_EQ(menu.swatchPanel()->sizeHint().height(), 3 * menu.itemRect(0).height());
}

TEST(TColorMenu, HoverSelectsWithAFrameAndAClickChoosesAndCloses)
{
    TColorMenu menu;
    menu.addPaletteItems();
    menu.popup(QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QWidget* panel = menu.swatchPanel();
    const QRect r = menu.itemRect(7);
    QTest::mouseMove(panel, r.center());
    QTRY_COMPARE(menu.selectedIndex(), 7);
    const QImage img = panel->grab().toImage();
    // Selected: black reaches one pixel left of the item and frames it on
    // every side (the item to its right once painted over the right edge);
    // its neighbour below keeps the plain look.
    EXPECT_EQ(img.pixelColor(r.left() - 1, r.top() + 1), QColor(Qt::black));
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        EXPECT_EQ(img.pixelColor(r.right(), y), QColor(Qt::black)) << y;
    EXPECT_EQ(img.pixelColor(r.left(), r.top() + 2), qc(PaletteColor(8)));
    const QRect below = menu.itemRect(8);
    EXPECT_EQ(img.pixelColor(below.left() - 1, below.top() + 1), panel->palette().color(QPalette::Button));
    EXPECT_EQ(img.pixelColor(below.left(), below.top() + 2), QColor(Qt::black));

    QSignalSpy chosen(&menu, &TColorMenu::colorChosen);
    QSignalSpy triggered(menu.colorItems()[4], &QAction::triggered);
    QTest::mouseClick(panel, Qt::LeftButton, {}, menu.itemRect(4).center());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].value<RGB>(), PaletteColor(5));
    EXPECT_EQ(triggered.size(), 1);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.selectedIndex(), -1);
}

TEST(TColorMenu, ArrowKeysMoveThroughColumnsAndEnterChooses)
{
    TColorMenu menu;
    menu.addPaletteItems();
    QSignalSpy chosen(&menu, &TColorMenu::colorChosen);
    // Down with nothing selected takes the first item; the moves stop at
    // the edges of the grid.
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Down, 0},  {Qt::Key_Up, 0},    {Qt::Key_Left, 0},  {Qt::Key_Down, 1},
        {Qt::Key_Right, 4}, {Qt::Key_Right, 7}, {Qt::Key_Down, 8},  {Qt::Key_Down, 8},
    };
    for (const auto& [key, index] : steps) {
        QTest::keyClick(menu.swatchPanel(), key);
        EXPECT_EQ(menu.selectedIndex(), index) << key;
    }
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(menu.swatchPanel(), Qt::Key_Right);
    EXPECT_EQ(menu.selectedIndex(), 17);
    EXPECT_EQ(chosen.size(), 0);
    QTest::keyClick(menu.swatchPanel(), Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].value<RGB>(), PaletteColor(18));
}

TEST(TColorMenu, SidewaysIntoAShorterColumnTakesItsLastItem)
{
    TColorMenu menu;
    for (RGB c : {RGB(0x111111), RGB(0x222222), RGB(0x333333), RGB(0x444444)}) {
        auto* item = new TColorMenuItem(&menu, c);
        item->setStartsColumn(c == 0x444444);
        menu.addColorItem(item);
    }
    EXPECT_EQ(menu.columnCount(), 2);
    menu.setSelectedIndex(2);
    QTest::keyClick(menu.swatchPanel(), Qt::Key_Right);
    EXPECT_EQ(menu.selectedIndex(), 3);
    QTest::keyClick(menu.swatchPanel(), Qt::Key_Left);
    EXPECT_EQ(menu.selectedIndex(), 0);
    // Adding the same item twice must not duplicate it.
    menu.addColorItem(menu.colorItems()[0]);
    EXPECT_EQ(menu.colorItems().size(), 4);
}

TEST(TColorMenu, ItemsAddedAsPlainActionsJoinTheSwatchPanel)
{
    TColorMenu menu;
    const auto before = menu.actions();
    auto* item = new TColorMenuItem(nullptr, 0xCC9933);
    menu.addAction(item);
    EXPECT_EQ(menu.actions(), before);
    EXPECT_EQ(menu.colorItems(), QList<TColorMenuItem*>{item});
    EXPECT_EQ(item->parent(), &menu);
    QSignalSpy chosen(&menu, &TColorMenu::colorChosen);
    item->trigger();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].value<RGB>(), RGB(0xCC9933));
}

TEST(TColorToolButton, ShowsItsColourBesideTheArrowAndPassesOnPopupChoices)
{
    TColorToolButton button(nullptr, kSwatch);
    button.resize(23, 22);
    EXPECT_EQ(button.grab().toImage().pixelColor(10, 10), qc(kSwatch));
    auto* menu = new TColorMenu(&button);
    menu->addPaletteItems();
    button.setColorMenu(menu);
    EXPECT_EQ(button.menu(), menu);
    button.resize(36, 22);
    button.setColor(kWhite);

    // The drop-down arrow keeps its own look; the swatch stays left of it.
    const QRect area = button.swatchArea();
    EXPECT_LT(area.width(), button.width());
    const QImage img = button.grab().toImage();
    EXPECT_EQ(img.pixelColor(area.left() + area.width() - 3, area.center().y()), QColor(Qt::black));
    for (int x = area.left() + area.width(); x < button.width(); ++x)
        for (int y = 0; y < button.height(); ++y)
            ASSERT_NE(img.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;

    QSignalSpy passed(&button, &TColorToolButton::colorChosen);
    menu->chooseItem(10);
    EXPECT_EQ(button.color(), PaletteColor(11));
    ASSERT_EQ(passed.size(), 1);
    EXPECT_EQ(passed[0][0].value<RGB>(), PaletteColor(11));

    // Setting the colour from the program is not a choice.
    button.setColor(PaletteColor(3));
    EXPECT_EQ(passed.size(), 1);

    // Replacing the menu disconnects the old one.
    auto* other = new TColorMenu(&button);
    other->addPaletteItems();
    button.setColorMenu(other);
    menu->chooseItem(0);
    EXPECT_EQ(passed.size(), 1);
    EXPECT_EQ(button.color(), PaletteColor(3));
    delete other;
    EXPECT_EQ(button.colorMenu(), nullptr);
}
