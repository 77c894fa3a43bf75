#include "widgets/EscapePoll.h"

#include <QCoreApplication>
#include <QKeyEvent>

EscapePoll::EscapePoll()
{
    QCoreApplication::instance()->installEventFilter(this);
}

EscapePoll::~EscapePoll()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool EscapePoll::poll()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const bool pressed = escape_;
    escape_ = false;
    return pressed;
}

bool EscapePoll::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            escape_ = true;
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}
