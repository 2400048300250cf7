#include "game/ComputerPlayer.h"

#include "game/PerfectPlay.h"
#include "game/PerfectPlayTable.h"
#include "game/Platform.h"
#include "game/GameRecord.h"
#include "strategy/Levels.h"
#include "strategy/PlayToWin.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/KeyboardLabel.h"

#include <QApplication>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTime>
#include <algorithm>

ComputerPlayer::ComputerPlayer(Form1 &form, Platform &platform)
    : form_(form), platform_(platform), totals_(std::make_unique<strategy::TotalsCache>())
{
}

ComputerPlayer::~ComputerPlayer() = default;

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

void ComputerPlayer::waitForTable(perfectPlayTable::Need need)
{
    // The pause has passed: the step comes as soon as the table is there.
    stepPending_ = true;
    perfectPlayTable::whenReady(
        this,
        [this, scheduled = ++pendingStep_](const strategy::Table &) {
            if (scheduled != pendingStep_ || !stepPending_)
                return;
            stepPending_ = false;
            step();
        },
        need);
}

bool ComputerPlayer::playsToWin(const GameView &game)
{
    // "Kone" in a game of several plays to win; alone, and every weaker
    // strength, for points.
    const strategy::Level *level = game.computers[std::size_t(game.currentPlayer)];
    return level && level->temperature == 0 && game.record && game.record->players.size() > 1;
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

std::optional<strategy::Action> ComputerPlayer::choose(const strategy::Table &table, const GameView &game)
{
    const std::size_t me = std::size_t(game.currentPlayer);
    const strategy::Level &level = *game.computers[me];
    const std::size_t players = game.record ? game.record->players.size() : 1;
    if (playsToWin(game)) {
        const auto position = [&game](std::size_t p) {
            return strategy::Position{game.sheets[p], game.points[p], 0, {}, false};
        };
        strategy::Position mine = position(me);
        mine.throwsMade = game.throwsMade;
        mine.dice = game.dice;
        mine.locked = game.diceLocked();
        std::vector<strategy::Position> others;
        for (std::size_t p = 0; p < players; ++p) {
            if (p != me)
                others.push_back(position(p));
        }
        const strategy::ChoicesToWin toWin = strategy::choicesToWin(table, mine, others, *totals_);
        if (toWin.choices.empty())
            return std::nullopt;
        return toWin.choices[toWin.taken].action;
    }
    const std::vector<strategy::Action> options =
        strategy::choices(table, game.sheets[me], game.throwsToWeigh(), game.dice);
    if (options.empty())
        return std::nullopt;
    return options[strategy::pick(options, level, draws_.next())];
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
    Form1 &f = form_;
    if (!game.mayRecord && game.throwsMade == 0) {
        press(f.CmdKaikkiUudelleen);
    } else if (std::find(game.marked.begin(), game.marked.end(), true) != game.marked.end()) {
        press(f.CmdValitutUudelleen);  // the dice it marked in its previous step
    } else {
        const perfectPlayTable::Need need = playsToWin(game) ? perfectPlayTable::Need::Spread
                                                             : perfectPlayTable::Need::Values;
        const strategy::Table *table = perfectPlayTable::ifReady(need);
        if (!table) {
            waitForTable(need);
            return;
        }
        const std::optional<strategy::Action> chosen = choose(*table, game);
        if (!chosen) {
            f.computerCannotPlay();  // a sheet no game can reach: no move rather than a wrong one
            return;
        }
        const strategy::Action &choice = *chosen;
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
