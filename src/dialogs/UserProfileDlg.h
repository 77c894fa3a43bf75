#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class Localization;
class QComboBox;
class QGroupBox;
class TCustomButton;

// Asks the player for a user name before anything is played. It offers the
// names of the profile files in the working folder, preselects the one
// written last, and takes a new name typed in (a new profile).
class UserProfileDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog's results as the main window tests them.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // Lists the profiles of folder (the working folder when empty) once.
    explicit UserProfileDlg(Localization& language, QWidget* parent = nullptr, const QString& folder = {});

    void ApplyLanguage();

    // The name in the text field as the profile takes it (8-bit, trimmed).
    std::string userName() const;
    QComboBox* username() const { return username_; }
    TCustomButton* buttOk() const { return buttOk_; }
    TCustomButton* buttCancel() const { return buttCancel_; }
    QGroupBox* groupBox() const { return groupBox_; }

    // The refusal of a name that cannot be a profile file name: empty when
    // the name is fine.
    QString nameProblemText(const std::string& name) const;

    // How a refused name is told; a warning box unless replaced (tests).
    using MessageHandler = std::function<void(const QString& title, const QString& text)>;
    void setMessageHandler(MessageHandler handler) { message_ = std::move(handler); }

    void buttOkClick();
    void buttCancelClick();
    void FormHelp();

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void fillList(const QString& folder);

    Localization& language_;
    QGroupBox* groupBox_ = nullptr;
    QComboBox* username_ = nullptr;
    TCustomButton* buttOk_ = nullptr;
    TCustomButton* buttCancel_ = nullptr;
    MessageHandler message_;
};
