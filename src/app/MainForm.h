#pragma once

#include "profile/ProfileLock.h"
#include "data/CrossData.h"
#include "data/PackModel.h"
#include "grid/GridModel.h"
#include "grid/SuggestCountdown.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class GridWidget;
class PlaySession;
class UserConfig;
class Localization;
class QtTranslation;
class QAction;
class QActionGroup;
class QLabel;
class QScrollArea;
class QSplitter;
class QTimer;
class QToolBar;
class QTreeWidget;
class PackTree;
class AboutFrm;
class ConfirmForm;
class PreferenceForm;
class PreviewFrm;
class SolvedInfoForm;
class TCustomButton;
class UserProfileDlg;
class TColorMenu;
class TColorToolButton;
class TPackView;

// The main window: menus, tool bars, the crossword tree, the grid in its
// scroll box and the status bar. It owns the program's language table, the
// crossword record and the grid, and answers the grid's requests as its host.
class MainForm : public QMainWindow, public GridHost {
    Q_OBJECT
public:
    explicit MainForm(bool solverSwitch, QWidget* parent = nullptr);
    ~MainForm() override;

    // The one main window, reachable from the exception handler.
    static MainForm* instance();

    // Every exception that escapes an event handler ends here: its message,
    // then an orderly end of the program.
    void AppException(QObject* sender, const std::exception* error);
    // Where AppException shows errors other than CrossException; a message
    // box unless replaced (tests replace it to run without a modal loop).
    using ErrorDisplay = std::function<void(const QString& text)>;
    void setErrorDisplay(ErrorDisplay display) { errorDisplay_ = std::move(display); }
    // Where the solved notice goes; the solved message box unless replaced.
    void setNoticeDisplay(ErrorDisplay display) { noticeDisplay_ = std::move(display); }
    void ApplyLanguage();

    // Commands of the menus and tool bars.
    void SelectCrossClick();
    // Game > Import puzzles...: .non, XML and picture files into the pack
    // "Imported" of the player's own data folder; the tree is rescanned and
    // the first new crossword selected. Refusals are listed in one message.
    void ImportClick();
    // The files to import; a file dialog unless replaced (tests).
    using FileChooser = std::function<QStringList()>;
    void setImportChooser(FileChooser chooser) { importChooser_ = std::move(chooser); }
    void PreferenceClick();
    void ExitClick();
    void MdBrushClick();
    void MdLineClick();
    void MdRectClick();
    void UndoClick();
    void RedoClick();
    // Frames the wrong cells and counts them in the status bar.
    void MistakesClick();
    void PreviewClick();
    void ZoomInClick();
    void ZoomOutClick();
    // The largest cell size at which the whole crossword shows.
    void ZoomFitClick();
    void menuShowHoverClick();
    void ClearClick();
    void HelpItemClick();
    void AboutClick();
    void DB_SolveClick();
    void SuggestButtonClick();
    void FormHelp();
    // The suggestion countdown: idle, waiting 30 seconds, ready (blinking).
    // Builds the tree's hint for the node under the mouse.
    void TreeViewMouseMove(const QPoint& position);
    const QString& treeHint() const { return treeHint_; }
    void ResetSuggest();
    void StartSuggestWait();
    void SuggestTimerTimer();
    const SuggestCountdown& suggestCountdown() const { return countdown_; }
    TCustomButton* suggestButton() const { return suggestButton_; }
    QTimer* suggestTimer() const { return suggestTimer_; }
    void ShowLogo();
    // Opens a crossword of the catalogue (null only resets the suggestion).
    void CrossSelected(TPackModelFile* node);
    // The first activation: scan the packs and fill the tree (once).
    void FormActivate();
    // Shutdown: the player's progress is written back, then the window's
    // objects go in order. Runs once, from the destructor at the latest.
    void FormDestroy();
    // Asks the player for a profile name; empty when none was given. The
    // profile dialog unless replaced (tests answer without a dialog).
    using ProfileChooser = std::function<std::string()>;
    void setProfileChooser(ProfileChooser chooser) { profileChooser_ = std::move(chooser); }
    UserConfig* profile() const { return profile_.get(); }
    TPackModelDir& rootCategory() const { return *rootCategory_; }
    TPackView& packView() const { return *packView_; }

    GridWidget* grid() const { return grid_; }
    PlaySession* session() const { return session_; }
    GridModel& gridModel() const;
    Localization& language() const { return *language_; }
    bool isClosing() const { return closing_; }
    bool solverSwitch() const { return solverSwitch_; }
    bool showHover() const;

