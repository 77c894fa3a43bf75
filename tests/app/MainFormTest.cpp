#include "GridText.h"
#include "WorkFolder.h"
#include "app/MainForm.h"
#include "app/PlaySession.h"
#include "app/TessellorApp.h"
#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/Localization.h"
#include "dialogs/PreviewFrm.h"
#include "packview/TPackView.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileLock.h"
#include "profile/UserConfig.h"
#include "widgets/GridWidget.h"
#include "widgets/HelpViewer.h"
#include "widgets/TColorMenu.h"
#include "widgets/TColorToolButton.h"
#include "widgets/TCustomButton.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

using testgrids::cellsOf;
using testgrids::Rows;

// Every test runs in a working folder of its own holding the shipped
// language files, as the game does in its repository folder.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        newForm();
    }
    // A fresh window on the "Tester" profile; the old one, if any, shuts
    // down first and writes its profile. Errors go to shownErrors, never to
    // a message box, also those of the window's own start.
    void newForm()
    {
        form.reset();
        const auto capture = [this](const std::string& text) { shownErrors.push_back(text); };
        CrossException::setDisplay(capture);
        form = std::make_unique<MainForm>(false);
        CrossException::setDisplay(capture); // the window has set its own
        form->setErrorDisplay([this](const QString& text) { shownErrors.push_back(text.toStdString()); });
        form->setNoticeDisplay([this](const QString& text) { notices.push_back(text.toStdString()); });
        form->setProfileChooser([] { return std::string("Tester"); });
    }
    void showForm(bool active = false)
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(active ? QTest::qWaitForWindowActive(form.get()) : QTest::qWaitForWindowExposed(form.get()));
    }
    void open(const std::string& id) { form->CrossSelected(findCrossword(form->rootCategory(), id)); }
    static void writeFile(const QString& name, const char* text)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void TearDown() override
    {
        form.reset();
        CrossException::setDisplay(nullptr);
        codepage::setCurrent(savedPage);
    }
    GridModel& grid() { return form->gridModel(); }
    GridWidget& widget() { return *form->grid(); }
    QPoint at(int c, int r) { return {widget().layout().cellX(c) + 2, widget().layout().cellY(r) + 2}; }
    void click(int c, int r, MouseButton button = MouseButton::Left)
    {
        widget().pointer().press(at(c, r).x(), at(c, r).y(), button, {});
    }
    void load(const std::vector<std::string>& rows) { grid().SetDataSource(testgrids::crossword(rows)); }

    WorkFolder work;
    const int savedPage = codepage::current();
    std::unique_ptr<MainForm> form;
    std::vector<std::string> shownErrors;
    std::vector<std::string> notices;
};

TEST_F(MainFormTest, StartsWithTheLogoSolvedAndItsClues)
{
    EXPECT_EQ(grid().name(), "logo");
    ASSERT_EQ(grid().width(), 32);
    EXPECT_GT(grid().rowClueCount() * grid().colClueCount(), 0);
    for (int c = 0; c < 32; ++c)
        for (int r = 0; r < 32; ++r)
            EXPECT_EQ(grid().cellState(c, r), grid().solution(c, r) > 0 ? DefYes : Empty) << c << "," << r;
    EXPECT_FALSE(form->actions().solve->isVisible()); // only with the switch
    EXPECT_TRUE(MainForm(true).actions().solve->isVisible());
    EXPECT_TRUE(shownErrors.empty());
}

TEST_F(MainFormTest, SolverClearsTheFieldSolvesAndReportsButRefusesWideCrosswords)
{
    load({"####", "#..#", "#..#", "5555"});
    grid().restoreCell(1, 1, DefYes, 3); // a wrong fill the run must clear
    grid().restoreCell(2, 0, Mark, 1);
    // The report is shown with input flowing again, or its box would not
    // take the player's click.
    QLineEdit probe;
    probe.show();
    form->setNoticeDisplay([&](const QString& text) {
        notices.push_back(text.toStdString());
        QTest::keyClicks(&probe, "ok");
    });
    form->DB_SolveClick();
    EXPECT_EQ(probe.text(), QStringLiteral("ok"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].rfind("Solution is found.\nTime: ", 0), 0u) << notices[0];
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral("Solved."));
    EXPECT_EQ(cellsOf(grid()), (Rows{"####", "#xx#", "#xx#", "5555"}));

    load({std::string(101, '.'), std::string(101, '#')});
    grid().restoreCell(9, 1, Mark, 1);
    form->DB_SolveClick();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[1].find("101 x 2"), std::string::npos) << notices[1];
    EXPECT_EQ(grid().cellState(9, 1), Mark);
    EXPECT_EQ(grid().cellState(7, 0), Empty);
}

