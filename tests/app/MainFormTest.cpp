#include "GridText.h"
#include "TestGrids.h"
#include "WorkFolder.h"
#include "app/MainForm.h"
#include "app/TessellorApp.h"
#include "dialogs/PreviewFrm.h"
#include "widgets/ColorCursors.h"
#include "widgets/TColorMenu.h"
#include "widgets/TColorToolButton.h"
#include "config/CrossException.h"
#include "config/Localization.h"
#include "profile/ProfileLock.h"
#include "profile/UserConfig.h"
#include "profile/ProfileFile.h"
#include "app/PlaySession.h"
#include "packview/TPackView.h"
#include "widgets/GridWidget.h"
#include "widgets/HelpViewer.h"
#include "widgets/TCustomButton.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testgrids::cellsOf;
using testgrids::Rows;

// Every test runs in a working folder of its own holding the shipped
// language files, as the game does in its repository folder.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initTessellorResources();
        ASSERT_TRUE(work.isValid());
        newForm();
    }
    // A fresh window on the "Tester" profile; the old one, if any, shuts
    // down first and writes its profile.
    void newForm()
    {
        form.reset();
        CrossException::setDisplay([this](const std::string& text) { shownErrors.push_back(text); });
        form = std::make_unique<MainForm>(false);
        CrossException::setDisplay([this](const std::string& text) { shownErrors.push_back(text); });
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
    void useLanguage(const char* name, const char* lines)
    {
        QFile file(QStringLiteral("language/%1.lng").arg(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines);
        file.close();
        form->language().LoadLanguage(name);
    }
    void wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* viewport = form->mainWin()->viewport();
        QWheelEvent event(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    void TearDown() override
    {
        form.reset();
        CrossException::setDisplay(nullptr);
    }
    GridModel& grid() { return form->gridModel(); }
    GridWidget& widget() { return *form->grid(); }
    QPoint at(int c, int r) { return {widget().layout().cellX(c) + 2, widget().layout().cellY(r) + 2}; }
    void click(int c, int r, MouseButton button = MouseButton::Left, MouseFlags flags = {})
    {
        widget().pointer().press(at(c, r).x(), at(c, r).y(), button, flags);
    }
    void load(const std::vector<std::string>& rows)
    {
        grid().SetDataSource(testgrids::crossword(rows));
    }

    WorkFolder work;
    std::unique_ptr<MainForm> form;
    std::vector<std::string> shownErrors;
    std::vector<std::string> notices;
};

TEST(SolveSwitch, IsACaseSensitiveSubstringOfTheJoinedArguments)
{
    const struct {
        std::vector<const char*> args;
        bool found;
    } cases[] = {
        {{"tessellor", "/solve"}, true},
        {{"tessellor", "x/solvers"}, true},
        {{"tessellor", "/so", "lve"}, false}, // a blank comes between
        {{"tessellor", "a", "/solve"}, true},
        {{"tessellor", "/Solve"}, false},
        {{"tessellor"}, false},
    };
    for (auto c : cases)
        EXPECT_EQ(hasSolveSwitch(int(c.args.size()), c.args.data()), c.found) << c.args.back();
}

TEST_F(MainFormTest, StartsWithTheLogoSolvedAndItsClues)
{
    EXPECT_EQ(grid().name(), "logo");
    ASSERT_EQ(grid().width(), 32);
    ASSERT_EQ(grid().height(), 32);
    EXPECT_GT(grid().rowClueCount(), 0);
    EXPECT_GT(grid().colClueCount(), 0);
    int filled = 0;
    for (int c = 0; c < 32; ++c)
        for (int r = 0; r < 32; ++r) {
            const bool present = grid().solution(c, r) > 0;
            EXPECT_EQ(grid().cellState(c, r), present ? DefYes : Empty);
            filled += present;
        }
    EXPECT_GT(filled, 500);
    // The logo uses the colours it was drawn in, not just one.
    EXPECT_EQ(grid().solution(0, 0), 0);
    EXPECT_EQ(grid().solution(1, 3), 5);
    EXPECT_EQ(grid().solution(14, 14), 3);
    EXPECT_EQ(form->grid()->size(), QSize(widget().layout().controlWidth(), widget().layout().controlHeight()));
    EXPECT_TRUE(shownErrors.empty());
}

TEST_F(MainFormTest, SolverButtonOnlyWithTheSwitch)
{
    EXPECT_FALSE(form->actions().solve->isVisible());
    MainForm withSwitch(true);
    EXPECT_TRUE(withSwitch.actions().solve->isVisible());
}

TEST_F(MainFormTest, SolverClearsTheFieldSolvesAndReports)
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
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(grid().cellState(c, r), grid().solution(c, r) ? DefYes : DefNo) << c << "," << r;
            if (grid().solution(c, r)) {
                EXPECT_EQ(grid().cellColourIndex(c, r), grid().solution(c, r));
            }
        }
}

