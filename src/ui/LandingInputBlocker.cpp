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
    // The window a control, an action or a shortcut is part of: a popup menu
    // counts as part of the window it opens from; a message box of the window
    // (the close question, asked while the dice land) is a window of its own
    // and stays usable.
    for (QObject *o = receiver; o; o = o->parent()) {
        auto *widget = qobject_cast<QWidget *>(o);
        if (!widget)
            continue;
        QWidget *top = widget->window();
        if (top->windowType() != Qt::Popup || !top->parentWidget())
            return top == window_;
        o = top;
    }
    return false;
}

bool LandingInputBlocker::eventFilter(QObject *receiver, QEvent *event)
{
    const bool input = event->isInputEvent() || event->type() == QEvent::Shortcut;
    return input && belongsToWindow(receiver);
}
