#include "packview/TPackView.h"

#include "config/CodePage.h"
#include "data/PackModel.h"

#include <QBitmap>
#include <QCollator>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include <cstdio>

namespace {
constexpr int kUserRole = Qt::UserRole + 1;

const char* const kBitmapNames[TPackView::BitmapCount] = {
    "TVDN1", "TVDN2", "TVDS1", "TVDS2", "TVCN", "TVCN_M", "TVCS", "TVCS_M", "TVSEP0", "TVSEP1", "TVSEP2",
    "TVLEVEL0", "TVLEVEL1", "TVLEVEL2", "TVLEVEL3"};

int depthOf(QModelIndex index)
{
    int depth = 0;
    while (index.parent().isValid()) {
        index = index.parent();
        ++depth;
    }
    return depth;
}

bool hasNextSibling(const QModelIndex& index)
{
    return index.sibling(index.row() + 1, 0).isValid();
}
}

// -------------------------------------------------------------------- tree

PackTree::PackTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    // Folders open and close as in any tree: double click, the arrow keys,
    // + and -, Enter; the folder bitmap shows which (no expand buttons).
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setIndentation(16);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setItemDelegate(new PackItemDelegate(this));
    // The column is as wide as the longest caption, so a narrow panel
    // scrolls sideways instead of cutting the names off.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

namespace {
// Nodes sort by the text they show (a crossword's name without its flags, a
// folder's name), ignoring letter case, in the player's locale: "Confetti 1"
// before "Confetti 10", "apple" beside "Apple".
class PackItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        static const QCollator collator = [] {
            QCollator c;
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        const int order = collator.compare(text(0), other.text(0));
        if (order != 0)
            return order < 0;
        // Equal but for case: a fixed order, whatever the insertion order.
        const TPackModel* a = TPackView::nodeOf(this);
        const TPackModel* b = TPackView::nodeOf(&other);
        return a && b ? a->name < b->name : text(0) < other.text(0);
    }
};

QString shownName(const TPackModel& node)
{
    const std::string& n = node.name;
    return QString::fromStdString(
        codepage::toUtf8(node.isFile() ? (n.size() >= 2 ? n.substr(0, n.size() - 2) : std::string()) : n));
}
} // namespace

void PackTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    // Connectors: a line for every ancestor that has a next sibling, then
    // the node's own elbow or tee.
    const int depth = depthOf(index);
    const int x0 = rect.right() + 1 - 16 * depth;
    QModelIndex ancestor = index.parent();
    for (int i = depth - 2; i >= 0; --i) {
        if (hasNextSibling(ancestor))
            painter->drawPixmap(x0 + 16 * i, rect.top(), TPackView::bitmap(TPackView::TVSEP2));
        ancestor = ancestor.parent();
    }
    if (depth > 0)
        painter->drawPixmap(x0 + 16 * depth - 16, rect.top(),
                            TPackView::bitmap(hasNextSibling(index) ? TPackView::TVSEP0 : TPackView::TVSEP1));
}

// -------------------------------------------------------------------- view

TPackView::TPackView(PackTree* tree, TPackModelDir* root, SelectCallback onSelectCrossword)
    : tree_(tree), root_(root), onSelectCrossword_(std::move(onSelectCrossword))
{
    for (int i = 0; i < BitmapCount; ++i)
        bitmap(Bitmap(i)); // loaded once, now
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { activateSelected(); });
    tree_->installEventFilter(this);
}

TPackView::~TPackView()
{
    tree_->removeEventFilter(this);
    tree_->clear();
}

const QPixmap& TPackView::bitmap(Bitmap which)
{
    static std::array<QPixmap, BitmapCount> pixmaps;
    QPixmap& p = pixmaps[which];
    if (p.isNull()) {
        p = QPixmap(QStringLiteral(":/") + QLatin1String(kBitmapNames[which]));
        if (!p.isNull())
            p.setMask(p.createMaskFromColor(QColor(255, 0, 255)));
    }
    return p;
}

TPackModel* TPackView::nodeOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<TPackModel*>(item->data(0, kUserRole).value<quintptr>()) : nullptr;
}

std::string TPackView::caption(const TPackModel& node)
{
    if (node.isFile()) {
        const std::string& n = node.name;
        return n.size() >= 2 ? n.substr(0, n.size() - 2) : std::string();
    }
    const auto& dir = static_cast<const TPackModelDir&>(node);
    char counts[64];
    std::snprintf(counts, sizeof counts, " - (%d/%d/%d)", dir.solvedCount, dir.editedCount, dir.totalCount);
    return dir.name + counts;
}

QFont TPackView::captionFont(const TPackModel& node)
{
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    font.setBold(true);
    if (node.isFile()) {
        const auto& file = static_cast<const TPackModelFile&>(node);
        if (file.edited)
            font.setBold(false);
        if (file.solved) {
            font.setBold(false);
            font.setStrikeOut(true);
        }
    } else {
        const auto& dir = static_cast<const TPackModelDir&>(node);
        if (dir.editedCount == dir.totalCount)
            font.setBold(false);
    }
    return font;
}

