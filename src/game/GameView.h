#pragma once

#include "scoring/ScoringRules.h"
#include "strategy/Strategy.h"

#include <array>

struct GameRecord;
namespace strategy {
struct Level;
}

// The game as the computer, the hint and the review read it: a value the
// window makes, with nothing of its fields or widgets.
struct GameView {
    static constexpr int maxPlayers = 4;

    bool running = false;   // from the start of a game until its end
    int currentPlayer = 0;
    std::array<strategy::Sheet, maxPlayers> sheets{};
    std::array<int, maxPlayers> points{};  // the rows' scores, the upper bonus left out
    int throwsMade = 0;     // this turn's throws
    Dice dice{};            // 0 where nothing has been thrown
    std::array<bool, 5> marked{};  // to be thrown again
    bool mayRecord = false; // a row may be chosen now
    bool mayThrow = false;  // the dice may be thrown (again) now
    std::array<const strategy::Level *, maxPlayers> computers{};  // none for a person
    const GameRecord *record = nullptr;  // everything that happened in the game

    // The dice are locked for scoring: only the row is left to choose.
    bool diceLocked() const { return mayRecord && !mayThrow; }
    // The throws perfect play weighs: after a keep-all or the third throw,
    // only the rows, as after the last throw.
    int throwsToWeigh() const { return diceLocked() ? 3 : throwsMade; }

    bool sameMoment(const GameView &other) const
    {
        return running == other.running && currentPlayer == other.currentPlayer && throwsMade == other.throwsMade &&
               dice == other.dice && marked == other.marked && mayRecord == other.mayRecord &&
               mayThrow == other.mayThrow && sheets[std::size_t(currentPlayer)].filled ==
                   other.sheets[std::size_t(currentPlayer)].filled;
    }
};