// Keys play in the grid and reach the window's commands, which keep their
// buttons and the grid in step: the crossword panel, hover off (the
// crosshair shown goes with a repaint, no other comes) and the reveal chord,
// which only sets the flag for the next load.
TEST_F(MainFormTest, KeysPlayAndCommandsKeepTheirButtonsAndTheGridInStep)
{
    showForm(true);
    // Hover off: on the logo, the crosshair shown goes with a repaint and no
    // other comes.
    const auto& a = form->actions();
    QTest::mouseMove(form->grid(), at(4, 7));
    EXPECT_EQ(form->statusPanel(0)->text(), QStringLiteral("4 : 7"));
    EXPECT_TRUE(widget().pointer().crosshairShown());
    a.showHover->trigger();
    EXPECT_FALSE(form->showHover() || widget().pointer().crosshairShown());
    QTest::mouseMove(form->grid(), at(5, 7));
    EXPECT_FALSE(widget().pointer().crosshairShown());

    load({"#.#", "...", "#.#"});
    auto key = [&](int k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&widget(), Qt::Key(k), mods); };
    for (int k : {Qt::Key_Space, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space})
        key(k);
    EXPECT_EQ(cellsOf(grid()), (Rows{"#.#", "...", "..."}));
    key(Qt::Key_Z, Qt::ControlModifier); // the window's commands reach past the focused grid
    EXPECT_EQ(cellsOf(grid()), (Rows{"#..", "...", "..."}));

    // X crosses, M marks, Shift+arrow paints on as a drag; the cursor stays
    // inside the field.
    key(Qt::Key_Down);
    key(Qt::Key_X);
    key(Qt::Key_Left, Qt::ShiftModifier);
    for (int k : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_M})
        key(k);
    EXPECT_EQ(cellsOf(grid()), (Rows{"#..", ".xx", "+.."}));
    EXPECT_EQ(widget().pointer().cursorColumn(), 0);

    grid().restoreCell(1, 0, DefYes, 3); // background
    form->actions().mistakes->trigger();
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral("Mistakes: 1"));

    // Tab leaves the grid as usual.
    key(Qt::Key_Tab);
    EXPECT_FALSE(widget().hasFocus());

    a.selectCross->trigger();
    EXPECT_FALSE(form->treeView()->isVisible() || a.selectCross->isChecked());
    QTest::mouseClick(form->gameBar()->widgetForAction(a.selectCross), Qt::LeftButton); // the same command
    EXPECT_TRUE(form->treeView()->isVisible() && a.selectCross->isChecked());

    const auto chord = Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
    QTest::keyClick(form->grid(), Qt::Key_NumLock, chord);
    EXPECT_TRUE(grid().revealOnLoad());
    EXPECT_EQ(grid().cellState(2, 0), Empty); // the open crossword stays as it is
    QTest::keyClick(form->grid(), Qt::Key_NumLock, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(grid().revealOnLoad()); // without Alt it is not the chord
    QTest::keyClick(form->grid(), Qt::Key_NumLock, chord);
    EXPECT_FALSE(grid().revealOnLoad());
    // Pressed on a child one level down, the key passes the window twice on
    // its way up; it still counts once.
    QTest::keyClick(form->menuBar(), Qt::Key_NumLock, chord);
    EXPECT_TRUE(grid().revealOnLoad());
}

