#include "game/ComputerPlayer.h"

#include "game/PerfectPlay.h"
#include "game/PerfectPlayTable.h"
#include "game/Platform.h"
#include "strategy/Levels.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/KeyboardLabel.h"

#include <QApplication>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTime>
#include <algorithm>

ComputerPlayer::ComputerPlayer(Form1 &form, Platform &platform) : form_(form), platform_(platform)
{
}

void ComputerPlayer::newGame(const QTime &clock)
{
    draws_ = DiceGenerator(std::uint32_t(clock.msecsSinceStartOfDay()) + 1u);
}

void ComputerPlayer::lookAtTheGame()
{
    if (!form_.computerToPlay() || form_.programEnded() || form_.windowOpen()) {
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

void ComputerPlayer::waitForTable()
{
    // The pause has passed: the step comes as soon as the table is there.
    stepPending_ = true;
    perfectPlayTable::whenReady(this, [this, scheduled = ++pendingStep_](const strategy::Table &) {
        if (scheduled != pendingStep_ || !stepPending_)
            return;
        stepPending_ = false;
        step();
    });
}

void ComputerPlayer::press(QWidget *control)
{
    // A player reading the list or waiting keeps the focus where it is.
    QWidget *focus = form_.focusWidget();
    {
        const QScopedValueRollback<bool> pressing(pressing_, true);
        if (auto *button = qobject_cast<QPushButton *>(control))
            button->click();
        else
            keyboard::click(*static_cast<EventLabel *>(control));
    }
    // Once the turn is a player's, the focus has gone where the turn starts.
    if (focus && form_.focusWidget() != focus && focus->isVisible() && focus->isEnabled() && form_.computerToPlay())
        focus->setFocus(Qt::OtherFocusReason);
}

void ComputerPlayer::step()
{
    if (!form_.computerToPlay())
        return;
    // A message shown meanwhile holds the window: the step waits another pause.
    if (QApplication::activeModalWidget()) {
        lookAtTheGame();
        return;
    }
    const GameView game = form_.view();
    const std::size_t me = std::size_t(game.currentPlayer);
    Form1 &f = form_;
    if (!game.mayRecord && game.throwsMade == 0) {
        press(f.CmdKaikkiUudelleen);
    } else if (std::find(game.marked.begin(), game.marked.end(), true) != game.marked.end()) {
        press(f.CmdValitutUudelleen);  // the dice it marked in its previous step
    } else {
        const strategy::Table *table = perfectPlayTable::ifReady();
        if (!table) {
            waitForTable();
            return;
        }
        const std::vector<strategy::Action> options =
            strategy::choices(*table, game.sheets[me], game.throwsToWeigh(), game.dice);
        if (options.empty()) {
            f.computerCannotPlay();  // a sheet no game can reach: no move rather than a wrong one
            return;
        }
        const strategy::Action &choice = options[strategy::pick(options, *game.computers[me], draws_.next())];
        if (choice.kind == strategy::Action::Kind::Record) {
            // Keeping all comes first; the row is chosen in the next step.
            press(game.diceLocked() ? static_cast<QWidget *>(f.categoryHeadings[std::size_t(choice.category)])
                                    : f.CmdSäästäKaikki);
        } else {
            const std::array<bool, 5> thrown = diceToThrowAgain(choice.keep, game.dice);
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
    if (f.programEnded())
        return;
    // A press that found its control unusable would leave the turn stuck.
    if (f.computerToPlay() && f.view().sameMoment(game)) {
        f.computerCannotPlay();
        return;
    }
    lookAtTheGame();
}
