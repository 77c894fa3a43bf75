#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QTextBrowser;
class QAction;
class QKeyEvent;

// The help window: the shipped HTML pages of the help folder ("help" under
// the working folder, or the installed one), shown in a text browser with Back, Forward and Contents.
// Translated pages live in a subfolder named after the language file
// ("help/german"); a page missing there is shown in English, page by page.
// Windows open it at a context number: 1004 the profile dialog, 1005 the main
// window (F1), 1006 the preferences, 1007 the about box; any other number
// opens the contents page.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kProfileContext = 1004;
    static constexpr int kMainContext = 1005;
    static constexpr int kPreferencesContext = 1006;
    static constexpr int kAboutContext = 1007;

    explicit HelpViewer(QWidget* parent = nullptr);

    // File name of the page for a context number, inside the help folder.
    static QString pageForContext(int context);

    // The folder the pages are read from; by default the help folder of the
    // program's layout, a relative one taken from the working folder as it
    // is when a page is opened.
    QString helpFolder() const;
    void setHelpFolder(const QString& folder);

    // The file shown for a page name: its copy in the current language's
    // subfolder when that is readable, else the English one.
    QString pagePath(const QString& page) const;

    // Opens the page of the context and shows and raises the window. When
    // the folder or the page is missing, tells the player through the
    // message handler instead and returns false; the window stays as it was.
    bool showContext(int context);

    // How a missing help folder or page is reported; by default a warning
    // message box over the active window. Tests replace it.
    using MessageHandler = std::function<void(const QString& title, const QString& text)>;
    void setMessageHandler(MessageHandler handler);

    QTextBrowser* browser() const { return browser_; }

    // The program's help window, created on first use without a parent;
    // help(context) is showContext on it.
    static HelpViewer& instance();
    static bool help(int context);
    // Help asked for from a dialog belongs to that dialog: a window of its
    // own, but one the dialog's modality does not block, so the player can
    // scroll, follow links and close it while the dialog is open.
    static bool help(int context, QWidget* owner);
    // Closes the program's help window if it is open (the main window does
    // so when it closes, so that the program ends).
    static void closeInstance();

protected:
    // Escape closes the window, as it does in the program's dialogs.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyLanguage();
    void showTitle();

    QTextBrowser* browser_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* home_ = nullptr;
    QString folder_;
    MessageHandler message_;
};
