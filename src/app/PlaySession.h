#pragma once

#include "config/SafeFormat.h"
#include "profile/PlayClock.h"
#include "profile/WindowPlacement.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>

#include <string>

class MainForm;
class QTimer;

// What the main window keeps for the player beside the crossword itself:
// the clock of the open crossword, the profile written while playing (so a
// crash loses at most a minute), and the window's place on the screen.
class PlaySession : public QObject {
    Q_OBJECT
public:
    static constexpr int kAutosaveMs = 60 * 1000;

    explicit PlaySession(MainForm& form);

    // The open crossword is about to be left (or the program to end): its
    // time goes into the profile.
    void crosswordLeaving();
    // A crossword (or the logo) is in the grid now; a crossword of the
    // profile starts its clock where it stopped, and the profile is written.
    void crosswordOpened();
    // The open crossword has just been solved: its clock stops for good.
    void crosswordSolved();
    // The window became active or inactive; the clock counts only while the
    // player can see and play.
    void activationChanged();

    // Writes the profile when it differs from the file: the open
    // crossword's progress and time and the window's place go in first.
    // A failure shows error 30007 once (until a write succeeds again) and
    // play goes on. True when the file is as the profile holds.
    bool saveNow();
    // Clock and window into the profile, for the write at exit.
    void storeForExit();

    // Seconds on the open crossword, and as the status bar shows them.
    std::uint32_t seconds() const;
    std::string clockText() const { return ::clockText(seconds()); }
    bool clockRunning() const { return clock_.running(); }
    // The id the clock counts for; empty for the logo or without a profile.
    const std::string& timedId() const { return timedId_; }
    QTimer* autosaveTimer() const { return autosave_; }

    // The window at its default size, centred, shrunk to fit the screen.
    void placeAtStart();
    // The window where the profile left it, fitted into the screen.
    void restoreWindow();
    // The window was moved, resized, maximised or restored: the profile
    // keeps its place from now on. (Read back at once, the geometry of a
    // window that was just placed may still be the old one until the
    // window system confirms it; the events come after.)
    void windowChanged();
    WindowPlacement currentPlacement() const;

    // Tests drive the clock with their own time.
    void setTimeSourceForTesting(std::function<std::int64_t()> now) { now_ = std::move(now); }

private:
    std::int64_t now() const;
    void updateClock();
    void showClock();
    void applyPlacement(WindowPlacement wanted, bool centre);

    MainForm& form_;
    PlayClock clock_;
    std::string timedId_;
    bool frozen_ = false; // the timed crossword is solved
    QElapsedTimer steady_;
    std::function<std::int64_t()> now_;
    QTimer* tick_ = nullptr;
    QTimer* autosave_ = nullptr;
    bool failureShown_ = false;
};
