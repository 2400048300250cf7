#include "ui/LandingInputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

LandingInputBlocker::LandingInputBlocker(QWidget *window) : window_(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

LandingInputBlocker::~LandingInputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool LandingInputBlocker::belongsToWindow(QObject *receiver) const
{
    if (auto *window = qobject_cast<QWindow *>(receiver))
        return window == window_->windowHandle();
    // Controls, menus and their actions all descend from the window; a
    // message box of its own (the close question) does not and stays usable.
    for (QObject *o = receiver; o; o = o->parent()) {
        if (o == window_)
            return true;
    }
    return false;
}

bool LandingInputBlocker::eventFilter(QObject *receiver, QEvent *event)
{
    const bool input = event->isInputEvent() || event->type() == QEvent::Shortcut;
    return input && belongsToWindow(receiver);
}
