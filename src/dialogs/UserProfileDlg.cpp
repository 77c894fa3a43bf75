#include "dialogs/UserProfileDlg.h"

#include "config/CodePage.h"
#include "config/Localization.h"
#include "profile/ProfileFile.h"
#include "widgets/UiText.h"
#include "widgets/HelpViewer.h"
#include "widgets/TCustomButton.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

UserProfileDlg::UserProfileDlg(Localization& language, QWidget* parent, const QString& folder)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      language_(language)
{
    setObjectName(QStringLiteral("UserProfileDlg"));
    setWindowTitle(QStringLiteral("Select user"));
    setModal(true);
    setFixedSize(186, 80);

    groupBox_ = new QGroupBox(QStringLiteral("User name"), this);
    groupBox_->setObjectName(QStringLiteral("GroupBox1"));
    groupBox_->setGeometry(1, 0, 184, 49);
    username_ = new QComboBox(groupBox_);
    username_->setObjectName(QStringLiteral("username"));
    username_->setEditable(true);
    // A typed name is the player's; the list must not grow or reorder.
    username_->setInsertPolicy(QComboBox::NoInsert);
    username_->setGeometry(8, 18, 169, 23);
    // Keys reach the combo box itself, which passes them to its text field.
    username_->installEventFilter(this);
    username_->lineEdit()->installEventFilter(this);

    buttOk_ = new TCustomButton(this);
    buttOk_->setObjectName(QStringLiteral("buttOk"));
    buttOk_->setButtonStyle(TCustomButton::bsFlat);
    buttOk_->setGeometry(6, 53, 82, 22);
    buttOk_->setCaption(QStringLiteral("Ok"));
    buttCancel_ = new TCustomButton(this);
    buttCancel_->setObjectName(QStringLiteral("buttCancel"));
    buttCancel_->setButtonStyle(TCustomButton::bsFlat);
    buttCancel_->setGeometry(94, 53, 84, 22);
    buttCancel_->setCaption(QStringLiteral("Cancel"));
    setTabOrder(username_, buttOk_);
    setTabOrder(buttOk_, buttCancel_);
    connect(buttOk_, &TCustomButton::clicked, this, &UserProfileDlg::buttOkClick);
    connect(buttCancel_, &TCustomButton::clicked, this, &UserProfileDlg::buttCancelClick);

    fillList(folder);

    message_ = [this](const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
        uitext::localizeButtons(box);
        box.exec();
    };
    language_.AddLanguageCallback([dialog = QPointer<UserProfileDlg>(this)] {
        if (dialog)
            dialog->ApplyLanguage();
    });
    // The language the main window has already loaded shows at once.
    ApplyLanguage();
}

void UserProfileDlg::fillList(const QString& folder)
{
    username_->setEditText(QStringLiteral("New User"));
    const QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    // Only files: a folder that happens to end in ".pfl" is no profile. The
    // listing's own order is kept; the newest file is preselected, the first
    // of several equally new ones.
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.pfl")},
                                                  QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    QDateTime newest;
    QString chosen;
    for (const QFileInfo& file : files) {
        const QString name = file.fileName().left(file.fileName().lastIndexOf(QLatin1Char('.')));
        if (name.isEmpty())
            continue;
        username_->addItem(name);
        const QDateTime written = file.lastModified();
        if (!newest.isValid() || written > newest) {
            newest = written;
            chosen = name;
        }
    }
    if (!chosen.isEmpty())
        username_->setCurrentIndex(username_->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive));
    else
        username_->setEditText(QStringLiteral("New User"));
    // Typing replaces the offered name rather than appending to it.
    username_->lineEdit()->selectAll();
}

void UserProfileDlg::ApplyLanguage()
{
    setWindowTitle(uitext::text(language_, "profile_win_select_user", "Select user"));
    groupBox_->setTitle(uitext::text(language_, "profile_win_user_name", "User name"));
    buttOk_->setCaption(uitext::text(language_, "common_str_ok", "Ok"));
    buttCancel_->setCaption(uitext::text(language_, "common_str_cancel", "Cancel"));
}

std::string UserProfileDlg::userName() const
{
    return codepage::fromUtf8(username_->currentText().trimmed().toStdString());
}

QString UserProfileDlg::nameProblemText(const std::string& name) const
{
    switch (checkProfileName(name)) {
    case ProfileNameProblem::None:
        return {};
    case ProfileNameProblem::Empty:
        return uitext::text(language_, "profile_win_name_empty", "Please type a user name.");
    case ProfileNameProblem::TooLong:
        return uitext::text(language_, "profile_win_name_too_long",
                          "This user name is too long for a file name. Please choose a shorter one.");
    case ProfileNameProblem::DotName:
    case ProfileNameProblem::PathSeparator:
    case ProfileNameProblem::BadCharacter:
        break;
    }
    return uitext::text(language_, "profile_win_name_invalid",
                      "The user name becomes the name of the profile file, so it cannot be \".\" or \"..\" and "
                      "cannot hold / \\ < > : \" | ? * or letters this system's code page lacks. Please choose "
                      "another name.");
}

void UserProfileDlg::buttOkClick()
{
    const std::string name = userName();
    const QString problem = nameProblemText(name);
    if (!problem.isEmpty()) {
        // The dialog stays open with the name, so the player can mend it.
        message_(windowTitle(), problem);
        username_->setFocus();
        username_->lineEdit()->selectAll();
        return;
    }
    done(kOk);
}

void UserProfileDlg::buttCancelClick()
{
    done(kCancel);
}

void UserProfileDlg::reject()
{
    // Esc and the close box answer Cancel, as the Cancel button does.
    done(kCancel);
}

void UserProfileDlg::FormHelp()
{
    HelpViewer::help(HelpViewer::kProfileContext, this);
}

bool UserProfileDlg::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == username_ || watched == username_->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves on to OK; the release of the same key then reaches
            // the button, which clicks on it, so one Enter confirms.
            buttOk_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool UserProfileDlg::event(QEvent* event)
{
    if (event->type() == QEvent::EnterWhatsThisMode) {
        FormHelp();
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        FormHelp();
        return true;
    }
    return QDialog::event(event);
}
