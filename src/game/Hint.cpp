// The hint: what perfect play would do now, shown in the heading.
#include "game/PerfectPlay.h"
#include "game/PerfectPlayTable.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QMenu>
#include <cmath>

void Form1::MenuVihje_Click()
{
    const GameView game = view();
    const Dice &dice = game.dice;
    // Before the first throw there is nothing to weigh.
    if (!game.mayRecord && game.throwsMade == 0) {
        showHint(hintText({}, false, dice));
        return;
    }
    const strategy::Table *table = perfectPlayTable::ifReady();
    if (!table) {
        // The first hint of a run comes once the table is there, unless the
        // player has acted meanwhile.
        hintAsked_ = true;
        perfectPlayTable::whenReady(this, [this](const strategy::Table &) {
            if (hintAsked_ && MenuPeli->menuAction()->isEnabled() && !computerToPlay())
                MenuVihje_Click();
        });
        return;
    }
    hintAsked_ = false;
    // After a keep-all or the third throw only the row is left to choose; a
    // keep-all taken back leaves every action open again.
    const strategy::Action action =
        strategy::advise(*table, game.sheets[std::size_t(game.currentPlayer)], game.throwsToWeigh(), dice);
    if (!std::isfinite(action.value))
        return;  // a sheet no game can reach: no hint rather than a wrong one
    showHint(hintText(action, game.diceLocked(), dice));
}

void Form1::showHint(const QString &text)
{
    if (!hintShown_)
        headingBeforeHint_ = LblOtsikko->caption();
    hintShown_ = true;
    LblOtsikko->setCaption(text);
}

void Form1::takeBackHint()
{
    hintAsked_ = false;
    if (!hintShown_)
        return;
    hintShown_ = false;
    LblOtsikko->setCaption(headingBeforeHint_);
}
