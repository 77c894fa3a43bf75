#include "DialogFixture.h"

#include "app/MainForm.h"
#include "profile/UserConfig.h"
#include "dialogs/AboutFrm.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/SolvedInfoForm.h"
#include "packview/TPackView.h"
#include "widgets/HelpViewer.h"
#include "widgets/TCustomButton.h"

#include <QLabel>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>

using MessageDialogsTest = DialogTest;

TEST_F(MessageDialogsTest, ConfirmAnswersOkOnlyThroughItsOkButton)
{
    ConfirmForm confirm(language);
    EXPECT_FALSE(confirm.windowFlags() & Qt::WindowCloseButtonHint);

    confirm.show();
    click(confirm.okButton());
    EXPECT_EQ(confirm.result(), ConfirmForm::kOk);
    EXPECT_FALSE(confirm.isVisible());
    confirm.show();
    click(confirm.cancelButton());
    EXPECT_EQ(confirm.result(), ConfirmForm::kCancel) << "whatever result its button carries";
    // Next time Enter is OK again (it once stayed on the button clicked last),
    // and the focused button shows a dark frame, not white on light grey.
    confirm.show();
    confirm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&confirm));
    EXPECT_TRUE(confirm.okButton()->hasFocus());
    EXPECT_EQ(confirm.okButton()->grab().toImage().pixel(0, 10) & 0xFFFFFF, 0u);
    EXPECT_NE(confirm.cancelButton()->grab().toImage().pixel(0, 10) & 0xFFFFFF, 0u);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(confirm.result(), ConfirmForm::kOk);
    confirm.show();
    confirm.setResult(ConfirmForm::kOk);
    QTest::keyClick(&confirm, Qt::Key_Escape);
    EXPECT_NE(confirm.result(), ConfirmForm::kOk);
}

// Both notices follow every language load; a key the file lacks keeps the
// built-in English.
TEST_F(MessageDialogsTest, NoticesFollowLanguageLoadsWithEnglishForMissingKeys)
{
    ConfirmForm confirm(language);
    SolvedInfoForm solved(language);
    writeFile("language/sparse.lng", "common_str_ok=Jawohl\r\nsolved_info_continue=Weiter\r\n");
    language.LoadLanguage("sparse");
    EXPECT_EQ(confirm.okButton()->caption(), QStringLiteral("Jawohl"));
    EXPECT_EQ(solved.continueButton()->caption(), QStringLiteral("Weiter"));
    EXPECT_EQ(confirm.cancelButton()->caption(), QStringLiteral("Cancel"));
    EXPECT_TRUE(confirm.infoText()->text().contains(QLatin1Char('\n'))) << "the built-in text's line break";
}

TEST_F(MessageDialogsTest, SolvedNoticeRecordsTheCurrentCrosswordOnce)
{
    UserConfig profile("Tester", language);
    SolvedInfoForm solved(language);
    solved.setProfileSource([&] { return &profile; });
    solved.show(); // no current crossword: nothing recorded
    click(solved.continueButton());
    EXPECT_TRUE(profile.solved().empty());

    // The logo is never recorded; a crossword shown solved twice is recorded once.
    for (const char* id : {"logo", "Zoo\\Cat_0_1", "Zoo\\Cat_0_1"}) {
        profile.SetCurrent(id, 2, 2, 1, 1);
        solved.show();
        solved.hide();
    }
    EXPECT_EQ(profile.solved(), std::vector<std::string>{"Zoo\\Cat_0_1"});

    solved.setProfileSource([] { return nullptr; });
    solved.show(); // before a profile exists
    solved.hide();
}

TEST_F(MessageDialogsTest, AboutBoxClosesByEscAndOpensItsHelpByF1)
{
    AboutFrm about(language);
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());

    // Help opened from the box belongs to it: a window of its own that the
    // box's modality does not block (the program's shared one was).
    HelpViewer::instance().setHelpFolder(QStringLiteral(TESSELLOR_SOURCE_DIR "/help"));
    about.show();
    QTest::keyClick(&about, Qt::Key_F1);
    auto* help = about.findChild<HelpViewer*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isWindow() && help->isVisible());
    EXPECT_FALSE(HelpViewer::instance().isVisible());
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("about.html")));
    help->hide();
}

// The main window asks through ConfirmForm before leaving an unsolved
// crossword and announces a solved one through SolvedInfoForm.
TEST_F(MessageDialogsTest, MainWindowConfirmsLeavingAndAnnouncesTheSolvedCrossword)
{
    QTemporaryDir temp;
    qputenv("TEMP", temp.path().toLocal8Bit());
    makePack("Fun", {{"Eye_0_1.ql", {"#.#", ".#.", "#.#"}}, {"Bar_0_0.ql", {"##", ".."}}});
    auto form = std::make_unique<MainForm>(false);
    form->setErrorDisplay([this](const QString& text) { shownErrors.push_back(text.toStdString()); });
    form->setProfileChooser([] { return std::string("Tester"); });
    form->FormActivate();
    form->CrossSelected(findCrossword(form->rootCategory(), "Fun\\Eye_0_1"));
    ASSERT_EQ(form->gridModel().name(), "Fun\\Eye_0_1");

    form->treeView()->setCurrentItem(form->treeView()->findItems("Bar", Qt::MatchRecursive).value(0));
    auto declined = whenModal<ConfirmForm>([](ConfirmForm& d) { d.reject(); });
    form->packView().activateSelected();
    EXPECT_EQ(*declined, 1);
    EXPECT_EQ(form->gridModel().name(), "Fun\\Eye_0_1") << "Cancel keeps the crossword";
    auto accepted = whenModal<ConfirmForm>([](ConfirmForm& d) { click(d.okButton()); });
    form->packView().activateSelected();
    EXPECT_EQ(*accepted, 1);
    ASSERT_EQ(form->gridModel().name(), "Fun\\Bar_0_0");

    auto announced = whenModal<SolvedInfoForm>([](SolvedInfoForm& d) { click(d.continueButton()); });
    for (int c = 0; c < 2; ++c)
        form->gridModel().paint(c, 0, DefYes);
    EXPECT_EQ(*announced, 1);
    const auto& solved = form->profile()->solved();
    EXPECT_EQ(std::count(solved.begin(), solved.end(), "Fun\\Bar_0_0"), 1);
    EXPECT_TRUE(shownErrors.empty());
    qunsetenv("TEMP");
}
