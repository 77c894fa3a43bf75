#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <array>
#include <functional>
#include <string>

class TPackModel;
class TPackModelDir;
class TPackModelFile;

// The tree control of the crossword panel. It draws the connector lines of
// the catalogue itself from small bitmaps; the nodes are drawn by TPackView.
class PackTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit PackTree(QWidget* parent = nullptr);

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
};

// Controller of the crossword tree: fills the tree from the catalogue, draws
// every node (icon, level bar, caption whose style tells how far the player
// got) and opens the crossword the player double-clicks or presses Enter on.
class TPackView : public QObject {
    Q_OBJECT
public:
    using SelectCallback = std::function<void(TPackModelFile* node)>;
    // The id of the profile's active crossword ("" without one).
    using ActiveIdSource = std::function<std::string()>;
    // Asks before an unsolved crossword is left; true to go on.
    using Confirm = std::function<bool()>;

    TPackView(PackTree* tree, TPackModelDir* root, SelectCallback onSelectCrossword);
    ~TPackView() override;

    void setActiveIdSource(ActiveIdSource source) { activeId_ = std::move(source); }
    void setConfirm(Confirm confirm) { confirm_ = std::move(confirm); }

    void rebuild(const std::string& activeId);
    void activateSelected();

    // What a node shows, recomputed at every paint.
    static std::string caption(const TPackModel& node);
    static QFont captionFont(const TPackModel& node);
    static TPackModel* nodeOf(const QTreeWidgetItem* item);

    enum Bitmap { TVDN1, TVDN2, TVDS1, TVDS2, TVCN, TVCN_M, TVCS, TVCS_M, TVSEP0, TVSEP1, TVSEP2,
                  TVLEVEL0, TVLEVEL1, TVLEVEL2, TVLEVEL3, BitmapCount };
    static const QPixmap& bitmap(Bitmap which);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addNodes(const TPackModelDir& dir, QTreeWidgetItem* parent, const std::string& activeId,
                  QTreeWidgetItem*& selected);

    PackTree* tree_;
    TPackModelDir* root_;
    SelectCallback onSelectCrossword_;
    ActiveIdSource activeId_;
    Confirm confirm_;
    bool keyActivation_ = false;
};

// Draws one node of the crossword tree.
class PackItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
