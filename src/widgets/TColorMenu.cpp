#include "widgets/TColorMenu.h"

#include "widgets/TColorMenuItem.h"

#include <QActionEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>

namespace colormenu_detail {

// The pop-up's only entry: draws all colour items and turns mouse and keys
// into selections and choices.
class SwatchPanel : public QWidget {
public:
    explicit SwatchPanel(TColorMenu* menu) : QWidget(menu), menu_(menu)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }
    void setContentSize(QSize s)
    {
        size_ = s;
        setFixedSize(s);
        updateGeometry();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QColor face = palette().color(QPalette::Button);
        p.fillRect(rect(), face);
        // Every item paints a pixel to the left of its rectangle, over the
        // right border of its neighbour: the selected one goes last so that
        // its frame stays whole.
        const int selected = menu_->selected_;
        for (int i = 0; i < menu_->items_.size(); ++i)
            if (i != selected)
                menu_->items_[i]->paint(p, menu_->rects_[i], false, face);
        if (selected >= 0 && selected < menu_->items_.size())
            menu_->items_[selected]->paint(p, menu_->rects_[selected], true, face);
    }

    void mouseMoveEvent(QMouseEvent* e) override
    {
        menu_->setSelectedIndex(menu_->itemAt(e->position().toPoint()));
    }

    void mousePressEvent(QMouseEvent* e) override { e->accept(); }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton)
            return;
        const int i = menu_->itemAt(e->position().toPoint());
        if (i >= 0)
            menu_->chooseItem(i);
    }

    void leaveEvent(QEvent*) override { menu_->setSelectedIndex(-1); }

    void keyPressEvent(QKeyEvent* e) override
    {
        switch (e->key()) {
        case Qt::Key_Left: menu_->moveSelection(-1, 0); break;
        case Qt::Key_Right: menu_->moveSelection(1, 0); break;
        case Qt::Key_Up: menu_->moveSelection(0, -1); break;
        case Qt::Key_Down: menu_->moveSelection(0, 1); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (menu_->selected_ >= 0)
                menu_->chooseItem(menu_->selected_);
            break;
        default:
            // Escape and the rest belong to the menu.
            e->ignore();
            return;
        }
        e->accept();
    }

private:
    TColorMenu* menu_;
    QSize size_{1, 1};
};

}  // namespace colormenu_detail

using colormenu_detail::SwatchPanel;

TColorMenu::TColorMenu(QWidget* parent) : QMenu(parent)
{
    panel_ = new SwatchPanel(this);
    panelAction_ = new QWidgetAction(this);
    panelAction_->setDefaultWidget(panel_);
    addAction(panelAction_);
    relayout();
}

QWidget* TColorMenu::swatchPanel() const { return panel_; }

void TColorMenu::addColorItem(TColorMenuItem* item)
{
    if (!item || items_.contains(item))
        return;
    item->setParent(this);
    items_.append(item);
    connect(item, &QAction::triggered, this, [this, item] { emit colorChosen(item->color()); });
    relayout();
}

void TColorMenu::addPaletteItems()
{
    for (int i = 1; i <= 18; ++i) {
        auto* item = new TColorMenuItem(this, PaletteColor(i));
        item->setStartsColumn((i - 1) % 3 == 0);
        addColorItem(item);
    }
}

void TColorMenu::relayout()
{
    const QSize cell = TColorMenuItem::itemSize(QFontMetrics(font()));
    rects_.clear();
    columnOf_.clear();
    rowOf_.clear();
    // One pixel of room on the left: a selected swatch reaches one pixel past
    // its item's left edge.
    constexpr int margin = 1;
    int column = 0;
    int row = 0;
    int rows = 0;
    for (int i = 0; i < items_.size(); ++i) {
        if (i > 0 && items_[i]->startsColumn()) {
            ++column;
            row = 0;
        }
        rects_.append(QRect(margin + column * cell.width(), row * cell.height(), cell.width(), cell.height()));
        columnOf_.append(column);
        rowOf_.append(row);
        ++row;
        rows = qMax(rows, row);
    }
    const int columns = items_.isEmpty() ? 0 : column + 1;
    panel_->setContentSize(QSize(qMax(1, margin + columns * cell.width()), qMax(1, rows * cell.height())));
    if (selected_ >= items_.size())
        selected_ = -1;
    panel_->update();
    adjustSize();
}

int TColorMenu::columnCount() const
{
    return columnOf_.isEmpty() ? 0 : columnOf_.back() + 1;
}

QRect TColorMenu::itemRect(int i) const
{
    return (i >= 0 && i < rects_.size()) ? rects_[i] : QRect();
}

int TColorMenu::itemAt(const QPoint& pos) const
{
    for (int i = 0; i < rects_.size(); ++i)
        if (rects_[i].contains(pos))
            return i;
    return -1;
}

void TColorMenu::setSelectedIndex(int i)
{
    if (i < -1 || i >= items_.size())
        i = -1;
    if (i == selected_)
        return;
    // The selected swatch covers one pixel left of its item, so repaint a
    // little more than the item itself.
    if (selected_ >= 0)
        panel_->update(rects_[selected_].adjusted(-1, 0, 0, 0));
    selected_ = i;
    if (selected_ >= 0)
        panel_->update(rects_[selected_].adjusted(-1, 0, 0, 0));
}

void TColorMenu::moveSelection(int dc, int dr)
{
    if (items_.isEmpty())
        return;
    if (selected_ < 0) {
        setSelectedIndex(0);
        return;
    }
    const int column = columnOf_[selected_] + dc;
    const int row = rowOf_[selected_] + dr;
    for (int i = 0; i < items_.size(); ++i) {
        if (columnOf_[i] == column && rowOf_[i] == row) {
            setSelectedIndex(i);
            return;
        }
    }
    // Sideways into a shorter column: take its last item.
    if (dc != 0) {
        int best = -1;
        for (int i = 0; i < items_.size(); ++i)
            if (columnOf_[i] == column && rowOf_[i] < row)
                best = i;
        if (best >= 0)
            setSelectedIndex(best);
    }
}

void TColorMenu::chooseItem(int i)
{
    if (i < 0 || i >= items_.size())
        return;
    TColorMenuItem* item = items_[i];
    // Close first so that whatever the choice triggers sees the pop-up gone.
    hide();
    item->trigger();
}

void TColorMenu::showEvent(QShowEvent* event)
{
    QMenu::showEvent(event);
    setActiveAction(panelAction_);
    panel_->setFocus(Qt::PopupFocusReason);
}

void TColorMenu::hideEvent(QHideEvent* event)
{
    setSelectedIndex(-1);
    QMenu::hideEvent(event);
}

void TColorMenu::actionEvent(QActionEvent* event)
{
    // Colour items live in the swatch panel, never as plain menu lines.
    if (event->type() == QEvent::ActionAdded) {
        if (auto* item = qobject_cast<TColorMenuItem*>(event->action())) {
            removeAction(item);
            addColorItem(item);
            return;
        }
    }
    QMenu::actionEvent(event);
}

void TColorMenu::changeEvent(QEvent* event)
{
    // Items are sized from the menu font, so a new font means a new layout.
    if (event->type() == QEvent::FontChange && panel_)
        relayout();
    QMenu::changeEvent(event);
}
