#include "ui/AccessKeyFilter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcutEvent>
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

namespace {

// Hands an access key shared by a menu title and a button shown in `window`
// to the button: Qt would take the two for one ambiguous key, only moving the
// focus between them, and a menu's title keeps its key even while greyed.
class ButtonsFirst : public QObject {
public:
    explicit ButtonsFirst(QWidget *window) : QObject(window), window_(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut || !receiver->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(receiver);
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        const bool toMenuBar = qobject_cast<QMenuBar *>(widget) != nullptr;
        if (widget->window() != window_ || (!toMenuBar && !shortcut->isAmbiguous()))
            return false;
        for (QAbstractButton *button : window_->findChildren<QAbstractButton *>()) {
            if (button->isVisible() && button->isEnabled()
                && QKeySequence::mnemonic(button->text()) == shortcut->key()) {
                button->animateClick();
                return true;
            }
        }
        return false;
    }

private:
    QWidget *window_;
};

} // namespace

void giveButtonsTheirAccessKeys(QWidget *window)
{
    new ButtonsFirst(window);
}