// The wheel scrolls by its delta, with Ctrl it zooms; Fit takes the room.
TEST_F(MainFormTest, WheelScrollsOrZoomsAndFitShowsTheWholeCrossword)
{
    load(Rows(30, QString("#.#").repeated(14).left(40).toStdString()));
    showForm();
    QScrollBar* bar = form->mainWin()->verticalScrollBar();
    auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        QWidget* viewport = form->mainWin()->viewport();
        QWheelEvent event(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    widget().setCellSize(30);
    QApplication::processEvents();
    ASSERT_GT(bar->maximum(), 240);
    // Towards the player is down; both ends clamp.
    for (auto [delta, value] : {std::pair{-120 * 1000, bar->maximum()}, {120, bar->maximum() - 120}, {120 * 1000, 0}}) {
        wheel(delta, Qt::NoModifier);
        EXPECT_EQ(bar->value(), value) << delta;
    }
    // Each step: a wheel delta and the cell size after it; the largest size
    // stays, half a notch waits for the other half, and zooming never
    // scrolls.
    for (auto [delta, size] : {std::pair{120, 30}, {-240, 28}, {60, 28}, {60, 29}}) {
        wheel(delta, Qt::ControlModifier);
        EXPECT_EQ(widget().cellSize(), size) << delta;
    }
    EXPECT_EQ(bar->value(), 0);

    form->actions().zoomFit->trigger();
    QApplication::processEvents();
    const QSize room = form->mainWin()->maximumViewportSize();
    EXPECT_LE(widget().layout().controlWidth(), room.width());
    EXPECT_LE(widget().layout().controlHeight(), room.height());
    widget().setCellSize(widget().cellSize() + 1);
    EXPECT_TRUE(widget().layout().controlWidth() > room.width() || widget().layout().controlHeight() > room.height());
}

// Texts of the shipped tables a player must read whole: the suggest button
// holds its countdown in every language, the message panel a solver progress
// line; Russian in its code page reaches menus, hints, the preview's title
// and the status text of a cell, and Undo keeps its caption. At the default
// window size the strip of tool bars shows every button, the solver's too,
// none folded behind a bar's extension or cut off at the window's edge.
// Qt's own texts follow: a menu's shortcut names Ctrl as the language does,
// and English again after German (from Qt's translations, which the setup
// script installs).
TEST_F(MainFormTest, ShippedLanguagesFillMenusButtonsAndStatusWhole)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        {"english", 1252, "Ctrl+Z"}, {"german", 1252, "Strg+Z"}, {"english", 1252, "Ctrl+Z"}, {"russian", 1251, "Ctrl+Z"}};
    TCustomButton* button = form->suggestButton();
    form->actions().solve->setVisible(true);
    showForm();
    ASSERT_EQ(form->size(), QSize(757, 596));
    for (const auto& [language, codePage, undoKeys] : cases) {
        ASSERT_TRUE(codepage::setCurrent(codePage));
        form->language().LoadLanguage(language);
        EXPECT_EQ(form->actions().undo->shortcut().toString(QKeySequence::NativeText), QString::fromUtf8(undoKeys))
            << language;
        form->StartSuggestWait();
        form->SuggestTimerTimer(); // the widest text: two digits still to wait
        const int text = QFontMetrics(button->font()).horizontalAdvance(button->text());
        // The caption is clipped two pixels inside the frame.
        EXPECT_LE(text, button->width() - 4) << language << ": " << button->text().toStdString();
        QCoreApplication::processEvents();
        QRegion strip;
        for (const QToolBar* bar : form->findChildren<QToolBar*>()) {
            EXPECT_TRUE(form->rect().contains(bar->geometry()) && !strip.intersects(bar->geometry()))
                << language << ": " << bar->objectName().toStdString();
            strip += bar->geometry();
            for (QAction* action : bar->actions()) {
                const QWidget* item = bar->widgetForAction(action);
                EXPECT_TRUE(item->isVisible() && bar->rect().contains(item->geometry()))
                    << language << ": " << bar->objectName().toStdString() << " " << action->text().toStdString();
            }
        }
    }
    EXPECT_TRUE(button->text().startsWith(QStringLiteral("\u041F")));
    EXPECT_EQ(form->menuBar()->actions().at(0)->text(), QStringLiteral("\u0418\u0433\u0440\u0430")); // Игра
    EXPECT_EQ(form->actions().clear->text(), QStringLiteral("\u041E\u0447\u0438\u0441\u0442\u0438\u0442\u044C"));
    EXPECT_EQ(form->actions().clear->toolTip(), form->actions().clear->text());
    EXPECT_EQ(form->actions().undo->text(), QStringLiteral("\u041E\u0442\u043C\u0435\u043D\u0438\u0442\u044C"));
    EXPECT_EQ(form->preview()->windowTitle(),
              QStringLiteral("\u041F\u0440\u0435\u0434\u043F\u0440\u043E\u0441\u043C\u043E\u0442\u0440"));
    QTest::mouseMove(form->grid(), at(2, 5));
    const QString state = form->statusPanel(1)->text();
    EXPECT_FALSE(state.isEmpty());
    for (const QChar c : state)
        EXPECT_TRUE(c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) << state.toStdString();

    QLabel* panel = form->statusPanel(2);
    panel->setText(QStringLiteral("Solving... Time: 00:01:05  Progress:  41.16 % Try: 1234 Total: 1234567"));
    QCoreApplication::processEvents();
    form->statusBar()->layout()->activate();
    EXPECT_GE(panel->contentsRect().width(), QFontMetrics(panel->font()).horizontalAdvance(panel->text()));
}

