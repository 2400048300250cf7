#include "ui/AccessKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

bool AccessKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // AltGr, which types characters such as '@' on many keyboards, does
        // not come as Alt.
        if ((key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier)
            && !key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void dropAccessKeyLetters(QWidget *textBox)
{
    textBox->installEventFilter(new AccessKeyFilter(textBox));
}
