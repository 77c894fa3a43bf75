#include "dialogs/PreferenceForm.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/Localization.h"
#include "profile/UserConfig.h"
#include "widgets/UiText.h"
#include "widgets/HelpViewer.h"
#include "widgets/TCustomButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QShowEvent>

PreferenceForm::PreferenceForm(Localization& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      language_(language)
{
    setObjectName(QStringLiteral("PreferenceForm"));
    setWindowTitle(QStringLiteral("Preference"));
    setModal(true);
    setFixedSize(437, 264);

    category_ = new QListWidget(this);
    category_->setObjectName(QStringLiteral("Category"));
    category_->setGeometry(0, 0, 134, 234);
    category_->setUniformItemSizes(true);
    auto* item = new QListWidgetItem(QStringLiteral("main"), category_);
    item->setSizeHint(QSize(130, 16));
    connect(category_, &QListWidget::itemClicked, this, &PreferenceForm::CategoryClick);

    buttonPanel_ = new QFrame(this);
    buttonPanel_->setObjectName(QStringLiteral("ButtonPanel"));
    buttonPanel_->setGeometry(0, 234, 437, 30);
    auto button = [this](const char* name, const char* caption, QRect place) {
        auto* b = new TCustomButton(buttonPanel_);
        b->setObjectName(QString::fromLatin1(name));
        b->setButtonStyle(TCustomButton::bsFlat);
        b->setGeometry(place);
        b->setCaption(QString::fromLatin1(caption));
        return b;
    };
    ok_ = button("OKButton", "Ok", {133, 5, 95, 22});
    cancel_ = button("CancelButton", "Cancel", {230, 5, 100, 22});
    apply_ = button("ApplyButton", "Apply", {332, 5, 100, 22});
    connect(ok_, &TCustomButton::clicked, this, &PreferenceForm::OKButtonClick);
    connect(cancel_, &TCustomButton::clicked, this, &PreferenceForm::CancelButtonClick);
    connect(apply_, &TCustomButton::clicked, this, [this] { ApplyButtonClick(); });

    common_ = new QFrame(this);
    common_->setObjectName(QStringLiteral("Common"));
    common_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    common_->setLineWidth(2);
    common_->setGeometry(134, 0, 303, 234);
    langLabel_ = new QGroupBox(QStringLiteral("CommonConf_LangLabel"), common_);
    langLabel_->setObjectName(QStringLiteral("CommonConf_LangLabel"));
    langLabel_->setGeometry(8, 5, 289, 50);
    langChoise_ = new QComboBox(langLabel_);
    langChoise_->setObjectName(QStringLiteral("CommonConf_LangChoise"));
    langChoise_->setEditable(true);
    langChoise_->setInsertPolicy(QComboBox::NoInsert);
    langChoise_->setGeometry(8, 18, 137, 23);
    gameLabel_ = new QGroupBox(QStringLiteral("CommonConf_GameLabel"), common_);
    gameLabel_->setObjectName(QStringLiteral("CommonConf_GameLabel"));
    gameLabel_->setGeometry(8, 58, 289, 169);
    autoMark_ = new QCheckBox(QStringLiteral("CommonConf_GameAutoMark"), gameLabel_);
    autoMark_->setObjectName(QStringLiteral("CommonConf_GameAutoMark"));
    autoMark_->setGeometry(8, 16, 273, 25);
    showHover_ = new QCheckBox(QStringLiteral("CommonConf_GameShowHover"), gameLabel_);
    showHover_->setObjectName(QStringLiteral("CommonConf_GameShowHover"));
    showHover_->setGeometry(8, 40, 273, 25);
    liveMistakes_ = new QCheckBox(QStringLiteral("CommonConf_GameLiveMistakes"), gameLabel_);
    liveMistakes_->setObjectName(QStringLiteral("CommonConf_GameLiveMistakes"));
    liveMistakes_->setGeometry(8, 64, 273, 25);
    lineHelp_ = new QCheckBox(QStringLiteral("CommonConf_GameLineHelp"), gameLabel_);
    lineHelp_->setObjectName(QStringLiteral("CommonConf_GameLineHelp"));
    lineHelp_->setGeometry(8, 88, 273, 25);

    // FormCreate: the callback, the languages of this run, the first page.
    language_.AddLanguageCallback([dialog = QPointer<PreferenceForm>(this)] {
        if (dialog)
            dialog->ApplyLanguage();
    });
    for (const std::string& name : language_.AvailableLanguages())
        langChoise_->addItem(uitext::fromAnsi(name));
    category_->setCurrentRow(0);
}

void PreferenceForm::ApplyLanguage()
{
    setWindowTitle(uitext::text(language_, "preference_win_caption", "Preference"));
    apply_->setCaption(uitext::text(language_, "common_str_apply", "Apply"));
    ok_->setCaption(uitext::text(language_, "common_str_ok", "Ok"));
    cancel_->setCaption(uitext::text(language_, "common_str_cancel", "Cancel"));
    category_->item(0)->setText(uitext::text(language_, "preference_win_cat_common", "Common option"));
    langLabel_->setTitle(uitext::text(language_, "preference_win_com_language", "Language selection"));
    gameLabel_->setTitle(uitext::text(language_, "preference_win_com_game", "Game option"));
    autoMark_->setText(uitext::text(language_, "preference_win_com_auto_mark", "Auto marks number cell"));
    showHover_->setText(uitext::text(language_, "preference_win_com_show_hover", "Highlight hover crosshair"));
    liveMistakes_->setText(uitext::text(language_, "preference_win_com_live_mistakes", "Show mistakes as they happen"));
    lineHelp_->setText(uitext::text(language_, "preference_win_com_line_help", "Cross the rest of a finished line"));
}

void PreferenceForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    languageOnShow_ = language_.CurrentLanguage();
    langChoise_->setEditText(uitext::fromAnsi(languageOnShow_));
    autoMarkOnShow_ = profile_ ? profile_->autoMark() : false;
    hoverOnShow_ = profile_ ? profile_->showHover() : true;
    autoMark_->setChecked(autoMarkOnShow_);
    showHover_->setChecked(hoverOnShow_);
    liveMistakesOnShow_ = profile_ && profile_->liveMistakes();
    lineHelpOnShow_ = profile_ && profile_->lineHelp();
    liveMistakes_->setChecked(liveMistakesOnShow_);
    lineHelp_->setChecked(lineHelpOnShow_);
}

