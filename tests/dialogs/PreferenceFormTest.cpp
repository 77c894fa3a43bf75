#include "DialogFixture.h"

#include "app/MainForm.h"
#include "profile/UserConfig.h"
#include "dialogs/PreferenceForm.h"
#include "widgets/TCustomButton.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {

class PreferenceFormTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        language.LoadLanguage("english");
        language.AddLanguageCallback([this] { ++languageLoads; });
        profile = std::make_unique<UserConfig>("Tester", language);
        profile->setAutoMark(false);
        profile->setShowHover(true);
        form = std::make_unique<PreferenceForm>(language);
        form->setProfile(profile.get());
        QObject::connect(form.get(), &PreferenceForm::settingsChanged, [this] { ++changes; });
    }

    int languageLoads = 0;
    int changes = 0;
    std::unique_ptr<UserConfig> profile;
    std::unique_ptr<PreferenceForm> form;
};

}  // namespace

TEST_F(PreferenceFormTest, ApplyTakesEveryValueAndAnyLanguageReloadingEvenAnUnchangedOne)
{
    // A language file added while the game runs is not offered, but can be
    // typed in and applied.
    QFile::copy("language/german.lng", "language/swiss.lng");
    form->show();
    QStringList offered;
    for (int i = 0; i < form->langChoice()->count(); ++i)
        offered << form->langChoice()->itemText(i);
    EXPECT_EQ(offered, (QStringList{"english", "german", "russian"}));
    const int loadsBefore = languageLoads;
    form->autoMark()->setChecked(true);
    form->showHover()->setChecked(false);
    form->lineHelp()->setChecked(true);
    click(form->applyButton());
    EXPECT_EQ(languageLoads, loadsBefore + 1) << "the unchanged language is loaded again";
    EXPECT_TRUE(profile->autoMark());
    EXPECT_FALSE(profile->showHover());
    EXPECT_TRUE(profile->lineHelp());
    EXPECT_FALSE(profile->liveMistakes());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(form->isVisible()) << "Apply keeps the dialog open";

    form->langChoice()->setEditText(QStringLiteral("swiss"));
    click(form->applyButton());
    // At once, in the dialog itself too.
    EXPECT_EQ(language.CurrentLanguage(), "swiss");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(form->applyButton()->caption(), QString::fromUtf8("Übernehmen"));
    EXPECT_TRUE(shownErrors.empty());
}

TEST_F(PreferenceFormTest, CancelTakesBackWhatWasAppliedEscKeepsIt)
{
    form->show();
    form->langChoice()->setEditText(QStringLiteral("russian"));
    form->autoMark()->setChecked(true);
    form->showHover()->setChecked(false);
    form->liveMistakes()->setChecked(true);
    click(form->applyButton());
    ASSERT_EQ(language.CurrentLanguage(), "russian");
    click(form->cancelButton());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(language.CurrentLanguage(), "english");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Preference"));
    EXPECT_FALSE(profile->autoMark());
    EXPECT_TRUE(profile->showHover());
    EXPECT_FALSE(profile->liveMistakes());

    form->show();
    form->langChoice()->setEditText(QStringLiteral("german"));
    form->showHover()->setChecked(false);
    click(form->applyButton());
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(language.CurrentLanguage(), "german");
    EXPECT_FALSE(profile->showHover());

    // OK applies and closes; the next showing starts from the new values.
    form->show();
    EXPECT_EQ(form->langChoice()->currentText(), QStringLiteral("german"));
    EXPECT_FALSE(form->showHover()->isChecked());
    form->autoMark()->setChecked(true);
    click(form->okButton());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(profile->autoMark());
}

TEST_F(PreferenceFormTest, ALanguageThatCannotBeLoadedIsShownAndChangesNothing)
{
    form->show();
    for (const QString& name : {QStringLiteral("klingon"), QString(), QStringLiteral("../language/english")}) {
        shownErrors.clear();
        form->langChoice()->setEditText(name);
        form->autoMark()->setChecked(true);
        click(form->okButton());
        EXPECT_EQ(shownErrors.size(), 1u) << name.toStdString();
        EXPECT_TRUE(form->isVisible()) << "stays open for another name";
        EXPECT_EQ(language.CurrentLanguage(), "english");
        EXPECT_FALSE(profile->autoMark()) << "nothing applied after the failed load";
    }
    // The language shown at opening has gone meanwhile: Cancel says so and
    // still puts the switches back.
    form->langChoice()->setEditText(QStringLiteral("german"));
    click(form->applyButton());
    ASSERT_TRUE(profile->autoMark());
    QFile::remove("language/english.lng");
    shownErrors.clear();
    click(form->cancelButton());
    EXPECT_EQ(shownErrors.size(), 1u);
    EXPECT_FALSE(profile->autoMark());
    EXPECT_EQ(language.CurrentLanguage(), "german");
}

// The main window's Preferences command: settings take effect in the window.
TEST_F(PreferenceFormTest, MainWindowCommandAppliesHoverAndLanguage)
{
    form.reset();
    auto main = std::make_unique<MainForm>(false);
    main->setErrorDisplay([this](const QString& text) { shownErrors.push_back(text.toStdString()); });
    main->setProfileChooser([] { return std::string("Tester"); });
    main->PreferenceClick(); // no profile yet: nothing opens
    main->FormActivate();
    ASSERT_TRUE(main->profile()->showHover());
    auto answered = whenModal<PreferenceForm>([](PreferenceForm& dialog) {
        dialog.showHover()->setChecked(false);
        dialog.autoMark()->setChecked(true);
        dialog.langChoice()->setEditText(QStringLiteral("german"));
        click(dialog.okButton());
    });
    main->PreferenceClick();
    EXPECT_EQ(*answered, 1);
    EXPECT_FALSE(main->profile()->showHover());
    EXPECT_FALSE(main->hoverEnabled());
    EXPECT_TRUE(main->autoMarkEnabled());
    EXPECT_FALSE(main->actions().showHover->isChecked()) << "the menu item follows the dialog";
    EXPECT_EQ(main->actions().exit->text(), QStringLiteral("Beenden"));
    // The hover command toggles from the new value.
    main->menuShowHoverClick();
    EXPECT_TRUE(main->profile()->showHover());
    EXPECT_TRUE(shownErrors.empty());
}
