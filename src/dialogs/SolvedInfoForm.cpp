#include "dialogs/SolvedInfoForm.h"

#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "profile/UserConfig.h"
#include "widgets/UiText.h"
#include "widgets/TCustomButton.h"

#include <QLabel>
#include <QShowEvent>

SolvedInfoForm::SolvedInfoForm(Localization& language, QWidget* parent)
    : InfoDialog(language, parent, {343, 134}, 105)
{
    setObjectName(QStringLiteral("SolvedInfoForm"));
    setWindowTitle(QStringLiteral("SolvedInfoForm"));
    continue_ = addButton("Continue", {240, 110, 100, 22});
    continue_->setCaption(QStringLiteral("Continue"));
    connect(continue_, &TCustomButton::clicked, this, &SolvedInfoForm::ContinueClick);
    registerLanguage();
}

void SolvedInfoForm::ApplyLanguage()
{
    setWindowTitle(uitext::text(language_, "solved_info_caption", "The crossword is solved"));
    QString text = uitext::text(language_, "solved_info_text", "Congratulations,\\n You solved the crossword.");
    if (!playTime_.empty()) {
        const std::string format = language_.GetText("solved_info_time", "Time: %s");
        text += QStringLiteral("\n") + uitext::fromAnsi(safeFormat(format, {playTime_}));
    }
    infoText_->setText(text);
    continue_->setCaption(uitext::text(language_, "solved_info_continue", "Continue"));
}

void SolvedInfoForm::setPlayTime(const std::string& clockText)
{
    playTime_ = clockText;
    ApplyLanguage();
}

void SolvedInfoForm::recordSolved(UserConfig* profile)
{
    if (profile && profile->current() >= 0 && profile->currentState() && profile->currentId() != "logo")
        profile->AddSolved(profile->currentId());
}

void SolvedInfoForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        recordSolved(profile_ ? profile_() : nullptr);
}
