// The monkey's access keys and undo menu, on every screen: during a name
// entry and after a game the keys of the buttons hidden behind the entry
// panel, and the menus, must do nothing.
#include "MonkeyPlayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>

namespace {

// Every access key of the window: the throw buttons and their end-of-game
// roles, the start screen's buttons and options, and the two menus.
const char accessKeys[] = "KSVAULE1234P";

QAbstractButton *buttonBeingClicked(Form1 &f)
{
    for (QAbstractButton *button : f.findChildren<QAbstractButton *>()) {
        if (button->isDown())
            return button;
    }
    return nullptr;
}

} // namespace

void MonkeyPlayer::pressAccessKey(Form1 &f)
{
    const char key = accessKeys[random_.below(int(sizeof accessKeys) - 1)];
    QWidget *to = f.focusWidget() ? f.focusWidget() : &f;
    note(QStringLiteral("Alt+%1").arg(QLatin1Char(key)));
    QTest::keyClick(to, key, Qt::AltModifier);
    if (QWidget *popup = QApplication::activePopupWidget()) {
        note(QStringLiteral("(a menu opened: Escape)"));
        QTest::keyClick(popup, Qt::Key_Escape);
    }
    // A button clicks a moment after its access key: the next actions wait
    // for it, so that a seed replays the same run.
    if (buttonBeingClicked(f))
        accessKeyClock_.start();
}

void MonkeyPlayer::chooseUndoAnywhere(Form1 &f)
{
    chooseMenu(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus, QStringLiteral("undo"));
}

void MonkeyPlayer::keepAllAndTakeItBack(Form1 &f)
{
    // Leaves the dice and the throw buttons live while a row may be chosen:
    // the road by which they once stayed live behind the name entry.
    clickControl(f.CmdSäästäKaikki, QStringLiteral("CmdSäästäKaikki"));
    chooseUndoAnywhere(f);
}

bool MonkeyPlayer::waitingForAccessKeyClick()
{
    if (!accessKeyClock_.isValid())
        return false;
    if (!window_->platform.ended && buttonBeingClicked(*window_->form) && accessKeyClock_.elapsed() < 2000)
        return true;
    accessKeyClock_.invalidate();
    return false;
}