void TPackView::addNodes(const TPackModelDir& top, QTreeWidgetItem*, const std::string& activeId,
                         QTreeWidgetItem*& selected)
{
    // Breadth by breadth with a list of folders still to fill: no recursion
    // however deep the catalogue is.
    std::vector<std::pair<const TPackModelDir*, QTreeWidgetItem*>> pending{{&top, nullptr}};
    while (!pending.empty()) {
        const auto [dir, parent] = pending.back();
        pending.pop_back();
        for (const auto& child : dir->children) {
            auto* item = parent ? new PackItem(parent) : new PackItem(tree_);
            item->setData(0, kUserRole, QVariant::fromValue(reinterpret_cast<quintptr>(child.get())));
            item->setText(0, shownName(*child));
            if (child->isFile()) {
                if (static_cast<const TPackModelFile&>(*child).id == activeId)
                    selected = item;
            } else {
                pending.emplace_back(static_cast<const TPackModelDir*>(child.get()), item);
            }
        }
    }
}

void TPackView::rebuild(const std::string& activeId)
{
    // Sorting once at the end, not at every insertion.
    tree_->setSortingEnabled(false);
    tree_->clear();
    QTreeWidgetItem* selected = nullptr;
    addNodes(*root_, nullptr, activeId, selected);
    tree_->setSortingEnabled(true);
    tree_->sortByColumn(0, Qt::AscendingOrder);
    // Folders start closed but for the path to the open crossword.
    if (selected) {
        for (QTreeWidgetItem* up = selected->parent(); up; up = up->parent())
            up->setExpanded(true);
        tree_->setCurrentItem(selected);
        tree_->scrollToItem(selected);
    }
    tree_->setFocus();
}

void TPackView::activateSelected()
{
    std::string current = activeId_ ? activeId_() : std::string();
    if (current == "logo")
        current.clear();
    TPackModelFile* currentNode = current.empty() ? nullptr : findCrossword(*root_, current);
    if (!currentNode)
        current.clear();

    TPackModel* node = nodeOf(tree_->currentItem());
    if (!node)
        return;
    if (!node->isFile()) {
        // Enter on a folder opens or closes it (a double click does that
        // through the tree itself).
        if (keyActivation_)
            tree_->currentItem()->setExpanded(!tree_->currentItem()->isExpanded());
        return;
    }
    auto* file = static_cast<TPackModelFile*>(node);
    if (file->id == current)
        return;
    if (!current.empty() && !currentNode->solved && confirm_ && !confirm_())
        return;
    if (onSelectCrossword_)
        onSelectCrossword_(file);
}

bool TPackView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tree_ && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            keyActivation_ = true;
            activateSelected();
            keyActivation_ = false;
        }
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        // + and - open and close the folder (the arrow keys do it natively).
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* item = tree_->currentItem();
        if (item && item->childCount() > 0 && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
            item->setExpanded(key == Qt::Key_Plus);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- delegate

void PackItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const TPackModel* node =
        reinterpret_cast<const TPackModel*>(index.data(kUserRole).value<quintptr>());
    if (!node) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    const QFont font = TPackView::captionFont(*node);
    const QString text = QString::fromStdString(codepage::toUtf8(TPackView::caption(*node)));
    const QFontMetrics metrics(font);
    const int L = option.rect.left() + 3, T = option.rect.top();
    const int w = metrics.horizontalAdvance(text);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(QRect(L - 3, T, w + 29, option.rect.height()),
                      selected ? pal.highlight() : pal.base());

    if (node->isFile()) {
        const auto& file = static_cast<const TPackModelFile&>(*node);
        const TPackView::Bitmap icon = file.solved ? (file.isColor ? TPackView::TVCS : TPackView::TVCS_M)
                                                   : (file.isColor ? TPackView::TVCN : TPackView::TVCN_M);
        painter->drawPixmap(L, T, TPackView::bitmap(icon));
        if (file.level <= 3)
            painter->drawPixmap(L - 3, T, TPackView::bitmap(TPackView::Bitmap(TPackView::TVLEVEL0 + file.level)));
    } else {
        const auto& dir = static_cast<const TPackModelDir&>(*node);
        const bool expanded = option.state & QStyle::State_Open;
        const TPackView::Bitmap icon = dir.solvedCount > 0 ? (expanded ? TPackView::TVDS2 : TPackView::TVDS1)
                                                           : (expanded ? TPackView::TVDN2 : TPackView::TVDN1);
        painter->drawPixmap(L, T, TPackView::bitmap(icon));
    }
    painter->setFont(font);
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->drawText(QRect(L + 18, T, w + 8, option.rect.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter->restore();
}

QSize PackItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const TPackModel* node =
        reinterpret_cast<const TPackModel*>(index.data(kUserRole).value<quintptr>());
    if (!node)
        return QStyledItemDelegate::sizeHint(option, index);
    const QFontMetrics metrics(TPackView::captionFont(*node));
    return QSize(metrics.horizontalAdvance(QString::fromStdString(codepage::toUtf8(TPackView::caption(*node)))) + 29,
                 std::max(16, metrics.height()));
}
