#include "game/ComputerPlayer.h"

#include "game/PerfectPlay.h"
#include "game/Platform.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/KeyboardLabel.h"

#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>

ComputerPlayer::ComputerPlayer(Form1 &form, Platform &platform) : form_(form), platform_(platform)
{
}

void ComputerPlayer::lookAtTheGame()
{
    if (!form_.computerToPlay() || form_.programEnded()) {
        hold();
        return;
    }
    if (stepPending_)
        return;
    stepPending_ = true;
    platform_.afterComputerPause(this, [this, scheduled = ++pendingStep_] {
        if (scheduled != pendingStep_ || !stepPending_)
            return;
        stepPending_ = false;
        step();
    });
}

void ComputerPlayer::hold()
{
    stepPending_ = false;
    ++pendingStep_;
}

void ComputerPlayer::press(QWidget *control)
{
    const QScopedValueRollback<bool> pressing(pressing_, true);
    if (auto *button = qobject_cast<QPushButton *>(control))
        button->click();
    else
        keyboard::click(*static_cast<EventLabel *>(control));
}

void ComputerPlayer::step()
{
    const strategy::Table *table = form_.strategyTable();
    if (!form_.computerToPlay() || !table)
        return;
    Form1 &f = form_;
    const bool marked = std::any_of(f.rethrowMarks.begin(), f.rethrowMarks.end(), [](auto mark) { return mark == 1; });
    if (f.mayRecord) {
        const strategy::Action row = strategy::advise(*table, sheetOf(f, f.currentPlayer), 3, f.diceValues);
        if (!std::isfinite(row.value))
            return;  // a sheet no game can reach: no move rather than a wrong one
        press(f.categoryHeadings[std::size_t(row.category)]);
    } else if (f.throwCount == 0) {
        press(f.CmdKaikkiUudelleen);
    } else if (marked) {
        press(f.CmdValitutUudelleen);  // the dice it marked in its previous step
    } else {
        const strategy::Action action = strategy::advise(*table, sheetOf(f, f.currentPlayer), f.throwCount, f.diceValues);
        if (!std::isfinite(action.value))
            return;
        if (action.kind == strategy::Action::Kind::Record) {
            press(f.CmdSäästäKaikki);
        } else {
            const std::array<bool, 5> thrown = diceToThrowAgain(action.keep, f.diceValues);
            if (std::all_of(thrown.begin(), thrown.end(), [](bool t) { return t; })) {
                press(f.CmdKaikkiUudelleen);
            } else {
                // The marks show for a pause before the marked dice are thrown.
                for (std::size_t d = 0; d < thrown.size(); ++d) {
                    if (thrown[d])
                        press(f.dice[d]);
                }
            }
        }
    }
    // A press that found its control unusable leaves the turn where it was.
    lookAtTheGame();
}
