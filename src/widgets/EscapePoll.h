#pragma once

#include <QObject>

// Keeps the program responsive to exactly one thing during a long run on the
// GUI thread: the Escape key. While an EscapePoll exists, every keyboard and
// mouse event is swallowed before it reaches any widget, and an Escape press
// is remembered. poll() lets pending events (paints included) be processed
// and reports whether Escape was pressed since the previous poll.
class EscapePoll : public QObject {
    Q_OBJECT
public:
    EscapePoll();
    ~EscapePoll() override;

    bool poll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool escape_ = false;
};