TEST_F(MainFormTest, SolverRefusesWideCrosswordsWithoutTouchingThem)
{
    std::vector<std::string> rows(2, std::string(101, '.'));
    rows[0][7] = '#';
    load(rows);
    grid().restoreCell(7, 0, DefYes, 1);
    grid().restoreCell(9, 1, Mark, 1);
    form->DB_SolveClick();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("101 x 2"), std::string::npos) << notices[0];
    EXPECT_EQ(grid().cellState(7, 0), DefYes);
    EXPECT_EQ(grid().cellState(9, 1), Mark);
    EXPECT_EQ(grid().cellState(0, 0), Empty);
}

TEST_F(MainFormTest, ZoomStopsAtBothEnds)
{
    widget().setCellSize(30);
    const QSize big = form->grid()->size();
    form->actions().zoomIn->trigger();
    EXPECT_EQ(widget().cellSize(), 30);
    EXPECT_EQ(form->grid()->size(), big);
    widget().setCellSize(3);
    form->actions().zoomOut->trigger();
    EXPECT_EQ(widget().cellSize(), 3);
    form->actions().zoomIn->trigger();
    EXPECT_EQ(widget().cellSize(), 4);
}

TEST_F(MainFormTest, KeyboardPlayWithUndoRedoClearAndMistakes)
{
    showForm(true);
    load({"#.#", "...", "#.#"});
    widget().setFocus();
    QWidget* g = &widget();
    auto key = [&](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(g, Qt::Key(k), mods); };
    key(Qt::Key_Z, Qt::ControlModifier); // nothing to undo: nothing happens
    key(Qt::Key_Space);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(cellsOf(grid()), (Rows{"#.#", "...", "..."}));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cellsOf(grid()), (Rows{"#..", "...", "..."}));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cellsOf(grid()), (Rows{"#.#", "...", "..."}));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", "...", "..."}));
    key(Qt::Key_Z, Qt::ControlModifier); // one step brings the whole field back
    EXPECT_EQ(cellsOf(grid()), (Rows{"#.#", "...", "..."}));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", "...", "..."}));

    // X crosses, M marks, Shift+arrow paints on as a drag; the cursor stays
    // inside the field.
    key(Qt::Key_Down);
    key(Qt::Key_X);
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Down);
    key(Qt::Key_M);
    EXPECT_EQ(cellsOf(grid()), (Rows{"...", ".xx", "+.."}));
    EXPECT_EQ(widget().pointer().cursorColumn(), 0);

    form->actions().mistakes->trigger();
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral("No mistakes"));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    key(Qt::Key_Right);
    key(Qt::Key_Space); // (1, 0) is background
    form->actions().mistakes->trigger();
    EXPECT_EQ(form->statusPanel(2)->text(), QStringLiteral("Mistakes: 1"));
    EXPECT_TRUE(grid().mistakeShown(1, 0));
    key(Qt::Key_X);
    EXPECT_FALSE(grid().mistakeShown(1, 0)); // until the next change

    // Tab leaves the grid as usual.
    key(Qt::Key_Tab);
    EXPECT_FALSE(widget().hasFocus());
}

