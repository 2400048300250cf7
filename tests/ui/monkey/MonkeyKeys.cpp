// The monkey's keys, sent as a keyboard sends them: focus moves and presses to
// whatever has the focus, and every access key of the window.
#include "MonkeyPlayer.h"

#include <QAbstractButton>
#include <QApplication>

static QAbstractButton *buttonBeingClicked(Form1 &f)
{
    for (QAbstractButton *button : f.findChildren<QAbstractButton *>()) {
        if (button->isDown())
            return button;
    }
    return nullptr;
}

void MonkeyPlayer::pressKey(Form1 &f)
{
    static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_Space, Qt::Key_Return};
    const Qt::Key key = keys[random_.below(int(std::size(keys)))];
    // Only a shown, enabled control has the keys; else the window (Tab then finds one).
    QWidget *focus = f.focusWidget();
    if (!focus || !focus->isVisible() || !focus->isEnabled())
        focus = &f;
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
    // A button clicks a moment after its key: the next actions wait for it, so a seed replays its run.
    if (buttonBeingClicked(f))
        accessKeyClock_.start();
}

bool MonkeyPlayer::waitingForAccessKeyClick()
{
    if (accessKeyClock_.isValid() && !window_->platform.ended && buttonBeingClicked(*window_->form) && accessKeyClock_.elapsed() < 2000)
        return true;
    accessKeyClock_.invalidate();
    return false;
}
