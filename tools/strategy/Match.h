#pragma once

#include "dice/DiceGenerator.h"
#include "strategy/FinalTotals.h"

#include <cstdint>
#include <functional>
#include <vector>

// Games of several players, played out with the game's own dice and scoring.
namespace match {

using Players = std::vector<strategy::Position>;

// A player's choice at a moment of their turn, players[me] after a throw or
// with all dice kept, the others waiting: an action of choices().
using Chooser = std::function<strategy::Action(const Players &players, std::size_t me)>;

// Perfect play for points: the advice.
Chooser forPoints(const strategy::Table &table);
// "Kone" playing to win; the cache is the chooser's own.
Chooser toWin(const strategy::Table &table, strategy::TotalsCache &cache);

// Plays players[me]'s turn from its first throw to the row recorded; each of
// its choices is seen by `watch` first, if given.
void playTurn(Players &players, std::size_t me, const Chooser &choose, DiceGenerator &dice,
              const std::function<void(const Players &)> &watch = {});
// The same from where players[me] stands within the turn.
void finishTurn(Players &players, std::size_t me, const Chooser &choose, DiceGenerator &dice,
                const std::function<void(const Players &)> &watch = {});

// Plays the rest of a player's game alone: the turn they are in, if any,
// and every turn left.
void playToTheEnd(strategy::Position &player, const Chooser &choose, DiceGenerator &dice);

// The points and the upper bonus once earned.
int totalOf(const strategy::Position &player);
// Each player's share of the win: 1/k to each of the k at the top.
std::vector<double> sharesOf(const Players &players);

// The dice generator of game `game` of a run from `seed`: unrelated for
// every game, so that games can be played in any order on any thread.
DiceGenerator diceOf(std::uint32_t seed, long long game);

} // namespace match