// A window too narrow for the strip on one row puts the user name and the
// suggest button on a second row rather than fold buttons away, and goes
// back to one row when widened; once the player has dragged a bar, the
// arrangement is left as they made it.
TEST_F(MainFormTest, NarrowWindowGivesTheToolBarsASecondRowUntilThePlayerMovesThem)
{
    form->actions().solve->setVisible(true);
    showForm();
    QToolBar* names = form->findChild<QToolBar*>(QStringLiteral("UserInfoBar"));
    QToolBar* draw = form->findChild<QToolBar*>(QStringLiteral("DrawBar"));
    const std::pair<int, bool> cases[] = {{520, true}, {1200, false}, {520, true}};
    for (const auto& [width, secondRow] : cases) {
        form->resize(width, 596);
        QCoreApplication::processEvents();
        EXPECT_EQ(names->y() > draw->y(), secondRow) << width;
        for (const QToolBar* bar : form->findChildren<QToolBar*>())
            for (QAction* action : bar->actions())
                EXPECT_TRUE(bar->widgetForAction(action)->isVisible()) << width << " " << action->text().toStdString();
    }
    // The player drags the name bar by its handle.
    QTest::mousePress(names, Qt::LeftButton, {}, QPoint(3, names->height() / 2));
    QTest::mouseMove(names, QPoint(40, names->height() / 2));
    QTest::mouseRelease(names, Qt::LeftButton, {}, QPoint(40, names->height() / 2));
    const bool brokenBefore = form->toolBarBreak(names);
    form->resize(1200, 596);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->toolBarBreak(names), brokenBefore);
}

// The test programs run under the game's own application object, so an
// exception thrown inside any event handler takes the real path.
TEST_F(MainFormTest, EscapedExceptionsEndTheProgramAfterTheirMessage)
{
    class Thrower : public QObject {
    public:
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw CrossException(30004);
            if (e->type() == QEvent::Type(QEvent::User + 1))
                throw std::runtime_error("disk on fire");
            return QObject::event(e);
        }
    } thrower;
    ASSERT_NE(dynamic_cast<TessellorApp*>(QApplication::instance()), nullptr);
    for (int type : {int(QEvent::User), QEvent::User + 1}) {
        QEvent event{QEvent::Type(type)};
        QApplication::sendEvent(&thrower, &event);
    }
    EXPECT_TRUE(form->isClosing());
    EXPECT_EQ(shownErrors, (std::vector<std::string>{CrossException(30004).messageText(&form->language()),
                                                     "disk on fire"}));
}

// The profile keeps each crossword's progress and reopens the last one at
// the next start; a crossword that cannot be loaded brings the previous one
// back. A last crossword that left its pack between two games starts the
// game on the logo, without a message or a hang, and its progress waits for
// its return.
TEST_F(MainFormTest, ProfileKeepsProgressAndReopensTheLastCrosswordOrTheLogoWhenItIsGone)
{
    const std::pair<QString, std::vector<std::string>> eye{"Dots/Eye_0_1.ql", {"#.#", ".#.", "#.#"}};
    const std::pair<QString, std::vector<std::string>> bar{"Bar_0_0.ql", {"##", ".."}};
    makePack("Fun", {eye, bar});
    form->FormActivate();
    open("Fun\\Dots\\Eye_0_1");
    click(1, 1);
    open("Fun\\Bar_0_0");
    open("Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", ".#.", "..."})); // came back with the crossword
    widget().setCellSize(21);
    newForm(); // shutdown writes the profile
    form->FormActivate();
    EXPECT_EQ(grid().name(), "Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(grid().cellState(1, 1), DefYes);
    EXPECT_EQ(widget().cellSize(), 21);
    EXPECT_EQ(findCrossword(form->rootCategory(), "Fun\\Bar_0_0")->edited, 1);

    insertCrossword(form->rootCategory(), "Fun\\Ghost_0_1", "Fun\\Ghost_0", 1, false);
    open("Fun\\Ghost_0_1");
    EXPECT_EQ(shownErrors.size(), 1u);
    EXPECT_EQ(grid().name(), "Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(grid().cellState(1, 1), DefYes);

    newForm();
    ASSERT_TRUE(QFile::remove("data/Fun.qlp"));
    makePack("Fun", {bar});
    form->FormActivate();
    EXPECT_EQ(grid().name(), "logo");
    EXPECT_EQ(findCrossword(form->rootCategory(), "Fun\\Bar_0_0")->edited, 1);
    newForm();
    makePack("Fun", {eye});
    form->FormActivate();
    open("Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", ".#.", "..."}));
    EXPECT_EQ(shownErrors.size(), 1u); // only that of the failed load
}

