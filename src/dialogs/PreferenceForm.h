#pragma once

#include <QDialog>

#include <string>

class Localization;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QListWidget;
class TCustomButton;
class UserConfig;

// The player's preferences: the language, auto-marking of clue numbers, the
// hover crosshair, mistakes shown as they happen and help in finished lines. Apply takes effect at once; Cancel takes back what
// was applied since the dialog was shown; Esc and the close box keep it.
// Nothing is written here: the profile file takes the settings at exit.
class PreferenceForm : public QDialog {
    Q_OBJECT
public:
    // Offers the languages found in the table's folder now; the list is not
    // refreshed later, but any name typed in is tried.
    explicit PreferenceForm(Localization& language, QWidget* parent = nullptr);

    // The profile the dialog reads and changes; none before the first choice.
    void setProfile(UserConfig* profile) { profile_ = profile; }

    void ApplyLanguage();
    // Applies the three settings; false (with the error shown and nothing
    // changed) when the language cannot be loaded.
    bool ApplyButtonClick();
    void OKButtonClick();
    void CancelButtonClick();
    void CategoryClick();
    void FormHelp();

    QListWidget* category() const { return category_; }
    QFrame* common() const { return common_; }
    QComboBox* langChoice() const { return langChoise_; }
    QCheckBox* autoMark() const { return autoMark_; }
    QCheckBox* showHover() const { return showHover_; }
    QCheckBox* liveMistakes() const { return liveMistakes_; }
    QCheckBox* lineHelp() const { return lineHelp_; }
    QGroupBox* langLabel() const { return langLabel_; }
    QGroupBox* gameLabel() const { return gameLabel_; }
    TCustomButton* okButton() const { return ok_; }
    TCustomButton* cancelButton() const { return cancel_; }
    TCustomButton* applyButton() const { return apply_; }

signals:
    // After an apply or a restore: the main window brings its hover command
    // and the grid in line.
    void settingsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Loads a language, showing the error instead of passing it on.
    bool loadLanguage(const std::string& name);

    Localization& language_;
    UserConfig* profile_ = nullptr;
    std::string languageOnShow_;
    bool autoMarkOnShow_ = false;
    bool hoverOnShow_ = true;
    bool liveMistakesOnShow_ = false;
    bool lineHelpOnShow_ = false;

    QListWidget* category_ = nullptr;
    QFrame* buttonPanel_ = nullptr;
    TCustomButton* ok_ = nullptr;
    TCustomButton* cancel_ = nullptr;
    TCustomButton* apply_ = nullptr;
    QFrame* common_ = nullptr;
    QGroupBox* langLabel_ = nullptr;
    QComboBox* langChoise_ = nullptr;
    QGroupBox* gameLabel_ = nullptr;
    QCheckBox* autoMark_ = nullptr;
    QCheckBox* showHover_ = nullptr;
    QCheckBox* liveMistakes_ = nullptr;
    QCheckBox* lineHelp_ = nullptr;
};
