// The monkey's keys: what a player without a mouse presses, sent to whatever
// has the focus, as a keyboard sends them.
#include "MonkeyPlayer.h"

namespace {

struct MonkeyKey {
    Qt::Key key;
    const char *name;
    int weight;
};

// Moving the focus, and pressing what has it.
const MonkeyKey keys[] = {
    {Qt::Key_Tab, "Tab", 4}, {Qt::Key_Backtab, "Shift+Tab", 2}, {Qt::Key_Up, "Up", 2},
    {Qt::Key_Down, "Down", 3}, {Qt::Key_Space, "Space", 6},    {Qt::Key_Return, "Enter", 2},
};

} // namespace

void MonkeyPlayer::pressKey(Form1 &f)
{
    int total = 0;
    for (const MonkeyKey &k : keys)
        total += k.weight;
    int pick = random_.below(total);
    const MonkeyKey *key = keys;
    while (pick >= key->weight)
        pick -= (key++)->weight;

    // A keyboard reaches only a shown, enabled control; without one the
    // window itself takes the key (Tab then finds a control).
    QWidget *focus = f.focusWidget();
    if (!focus || !focus->isVisible() || !focus->isEnabled())
        focus = &f;
    note(QStringLiteral("key %1 on %2 %3")
             .arg(QString::fromLatin1(key->name), QString::fromLatin1(focus->metaObject()->className()),
                  focus->accessibleName()));
    QTest::keyClick(focus, key->key);
}