// Two windows on one profile: the one that ended last used to overwrite the
// other's progress. The second is told and chooses another; a lock left by a
// crashed game (its file, no holder) is taken over.
TEST_F(MainFormTest, ProfileInUseElsewhereIsRefusedAndAStaleLockTakenOver)
{
    ProfileLock other;
    ASSERT_EQ(other.take(UserConfig::fileNameFor("Ann")), ProfileLock::Result::Taken);
    writeFile("Bob.pfl.lock", "12345\n");
    int asked = 0;
    form->setProfileChooser([&] { return std::string(asked++ == 0 ? "Ann" : "Bob"); });
    form->FormActivate();
    ASSERT_NE(form->profile(), nullptr);
    EXPECT_EQ(form->profile()->userName(), "Bob");
    ASSERT_EQ(shownErrors.size(), 1u);
    EXPECT_NE(shownErrors[0].find("another window"), std::string::npos) << shownErrors[0];
    EXPECT_NE(shownErrors[0].find("Ann"), std::string::npos);

    ProfileLock third;
    EXPECT_EQ(third.take(UserConfig::fileNameFor("Bob")), ProfileLock::Result::InUse);
    form.reset(); // the profile is written and let go
    EXPECT_EQ(third.take(UserConfig::fileNameFor("Bob")), ProfileLock::Result::Taken);
}

// Closing the main window ends the program whatever else is open: the help
// window, which has no parent, once kept it running.
TEST_F(MainFormTest, ClosingTheMainWindowClosesTheHelpWindow)
{
    HelpViewer::instance().setHelpFolder(QStringLiteral(TESSELLOR_SOURCE_DIR "/help"));
    form->show();
    form->actions().helpItem->trigger();
    ASSERT_TRUE(HelpViewer::instance().isVisible());
    form->close();
    EXPECT_FALSE(HelpViewer::instance().isVisible());
}

// A pack next to a damaged one: the damaged one is named; a crossword opens
// blank with its id in the 120-pixel status panel, which keeps the end of a
// long one, the crossword's name (it once showed "tarter\\Shapes\\Plus_",
// cut on both sides); solving it marks the catalogue, and the reveal flag
// shows the next load solved.
TEST_F(MainFormTest, OpensCrosswordsFromPacksAndRecordsTheSolvedOne)
{
    makePack("Starter Collection", {{"Shapes and Figures/Plus_0_1.ql", {"#.#", ".#.", "#.#"}}});
    writeFile("data/A_bad.qlp", "no zip here");
    form->FormActivate();
    form->show();
    ASSERT_EQ(shownErrors.size(), 1u);
    EXPECT_NE(shownErrors[0].find("A_bad.qlp"), std::string::npos);
    EXPECT_EQ(form->treeView()->topLevelItemCount(), 1);

    form->statusPanel(0)->setText(QStringLiteral("17 : 4")); // a cell of the grid being left
    open("Starter Collection\\Shapes and Figures\\Plus_0_1");
    EXPECT_TRUE(form->statusPanel(0)->text().isEmpty());
    const QLabel* panel = form->statusPanel(1);
    EXPECT_TRUE(panel->text().endsWith(QStringLiteral("Plus_0"))) << panel->text().toStdString();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    EXPECT_EQ(panel->toolTip(), QStringLiteral("Starter Collection\\Shapes and Figures\\Plus_0"));
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", "...", "..."}));
    EXPECT_EQ(form->rootCategory().editedCount, 1);
    for (auto [c, r] : {std::pair{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}})
        click(c, r);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(form->rootCategory().solvedCount, 1);

    grid().setRevealOnLoad(true);
    open("Starter Collection\\Shapes and Figures\\Plus_0_1");
    EXPECT_EQ(cellsOf(grid()), (Rows{"#.#", ".#.", "#.#"}));
}

