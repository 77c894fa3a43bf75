#include "app/MainForm.h"

#include "app/PlaySession.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/Folders.h"
#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "profile/UserConfig.h"
#include "data/Pack.h"
#include "data/TreeHint.h"
#include "dialogs/AboutFrm.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/PreferenceForm.h"
#include "dialogs/PreviewFrm.h"
#include "dialogs/SolvedInfoForm.h"
#include "dialogs/UserProfileDlg.h"
#include "grid/ZoomFit.h"
#include "packview/TPackView.h"
#include "solver/Solver.h"
#include "widgets/ColorCursors.h"
#include "widgets/EscapePoll.h"
#include "widgets/GridWidget.h"
#include "widgets/HelpViewer.h"
#include "widgets/TColorMenu.h"
#include "widgets/TColorMenuItem.h"
#include "widgets/TColorToolButton.h"
#include "widgets/QtTranslation.h"
#include "widgets/SystemLocale.h"
#include "widgets/TCustomButton.h"
#include "widgets/ToolBarImageList.h"
#include "widgets/UiText.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>

namespace {
MainForm* g_mainForm = nullptr;

// The picture of a QImage as the crossword reader sees it.
class ImagePixels : public PixelSource {
public:
    explicit ImagePixels(QImage image) : image_(std::move(image)) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    std::uint32_t rgb(int x, int y) const override { return image_.pixel(x, y) & 0xFFFFFF; }

private:
    QImage image_;
};

constexpr int kStatusWidths[4] = {50, 120, 350, 50};

// A text of the language table as 8-bit bytes (the default when no table).
std::string text8(const char* key, const char* defaultText)
{
    if (const Localization* table = Localization::global())
        return table->GetText(key, defaultText);
    return Localization::expandLineBreaks(defaultText);
}

const QColor kSuggestBlink(0xFD, 0xFF, 0xDD);
// The suggest button's narrowest width, and the room its text keeps from the frame on each side.
constexpr int kSuggestWidth = 185;
constexpr int kSuggestMargin = 6;

// The tool bars' own style: the frame, gaps, handle and button padding of
// the desktop style, trimmed so that the strip of bars, colour button, user
// name and suggest button fits the window's default width.
class CompactToolBarStyle : public QProxyStyle {
public:
    CompactToolBarStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_ToolBarItemSpacing:
        case PM_ToolBarItemMargin:
            return 0;
        case PM_ToolBarFrameWidth:
            return std::min(base, 1);
        case PM_ToolBarHandleExtent:
            return std::min(base, 6);
        case PM_ToolBarSeparatorExtent:
            return std::min(base, 4);
        default:
            return base;
        }
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        // Three pixels of face around the icon are enough to show it pressed.
        return type == CT_ToolButton ? size.boundedTo(contents + QSize(6, 6)) : size;
    }
};

QString suggestWaitText(int seconds)
{
    return uitext::fromAnsi(
        safeFormat(text8("suggest_button_wait", "Please, wait %d second..."), {std::int64_t(seconds)}));
}
}

MainForm* MainForm::instance()
{
    return g_mainForm;
}

MainForm::MainForm(bool solverSwitch, QWidget* parent) : QMainWindow(parent), solverSwitch_(solverSwitch)
{
    g_mainForm = this;
    buildLayout();
    buildCommands();

    // The language table, empty until the system language is loaded.
    language_ = std::make_unique<Localization>();
    language_->setFolders(folders::current().languages);
    Localization::setGlobal(language_.get());
    ColorCursors::registerCursors();
    // The crossword record, holding the logo.
    crossData_ = std::make_unique<CrossData>();
    loadLogo();
    // The grid reports to this window.
    grid_ = new GridWidget;
    grid_->setCursorFactory(&ColorCursors::cursor);
    grid_->model().setHost(this);
    // The preview repaints whole whenever the grid does.
    preview_ = new PreviewFrm(this);
    connect(grid_, &GridWidget::fullRepaintRequested, this, [this] {
        if (preview_)
            preview_->paintAll(grid_->pointer(), gridModel().width(), gridModel().height());
    });
    connect(grid_, &GridWidget::cellCursorMovedTo, this, [this](const QRect& square) {
        mainWin_->ensureVisible(square.center().x(), square.center().y(), square.width(), square.height());
    });
    connect(grid_, &GridWidget::cellStatus, this, [this](const QString& position, const QString& state) {
        statusPanels_[0]->setText(position);
        statusPanels_[1]->setText(state);
    });
    // The start screen shows the logo solved.
    grid_->model().SetDataSource(*crossData_);
    grid_->model().ShowSolution();
    mainWin_->setWidget(grid_);
    grid_->geometryChanged();
    closing_ = false;
    rootCategory_ = std::make_unique<TPackModelDir>("root");

    FormCreate();
}

MainForm::~MainForm()
{
    FormDestroy();
    packView_.reset();
    if (grid_)
        grid_->model().setHost(nullptr);
    Localization::setGlobal(nullptr);
    if (g_mainForm == this)
        g_mainForm = nullptr;
}

