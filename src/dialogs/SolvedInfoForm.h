#pragma once

#include "dialogs/InfoDialog.h"

#include <functional>
#include <string>

class UserConfig;

// Congratulates the player on a solved picture and records the crossword in
// the profile's solved list when it is shown.
class SolvedInfoForm : public InfoDialog {
    Q_OBJECT
public:
    explicit SolvedInfoForm(Localization& language, QWidget* parent = nullptr);

    void ApplyLanguage() override;
    TCustomButton* continueButton() const { return continue_; }

    // The profile at the moment of showing (none before the first choice).
    void setProfileSource(std::function<UserConfig*()> source) { profile_ = std::move(source); }
    // Adds the profile's current crossword to its solved list, unless there
    // is none or it is the logo.
    static void recordSolved(UserConfig* profile);

    void ContinueClick() { done(kOk); }
    // The time the crossword took, shown under the congratulation in the
    // next showing; empty for none (the logo, no profile).
    void setPlayTime(const std::string& clockText);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TCustomButton* continue_ = nullptr;
    std::function<UserConfig*()> profile_;
    std::string playTime_;
};
