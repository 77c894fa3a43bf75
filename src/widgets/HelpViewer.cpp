#include "widgets/HelpViewer.h"

#include "config/Folders.h"
#include "config/Localization.h"

#include "widgets/UiText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>

namespace {

void showWarning(const QString& title, const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), title, text);
}

// The help pages link to each other by file name only. A page opened by a
// link or a context is looked up here in the current language's folder
// first, so links keep working between a translated page and an English one
// that stands in for a missing translation.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QWidget* parent, std::function<QString(const QString&)> resolve)
        : QTextBrowser(parent), resolve_(std::move(resolve))
    {
    }

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override
    {
        const QString page = url.fileName();
        if (!(url.isLocalFile() || url.isRelative()) || !page.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)) {
            QTextBrowser::doSetSource(url, type);
            return;
        }
        QUrl target = QUrl::fromLocalFile(resolve_(page));
        target.setFragment(url.fragment());
        QTextBrowser::doSetSource(target, type);
    }

private:
    std::function<QString(const QString&)> resolve_;
};

// The subfolder of the help folder for the loaded language, or empty for
// none; a name that would leave the help folder is not taken.
QString languageFolder()
{
    const Localization* table = Localization::global();
    const QString name = table ? uitext::fromAnsi(table->CurrentLanguage()) : QString();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')))
        return QString();
    return name;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), message_(showWarning)
{
    resize(720, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    back_ = bar->addAction(QString());
    forward_ = bar->addAction(QString());
    home_ = bar->addAction(QString());
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    layout->addWidget(bar);

    browser_ = new HelpBrowser(this, [this](const QString& page) { return pagePath(page); });
    // The pages link only to each other; nothing leaves the help folder.
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);
    layout->addWidget(browser_);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { showContext(kMainContext); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::showTitle);
    applyLanguage();
    // The viewer may go before the language table does; a guarded pointer
    // keeps a later language load from reaching a deleted window.
    if (Localization* table = Localization::global())
        table->AddLanguageCallback([viewer = QPointer<HelpViewer>(this)] {
            if (!viewer)
                return;
            viewer->applyLanguage();
            // An open window shows its page again in the new language. The
            // pages visited before stay in the old one, so history goes.
            const QUrl shown = viewer->browser_->source();
            if (viewer->isVisible() && !shown.isEmpty()) {
                QUrl page(shown.fileName());
                page.setFragment(shown.fragment());
                viewer->browser_->setSource(page);
                viewer->browser_->clearHistory();
            }
        });
}

void HelpViewer::showTitle()
{
    const QString title = browser_->documentTitle();
    const QString caption = uitext::text("main_win_menu_help", "Help");
    setWindowTitle(title.isEmpty() ? caption : caption + QStringLiteral(" - ") + title);
}

void HelpViewer::applyLanguage()
{
    showTitle();
    back_->setText(uitext::text("help_win_back", "Back"));
    forward_->setText(uitext::text("help_win_forward", "Forward"));
    home_->setText(uitext::text("help_win_contents", "Contents"));
}

QString HelpViewer::pageForContext(int context)
{
    switch (context) {
    case kProfileContext: return QStringLiteral("profiles.html");
    case kPreferencesContext: return QStringLiteral("preferences.html");
    case kAboutContext: return QStringLiteral("about.html");
    case kMainContext:
    default: return QStringLiteral("index.html");
    }
}

QString HelpViewer::helpFolder() const
{
    return folder_.isEmpty() ? QDir::current().absoluteFilePath(QString::fromStdString(folders::current().help))
                             : folder_;
}

QString HelpViewer::pagePath(const QString& page) const
{
    const QDir folder(helpFolder());
    const QString language = languageFolder();
    if (!language.isEmpty()) {
        const QFileInfo translated(folder.filePath(language + QLatin1Char('/') + page));
        if (translated.isFile() && translated.isReadable())
            return translated.absoluteFilePath();
    }
    return QFileInfo(folder.filePath(page)).absoluteFilePath();
}

void HelpViewer::setHelpFolder(const QString& folder) { folder_ = folder; }

void HelpViewer::setMessageHandler(MessageHandler handler)
{
    message_ = handler ? std::move(handler) : MessageHandler(showWarning);
}

bool HelpViewer::showContext(int context)
{
    const QString folder = helpFolder();
    const QString page = pageForContext(context);
    const QFileInfo dir(folder);
    const QFileInfo file(pagePath(page));
    const QString title = uitext::text("main_win_menu_help", "Help");
    if (!dir.isDir()) {
        message_(title, uitext::text("help_win_no_folder",
                                     "The help pages could not be found. They belong in the folder \"help\" "
                                     "beside the program's data:\n")
                            + QDir::toNativeSeparators(folder));
        return false;
    }
    if (!file.isFile() || !file.isReadable()) {
        message_(title, uitext::text("help_win_no_page", "This help page is missing:\n")
                            + QDir::toNativeSeparators(file.absoluteFilePath()));
        return false;
    }
    applyLanguage();
    browser_->setSearchPaths({dir.absoluteFilePath()});
    browser_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    show();
    raise();
    activateWindow();
    return true;
}

void HelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

namespace {
QPointer<HelpViewer>& sharedViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}
} // namespace

HelpViewer& HelpViewer::instance()
{
    // Created on first use and deleted at exit with the other windows; a
    // function-level static would outlive the QApplication.
    QPointer<HelpViewer>& viewer = sharedViewer();
    if (!viewer) {
        viewer = new HelpViewer(nullptr);
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QObject::deleteLater);
    }
    return *viewer;
}

bool HelpViewer::help(int context)
{
    return instance().showContext(context);
}

bool HelpViewer::help(int context, QWidget* owner)
{
    if (!owner)
        return help(context);
    auto* viewer = owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer) {
        viewer = new HelpViewer(owner);
        // Where the program's help window reads its pages, this one does too.
        if (HelpViewer* shared = sharedViewer()) {
            viewer->folder_ = shared->folder_;
            viewer->message_ = shared->message_;
        }
    }
    return viewer->showContext(context);
}

void HelpViewer::closeInstance()
{
    if (HelpViewer* viewer = sharedViewer())
        viewer->close();
}