GridModel& MainForm::gridModel() const
{
    return grid_->model();
}

void MainForm::loadLogo()
{
    const QImage logo(QStringLiteral(":/LOGO"));
    crossData_->fromPicture(ImagePixels(logo.convertToFormat(QImage::Format_RGB32)), "logo");
}

void MainForm::ShowLogo()
{
    loadLogo();
    gridModel().SetDataSource(*crossData_);
    gridModel().ShowSolution();
    grid_->fullRepaint();
    session_->crosswordOpened();
}

void MainForm::buildLayout()
{
    drawBar_ = new QToolBar(QStringLiteral("DrawBar"), this);
    gameBar_ = new QToolBar(QStringLiteral("GameBar"), this);
    userInfoBar_ = new QToolBar(QStringLiteral("UserInfoBar"), this);
    suggestBar_ = new QToolBar(QStringLiteral("SuggestBar"), this);
    for (QToolBar* bar : {drawBar_, gameBar_, userInfoBar_, suggestBar_}) {
        bar->setObjectName(bar->windowTitle());
        bar->setMovable(true);
        bar->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, bar);
    }

    userInfoBarLabel_ = new QLabel;
    userInfoBarLabel_->setObjectName(QStringLiteral("UserInfoBarLabel"));
    userInfoBarLabel_->setFixedSize(123, 22);
    userInfoBarLabel_->setAlignment(Qt::AlignCenter);
    userInfoBarLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    userInfoBarLabel_->setAutoFillBackground(true);
    QPalette cream = userInfoBarLabel_->palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    userInfoBarLabel_->setPalette(cream);
    userInfoBar_->addWidget(userInfoBarLabel_);

    suggestButton_ = new TCustomButton;
    suggestButton_->setObjectName(QStringLiteral("SuggestButton"));
    suggestButton_->setButtonStyle(TCustomButton::bsFlat);
    suggestButton_->setFixedSize(kSuggestWidth, 22);
    connect(suggestButton_, &TCustomButton::clicked, this, &MainForm::SuggestButtonClick);
    suggestBar_->addWidget(suggestButton_);
    suggestTimer_ = new QTimer(this);
    suggestTimer_->setInterval(500);
    connect(suggestTimer_, &QTimer::timeout, this, &MainForm::SuggestTimerTimer);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(2);
    splitter_->setChildrenCollapsible(false);

    treeView_ = new PackTree;
    treeView_->setObjectName(QStringLiteral("TreeView"));
    treeView_->setMinimumWidth(40);
    splitter_->addWidget(treeView_);

    mainWin_ = new QScrollArea;
    mainWin_->setObjectName(QStringLiteral("mainWin"));
    mainWin_->setFrameShape(QFrame::NoFrame);
    mainWin_->setWidgetResizable(false);
    // A crossword smaller than the window sits in its middle.
    mainWin_->setAlignment(Qt::AlignCenter);
    mainWin_->setBackgroundRole(QPalette::Window);
    mainWin_->viewport()->installEventFilter(this);
    treeView_->setMouseTracking(true);
    treeView_->viewport()->installEventFilter(this);
    splitter_->addWidget(mainWin_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({137, 757 - 137 - 2});
    setCentralWidget(splitter_);

    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel;
        // The message panel takes whatever room the others leave: the
        // solver's progress line is longer than its 350 pixels.
        const bool message = i == 2;
        if (message)
            panel->setMinimumWidth(kStatusWidths[i]);
        else
            panel->setFixedWidth(kStatusWidths[i]);
        panel->setAlignment(message ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panel, message ? 1 : 0);
        statusPanels_[i] = panel;
    }
    // 757 x 596 centred on the screen, or less where the screen is smaller.
    session_ = new PlaySession(*this);
    session_->placeAtStart();
}

