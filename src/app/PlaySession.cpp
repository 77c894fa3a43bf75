#include "app/PlaySession.h"

#include "app/MainForm.h"
#include "config/CrossException.h"
#include "profile/UserConfig.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int kDefaultWidth = 757;
constexpr int kDefaultHeight = 596;
constexpr int kClockPanel = 3;
}

PlaySession::PlaySession(MainForm& form) : QObject(&form), form_(form)
{
    steady_.start();
    tick_ = new QTimer(this);
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, &PlaySession::showClock);
    autosave_ = new QTimer(this);
    autosave_->setInterval(kAutosaveMs);
    connect(autosave_, &QTimer::timeout, this, &PlaySession::saveNow);
}

std::int64_t PlaySession::now() const
{
    return now_ ? now_() : steady_.elapsed();
}

std::uint32_t PlaySession::seconds() const
{
    return clock_.seconds(now());
}

void PlaySession::crosswordLeaving()
{
    UserConfig* profile = form_.profile();
    if (profile && !timedId_.empty())
        profile->setPlaySeconds(timedId_, seconds());
}

void PlaySession::crosswordOpened()
{
    UserConfig* profile = form_.profile();
    const std::string& name = form_.gridModel().name();
    // Only a crossword that has its entry in the profile has a clock.
    timedId_.clear();
    if (profile && name != "logo" && profile->currentState() && profile->currentId() == name)
        timedId_ = name;
    clock_.reset(timedId_.empty() ? 0 : profile->playSeconds(timedId_));
    frozen_ = !timedId_.empty() && profile->IsSolved(timedId_);
    updateClock();
    if (profile) {
        autosave_->start();
        if (!timedId_.empty())
            saveNow();
    }
}

void PlaySession::crosswordSolved()
{
    clock_.run(false, now());
    frozen_ = true;
    updateClock();
    crosswordLeaving();
}

void PlaySession::activationChanged()
{
    updateClock();
}

void PlaySession::updateClock()
{
    const bool run = !timedId_.empty() && !frozen_ && form_.isActiveWindow() && !form_.isClosing();
    clock_.run(run, now());
    if (run)
        tick_->start();
    else
        tick_->stop();
    showClock();
}

void PlaySession::showClock()
{
    QLabel* panel = form_.statusPanel(kClockPanel);
    if (timedId_.empty())
        panel->clear();
    else
        panel->setText(QString::fromStdString(clockText()));
}

void PlaySession::storeForExit()
{
    crosswordLeaving();
}

void PlaySession::windowChanged()
{
    UserConfig* profile = form_.profile();
    if (profile && !form_.isMinimized())
        profile->setWindow(currentPlacement());
}

bool PlaySession::saveNow()
{
    UserConfig* profile = form_.profile();
    if (!profile || form_.isClosing())
        return false;
    storeForExit();
    try {
        if (form_.gridModel().hasCrossword())
            profile->SaveProgress(form_.gridModel());
        profile->WriteProfileIfChanged();
        failureShown_ = false;
        return true;
    } catch (const CrossException& e) {
        if (!failureShown_) {
            failureShown_ = true;
            e.Show();
        }
    } catch (const std::exception&) {
        if (!failureShown_) {
            failureShown_ = true;
            CrossException(30007).Show();
        }
    }
    return false;
}

// ------------------------------------------------------------------ window

WindowPlacement PlaySession::currentPlacement() const
{
    const bool maximised = form_.isMaximized();
    const QRect normal = maximised && form_.normalGeometry().isValid() ? form_.normalGeometry() : form_.geometry();
    return {normal.x(), normal.y(), normal.width(), normal.height(), maximised};
}

void PlaySession::placeAtStart()
{
    applyPlacement({0, 0, kDefaultWidth, kDefaultHeight, false}, true);
}

void PlaySession::restoreWindow()
{
    UserConfig* profile = form_.profile();
    if (profile && profile->window())
        applyPlacement(*profile->window(), false);
    else
        applyPlacement(currentPlacement(), false);
}

void PlaySession::applyPlacement(WindowPlacement wanted, bool centre)
{
    const QRect wantedRect(wanted.x, wanted.y, wanted.width, wanted.height);
    const QScreen* screen = QGuiApplication::screenAt(wantedRect.center());
    if (!screen)
        screen = form_.screen() ? form_.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    FrameMargins frame;
    if (form_.isVisible()) {
        const QRect outer = form_.frameGeometry(), inner = form_.geometry();
        frame = {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                 outer.bottom() - inner.bottom()};
    }
    WindowPlacement w = fitInto(wanted, {area.x(), area.y(), area.width(), area.height()}, frame, kDefaultWidth,
                                kDefaultHeight, centre);
    form_.setGeometry(w.x, w.y, w.width, w.height);
    if (w.maximised)
        form_.setWindowState(form_.windowState() | Qt::WindowMaximized);
    if (UserConfig* profile = form_.profile())
        profile->setWindow(w);
}
