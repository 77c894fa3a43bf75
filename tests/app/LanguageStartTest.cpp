#include "WorkFolder.h"
#include "app/MainForm.h"
#include "app/TessellorApp.h"
#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/Localization.h"
#include "dialogs/PreviewFrm.h"
#include "grid/GridModel.h"
#include "widgets/GridWidget.h"
#include "widgets/TCustomButton.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The main window in a working folder holding the shipped language files,
// with the code page a Russian or a German system would have.
class ShippedLanguageTest : public ::testing::Test {
protected:
    void start(int codePage)
    {
        initTessellorResources();
        ASSERT_TRUE(work.isValid());
        savedPage = codepage::current();
        ASSERT_TRUE(codepage::setCurrent(codePage));
        form = std::make_unique<MainForm>(false);
        // Showing the window asks for a profile; answer without a dialog.
        form->setProfileChooser([] { return std::string("Tester"); });
        form->setErrorDisplay([this](const QString& text) { shown.push_back(text.toStdString()); });
        CrossException::setDisplay([this](const std::string& text) { shown.push_back(text); });
    }
    void TearDown() override
    {
        form.reset();
        CrossException::setDisplay(nullptr);
        codepage::setCurrent(savedPage);
    }

    WorkFolder work;
    int savedPage = 1252;
    std::unique_ptr<MainForm> form;
    std::vector<std::string> shown;
};

TEST_F(ShippedLanguageTest, RussianShowsCyrillicInMenusButtonsStatusPreviewAndErrors)
{
    start(1251);
    form->language().LoadLanguage("russian");
    EXPECT_EQ(form->menuBar()->actions().at(0)->text(), QStringLiteral("\u0418\u0433\u0440\u0430")); // Игра
    EXPECT_EQ(form->actions().clear->text(), QStringLiteral("\u041E\u0447\u0438\u0441\u0442\u0438\u0442\u044C"));
    EXPECT_TRUE(form->findChild<TCustomButton*>("SuggestButton")->text().startsWith(QStringLiteral("\u041F")));
    EXPECT_EQ(form->preview()->windowTitle(),
              QStringLiteral("\u041F\u0440\u0435\u0434\u043F\u0440\u043E\u0441\u043C\u043E\u0442\u0440"));

    // The status text of a cell state comes from the table as well.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseMove(form->grid(), QPoint(form->grid()->layout().cellX(4) + 3, form->grid()->layout().cellY(7) + 3));
    const QString state = form->statusPanel(1)->text();
    EXPECT_FALSE(state.isEmpty());
    for (const QChar c : state)
        EXPECT_TRUE(c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) << state.toStdString();

    // A failed load keeps Russian and reports itself in Russian.
    try {
        form->language().LoadLanguage("klingon");
        FAIL();
    } catch (const CrossException& e) {
        e.Show();
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(codepage::toUtf8(shown[0]).rfind("\xD0\x9D\xD0\xB5 ", 0), 0u) << codepage::toUtf8(shown[0]); // "Не "
    EXPECT_EQ(form->language().CurrentLanguage(), "russian");
}

// Texts a player must read whole: the suggest button holds its countdown in
// every shipped language, and the message panel a solver progress line.
TEST_F(ShippedLanguageTest, SuggestButtonAndMessagePanelHoldTheirTexts)
{
    start(1252);
    const struct {
        const char* language;
        int codePage;
    } cases[] = {{"english", 1252}, {"russian", 1251}, {"german", 1252}};
    TCustomButton* button = form->suggestButton();
    for (const auto& c : cases) {
        ASSERT_TRUE(codepage::setCurrent(c.codePage));
        form->language().LoadLanguage(c.language);
        form->StartSuggestWait();
        form->SuggestTimerTimer(); // the widest text: two digits still to wait
        const int text = QFontMetrics(button->font()).horizontalAdvance(button->text());
        // The caption is clipped two pixels inside the frame.
        EXPECT_LE(text, button->width() - 4) << c.language << ": " << button->text().toStdString();
    }

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QLabel* panel = form->statusPanel(2);
    panel->setText(QStringLiteral("Solving... Time: 00:01:05  Progress:  41.16 % Try: 1234 Total: 1234567"));
    QCoreApplication::processEvents();
    form->statusBar()->layout()->activate();
    EXPECT_GE(panel->contentsRect().width(), QFontMetrics(panel->font()).horizontalAdvance(panel->text()));
}

}  // namespace