void MainForm::buildCommands()
{
    auto command = [this](const char* caption, void (MainForm::*handler)(), QKeySequence key = {}) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        if (!key.isEmpty())
            action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    Actions& a = actions_;
    a.selectCross = command("&Select crossword...", &MainForm::SelectCrossClick, QKeySequence(Qt::CTRL | Qt::Key_O));
    a.importPuzzles = command("&Import puzzles...", &MainForm::ImportClick);
    a.preference = command("&Preference...", &MainForm::PreferenceClick, QKeySequence(Qt::CTRL | Qt::Key_P));
    a.exit = command("E&xit", &MainForm::ExitClick, QKeySequence(Qt::CTRL | Qt::Key_F4));
    a.mdBrush = command("Brush", &MainForm::MdBrushClick, QKeySequence(Qt::Key_F6));
    a.mdLine = command("Line", &MainForm::MdLineClick, QKeySequence(Qt::Key_F7));
    a.mdRect = command("Rectangle", &MainForm::MdRectClick, QKeySequence(Qt::Key_F8));
    a.undo = command("Undo", &MainForm::UndoClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    a.redo = command("Redo", &MainForm::RedoClick, QKeySequence(Qt::CTRL | Qt::Key_Y));
    a.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    a.mistakes = command("Show mistakes", &MainForm::MistakesClick, QKeySequence(Qt::CTRL | Qt::Key_M));
    a.preview = command("Preview", &MainForm::PreviewClick, QKeySequence(Qt::Key_F12));
    a.zoomIn = command("Zoom In", &MainForm::ZoomInClick);
    a.zoomOut = command("Zoom Out", &MainForm::ZoomOutClick);
    a.zoomFit = command("Fit to Window", &MainForm::ZoomFitClick, QKeySequence(Qt::CTRL | Qt::Key_0));
    a.showHover = command("Highlight hover crosshair", &MainForm::menuShowHoverClick, QKeySequence(Qt::Key_F11));
    a.clear = command("Clear", &MainForm::ClearClick, QKeySequence(Qt::CTRL | Qt::Key_C));
    a.helpItem = command("Help", &MainForm::HelpItemClick, QKeySequence(Qt::Key_F1));
    a.about = command("About...", &MainForm::AboutClick);

    const std::pair<QAction*, int> images[] = {
        {a.selectCross, 0}, {a.importPuzzles, 18}, {a.preference, 2}, {a.exit, 3},     {a.mdBrush, 7},
        {a.mdLine, 8},      {a.mdRect, 9},         {a.undo, 13},      {a.redo, 16},    {a.mistakes, 17},
        {a.preview, 4},     {a.zoomIn, 10},        {a.zoomOut, 11},   {a.zoomFit, 15}, {a.showHover, 14},
        {a.clear, 12},      {a.helpItem, 5},       {a.about, 6}};
    for (const auto& [action, image] : images)
        action->setIcon(ToolBarImageList::icon(image));
    for (QAction* check : {a.selectCross, a.preview, a.showHover, a.mdBrush, a.mdLine, a.mdRect})
        check->setCheckable(true);
    modeGroup_ = new QActionGroup(this);
    modeGroup_->setExclusive(true);
    for (QAction* mode : {a.mdBrush, a.mdLine, a.mdRect})
        modeGroup_->addAction(mode);

    gameMenu_ = menuBar()->addMenu(QStringLiteral("&Game"));
    gameMenu_->addAction(a.selectCross);
    gameMenu_->addAction(a.importPuzzles);
    gameMenu_->addAction(a.preference);
    gameMenu_->addSeparator();
    gameMenu_->addAction(a.exit);
    viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));
    modeMenu_ = viewMenu_->addMenu(QStringLiteral("Draw mode"));
    modeMenu_->setIcon(ToolBarImageList::icon(7));
    modeMenu_->addAction(a.mdBrush);
    modeMenu_->addAction(a.mdLine);
    modeMenu_->addAction(a.mdRect);
    viewMenu_->addAction(a.undo);
    viewMenu_->addAction(a.redo);
    viewMenu_->addSeparator();
    viewMenu_->addAction(a.preview);
    viewMenu_->addAction(a.zoomIn);
    viewMenu_->addAction(a.zoomOut);
    viewMenu_->addAction(a.zoomFit);
    viewMenu_->addAction(a.showHover);
    viewMenu_->addSeparator();
    viewMenu_->addAction(a.clear);
    viewMenu_->addAction(a.mistakes);
    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu_->addAction(a.helpItem);
    helpMenu_->addAction(a.about);

    drawBar_->addAction(a.preview);
    drawBar_->addAction(a.zoomIn);
    drawBar_->addAction(a.zoomOut);
    drawBar_->addAction(a.zoomFit);
    drawBar_->addAction(a.showHover);
    drawBar_->addSeparator();
    drawBar_->addAction(a.mdBrush);
    drawBar_->addAction(a.mdLine);
    drawBar_->addAction(a.mdRect);
    drawBar_->addSeparator();
    drawBar_->addAction(a.undo);
    drawBar_->addAction(a.redo);
    drawBar_->addSeparator();
    drawBar_->addAction(a.clear);
    drawBar_->addAction(a.mistakes);
    // The solver button has no menu item and no hint.
    auto* solveButton = new QToolButton;
    solveButton->setObjectName(QStringLiteral("DB_Solve"));
    solveButton->setText(QStringLiteral("Solve"));
    solveButton->setIcon(ToolBarImageList::icon(6));
    solveButton->setAutoRaise(true);
    connect(solveButton, &QToolButton::clicked, this, &MainForm::DB_SolveClick);
    a.solve = drawBar_->addWidget(solveButton);

    gameBar_->addAction(a.selectCross);
    gameBar_->addSeparator();
    gameBar_->addAction(a.preference);
}

