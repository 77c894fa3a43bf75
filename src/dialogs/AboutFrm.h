#pragma once

#include <QDialog>

class Localization;
class QLabel;
class TCustomButton;

// The program's name, a word on the game, the acknowledgement of the unzip
// code and the version.
class AboutFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersion = "2.0";

    explicit AboutFrm(Localization& language, QWidget* parent = nullptr);

    void ApplyLanguage();
    void FormHelp();

    QLabel* info() const { return info_; }
    TCustomButton* buttOk() const { return buttOk_; }

protected:
    bool event(QEvent* event) override;

private:
    Localization& language_;
    QLabel* info_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    TCustomButton* buttOk_ = nullptr;
};
