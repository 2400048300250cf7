#pragma once

#include "dice/DiceGenerator.h"
#include "game/PerfectPlayTable.h"
#include "strategy/Strategy.h"

#include <QObject>
#include <memory>
#include <optional>

class Form1;
class Platform;
struct GameView;
namespace strategy {
class TotalsCache;
}
class QTime;
class QWidget;

// The computer at the table: when a player named "Kone 1" .. "Kone" is to
// play, it plays through the same entry points as a player's clicks (throw
// all, mark dice, throw the marked ones, keep all, choose a row), one step at
// a time with a pause before each, so that the players can follow it. It reads
// the game only through the window's view of it; "Kone" plays perfectly (for
// points alone, to win in a game of several), the others err now and then as
// their strength says.
class ComputerPlayer : public QObject {
public:
    ComputerPlayer(Form1 &form, Platform &platform);
    ~ComputerPlayer() override;

    // A game starts: the weaker computers' draws start from the clock.
    void newGame(const QTime &clock);
    // Looks at the game, as after every action: when the computer is to play,
    // its next step comes after the pause; otherwise none is pending.
    void lookAtTheGame();
    // No step runs until the next look (a question is open, or the program ends).
    void hold();
    // True while the computer presses a control: its presses act in its turn.
    bool pressing() const { return pressing_; }

private:
    void step();
    // The computer's choice at the moment: "Kone" in a game of several the
    // most chance to win, otherwise as its strength picks among the choices.
    std::optional<strategy::Action> choose(const strategy::Table &table, const GameView &game);
    void waitForTable(perfectPlayTable::Need need);
    // "Kone" to play in a game of several: it plays to win, with the spread.
    static bool playsToWin(const GameView &game);
    void press(QWidget *control);

    Form1 &form_;
    Platform &platform_;
    DiceGenerator draws_;  // its own, apart from the dice
    std::unique_ptr<strategy::TotalsCache> totals_;  // the others' final totals, kept between moves
    bool stepPending_ = false;
    unsigned pendingStep_ = 0;  // a step scheduled before the latest hold does nothing
    bool pressing_ = false;
};