void MainForm::FormCreate()
{
    // Exceptions that escape event handlers reach AppException through
    // the application object; CrossException shows itself in a message box.
    CrossException::setDisplay([this](const std::string& text) {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), uitext::fromAnsi(text),
                        QMessageBox::Ok, isVisible() ? this : nullptr);
        uitext::localizeButtons(box);
        box.exec();
    });
    // The colour button with its pop-up of six columns of three.
    colorButton_ = new TColorToolButton(this, PaletteColor(0));
    colorButton_->setObjectName(QStringLiteral("colorButton"));
    popupColorMenu_ = new TColorMenu(colorButton_);
    popupColorMenu_->setObjectName(QStringLiteral("PopupColorMenu"));
    for (int i = 1; i <= 18; ++i) {
        auto* item = new TColorMenuItem(popupColorMenu_, PaletteColor(i));
        item->setStartsColumn((i - 1) % 3 == 0);
        popupColorMenu_->addColorItem(item);
    }
    colorButton_->setColorMenu(popupColorMenu_);
    connect(colorButton_, &TColorToolButton::colorChosen, this, [this](RGB colour) { gridModel().SetColor(colour); });
    drawBar_->addWidget(colorButton_);
    auto* compact = new CompactToolBarStyle;
    compact->setParent(this);
    for (QToolBar* bar : {drawBar_, gameBar_, userInfoBar_, suggestBar_}) {
        bar->setStyle(compact);
        bar->installEventFilter(this); // to see the player drag it
        for (QWidget* item : bar->findChildren<QWidget*>())
            item->setStyle(compact);
    }
    setWindowTitle(QStringLiteral("Tessellor ") + QStringLiteral("2.0"));
    // Qt's texts change first, so that the game's texts are laid out beside
    // the shortcut names of the new language.
    qtTranslation_ = std::make_unique<QtTranslation>();
    language_->AddLanguageCallback([this] { qtTranslation_->follow(language_->CurrentLanguage()); });
    language_->AddLanguageCallback([this] { ApplyLanguage(); });
    userInfoBarLabel_->clear();
    for (QLabel* panel : statusPanels_)
        panel->clear();
    packView_ = std::make_unique<TPackView>(treeView_, rootCategory_.get(),
                                            [this](TPackModelFile* node) { CrossSelected(node); });
    createDialogs();
    packView_->setConfirm([this] { return confirmForm_->exec() == ConfirmForm::kOk; });
    // Without the open crossword's id the tree cannot tell that an unsolved
    // one is being left, and would never ask.
    packView_->setActiveIdSource([this] {
        return profile_ && profile_->currentState() ? profile_->currentId() : std::string();
    });
    // The tree starts visible; the brush is the start tool.
    actions_.selectCross->setChecked(!treeView_->isHidden());
    actions_.mdBrush->setChecked(true);
    grid_->pointer().setDrawMode(DrawMode::Brush);
    // Ctrl with the key that carries = and +, and Ctrl with minus.
    actions_.zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    actions_.zoomOut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    // The solver button only for those who started the game with the switch.
    actions_.solve->setVisible(solverSwitch_);
    actions_.showHover->setChecked(true);
    ResetSuggest();
    // The system language, falling back to English.
    try {
        try {
            language_->LoadLanguage(
                Localization::DefaultLanguageName(systemlocale::primaryLanguageId(QLocale::system())));
        } catch (const std::exception&) {
            language_->LoadLanguage("english");
        }
    } catch (const std::exception& e) {
        AppException(this, &e);
    }
    // Key preview: the window sees key presses before its controls.
    qApp->installEventFilter(this);
}

void MainForm::createDialogs()
{
    profileDlg_ = new UserProfileDlg(*language_, this);
    preferenceForm_ = new PreferenceForm(*language_, this);
    connect(preferenceForm_, &PreferenceForm::settingsChanged, this, &MainForm::preferencesChanged);
    confirmForm_ = new ConfirmForm(*language_, this);
    solvedInfoForm_ = new SolvedInfoForm(*language_, this);
    solvedInfoForm_->setProfileSource([this] { return profile_.get(); });
    aboutFrm_ = new AboutFrm(*language_, this);
}

