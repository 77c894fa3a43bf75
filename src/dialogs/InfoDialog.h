#pragma once

#include <QDialog>

class Localization;
class QFrame;
class QLabel;
class TCustomButton;

// The common build of the small message windows: a bevelled panel across the
// top holding a centred bold text on cream, flat buttons below, no close box.
class InfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    QLabel* infoText() const { return infoText_; }

protected:
    InfoDialog(Localization& language, QWidget* parent, QSize client, int panelHeight);
    TCustomButton* addButton(const char* name, QRect place);
    // Registers the dialog's texts handler with the table.
    void registerLanguage();
    virtual void ApplyLanguage() = 0;

    Localization& language_;
    QFrame* panel_ = nullptr;
    QLabel* infoText_ = nullptr;
};

// Asks whether to leave an unsolved crossword for another one; the caller
// goes on only on the result kOk.
class ConfirmForm : public InfoDialog {
    Q_OBJECT
public:
    explicit ConfirmForm(Localization& language, QWidget* parent = nullptr);

    void ApplyLanguage() override;
    TCustomButton* okButton() const { return ok_; }
    TCustomButton* cancelButton() const { return cancel_; }

    void OkClick() { done(kOk); }
    void CancelClick() { done(kCancel); }

protected:
    // Enter means OK each time the question comes up, whichever button was
    // clicked the time before.
    void showEvent(QShowEvent* event) override;

private:
    TCustomButton* ok_ = nullptr;
    TCustomButton* cancel_ = nullptr;
};
