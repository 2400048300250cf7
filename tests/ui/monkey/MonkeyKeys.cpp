// The monkey's keys, as a keyboard sends them: to the focused control, and every access key.
#include "MonkeyPlayer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimerEvent>

void MonkeyPlayer::pressKey(Form1 &f)
{
    static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_Space, Qt::Key_Return};
    const Qt::Key key = keys[random_.below(int(std::size(keys)))];
    // Only a shown, enabled control has the keys; else the window (Tab then finds one).
    QWidget *focus = f.focusWidget() && f.focusWidget()->isVisible() && f.focusWidget()->isEnabled() ? f.focusWidget() : &f;
    note(QStringLiteral("key %1 on %2 %3").arg(QKeySequence(key).toString(), QString::fromLatin1(focus->metaObject()->className()), focus->accessibleName()));
    QTest::keyClick(focus, key);
}

void MonkeyPlayer::pressAccessKey(Form1 &f)
{
    const char key = "KSVAULE1234P"[random_.below(12)];  // the buttons, options and menus
    note(QStringLiteral("Alt+%1").arg(QLatin1Char(key)));
    QTest::keyClick(f.focusWidget() ? f.focusWidget() : &f, key, Qt::AltModifier);
    if (QWidget *popup = QApplication::activePopupWidget())
        QTest::keyClick(popup, Qt::Key_Escape);
}

// A button clicked by its access key clicks 100 ms later, from a timer of its
// own, whatever has happened meanwhile. The monkey is that timer's clock: the
// timer's own events are dropped, and the click comes after as many actions
// as the seed says, so that no click lands where the machine's speed puts it.
void MonkeyPlayer::watchDelayedClicks(Form1 &f)
{
    buttons_ = f.findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons_)
        button->installEventFilter(this);
}

bool MonkeyPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Timer && static_cast<QTimerEvent *>(event)->timerId() != landingTimer_)
        return true;
    return QObject::eventFilter(watched, event);
}

void MonkeyPlayer::scheduleDelayedClick()
{
    if (delayedClickAt_ >= 0 || window_->platform.ended)
        return;
    const auto dispatcher = QAbstractEventDispatcher::instance();
    const bool pending = std::any_of(buttons_.begin(), buttons_.end(), [dispatcher](QAbstractButton *button) {
        return !dispatcher->registeredTimers(button).isEmpty();
    });
    // Mostly before the next action, as a player waits; now and then a few
    // actions later, as a fast hand or a screen reader's press meets it.
    if (pending)
        delayedClickAt_ = figures_.actions + 1 + (random_.percent(75) ? 0 : 1 + random_.below(3));
}

void MonkeyPlayer::landDelayedClick()
{
    delayedClickAt_ = -1;
    const int before = figures_.delayedClicks;
    const auto dispatcher = QAbstractEventDispatcher::instance();
    for (QAbstractButton *button : std::as_const(buttons_)) {
        for (const QAbstractEventDispatcher::TimerInfo &timer : dispatcher->registeredTimers(button)) {
            note(QStringLiteral("the delayed click of %1 comes").arg(button->text()));
            ++figures_.delayedClicks;
            landingTimer_ = timer.timerId;
            QTimerEvent event(timer.timerId);
            QCoreApplication::sendEvent(button, &event);
            landingTimer_ = 0;
        }
    }
    if (figures_.delayedClicks == before)
        note(QStringLiteral("(the delayed click is gone)"));
}