TEST_F(MainFormTest, CrosswordPanelButtonFollowsTheTree)
{
    showForm();
    QAction* select = form->actions().selectCross;
    EXPECT_TRUE(select->isChecked());
    for (int i = 0; i < 3; ++i) {
        select->trigger();
        EXPECT_EQ(select->isChecked(), form->treeView()->isVisible()) << i;
    }
    EXPECT_FALSE(form->treeView()->isVisible());
    // The tool button is the same command.
    QWidget* button = form->gameBar()->widgetForAction(select);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(form->treeView()->isVisible());
    EXPECT_TRUE(select->isChecked());
}

TEST_F(MainFormTest, DrawingModesFormOneRadioGroup)
{
    const auto& a = form->actions();
    EXPECT_TRUE(a.mdBrush->isChecked());
    a.mdRect->trigger();
    EXPECT_EQ(widget().pointer().drawMode(), DrawMode::Rect);
    EXPECT_TRUE(a.mdRect->isChecked());
    EXPECT_FALSE(a.mdBrush->isChecked());
    a.mdLine->trigger();
    a.mdLine->trigger(); // a radio item stays checked when chosen again
    EXPECT_EQ(widget().pointer().drawMode(), DrawMode::Line);
    EXPECT_TRUE(a.mdLine->isChecked());
    EXPECT_FALSE(a.mdRect->isChecked());
}

TEST_F(MainFormTest, RevealChordTogglesOnlyTheFlag)
{
    showForm();
    load({"#.#", "...", "#.#"});
    const auto chord = Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
    QTest::keyClick(form->grid(), Qt::Key_NumLock, chord);
    EXPECT_TRUE(grid().revealOnLoad());
    EXPECT_EQ(grid().cellState(0, 0), Empty); // the open crossword stays as it is
    QTest::keyClick(form->grid(), Qt::Key_NumLock, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(grid().revealOnLoad()); // without Alt it is not the chord
    QTest::keyClick(form->grid(), Qt::Key_NumLock, chord);
    EXPECT_FALSE(grid().revealOnLoad());
    // Pressed on a child one level down, the key passes the window twice on
    // its way up; it still counts once.
    QTest::keyClick(form->menuBar(), Qt::Key_NumLock, chord);
    EXPECT_TRUE(grid().revealOnLoad());
}

TEST_F(MainFormTest, WheelScrollsByItsDeltaAndClamps)
{
    showForm();
    widget().setCellSize(30);
    QApplication::processEvents();
    QScrollBar* bar = form->mainWin()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 240);
    // Towards the player is down; both ends clamp.
    for (auto [delta, value] : {std::pair{-120, 120}, {120, 0}, {120, 0}, {-120 * 1000, bar->maximum()}}) {
        wheel(delta);
        EXPECT_EQ(bar->value(), value) << delta;
    }
}

TEST_F(MainFormTest, LanguageSetsMenuTextsAndHints)
{
    useLanguage("test", "main_win_menu_zoom_in=Bigger\r\nmain_win_menu_game=Play\r\nsuggest_button_active=Ask\r\n");
    EXPECT_EQ(form->actions().zoomIn->text(), QStringLiteral("Bigger"));
    EXPECT_EQ(form->actions().zoomIn->toolTip(), QStringLiteral("Bigger"));
    EXPECT_EQ(form->menuBar()->actions().at(0)->text(), QStringLiteral("Play"));
    // Keys the file lacks fall back to their English defaults.
    EXPECT_EQ(form->actions().clear->text(), QStringLiteral("Clear"));
    // Undo keeps its own caption whatever the language.
    EXPECT_EQ(form->actions().undo->text(), QStringLiteral("Undo"));
    EXPECT_EQ(form->findChild<TCustomButton*>("SuggestButton")->text(), QStringLiteral("Ask"));
}