void MainForm::ApplyLanguage()
{
    // The hint of the node under the mouse is rebuilt in the new language
    // at the next move.
    lastHintNode_ = nullptr;
    auto set = [](QAction* action, const char* key, const char* def) {
        const QString text = uitext::text(key, def);
        action->setText(text);
        action->setToolTip(text);
    };
    gameMenu_->setTitle(uitext::text("main_win_menu_game", "Game"));
    set(actions_.selectCross, "main_win_menu_panelcross", "Crosswords panel...");
    set(actions_.importPuzzles, "main_win_menu_import", "Import puzzles...");
    set(actions_.preference, "main_win_menu_preference", "Preferences...");
    set(actions_.exit, "main_win_menu_exit", "Exit");
    viewMenu_->setTitle(uitext::text("main_win_menu_view", "View"));
    modeMenu_->setTitle(uitext::text("main_win_menu_mode", "Draw mode"));
    set(actions_.mdBrush, "main_win_menu_mode_brush", "Brush");
    set(actions_.mdLine, "main_win_menu_mode_line", "Line");
    set(actions_.mdRect, "main_win_menu_mode_rect", "Rectangle");
    set(actions_.preview, "main_win_menu_preview", "Preview");
    set(actions_.zoomIn, "main_win_menu_zoom_in", "Zoom In");
    set(actions_.zoomOut, "main_win_menu_zoom_out", "Zoom Out");
    set(actions_.zoomFit, "main_win_menu_zoom_fit", "Fit to Window");
    set(actions_.clear, "main_win_menu_clear", "Clear");
    set(actions_.undo, "main_win_menu_undo", "Undo");
    set(actions_.redo, "main_win_menu_redo", "Redo");
    set(actions_.mistakes, "main_win_menu_mistakes", "Show mistakes");
    set(actions_.showHover, "main_win_menu_hover", "Highlight hover crosshair");
    helpMenu_->setTitle(uitext::text("main_win_menu_help", "Help"));
    set(actions_.helpItem, "main_win_menu_help", "Help");
    set(actions_.about, "main_win_menu_about", "About...");
    const QString active = uitext::text("suggest_button_active", "Click to suggest a course");
    suggestButton_->setText(active);
    // One width for the whole countdown, wide enough for the longest of the
    // button's texts in this language; it does not jump as the seconds fall.
    const QFontMetrics metrics(suggestButton_->font());
    const int textWidth = std::max(metrics.horizontalAdvance(active),
                                   metrics.horizontalAdvance(suggestWaitText(SuggestCountdown::kWaitTicks / 2)));
    suggestButton_->setFixedWidth(std::max(kSuggestWidth, textWidth + 2 * kSuggestMargin));
    fitToolBarStrip();
}

void MainForm::AppException(QObject*, const std::exception* error)
{
    if (const auto* cross = dynamic_cast<const CrossException*>(error)) {
        cross->Show();
    } else {
        const QString text = error ? QString::fromLocal8Bit(error->what()) : QStringLiteral("Unknown error");
        if (errorDisplay_) {
            errorDisplay_(text);
        } else {
            QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                            isVisible() ? this : nullptr);
            box.exec();
        }
    }
    closing_ = true;
    // Queued, so that an error during start-up still ends the loop that
    // has not begun yet.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

// ------------------------------------------------------------------ commands

void MainForm::SelectCrossClick()
{
    treeView_->setVisible(treeView_->isHidden());
    actions_.selectCross->setChecked(!treeView_->isHidden());
}

void MainForm::PreferenceClick()
{
    // The settings belong to the profile, which exists only after the
    // first activation.
    if (!profile_)
        return;
    preferenceForm_->setProfile(profile_.get());
    preferenceForm_->exec();
}

void MainForm::preferencesChanged()
{
    // The hover command shows the setting the dialog left, and the grid
    // draws or drops the crosshair at once.
    actions_.showHover->setChecked(showHover());
    grid_->fullRepaint();
    if (liveMistakes())
        gridModel().showMistakes();
}