bool PreferenceForm::loadLanguage(const std::string& name)
{
    try {
        // A typed path would load a file from outside the language folder,
        // and the profile would store a name its next reading refuses.
        if (name.find_first_of("/\\") != std::string::npos)
            throw CrossException(30005);
        language_.LoadLanguage(name);
        return true;
    } catch (const CrossException& e) {
        // A mistyped name must not end the game: the player sees why, the
        // language stays as it was and the dialog stays open.
        e.Show();
        return false;
    }
}

bool PreferenceForm::ApplyButtonClick()
{
    if (!loadLanguage(codepage::fromUtf8(langChoise_->currentText().toStdString())))
        return false;
    if (profile_) {
        profile_->setAutoMark(autoMark_->isChecked());
        profile_->setShowHover(showHover_->isChecked());
        profile_->setLiveMistakes(liveMistakes_->isChecked());
        profile_->setLineHelp(lineHelp_->isChecked());
    }
    emit settingsChanged();
    return true;
}

void PreferenceForm::OKButtonClick()
{
    if (ApplyButtonClick())
        accept();
}

void PreferenceForm::CancelButtonClick()
{
    // The language of the showing comes back even when it was not changed,
    // so every window's texts are set again; when its file has gone the
    // error shows and the switches still go back.
    if (!languageOnShow_.empty())
        loadLanguage(languageOnShow_);
    if (profile_) {
        profile_->setAutoMark(autoMarkOnShow_);
        profile_->setShowHover(hoverOnShow_);
        profile_->setLiveMistakes(liveMistakesOnShow_);
        profile_->setLineHelp(lineHelpOnShow_);
    }
    emit settingsChanged();
    reject();
}

void PreferenceForm::CategoryClick()
{
    common_->hide();
    if (category_->currentRow() == 0)
        common_->show();
}

void PreferenceForm::FormHelp()
{
    HelpViewer::help(HelpViewer::kPreferencesContext, this);
}

bool PreferenceForm::event(QEvent* event)
{
    if (event->type() == QEvent::EnterWhatsThisMode
        || (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1)) {
        FormHelp();
        return true;
    }
    return QDialog::event(event);
}