TEST_F(MainFormTest, SuggestWaitsThenOffersACellThatBlinks)
{
    load({"#.", ".5"});
    TCustomButton* button = form->suggestButton();
    form->StartSuggestWait();
    for (int tick = 0; tick < 3; ++tick)
        form->SuggestTimerTimer();
    EXPECT_EQ(button->text(), QStringLiteral("Please, wait 28 second..."));
    for (int tick = 3; tick < 60; ++tick)
        form->SuggestTimerTimer();
    EXPECT_TRUE(button->isEnabled());

    // A click restarts the wait; until the next tick the button still works.
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(grid().suggestedCell());
    EXPECT_EQ(*grid().suggestedCell(), std::make_pair(0, 1)); // the second suggestion
    form->SuggestTimerTimer();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(widget().suggestLit()); // the cell blinks with the ticks
    form->SuggestTimerTimer();
    EXPECT_FALSE(widget().suggestLit());

    form->actions().clear->trigger();
    EXPECT_TRUE(grid().suggestedCell()); // Clear keeps the blinking

    // A language's wait text whose first placeholder wants a text: nothing
    // is filled, nothing is read.
    writeFile("language/odd.lng", "suggest_button_wait=%s wait %d s %n\r\n");
    form->language().LoadLanguage("odd");
    form->StartSuggestWait();
    form->SuggestTimerTimer();
    EXPECT_EQ(button->text(), QStringLiteral("%s wait %d s %n"));
}