TEST_F(MainFormTest, HoverStatusTextsAndToggle)
{
    showForm();
    QTest::mouseMove(form->grid(), at(4, 7));
    EXPECT_EQ(form->statusPanel(0)->text(), QStringLiteral("4 : 7"));
    EXPECT_FALSE(form->statusPanel(1)->text().isEmpty());
    EXPECT_TRUE(widget().pointer().crosshairShown());
    form->actions().showHover->trigger();
    EXPECT_FALSE(form->showHover());
    EXPECT_FALSE(form->actions().showHover->isChecked());
    EXPECT_FALSE(widget().pointer().crosshairShown()); // the repaint took it away
    QTest::mouseMove(form->grid(), at(5, 7));
    EXPECT_FALSE(widget().pointer().crosshairShown());
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
    QEvent cross(QEvent::User);
    QApplication::sendEvent(&thrower, &cross);
    EXPECT_TRUE(form->isClosing());
    ASSERT_EQ(shownErrors.size(), 1u);
    EXPECT_EQ(shownErrors[0], CrossException(30004).messageText(&form->language()));

    QEvent other(QEvent::Type(QEvent::User + 1));
    QApplication::sendEvent(&thrower, &other);
    ASSERT_EQ(shownErrors.size(), 2u);
    EXPECT_EQ(shownErrors[1], "disk on fire");
}

