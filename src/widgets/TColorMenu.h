#pragma once

#include "data/Color.h"

#include <QList>
#include <QMenu>
#include <QRect>

class TColorMenuItem;
class QWidgetAction;

namespace colormenu_detail { class SwatchPanel; }

// The colour pop-up of the colour tool button: TColorMenuItems drawn as
// swatches in columns. An item that startsColumn() opens a new column, so
// the standard palette (addPaletteItems) shows six columns of three.
// Choosing an item triggers it, emits colorChosen with its colour and closes
// the pop-up. Arrow keys move the selection, Enter or Space chooses it.
class TColorMenu : public QMenu {
    Q_OBJECT
public:
    explicit TColorMenu(QWidget* parent = nullptr);

    // Appends an item (the menu takes ownership); items keep their order.
    // A TColorMenuItem given to addAction() lands here too.
    void addColorItem(TColorMenuItem* item);
    // Appends palette colours 1..18 in index order; 1, 4, 7, 10, 13 and 16
    // begin a new column.
    void addPaletteItems();

    const QList<TColorMenuItem*>& colorItems() const { return items_; }
    int columnCount() const;
    // Where item i is drawn, in swatchPanel() coordinates; empty when out of
    // range.
    QRect itemRect(int i) const;
    // The item under a point of swatchPanel(), or -1.
    int itemAt(const QPoint& pos) const;

    // The selected (highlighted) item, -1 for none.
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int i);

    // Triggers item i as a click would: emits colorChosen and closes.
    void chooseItem(int i);

    QWidget* swatchPanel() const;

signals:
    void colorChosen(RGB colour);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void actionEvent(QActionEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class colormenu_detail::SwatchPanel;
    void relayout();
    // Moves the selection one step; dc / dr are -1, 0 or +1.
    void moveSelection(int dc, int dr);

    QList<TColorMenuItem*> items_;
    QList<QRect> rects_;
    QList<int> columnOf_;
    QList<int> rowOf_;
    int selected_ = -1;
    colormenu_detail::SwatchPanel* panel_ = nullptr;
    QWidgetAction* panelAction_ = nullptr;
};