// The preview shows each cell as three by three pixels in its colour, the
// one chosen in the colour menu, which the colour button shows too.
TEST_F(MainFormTest, PreviewMirrorsEveryCellAtThreePixelsInTheChosenColour)
{
    load(Rows(25, std::string(40, '.')));
    PreviewFrm* preview = form->preview();
    QImage expected = preview->picture();
    ASSERT_EQ(expected.size(), QSize(120, 75));
    EXPECT_EQ(form->colorButton()->color(), PaletteColor(3)); // each load starts dark grey
    form->popupColorMenu()->chooseItem(4);
    EXPECT_EQ(form->colorButton()->color(), PaletteColor(5));
    click(7, 3);
    QPainter(&expected).fillRect(21, 9, 3, 3, QColor(0x3333FF));
    EXPECT_EQ(preview->picture(), expected);
    click(7, 3, MouseButton::Right); // a blank mark shows white
    EXPECT_EQ(preview->picture().pixel(22, 10) & 0xFFFFFF, 0xFFFFFFu);

    // Showing it redraws the whole picture from the grid.
    grid().restoreCell(0, 0, DefYes, 11);
    form->actions().preview->trigger();
    EXPECT_FALSE(preview->isHidden());
    EXPECT_EQ(preview->picture().pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    form->actions().preview->trigger();
    EXPECT_TRUE(preview->isHidden());
    EXPECT_FALSE(form->actions().preview->isChecked());
}

// The hint of the node under the mouse is built once, and again after the
// mouse left the tree's nodes or the language changed.
TEST_F(MainFormTest, TreeHintsDescribeTheNodeUnderTheMouse)
{
    showForm();
    QApplication::processEvents(); // the first activation scans (no packs here)
    insertCrossword(form->rootCategory(), "Zoo\\Cat_0_1", "Zoo\\Cat_0", 1, false);
    insertCrossword(form->rootCategory(), "Zoo\\Owl_1_3", "Zoo\\Owl_1", 3, true);
    findCrossword(form->rootCategory(), "Zoo\\Owl_1_3")->edited = 1;
    findCrossword(form->rootCategory(), "Zoo\\Owl_1_3")->solved = 1;
    recount(form->rootCategory());
    form->packView().rebuild("");
    QTreeWidget* tree = form->treeView();
    QTreeWidgetItem* zoo = tree->topLevelItem(0);
    zoo->setExpanded(true);
    auto hintAt = [&](QTreeWidgetItem* item, int dx = 0) {
        form->TreeViewMouseMove(tree->visualItemRect(item).center() + QPoint(dx, 0));
        return form->treeHint().toStdString();
    };
    EXPECT_NE(hintAt(zoo->child(1)).find("Crossword # Owl_1 (solved)"), std::string::npos);
    EXPECT_NE(hintAt(zoo).find("Edited - 1"), std::string::npos);
    findCrossword(form->rootCategory(), "Zoo\\Cat_0_1")->edited = 1;
    recount(form->rootCategory());
    form->TreeViewMouseMove(QPoint(5, tree->viewport()->height() - 2)); // empty space
    EXPECT_NE(hintAt(zoo).find("Edited - 2"), std::string::npos);
    writeFile("language/hints.lng", "tree_view_hint_category=Folder %s: %d of %d, %d in all\r\n");
    form->language().LoadLanguage("hints");
    EXPECT_EQ(hintAt(zoo, 1), "Folder Zoo: 1 of 2, 2 in all");
}

// Opening a crossword writes the profile and starts the autosave and the
// crossword's own clock, which counts while the window is active and stands
// still once solved; a disk that refuses is told once and play goes on.
TEST_F(MainFormTest, OpeningAutosavesAndEachCrosswordKeepsItsClock)
{
    makePack("Fun", {{"Dot_0_1.ql", {"#.", ".."}}, {"Eye_0_1.ql", {"#.#", ".#.", "#.#"}}});
    std::int64_t now = 0;
    form->session()->setTimeSourceForTesting([&] { return now; });
    showForm(true);
    form->FormActivate();
    ASSERT_FALSE(QFile::exists("Tester.pfl"));
    open("Fun\\Dot_0_1");
    ASSERT_TRUE(QFile::exists("Tester.pfl"));
    EXPECT_TRUE(form->session()->autosaveTimer()->isActive());
    now += 65'000;
    QTest::qWait(1100); // one tick of the status bar clock
    EXPECT_EQ(form->statusPanel(3)->text(), QStringLiteral("1:05"));

    open("Fun\\Eye_0_1");
    EXPECT_EQ(form->session()->seconds(), 0u);
    now += 10'000;
    auto stateOnDisk = [] {
        std::vector<std::uint8_t> bytes;
        readWholeFile("Tester.pfl", bytes);
        const ProfileData d = readProfileBytes(bytes.data(), bytes.size());
        return d.states().at(std::size_t(d.findState("Fun\\Eye_0_1"))).cellState(1, 1);
    };
    click(1, 1);
    EXPECT_EQ(stateOnDisk(), Empty);
    EXPECT_TRUE(form->session()->saveNow());
    EXPECT_EQ(stateOnDisk(), DefYes);
    setChunkWriterForTesting([](int, const std::uint8_t*, std::size_t) { return std::size_t(0); });
    for (int i = 0; i < 3; ++i) {
        click(1, 1, MouseButton::Right);
        EXPECT_FALSE(form->session()->saveNow());
    }
    EXPECT_EQ(std::count_if(shownErrors.begin(), shownErrors.end(),
                            [](const std::string& e) { return e.find("profile") != std::string::npos; }),
              1);
    setChunkWriterForTesting({});
    EXPECT_TRUE(form->session()->saveNow());
    EXPECT_EQ(stateOnDisk(), DefNo);

    // Coming back resumes the first clock; solving shows its time. The
    // tree's hint has the profile's time of a crossword and the running clock
    // of the open one, of now once the mouse comes back to the tree.
    open("Fun\\Dot_0_1");
    EXPECT_EQ(form->profile()->playSeconds("Fun\\Eye_0_1"), 10u);
    form->treeView()->expandAll();
    auto hintOf = [&](const std::string& id) {
        for (QTreeWidgetItemIterator it(form->treeView()); *it; ++it)
            if (const TPackModel* node = TPackView::nodeOf(*it);
                node && node->isFile() && static_cast<const TPackModelFile*>(node)->id == id)
                form->TreeViewMouseMove(form->treeView()->visualItemRect(*it).center());
        return form->treeHint().toStdString();
    };
    EXPECT_TRUE(hintOf("Fun\\Eye_0_1").ends_with("\n Time - 0:10"));
    EXPECT_TRUE(hintOf("Fun\\Dot_0_1").ends_with("\n Time - 1:05"));
    now += 2'000;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form->treeView()->viewport(), &leave);
    EXPECT_TRUE(hintOf("Fun\\Dot_0_1").ends_with("\n Time - 1:07")) << hintOf("Fun\\Dot_0_1");
    click(0, 0); // the mouse rests on the tree meanwhile
    EXPECT_NE(hintOf("Fun\\Dot_0_1").find("(solved)"), std::string::npos);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Time: 1:07"), std::string::npos) << notices[0];
    now += 30'000;
    open("Fun\\Dot_0_1");
    EXPECT_EQ(form->session()->seconds(), 67u);
    EXPECT_FALSE(form->session()->clockRunning());
}

TEST_F(MainFormTest, WindowComesBackWhereItWasAndAlwaysFitsTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed(area.x() + 30, area.y() + 40, 500, 400);
    for (const QRect& wanted : {placed, QRect(area.x() + 200, area.y() + 100, area.width() * 2, area.height() * 3)}) {
        showForm();
        form->FormActivate();
        form->setGeometry(wanted);
        QApplication::processEvents();
        newForm();
        showForm();
        form->FormActivate();
        EXPECT_TRUE(area.contains(form->geometry())) << form->geometry().x() << "," << form->geometry().y();
        EXPECT_TRUE(wanted != placed || form->geometry() == placed); // where it was when it fits
    }
}

// Import puzzles...: a .non file and an XML set go into data/Imported.qlp,
// the tree selects the first new crossword, which then plays; a second
// import adds to the pack, and refusals come in the same one message.
TEST_F(MainFormTest, ImportAddsPuzzlesToThePlayersPackAndSelectsTheFirst)
{
    writeFile("boat.non", "title \"Boat\"\nwidth 3\nheight 2\nrows\n1\n3\ncolumns\n1\n2\n1\n");
    writeFile("set.xml", "<puzzleset><puzzle><title>Red dot</title><color name=\"red\" char=\"r\">f00</color>"
                         "<clues type=\"rows\"><line><count color=\"red\">1</count></line></clues>"
                         "<clues type=\"columns\"><line><count color=\"red\">1</count></line></clues></puzzle>"
                         "<puzzle><title>Two ways</title><clues type=\"rows\"><line><count>1</count></line>"
                         "<line><count>1</count></line></clues><clues type=\"columns\"><line><count>1</count></line>"
                         "<line><count>1</count></line></clues></puzzle></puzzleset>");
    // Ids of the pack's crosswords without the level digit, which the rating gives.
    auto imported = [&] {
        std::vector<std::string> ids;
        for (const auto& pack : form->rootCategory().children)
            if (pack->name == "Imported")
                for (const auto& node : static_cast<const TPackModelDir&>(*pack).children)
                    ids.push_back(static_cast<const TPackModelFile&>(*node).id);
        for (auto& id : ids)
            id.pop_back();
        return ids;
    };
    auto selectedId = [&] {
        return static_cast<TPackModelFile*>(TPackView::nodeOf(form->treeView()->currentItem()))->id;
    };
    form->FormActivate();
    form->setImportChooser([] { return QStringList{"boat.non", "set.xml"}; });
    form->ImportClick();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("2 crosswords were added"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("set.xml: Two ways: more than one picture fits its clues"), std::string::npos);
    EXPECT_EQ(imported(), (std::vector<std::string>{"Imported\\Boat_0_", "Imported\\Red dot_1_"}));
    const std::string boat = selectedId();
    EXPECT_EQ(boat.substr(0, boat.size() - 1), imported()[0]);

    open(boat);
    for (auto [c, r] : {std::pair{1, 0}, {0, 1}, {1, 1}, {2, 1}})
        click(c, r);
    EXPECT_EQ(notices.size(), 2u); // solved

    // Again: the pack keeps what it had, and the new one is numbered.
    form->setImportChooser([] { return QStringList{"boat.non"}; });
    form->ImportClick();
    EXPECT_EQ(imported(),
              (std::vector<std::string>{"Imported\\Boat_0_", "Imported\\Red dot_1_", "Imported\\Boat 2_0_"}));
    EXPECT_EQ(selectedId(), imported()[2] + boat.back());
    EXPECT_EQ(findCrossword(form->rootCategory(), boat)->solved, 1);

    // Stopped by Cancel, or by closing the window, an import writes nothing
    // and says nothing; the close waits until the import has unwound.
    auto packBytes = [] {
        QFile pack(QStringLiteral("data/Imported.qlp"));
        return pack.open(QIODevice::ReadOnly) ? pack.readAll() : QByteArray();
    };
    const QByteArray before = packBytes();
    ASSERT_FALSE(before.isEmpty());
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "cancel");
        // Posted before the import starts, so it comes before the import's end.
        QMetaObject::invokeMethod(
            form.get(),
            [&] {
                if (closing)
                    form->close();
                else
                    form->findChild<QProgressDialog*>()->findChild<QPushButton*>()->click();
            },
            Qt::QueuedConnection);
        form->ImportClick();
        EXPECT_EQ(packBytes(), before);
        EXPECT_EQ(imported().size(), 3u);
        EXPECT_EQ(notices.size(), 3u);
        QApplication::processEvents();
        EXPECT_EQ(form->profile() == nullptr, closing);
    }
}

} // namespace