void MainForm::ExitClick()
{
    closing_ = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void MainForm::MdBrushClick()
{
    grid_->pointer().setDrawMode(DrawMode::Brush);
    actions_.mdBrush->setChecked(true);
}

void MainForm::MdLineClick()
{
    grid_->pointer().setDrawMode(DrawMode::Line);
    actions_.mdLine->setChecked(true);
}

void MainForm::MdRectClick()
{
    grid_->pointer().setDrawMode(DrawMode::Rect);
    actions_.mdRect->setChecked(true);
}

void MainForm::UndoClick()
{
    if (gridModel().CanUndo())
        gridModel().Undo();
}

void MainForm::RedoClick()
{
    gridModel().Redo();
}

void MainForm::MistakesClick()
{
    gridModel().showMistakes();
}

bool MainForm::lineHelpEnabled() const
{
    return profile_ && profile_->lineHelp();
}

bool MainForm::liveMistakes() const
{
    return profile_ && profile_->liveMistakes();
}

void MainForm::mistakesCounted(int count)
{
    statusPanels_[2]->setText(count == 0 ? uitext::text("main_win_status_no_mistakes", "No mistakes")
                                         : uitext::fromAnsi(safeFormat(text8("main_win_status_mistakes", "Mistakes: %d"),
                                                                       {std::int64_t(count)})));
}

void MainForm::PreviewClick()
{
    preview_->setVisible(preview_->isHidden());
    actions_.preview->setChecked(!preview_->isHidden());
    if (profile_)
        profile_->setPreviewShown(!preview_->isHidden());
    grid_->fullRepaint();
}

void MainForm::ZoomInClick()
{
    grid_->setCellSize(grid_->cellSize() + 1);
}

void MainForm::ZoomOutClick()
{
    grid_->setCellSize(grid_->cellSize() - 1);
}

void MainForm::ZoomFitClick()
{
    // The room the scroll box offers without its scroll bars, which go away
    // once the crossword fits.
    const QSize room = mainWin_->maximumViewportSize();
    const GridModel& g = gridModel();
    grid_->setCellSize(fittingCellSize(g.width(), g.height(), g.rowClueCount(), g.colClueCount(), room.width(),
                                        room.height()));
}

bool MainForm::showHover() const
{
    return profile_ ? profile_->showHover() : false;
}

bool MainForm::hoverEnabled() const
{
    // The crosshair belongs to the player's settings: none before a
    // profile is chosen.
    return profile_ && profile_->showHover();
}

bool MainForm::autoMarkEnabled() const
{
    return profile_ && profile_->autoMark();
}

void MainForm::menuShowHoverClick()
{
    if (profile_)
        profile_->setShowHover(!profile_->showHover());
    actions_.showHover->setChecked(showHover());
    grid_->fullRepaint();
}

void MainForm::ClearClick()
{
    gridModel().Clear();
    grid_->fullRepaint();
}

void MainForm::HelpItemClick()
{
    FormHelp();
}

void MainForm::FormHelp()
{
    HelpViewer::help(HelpViewer::kMainContext);
}

void MainForm::AboutClick()
{
    aboutFrm_->exec();
}

void MainForm::DB_SolveClick()
{
    GridModel& grid = gridModel();
    GridSolveTarget target(grid);
    Solver solver(target);
    QLabel* panel = statusPanels_[2];
    auto showReport = [&](const SolveReport& report) {
        panel->setText(QString::fromStdString(report.status));
        // The status text must be on screen before the modal report.
        panel->repaint();
        if (noticeDisplay_)
            noticeDisplay_(QString::fromStdString(report.text));
        else
            QMessageBox::information(this, QGuiApplication::applicationDisplayName(),
                                     QString::fromStdString(report.text));
    };
    if (!Solver::handles(grid.width(), grid.height())) {
        // Refused before clearing, so the player's work stays as it was.
        showReport(solver.Solve());
        return;
    }
    grid.Clear();
    grid_->fullRepaint();
    // The run stays on this thread; while it lasts only Escape reaches the
    // program, and each progress report lets the picture and status show.
    SolveReport report;
    {
        EscapePoll escape;
        solver.setProgress([&](const std::string& status) {
            panel->setText(QString::fromStdString(status));
            return escape.poll();
        });
        report = solver.Solve();
    }
    // Input flows again before the report, or its box could not be closed.
    grid_->fullRepaint();
    showReport(report);
}

void MainForm::SuggestButtonClick()
{
    countdown_.restart();
    gridModel().Suggest();
}

void MainForm::ResetSuggest()
{
    suggestTimer_->stop();
    countdown_.reset();
    suggestButton_->setText(uitext::text("suggest_button_active", "Click to suggest a course"));
    suggestButton_->setEnabled(false);
    suggestButton_->setColor(QPalette().color(QPalette::Button));
    gridModel().clearSuggestion();
}

void MainForm::StartSuggestWait()
{
    suggestTimer_->start();
    countdown_.restart();
}

void MainForm::SuggestTimerTimer()
{
    if (gridModel().suggestedCell()) {
        suggestBlink_ = !suggestBlink_;
        grid_->setSuggestLit(suggestBlink_);
    }
    countdown_.tick();
    if (countdown_.ready()) {
        suggestButton_->setText(uitext::text("suggest_button_active", "Click to suggest a course"));
    } else {
        suggestButton_->setText(suggestWaitText(countdown_.secondsLeft()));
    }
    suggestButton_->setEnabled(countdown_.ready());
    suggestButton_->setColor(countdown_.lit() ? kSuggestBlink : QPalette().color(QPalette::Button));
}

// ---------------------------------------------------------------- grid host

void MainForm::previewResize(int width, int height)
{
    if (preview_)
        preview_->resizeForCrossword(width / PreviewFrm::kScale, height / PreviewFrm::kScale);
}

void MainForm::previewCellChanged(int column, int row)
{
    if (preview_)
        preview_->paintCell(grid_->pointer(), column, row);
}

void MainForm::showCurrentColour(RGB colour)
{
    if (colorButton_)
        colorButton_->setColor(colour);
}

void MainForm::crosswordSolved(const std::string& name)
{
    if (TPackModelFile* node = findCrossword(*rootCategory_, name)) {
        node->edited = 1;
        node->solved = 1;
    }
    recount(*rootCategory_);
    // The mouse may rest on the tree while keys solve: its hint is rebuilt.
    lastHintNode_ = nullptr;
    treeView_->viewport()->update();
    const bool timed = !session_->timedId().empty();
    session_->crosswordSolved();
    solvedInfoForm_->setPlayTime(timed ? session_->clockText() : std::string());
    if (noticeDisplay_) {
        SolvedInfoForm::recordSolved(profile_.get());
        noticeDisplay_(solvedInfoForm_->infoText()->text());
    } else {
        // Showing the notice records the crossword as solved.
        solvedInfoForm_->exec();
    }
    session_->saveNow();
}

// ------------------------------------------------------------ crossword flow

void MainForm::showError(const QString& text)
{
    if (errorDisplay_) {
        errorDisplay_(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    uitext::localizeButtons(box);
    box.exec();
}

void MainForm::CrossSelected(TPackModelFile* node)
{
    if (!node) {
        ResetSuggest();
        return;
    }
    GridModel& grid = gridModel();
    // The crossword being left keeps its progress and time in the profile;
    // the file is written once the new one is open.
    session_->crosswordLeaving();
    if (profile_ && profile_->current() >= 0 && grid.name() != "logo")
        profile_->SaveProgress(grid);
    try {
        pack::loadFromPack(*crossData_, node->id, node->memberIndex);
        if (profile_)
            profile_->SetCurrent(crossData_->name, crossData_->width, crossData_->height, crossData_->maxRowClues,
                                 crossData_->maxColClues);
        const std::string& id = node->id;
        // A long id loses its beginning, not the crossword's name at its end;
        // the whole id is in the panel's hint.
        const QString shown = uitext::fromAnsi(id.size() >= 2 ? id.substr(0, id.size() - 2) : std::string());
        QLabel* panel = statusPanels_[1];
        const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
        panel->setText(panel->fontMetrics().elidedText(shown, Qt::ElideLeft, room));
        panel->setToolTip(shown);
        // A solver result belongs to the crossword it ran on, and the
        // pointer's cell to the grid it was over.
        statusPanels_[2]->clear();
        statusPanels_[0]->clear();
        node->edited = 1;
        recount(*rootCategory_);
        lastHintNode_ = nullptr;
        treeView_->viewport()->update();
    } catch (const CrossException& e) {
        e.Show();
    }
    grid.SetDataSource(*crossData_);
    if (profile_ && profile_->current() >= 0) {
        profile_->RestoreProgress(grid);
    } else {
        // No saved progress to copy: a crossword starts blank and white.
        for (int c = 0; c < grid.width(); ++c)
            for (int r = 0; r < grid.height(); ++r)
                grid.restoreCell(c, r, Empty, 0);
    }
    if (grid.revealOnLoad())
        grid.ShowSolution();
    grid_->fullRepaint();
    StartSuggestWait();
    session_->crosswordOpened();
    // Keyboard play starts at once, on the top-left cell.
    grid_->setFocus(Qt::OtherFocusReason);
}

void MainForm::FormActivate()
{
    if (activated_ || closing_ || profile_ || QCoreApplication::closingDown())
        return;
    activated_ = true;

    // There is no way past this but a usable name.
    std::string name;
    while (!closing_) {
        name = profileChooser_ ? profileChooser_() : askProfileName();
        if (name.empty() || !isValidProfileName(name))
            continue;
        // A profile another window of the game holds would be overwritten by
        // whichever of the two ends last. Without a lock file at all (a
        // read-only folder) the player still gets to play.
        if (profileLock_.take(UserConfig::fileNameFor(name)) != ProfileLock::Result::InUse)
            break;
        showError(uitext::text("profile_win_in_use",
                               "This profile is open in another window of the game.\\nChoose another profile.")
                  + QStringLiteral("\n\n") + uitext::fromAnsi(name));
    }
    if (closing_)
        return;

    ProfileBindings bindings;
    bindings.layout = &grid_->layout();
    bindings.previewShown = !preview_->isHidden();
    bindings.showPreview = [this](bool shown) {
        // Set the opposite first so that the command brings the window, its
        // menu item and its button in line.
        preview_->setVisible(!shown);
        PreviewClick();
    };
    try {
        profile_ = std::make_unique<UserConfig>(name, *language_, bindings);
    } catch (const std::exception& e) {
        AppException(this, &e);
        return;
    }
    session_->restoreWindow();
    // The profile may bring another cell size; the crossword on screen (the
    // logo, or the last one when it is in no pack any more) takes it now.
    grid_->geometryChanged();
    grid_->update();
    userInfoBarLabel_->setText(uitext::fromAnsi(profile_->userName()));
    actions_.showHover->setChecked(profile_->showHover());
    setProfileMarks(profile_->catalogueMarks());

    const std::string currentId = profile_->current() >= 0 ? profile_->currentId() : std::string();
    try {
        const std::vector<std::string> failed = scanPacks(*rootCategory_);
        if (!failed.empty()) {
            // One message after the scan, naming every pack that was skipped.
            QString text = uitext::fromAnsi(CrossException(30000).messageText(language_.get()));
            for (const std::string& pack : failed)
                text += QStringLiteral("\n") + uitext::fromAnsi(pack);
            showError(text);
        }
        packView_->rebuild(currentId);
        if (!currentId.empty() && currentId != "logo")
            CrossSelected(findCrossword(*rootCategory_, currentId));
        else
            ShowLogo();
    } catch (const CrossException& e) {
        e.Show();
    }
}

std::string MainForm::askProfileName()
{
    // At the first activation there is no way out but a name: the dialog
    // cannot be cancelled, and Esc or the close box bring it back.
    profileDlg_->buttCancel()->setEnabled(false);
    if (profileDlg_->exec() != UserProfileDlg::kOk)
        return {};
    return profileDlg_->userName();
}

void MainForm::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    suggestTimer_->stop();
    session_->storeForExit();
    session_->autosaveTimer()->stop();
    if (profile_ && grid_ && gridModel().hasCrossword())
        profile_->FinishSession(&gridModel()); // shows 30007 itself on failure
    setProfileMarks({});
    profile_.reset();
    profileLock_.release();
}

void MainForm::closeEvent(QCloseEvent* event)
{
    // The import's command still runs below this event and uses the
    // profile: it is stopped, and closes the window once it has returned.
    if (importStop_) {
        importStop_->store(true);
        closeAfterImport_ = true;
        event->ignore();
        return;
    }
    FormDestroy();
    // The help window has no parent; left open it would keep the program
    // running after its main window is gone.
    HelpViewer::closeInstance();
    QMainWindow::closeEvent(event);
}

void MainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Activation may not be reported on every platform; the first show is.
    QMetaObject::invokeMethod(this, &MainForm::FormActivate, Qt::QueuedConnection);
}

void MainForm::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (session_)
        session_->windowChanged();
}

void MainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    fitToolBarStrip();
    if (session_)
        session_->windowChanged();
}

// While the window is too narrow for the strip of tool bars on one row, the
// user name and the suggest button take a second row below the buttons
// rather than fold buttons away; the row goes again when there is room.
// Once the player has moved the bars around, their arrangement is theirs.
void MainForm::fitToolBarStrip()
{
    if (toolBarsMoved_)
        return;
    int needed = 0;
    for (const QToolBar* bar : {drawBar_, gameBar_, userInfoBar_, suggestBar_})
        if (!bar->isHidden())
            needed += bar->sizeHint().width();
    const bool wrap = needed > width();
    if (wrap == toolBarBreak(userInfoBar_))
        return;
    if (wrap)
        insertToolBarBreak(userInfoBar_);
    else
        removeToolBarBreak(userInfoBar_);
}

void MainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && session_)
        session_->windowChanged();
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            FormActivate();
        if (session_)
            session_->activationChanged();
    }
}

// ------------------------------------------------------------ mouse and keys

void MainForm::TreeViewMouseMove(const QPoint& position)
{
    QTreeWidgetItem* item = treeView_->itemAt(position);
    if (item == lastHintNode_)
        return;
    lastHintNode_ = item;
    const TPackModel* node = TPackView::nodeOf(item);
    if (!node)
        return;
    if (item->childCount() > 0) {
        if (node->isFile())
            return;
        treeHint_ = uitext::fromAnsi(treehint::category(static_cast<const TPackModelDir&>(*node), language_.get()));
    } else {
        if (!node->isFile())
            return;
        const auto& file = static_cast<const TPackModelFile&>(*node);
        // The open crossword's time is on the running clock; the profile has
        // it only as of the last save.
        std::uint32_t seconds = 0;
        if (session_ && file.id == session_->timedId())
            seconds = session_->seconds();
        else if (profile_)
            seconds = profile_->playSeconds(file.id);
        treeHint_ = uitext::fromAnsi(treehint::crossword(file, language_.get(), seconds));
    }
    // The new text shows when the mouse rests again.
    QToolTip::hideText();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)
        && (watched == drawBar_ || watched == gameBar_ || watched == userInfoBar_ || watched == suggestBar_))
        toolBarsMoved_ = true;
    if (watched == treeView_->viewport()) {
        if (event->type() == QEvent::MouseMove)
            TreeViewMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        // Back from the grid, a node's hint has its state and time of then.
        if (event->type() == QEvent::Leave)
            lastHintNode_ = nullptr;
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            if (treeHint_.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), treeHint_, treeView_->viewport());
            return true;
        }
    }
    if (event->type() == QEvent::Wheel && watched == mainWin_->viewport()) {
        // One notch (120) scrolls 120 pixels; the scroll bar clamps.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // With Ctrl each notch is one zoom step; a fine-grained wheel
            // adds up its small turns until they make a notch.
            wheelZoom_ += wheel->angleDelta().y();
            for (; wheelZoom_ >= 120; wheelZoom_ -= 120)
                ZoomInClick();
            for (; wheelZoom_ <= -120; wheelZoom_ += 120)
                ZoomOutClick();
            return true;
        }
        QScrollBar* bar = mainWin_->verticalScrollBar();
        bar->setValue(bar->value() - wheel->angleDelta().y());
        return true;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && target && target->window() == this) {
        // A key the focus widget ignores travels up to its parents and
        // passes this filter once more; the chord must act only once.
        const bool propagated = event == lastKeyEvent_ && lastKeyTarget_ && target->isAncestorOf(lastKeyTarget_);
        lastKeyEvent_ = event;
        lastKeyTarget_ = target;
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto chord = Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
        if (!propagated && key->key() == Qt::Key_NumLock && (key->modifiers() & chord) == chord
            && !key->isAutoRepeat())
            gridModel().toggleRevealOnLoad();
    }
    return QMainWindow::eventFilter(watched, event);
}
