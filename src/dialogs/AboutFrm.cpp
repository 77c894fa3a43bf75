#include "dialogs/AboutFrm.h"

#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "widgets/UiText.h"
#include "widgets/HelpViewer.h"
#include "widgets/TCustomButton.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

AboutFrm::AboutFrm(Localization& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      language_(language)
{
    setObjectName(QStringLiteral("AboutFrm"));
    setWindowTitle(QStringLiteral("About..."));
    setModal(true);
    setFixedSize(297, 242);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 297, 209);
    info_ = new QLabel(panel);
    info_->setObjectName(QStringLiteral("Info"));
    info_->setGeometry(8, 8, 281, 137);
    info_->setAlignment(Qt::AlignCenter);
    info_->setWordWrap(true);
    info_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    versionLabel_ = new QLabel(panel);
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    versionLabel_->setGeometry(32, 156, 233, 17);
    versionLabel_->setAlignment(Qt::AlignCenter);
    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(32, 174, 233, 2);

    buttOk_ = new TCustomButton(this);
    buttOk_->setObjectName(QStringLiteral("buttOk"));
    buttOk_->setButtonStyle(TCustomButton::bsFlat);
    buttOk_->setGeometry(96, 216, 100, 22);
    buttOk_->setCaption(QStringLiteral("Ok"));
    connect(buttOk_, &TCustomButton::clicked, this, &QDialog::accept);

    language_.AddLanguageCallback([dialog = QPointer<AboutFrm>(this)] {
        if (dialog)
            dialog->ApplyLanguage();
    });
    ApplyLanguage();
}

void AboutFrm::ApplyLanguage()
{
    setWindowTitle(uitext::text(language_, "about_win_caption", "About..."));
    buttOk_->setCaption(uitext::text(language_, "common_str_ok", "Ok"));
    // The libraries the game is built on, with their licences; the game
    // holds no other unzip code that would need crediting.
    info_->setText(uitext::text(language_, "about_info",
                                "Tessellor - a game of Japanese crosswords: picture puzzles solved from the number "
                                "clues of their rows and columns.\\n\\nMade with Qt (GNU LGPL version 3).\\n\\n"
                                "Packs are read with libzip (BSD 3-clause licence)."));
    // A translation without the placeholder shows as it is; one with a stray
    // conversion cannot read past the one argument.
    versionLabel_->setText(
        uitext::fromAnsi(safeFormat(language_.GetText("about_version", "version: %s"), {std::string(kVersion)})));
}

void AboutFrm::FormHelp()
{
    HelpViewer::help(HelpViewer::kAboutContext, this);
}

bool AboutFrm::event(QEvent* event)
{
    if (event->type() == QEvent::EnterWhatsThisMode
        || (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1)) {
        FormHelp();
        return true;
    }
    return QDialog::event(event);
}
