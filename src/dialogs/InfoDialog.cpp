#include "dialogs/InfoDialog.h"

#include "config/Localization.h"
#include "widgets/UiText.h"
#include "widgets/TCustomButton.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>

InfoDialog::InfoDialog(Localization& language, QWidget* parent, QSize client, int panelHeight)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      language_(language)
{
    setModal(true);
    setFixedSize(client);
    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setLineWidth(2);
    panel_->setGeometry(0, 0, client.width(), panelHeight);
    infoText_ = new QLabel(QStringLiteral("InfoText"), panel_);
    infoText_->setObjectName(QStringLiteral("InfoText"));
    infoText_->setGeometry(2, 2, client.width() - 4, panelHeight - 4);
    infoText_->setAlignment(Qt::AlignCenter);
    infoText_->setWordWrap(true);
    QFont bold = infoText_->font();
    bold.setBold(true);
    infoText_->setFont(bold);
    infoText_->setAutoFillBackground(true);
    QPalette cream = infoText_->palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    cream.setColor(QPalette::WindowText, Qt::black);
    infoText_->setPalette(cream);
}

TCustomButton* InfoDialog::addButton(const char* name, QRect place)
{
    auto* button = new TCustomButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setButtonStyle(TCustomButton::bsFlat);
    button->setGeometry(place);
    return button;
}

void InfoDialog::registerLanguage()
{
    language_.AddLanguageCallback([dialog = QPointer<InfoDialog>(this)] {
        if (dialog)
            dialog->ApplyLanguage();
    });
}

ConfirmForm::ConfirmForm(Localization& language, QWidget* parent) : InfoDialog(language, parent, {304, 112}, 81)
{
    setObjectName(QStringLiteral("ConfirmForm"));
    setWindowTitle(QStringLiteral("Solved"));
    ok_ = addButton("Ok", {96, 86, 100, 22});
    ok_->setCaption(QStringLiteral("Ok"));
    cancel_ = addButton("Cancel", {200, 86, 100, 22});
    cancel_->setCaption(QStringLiteral("Cancel"));
    setTabOrder(ok_, cancel_);
    connect(ok_, &TCustomButton::clicked, this, &ConfirmForm::OkClick);
    connect(cancel_, &TCustomButton::clicked, this, &ConfirmForm::CancelClick);
    registerLanguage();
}

void ConfirmForm::showEvent(QShowEvent* event)
{
    InfoDialog::showEvent(event);
    ok_->setFocus(Qt::OtherFocusReason);
}

void ConfirmForm::ApplyLanguage()
{
    setWindowTitle(uitext::text(language_, "common_str_confirmation", "Confirmation"));
    infoText_->setText(uitext::text(language_, "select_cross_confirm",
                                  "The current crossword is not solved.\\n Are you want loads the crossword and "
                                  "overrides current?"));
    ok_->setCaption(uitext::text(language_, "common_str_ok", "Ok"));
    cancel_->setCaption(uitext::text(language_, "common_str_cancel", "Cancel"));
}
