// The monkey's keys, as a keyboard sends them: to the focused control, and every access key.
#include "MonkeyPlayer.h"

#include <QAbstractButton>
#include <QApplication>

static bool aButtonIsDown(Form1 &f)
{
    const auto buttons = f.findChildren<QAbstractButton *>();
    return std::any_of(buttons.begin(), buttons.end(), [](const QAbstractButton *button) { return button->isDown(); });
}

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
    // A button clicks a moment after its key: the next actions wait for it, so a seed replays its run.
    if (aButtonIsDown(f))
        accessKeyClock_.start();
}

bool MonkeyPlayer::waitingForAccessKeyClick()
{
    if (window_->platform.ended || !aButtonIsDown(*window_->form) || accessKeyClock_.elapsed() >= 2000)
        accessKeyClock_.invalidate();  // the click is done (or never came)
    return accessKeyClock_.isValid();
}
