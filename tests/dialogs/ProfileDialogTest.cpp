#include "DialogFixture.h"

#include "app/MainForm.h"
#include "config/CodePage.h"
#include "profile/UserConfig.h"
#include "dialogs/UserProfileDlg.h"
#include "widgets/TCustomButton.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QTest>

#include <set>

namespace {

class ProfileDialogTest : public DialogTest {
protected:
    void makeProfile(const QString& name, int ageSeconds)
    {
        QFile f(work.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("x") == 1 && f.flush());
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }
    std::set<QString> listed(const UserProfileDlg& dialog)
    {
        std::set<QString> names;
        for (int i = 0; i < dialog.username()->count(); ++i)
            names.insert(dialog.username()->itemText(i));
        EXPECT_EQ(int(names.size()), dialog.username()->count()) << "a name listed twice";
        return names;
    }
    // Types a name and presses OK; the messages the dialog gave.
    QStringList tryName(UserProfileDlg& dialog, const QString& name)
    {
        QStringList messages;
        dialog.setMessageHandler([&](const QString&, const QString& text) { messages << text; });
        dialog.username()->setEditText(name);
        click(dialog.buttOk());
        return messages;
    }
};

}  // namespace

TEST_F(ProfileDialogTest, OffersEveryProfileFileAndPreselectsTheNewest)
{
    makeProfile("Anna.pfl", 3600);
    makeProfile("Boris.pfl", 60);
    makeProfile("J.R.pfl", 7200); // everything before the last dot
    QDir().mkdir("Folder.pfl");   // a folder is no profile
    writeFile("notes.txt", "x");
    writeFile("Anna.pfl.bak", "x");
    UserProfileDlg dialog(language);
    EXPECT_EQ(listed(dialog), (std::set<QString>{"Anna", "Boris", "J.R"}));
    EXPECT_EQ(dialog.username()->currentText(), QStringLiteral("Boris"));
    EXPECT_EQ(dialog.userName(), "Boris");

    // The list is made once; a profile written later is not offered.
    makeProfile("Clara.pfl", 0);
    dialog.show();
    EXPECT_EQ(listed(dialog).count("Clara"), 0u);
}

TEST_F(ProfileDialogTest, NamesThatCannotBeAProfileFileAreRefusedWithAMessage)
{
    UserProfileDlg dialog(language);
    dialog.show();
    for (const QString& bad : {QStringLiteral("../evil"), QStringLiteral("a/b"), QStringLiteral("a\\b"),
                               QStringLiteral("."), QStringLiteral(".."), QStringLiteral("C:x"), QStringLiteral("why?"),
                               QString::fromUtf8("\xe5\xbc\xa0")}) { // not in code page 1252
        const QStringList messages = tryName(dialog, bad);
        ASSERT_EQ(messages.size(), 1) << bad.toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("cannot be \".\" or \"..\""))) << messages[0].toStdString();
        EXPECT_TRUE(dialog.isVisible()) << "stays open to mend the name";
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(dialog.username()->currentText(), bad) << "the typed name is kept";
    }
    for (const QString& empty : {QString(), QStringLiteral("   ")})
        EXPECT_EQ(tryName(dialog, empty), QStringList{QStringLiteral("Please type a user name.")});
    EXPECT_TRUE(tryName(dialog, QString(300, QLatin1Char('n')))[0].contains(QStringLiteral("too long")));
    EXPECT_TRUE(dialog.isVisible());

    // Good names: blanks typed by mistake around one go, and one beyond
    // ASCII becomes the name in the profile's code page.
    const struct {
        const char* typed;
        int codePage;
        std::string name;
    } good[] = {{"  Anna Lee ", 1252, "Anna Lee"}, {"Иван", 1251, "\xC8\xE2\xE0\xED"}};
    const int before = codepage::current();
    for (const auto& g : good) {
        codepage::setCurrent(g.codePage);
        dialog.show();
        EXPECT_TRUE(tryName(dialog, QString::fromUtf8(g.typed)).isEmpty());
        EXPECT_EQ(dialog.result(), UserProfileDlg::kOk);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.userName(), g.name);
    }
    codepage::setCurrent(before);
}

TEST_F(ProfileDialogTest, TypedNameWithEnterMovesToOkAndItsReleaseConfirmsEscAndCancelDoNot)
{
    UserProfileDlg dialog(language);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.username()->setFocus();
    QTest::keyClicks(dialog.username()->lineEdit(), "Tess");
    // To the focus widget, as the keyboard delivers it.
    ASSERT_TRUE(QApplication::focusWidget() == dialog.username()
                || QApplication::focusWidget() == dialog.username()->lineEdit());
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(dialog.buttOk()->hasFocus());
    EXPECT_TRUE(dialog.isVisible()) << "not yet on the press";
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), UserProfileDlg::kOk);
    EXPECT_EQ(dialog.userName(), "Tess");

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), UserProfileDlg::kCancel);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.setResult(0);
    click(dialog.buttCancel());
    EXPECT_EQ(dialog.result(), UserProfileDlg::kCancel);
}

// The main window's first activation: the dialog cannot be cancelled and
// comes back until a name is given.
TEST_F(ProfileDialogTest, FirstActivationInsistsOnANameThroughTheDialog)
{
    makeProfile("Anna.pfl", 10);
    auto form = std::make_unique<MainForm>(false);
    form->setErrorDisplay([this](const QString& text) { shownErrors.push_back(text.toStdString()); });
    bool cancelWasEnabled = true;
    QString offered;
    int round = 0;
    auto answered = whenModal<UserProfileDlg>(
        [&](UserProfileDlg& dialog) {
            ++round;
            if (round == 1) {
                cancelWasEnabled = dialog.buttCancel()->isEnabled();
                offered = dialog.username()->currentText();
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else {
                dialog.setMessageHandler([](const QString&, const QString&) {});
                dialog.username()->setEditText(QStringLiteral("Zoe"));
                click(dialog.buttOk());
            }
        },
        2);
    form->FormActivate();
    EXPECT_EQ(*answered, 2);
    EXPECT_FALSE(cancelWasEnabled);
    EXPECT_EQ(offered, QStringLiteral("Anna"));
    ASSERT_NE(form->profile(), nullptr);
    EXPECT_EQ(form->profile()->userName(), "Zoe");
    form.reset();
    EXPECT_TRUE(QFile::exists("Zoe.pfl"));
}