    QScrollArea* mainWin() const { return mainWin_; }
    PackTree* treeView() const { return treeView_; }
    QLabel* statusPanel(int index) const { return statusPanels_[index]; }
    QToolBar* gameBar() const { return gameBar_; }

    // The actions behind menu items and tool buttons, for tests and for the
    // windows that drive them.
    struct Actions {
        QAction* selectCross = nullptr;
        QAction* importPuzzles = nullptr;
        QAction* preference = nullptr;
        QAction* exit = nullptr;
        QAction* mdBrush = nullptr;
        QAction* mdLine = nullptr;
        QAction* mdRect = nullptr;
        QAction* undo = nullptr;
        QAction* redo = nullptr;
        QAction* mistakes = nullptr;
        QAction* preview = nullptr;
        QAction* zoomIn = nullptr;
        QAction* zoomOut = nullptr;
        QAction* zoomFit = nullptr;
        QAction* showHover = nullptr;
        QAction* clear = nullptr;
        QAction* helpItem = nullptr;
        QAction* about = nullptr;
        QAction* solve = nullptr;
    };
    const Actions& actions() const { return actions_; }

    // GridHost
    bool hoverEnabled() const override;
    bool autoMarkEnabled() const override;
    bool lineHelpEnabled() const override;
    bool liveMistakes() const override;
    void mistakesCounted(int count) override;
    bool hasColourButton() const override { return colorButton_ != nullptr; }
    void showCurrentColour(RGB colour) override;
    TColorToolButton* colorButton() const { return colorButton_; }
    TColorMenu* popupColorMenu() const { return popupColorMenu_; }
    void crosswordSolved(const std::string& name) override;
    void previewResize(int width, int height) override;
    void previewCellChanged(int column, int row) override;
    PreviewFrm* preview() const { return preview_; }

    // Shows an error text in the game's error box (or the test display).
    void showError(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    std::string askProfileName();
    void createDialogs();
    void preferencesChanged();
    void buildLayout();
    void buildCommands();
    void loadLogo();
    void fitToolBarStrip();

    bool solverSwitch_ = false;
    bool closing_ = false;
    const QEvent* lastKeyEvent_ = nullptr;
    QPointer<QWidget> lastKeyTarget_;
    ErrorDisplay errorDisplay_;
    ErrorDisplay noticeDisplay_;
    TColorToolButton* colorButton_ = nullptr;
    TColorMenu* popupColorMenu_ = nullptr;
    QTimer* suggestTimer_ = nullptr;
    SuggestCountdown countdown_;
    bool suggestBlink_ = false;
    const void* lastHintNode_ = nullptr;
    QString treeHint_;

    std::unique_ptr<Localization> language_;
    // Qt's own texts, following the game's language.
    std::unique_ptr<QtTranslation> qtTranslation_;
    std::unique_ptr<UserConfig> profile_;
    ProfileLock profileLock_;
    ProfileChooser profileChooser_;
    FileChooser importChooser_;
    // Raised to stop the import in progress (null when none runs); a close
    // asked for meanwhile waits until the import has unwound.
    std::atomic<bool>* importStop_ = nullptr;
    bool closeAfterImport_ = false;
    bool destroyed_ = false;
    std::unique_ptr<CrossData> crossData_;
    std::unique_ptr<TPackModelDir> rootCategory_;

    GridWidget* grid_ = nullptr;
    PlaySession* session_ = nullptr;
    int wheelZoom_ = 0; // Ctrl+wheel turn not yet worth a zoom step
    PreviewFrm* preview_ = nullptr;
    UserProfileDlg* profileDlg_ = nullptr;
    PreferenceForm* preferenceForm_ = nullptr;
    ConfirmForm* confirmForm_ = nullptr;
    SolvedInfoForm* solvedInfoForm_ = nullptr;
    AboutFrm* aboutFrm_ = nullptr;
    QScrollArea* mainWin_ = nullptr;
    PackTree* treeView_ = nullptr;
    std::unique_ptr<TPackView> packView_;
    bool activated_ = false;
    QSplitter* splitter_ = nullptr;
    QToolBar* drawBar_ = nullptr;
    QToolBar* gameBar_ = nullptr;
    QToolBar* userInfoBar_ = nullptr;
    QToolBar* suggestBar_ = nullptr;
    bool toolBarsMoved_ = false; // the player has dragged a bar by its handle
    QLabel* userInfoBarLabel_ = nullptr;
    TCustomButton* suggestButton_ = nullptr;
    std::array<QLabel*, 4> statusPanels_{};

    QMenu* gameMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QActionGroup* modeGroup_ = nullptr;
    Actions actions_;
};
