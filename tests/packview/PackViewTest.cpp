#include "data/PackModel.h"
#include "packview/TPackView.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TPackModelFile* fileAt(TPackModelDir& dir, std::size_t i)
{
    return static_cast<TPackModelFile*>(dir.children.at(i).get());
}

TEST(PackCaptions, CountsAndStylesFollowTheMarks)
{
    TPackModelDir root("root");
    for (int i = 0; i < 10; ++i)
        insertCrossword(root, "Zoo\\A" + std::to_string(i) + "_1_2", "Zoo\\A" + std::to_string(i) + "_1", 2, true);
    auto& zoo = static_cast<TPackModelDir&>(*root.children[0]);
    for (int i = 0; i < 10; ++i) {
        fileAt(zoo, i)->edited = i < 4;
        fileAt(zoo, i)->solved = i < 3;
    }
    recount(root);
    EXPECT_EQ(TPackView::caption(zoo), "Zoo - (3/4/10)");
    EXPECT_TRUE(TPackView::captionFont(zoo).bold());
    for (int i = 0; i < 10; ++i)
        fileAt(zoo, i)->edited = 1;
    recount(root);
    EXPECT_FALSE(TPackView::captionFont(zoo).bold());

    TPackModelFile tom;
    tom.name = "Tom_1";
    EXPECT_EQ(TPackView::caption(tom), "Tom");
    EXPECT_TRUE(TPackView::captionFont(tom).bold());
    tom.edited = 1;
    EXPECT_FALSE(TPackView::captionFont(tom).bold());
    tom.solved = 1;
    EXPECT_TRUE(TPackView::captionFont(tom).strikeOut());
    tom.name = "x";
    EXPECT_EQ(TPackView::caption(tom), "");
}

class PackViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        insertCrossword(root, "P\\F\\Cat_0_1", "P\\F\\Cat_0", 1, false);
        insertCrossword(root, "P\\F\\Dog_1_3", "P\\F\\Dog_1", 3, true);
        insertCrossword(root, "P\\Top_0_0", "P\\Top_0", 0, false);
        recount(root);
        view = std::make_unique<TPackView>(&tree, &root, [this](TPackModelFile* node) { opened.push_back(node); });
        view->setActiveIdSource([this] { return active; });
        view->setConfirm([this] {
            ++asked;
            return answer;
        });
    }
    QTreeWidgetItem* item(const char* caption) { return tree.findItems(caption, Qt::MatchRecursive).value(0); }
    TPackModelDir root{"root"};
    PackTree tree;
    std::unique_ptr<TPackView> view;
    std::vector<TPackModelFile*> opened;
    std::string active;
    int asked = 0;
    bool answer = false;
};

// Nodes sort by the shown text without regard to case ("Confetti 1" once
// came after "Confetti 10", whose raw name sorts first); folders start closed
// but for the path to the open crossword, and open and close by key and
// double click; names wider than the panel scroll instead of being cut.
TEST_F(PackViewTest, SortsByShownTextFoldersCollapseAndExpandWideNamesScroll)
{
    for (const char* name : {"Confetti 10_0", "confetti 1_0", "Apple_0", "banana_0"})
        insertCrossword(root, std::string("P\\G\\") + name + "_1", std::string("P\\G\\") + name, 1, false);
    insertCrossword(root, "P\\F\\A tree with a swing on a long branch_0_1",
                    "P\\F\\A tree with a swing on a long branch_0", 1, false);
    recount(root);
    view->rebuild("P\\F\\Dog_1_3");
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* pack = tree.topLevelItem(0);
    ASSERT_EQ(pack->childCount(), 3);
    QTreeWidgetItem* f = pack->child(0);
    QTreeWidgetItem* g = pack->child(1);
    EXPECT_EQ(pack->child(2)->text(0), QStringLiteral("Top"));
    QStringList order;
    for (int i = 0; i < g->childCount(); ++i)
        order << g->child(i)->text(0);
    EXPECT_EQ(order, (QStringList{"Apple", "banana", "confetti 1", "Confetti 10"}));
    EXPECT_EQ(tree.currentItem(), item("Dog"));
    EXPECT_TRUE(pack->isExpanded());
    EXPECT_TRUE(f->isExpanded());
    EXPECT_FALSE(g->isExpanded());

    tree.setCurrentItem(g);
    const std::vector<std::pair<Qt::Key, bool>> keys = {
        {Qt::Key_Plus, true}, {Qt::Key_Minus, false}, {Qt::Key_Right, true}, {Qt::Key_Left, false},
        {Qt::Key_Return, true}, {Qt::Key_Return, false}};
    for (const auto& [key, expanded] : keys) {
        QTest::keyClick(&tree, key);
        EXPECT_EQ(g->isExpanded(), expanded) << key;
    }
    tree.resize(300, 300);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    const QRect r = tree.visualItemRect(g);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_TRUE(g->isExpanded());
    EXPECT_TRUE(opened.empty());

    tree.resize(150, 300);
    QCoreApplication::processEvents();
    EXPECT_GT(tree.horizontalScrollBar()->maximum(), 0);
    for (int i = 0; i < TPackView::BitmapCount; ++i)
        EXPECT_FALSE(TPackView::bitmap(TPackView::Bitmap(i)).isNull()) << i;
    EXPECT_EQ(root.totalCount, 8) << "painting changed the catalogue";
}

TEST_F(PackViewTest, OpensOnlyAnotherCrosswordAndAsksBeforeLeavingAnUnsolvedOne)
{
    view->rebuild("");
    tree.setCurrentItem(tree.topLevelItem(0)); // a pack opens nothing
    view->activateSelected();
    EXPECT_TRUE(opened.empty());
    // Each step: the open crossword, the one chosen, the answer to a question.
    const struct {
        const char* active;
        const char* chosen;
        bool answer;
        int asked, opened;
    } steps[] = {
        {"logo", "Cat", false, 0, 1},        // the start picture never asks
        {"P\\F\\Cat_0_1", "Cat", false, 0, 1}, // already open: nothing
        {"P\\F\\Cat_0_1", "Top", false, 1, 1}, // Cat is not solved: asked, answer no
        {"P\\F\\Cat_0_1", "Top", true, 2, 2},
        {"Gone\\x_0_0", "Dog", false, 2, 3}, // not in the catalogue: as if none
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.chosen);
        active = step.active;
        answer = step.answer;
        tree.setCurrentItem(item(step.chosen));
        QTest::keyClick(&tree, Qt::Key_Return); // as activateSelected()
        EXPECT_EQ(asked, step.asked);
        ASSERT_EQ(opened.size(), std::size_t(step.opened));
    }
    EXPECT_EQ(opened[1]->id, "P\\Top_0_0");
    findCrossword(root, "P\\F\\Cat_0_1")->solved = 1; // solved: no question
    active = "P\\F\\Cat_0_1";
    tree.setCurrentItem(item("Top"));
    view->activateSelected();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(opened.size(), 4u);
}

} // namespace