TEST_F(MainFormTest, ProfileKeepsProgressAndReopensTheLastCrossword)
{
    makePack("Fun", {{"Dots/Eye_0_1.ql", {"#.#", ".#.", "#.#"}}, {"Bar_0_0.ql", {"##", ".."}}});
    int asked = 0;
    form->setProfileChooser([&] {
        ++asked;
        return std::string(asked == 1 ? "../evil" : asked == 2 ? "" : "Tester");
    });
    form->FormActivate();
    EXPECT_EQ(asked, 3); // refused names are asked again
    ASSERT_NE(form->profile(), nullptr);
    EXPECT_EQ(grid().name(), "logo");

    open("Fun\\Dots\\Eye_0_1");
    click(1, 1);
    open("Fun\\Bar_0_0");
    open("Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(grid().cellState(1, 1), DefYes); // came back with the crossword
    EXPECT_EQ(grid().cellState(0, 0), Empty);
    widget().setCellSize(21);
    newForm(); // shutdown writes the profile
    form->FormActivate();
    EXPECT_EQ(grid().name(), "Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(grid().cellState(1, 1), DefYes);
    EXPECT_EQ(widget().cellSize(), 21);
    EXPECT_EQ(findCrossword(form->rootCategory(), "Fun\\Bar_0_0")->edited, 1);
    EXPECT_TRUE(shownErrors.empty());

    // A crossword that cannot be loaded: the error shows and the previous
    // one comes back with its progress.
    insertCrossword(form->rootCategory(), "Fun\\Ghost_0_1", "Fun\\Ghost_0", 1, false);
    open("Fun\\Ghost_0_1");
    EXPECT_EQ(shownErrors.size(), 1u);
    EXPECT_EQ(grid().name(), "Fun\\Dots\\Eye_0_1");
    EXPECT_EQ(grid().cellState(1, 1), DefYes);
}

// Two windows on one profile: the one that ended last used to overwrite the
// other's progress. The second is told and chooses another; a lock left by a
// crashed game (its file, no holder) is taken over.
TEST_F(MainFormTest, ProfileInUseElsewhereIsRefusedAndAStaleLockTakenOver)
{
    ProfileLock other;
    ASSERT_EQ(other.take(UserConfig::fileNameFor("Ann")), ProfileLock::Result::Taken);
    QFile stale("Bob.pfl.lock");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("12345\n");
    stale.close();
    std::vector<std::string> names = {"Ann", "Bob"};
    form->setProfileChooser([&] {
        const std::string n = names.front();
        names.erase(names.begin());
        return n;
    });
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

// A long id in the 120-pixel status panel keeps its end, the crossword's
// name (it once showed "tarter\\Shapes\\Plus_", cut on both sides).
TEST_F(MainFormTest, LongIdInTheStatusPanelKeepsTheCrosswordsName)
{
    makePack("Starter Collection", {{"Shapes and Figures/Plus_0_1.ql", {"#.#", ".#.", "#.#"}}});
    form->FormActivate();
    form->show();
    open("Starter Collection\\Shapes and Figures\\Plus_0_1");
    const QLabel* panel = form->statusPanel(1);
    EXPECT_TRUE(panel->text().endsWith(QStringLiteral("Plus_0"))) << panel->text().toStdString();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    EXPECT_EQ(panel->toolTip(), QStringLiteral("Starter Collection\\Shapes and Figures\\Plus_0"));
}

// A pack made by the standard zip program, next to a damaged one.
TEST_F(MainFormTest, OpensCrosswordsFromPacksAndRecordsTheSolvedOne)
{
    QDir().mkpath("src/Animals");
    QDir().mkpath("data");
    const auto bytes = testgrids::fileBytes({"#.#", ".#.", "#.#"}, "ignored");
    QFile member("src/Animals/Cat_0_1.ql");
    ASSERT_TRUE(member.open(QIODevice::WriteOnly));
    member.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    member.close();
    ASSERT_EQ(std::system("cd src && zip -q -r ../data/Test.qlp Animals"), 0);
    QFile bad("data/A_bad.qlp");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("no zip here");
    bad.close();

    form->FormActivate();
    ASSERT_EQ(shownErrors.size(), 1u);
    EXPECT_NE(shownErrors[0].find("A_bad.qlp"), std::string::npos);
    TPackModelFile* cat = findCrossword(form->rootCategory(), "Test\\Animals\\Cat_0_1");
    ASSERT_NE(cat, nullptr);
    EXPECT_EQ(form->treeView()->topLevelItemCount(), 1);

    form->statusPanel(0)->setText(QStringLiteral("17 : 4")); // a cell of the grid being left
    form->CrossSelected(cat);
    EXPECT_TRUE(form->statusPanel(0)->text().isEmpty());
    EXPECT_EQ(grid().name(), "Test\\Animals\\Cat_0_1");
    ASSERT_EQ(grid().width(), 3);
    EXPECT_EQ(grid().cellState(0, 0), Empty);
    EXPECT_EQ(grid().cellColourIndex(0, 0), 0);
    EXPECT_EQ(form->statusPanel(1)->text(), QStringLiteral("Test\\Animals\\Cat_0"));
    EXPECT_EQ(cat->edited, 1);
    EXPECT_EQ(form->rootCategory().editedCount, 1);

    // Solving it with the brush marks the catalogue and shows the notice.
    for (auto [c, r] : {std::pair{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}})
        click(c, r);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(cat->solved, 1);
    EXPECT_EQ(form->rootCategory().solvedCount, 1);

    // With the reveal flag the next load comes up solved.
    grid().setRevealOnLoad(true);
    form->CrossSelected(cat);
    EXPECT_EQ(grid().cellState(1, 1), DefYes);
    EXPECT_EQ(grid().cellState(1, 0), Empty);
}

TEST_F(MainFormTest, SuggestCountsDownThirtySecondsThenOffersOneCell)
{
    load({"#.", ".5"});
    TCustomButton* button = form->suggestButton();
    EXPECT_FALSE(button->isEnabled()); // idle until a crossword is opened
    form->StartSuggestWait();
    EXPECT_TRUE(form->suggestTimer()->isActive());
    std::vector<QString> captions;
    for (int tick = 0; tick < 60; ++tick) {
        form->SuggestTimerTimer();
        captions.push_back(button->text());
    }
    EXPECT_EQ(captions[2], QStringLiteral("Please, wait 28 second..."));
    EXPECT_EQ(captions[59], QStringLiteral("Click to suggest a course"));
    EXPECT_TRUE(button->isEnabled());

    // A click restarts the wait; until the next tick the button still works.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form->suggestCountdown().ticks(), 0);
    ASSERT_TRUE(grid().suggestedCell());
    EXPECT_EQ(*grid().suggestedCell(), std::make_pair(0, 0));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(*grid().suggestedCell(), std::make_pair(0, 1));
    form->SuggestTimerTimer();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(widget().suggestLit()); // the cell blinks with the ticks
    form->SuggestTimerTimer();
    EXPECT_FALSE(widget().suggestLit());

    // Undo and Clear keep the blinking; a brush change ends it.
    form->actions().clear->trigger();
    EXPECT_TRUE(grid().suggestedCell());
    click(1, 1);
    EXPECT_FALSE(grid().suggestedCell());
}

TEST_F(MainFormTest, SuggestWaitTextFromALanguageIsFilledSafely)
{
    useLanguage("odd", "suggest_button_wait=%s wait %d s %n\r\n");
    form->StartSuggestWait();
    form->SuggestTimerTimer();
    // The first placeholder wants a text: nothing is filled, nothing is read.
    EXPECT_EQ(form->suggestButton()->text(), QStringLiteral("%s wait %d s %n"));
}

TEST_F(MainFormTest, ColourMenuButtonAndCursorFollowTheCurrentColour)
{
    TColorMenu* menu = form->popupColorMenu();
    load({"#5.", "...", "..b"});
    EXPECT_EQ(form->colorButton()->color(), PaletteColor(3)); // each load starts dark grey
    menu->chooseItem(10); // the eleventh colour: red
    EXPECT_EQ(grid().currentColour(), PaletteColor(11));
    EXPECT_EQ(form->colorButton()->color(), PaletteColor(11));
    // Shift takes a cell's colour; the button shows it, the cursor carries it.
    grid().restoreCell(1, 0, DefYes, 5);
    MouseFlags shift;
    shift.shift = true;
    click(1, 0, MouseButton::Left, shift);
    EXPECT_EQ(form->colorButton()->color(), PaletteColor(5));
    widget().pointer().move(at(1, 0).x() + 1, at(1, 0).y() + 1, {});
    EXPECT_EQ(form->grid()->cursor().pixmap().toImage(), ColorCursors::cursor(25).pixmap().toImage());
}

TEST_F(MainFormTest, PreviewMirrorsEveryCellAtThreePixels)
{
    std::vector<std::string> rows(25, std::string(40, '.'));
    rows[3][7] = '5';
    load(rows);
    PreviewFrm* preview = form->preview();
    EXPECT_EQ(preview->picture().size(), QSize(120, 75));
    EXPECT_TRUE(preview->isHidden());
    const QImage before = preview->picture();
    grid().SetColor(PaletteColor(5));
    click(7, 3);
    const QImage after = preview->picture();
    int changed = 0;
    for (int y = 0; y < 75; ++y)
        for (int x = 0; x < 120; ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_EQ(x / 3, 7);
                EXPECT_EQ(y / 3, 3);
                EXPECT_EQ(after.pixel(x, y) & 0xFFFFFF, 0x3333FFu);
            }
    EXPECT_EQ(changed, 9);
    // A blank mark shows white.
    click(7, 3, MouseButton::Right);
    EXPECT_EQ(preview->picture().pixel(22, 10) & 0xFFFFFF, 0xFFFFFFu);

    // Showing it redraws the whole picture from the grid.
    grid().restoreCell(0, 0, DefYes, 11);
    form->actions().preview->trigger();
    EXPECT_FALSE(preview->isHidden());
    EXPECT_TRUE(form->actions().preview->isChecked());
    EXPECT_EQ(preview->picture().pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    form->actions().preview->trigger();
    EXPECT_TRUE(preview->isHidden());
    EXPECT_FALSE(form->actions().preview->isChecked());
}

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
    auto at = [&](QTreeWidgetItem* item) { return tree->visualItemRect(item).center(); };
    const std::string rule = QString(11, QChar(0x2014)).toStdString(); // in the system code page
    auto hint = [&] { return form->treeHint().toStdString(); };

    form->TreeViewMouseMove(at(zoo->child(1)));
    EXPECT_EQ(hint(), " Crossword # Owl_1 (solved)\n" + rule + "\n Crossword type - Color\n Difficulty level - Very difficult");
    form->TreeViewMouseMove(at(zoo));
    EXPECT_NE(hint().find("Edited - 1"), std::string::npos);
    // The same node again does not rebuild, even when the counts changed.
    findCrossword(form->rootCategory(), "Zoo\\Cat_0_1")->edited = 1;
    recount(form->rootCategory());
    form->TreeViewMouseMove(at(zoo) + QPoint(1, 0));
    EXPECT_NE(hint().find("Edited - 1"), std::string::npos);
    // Empty space forgets the node, so coming back rebuilds it.
    form->TreeViewMouseMove(QPoint(5, tree->viewport()->height() - 2));
    form->TreeViewMouseMove(at(zoo));
    EXPECT_NE(hint().find("Edited - 2"), std::string::npos);
    // Another language rebuilds the hint of the node under the mouse.
    useLanguage("hints", "tree_view_hint_category=Folder %s: %d of %d, %d in all\r\n");
    form->TreeViewMouseMove(at(zoo) + QPoint(2, 0));
    EXPECT_EQ(hint(), "Folder Zoo: 1 of 2, 2 in all");
}

TEST_F(MainFormTest, AutosaveOnOpenAndWhilePlayingWithOneMessageOnFailure)
{
    makePack("Fun", {{"Eye_0_1.ql", {"#.#", ".#.", "#.#"}}});
    form->FormActivate();
    ASSERT_FALSE(QFile::exists("Tester.pfl"));
    open("Fun\\Eye_0_1");
    ASSERT_TRUE(QFile::exists("Tester.pfl")); // opening writes the profile
    EXPECT_TRUE(form->session()->autosaveTimer()->isActive());

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

    // A disk that refuses: the player hears it once, and play goes on.
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
}

TEST_F(MainFormTest, ClockCountsWhileTheWindowIsActiveAndShowsInTheNotice)
{
    makePack("Fun", {{"Dot_0_1.ql", {"#.", ".."}}, {"Bar_0_1.ql", {"##", ".."}}});
    std::int64_t now = 0;
    form->session()->setTimeSourceForTesting([&] { return now; });
    showForm(true);
    form->FormActivate();
    open("Fun\\Dot_0_1");
    EXPECT_TRUE(form->session()->clockRunning());
    now += 65'000;
    QTest::qWait(1100); // one tick of the status bar clock
    EXPECT_EQ(form->statusPanel(3)->text(), QStringLiteral("1:05"));

    // Another crossword has a clock of its own; coming back resumes the first.
    open("Fun\\Bar_0_1");
    EXPECT_EQ(form->session()->seconds(), 0u);
    now += 10'000;
    open("Fun\\Dot_0_1");
    EXPECT_EQ(form->session()->seconds(), 65u);
    EXPECT_EQ(form->profile()->playSeconds("Fun\\Bar_0_1"), 10u);

    now += 2'000;
    click(0, 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Time: 1:07"), std::string::npos) << notices[0];
    // Solved, the clock stands still, also when the crossword is reopened.
    now += 30'000;
    EXPECT_EQ(form->session()->seconds(), 67u);
    open("Fun\\Dot_0_1");
    EXPECT_FALSE(form->session()->clockRunning());
    form->ShowLogo();
    EXPECT_TRUE(form->statusPanel(3)->text().isEmpty());
}

TEST_F(MainFormTest, WindowComesBackWhereItWasAndAlwaysFitsTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    auto restartWith = [&](const QRect& geometry) {
        form->setGeometry(geometry);
        QApplication::processEvents();
        newForm();
        showForm();
        form->FormActivate();
    };
    showForm();
    form->FormActivate();
    restartWith(QRect(area.x() + 30, area.y() + 40, 500, 400));
    EXPECT_EQ(form->geometry(), QRect(area.x() + 30, area.y() + 40, 500, 400));
    restartWith(QRect(area.x() + 200, area.y() + 100, area.width() * 2, area.height() * 3));
    EXPECT_TRUE(area.contains(form->geometry())) << form->geometry().x() << "," << form->geometry().y();
}

TEST_F(MainFormTest, CtrlWheelZoomsAndFitShowsTheWholeCrossword)
{
    std::vector<std::string> rows(30, std::string(40, '.'));
    for (int r = 0; r < 30; ++r)
        for (int c = r % 3; c < 40; c += 3)
            rows[std::size_t(r)][std::size_t(c)] = '#';
    load(rows);
    showForm();
    widget().setCellSize(12);
    // Each step: a wheel delta and the cell size after it; half a notch
    // waits for the other half.
    for (auto [delta, size] : {std::pair{120, 13}, {-240, 11}, {60, 11}, {60, 12}}) {
        wheel(delta, Qt::ControlModifier);
        EXPECT_EQ(widget().cellSize(), size) << delta;
    }
    EXPECT_EQ(form->mainWin()->verticalScrollBar()->value(), 0);

    form->actions().zoomFit->trigger();
    QApplication::processEvents();
    const QSize room = form->mainWin()->maximumViewportSize();
    EXPECT_LE(widget().layout().controlWidth(), room.width());
    EXPECT_LE(widget().layout().controlHeight(), room.height());
    widget().setCellSize(widget().cellSize() + 1);
    EXPECT_TRUE(widget().layout().controlWidth() > room.width() || widget().layout().controlHeight() > room.height());
}

// Import puzzles...: a .non file and an XML set go into data/Imported.qlp,
// the tree selects the first new crossword, which then plays; a second
// import adds to the pack, and refusals come in the same one message.
TEST_F(MainFormTest, ImportAddsPuzzlesToThePlayersPackAndSelectsTheFirst)
{
    auto write = [](const char* name, const char* text) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("boat.non", "title \"Boat\"\nwidth 3\nheight 2\nrows\n1\n3\ncolumns\n1\n2\n1\n");
    write("set.xml", "<puzzleset><puzzle><title>Red dot</title><color name=\"red\" char=\"r\">f00</color>"
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
        for (auto& id : ids) id.pop_back();
        return ids;
    };
    form->FormActivate();
    form->setImportChooser([] { return QStringList{"boat.non", "set.xml"}; });
    form->ImportClick();

    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("2 crosswords were added"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("set.xml: Two ways: more than one picture fits its clues"), std::string::npos);
    EXPECT_TRUE(QFileInfo::exists("data/Imported.qlp"));
    TPackModel* selected = TPackView::nodeOf(form->treeView()->currentItem());
    ASSERT_NE(selected, nullptr);
    ASSERT_TRUE(selected->isFile());
    auto* boat = static_cast<TPackModelFile*>(selected);
    const std::string boatId = boat->id; // the node goes with the next rescan
    EXPECT_EQ(boatId.substr(0, boatId.size() - 1), "Imported\\Boat_0_");
    EXPECT_EQ(imported(), (std::vector<std::string>{"Imported\\Boat_0_", "Imported\\Red dot_1_"}));

    form->CrossSelected(boat);
    ASSERT_EQ(grid().width(), 3);
    ASSERT_EQ(grid().height(), 2);
    for (auto [c, r] : {std::pair{1, 0}, {0, 1}, {1, 1}, {2, 1}})
        click(c, r);
    EXPECT_EQ(notices.size(), 2u); // solved

    // Again: the pack keeps what it had, and the new one is numbered.
    form->setImportChooser([] { return QStringList{"boat.non"}; });
    form->ImportClick();
    EXPECT_EQ(imported(), (std::vector<std::string>{"Imported\\Boat_0_", "Imported\\Red dot_1_", "Imported\\Boat 2_0_"}));
    EXPECT_EQ(static_cast<TPackModelFile*>(TPackView::nodeOf(form->treeView()->currentItem()))->id, imported()[2] + boatId.back());
    EXPECT_EQ(findCrossword(form->rootCategory(), boatId)->solved, 1);
}

} // namespace
