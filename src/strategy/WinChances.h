#pragma once

#include "strategy/FinalTotals.h"

#include <cstddef>
#include <vector>

// The chance to win: a player's final total is the highest of the game, a
// first place shared by k players counting 1/k to each, when every player
// plays perfectly (the most expected points) from the moment on.
namespace strategy {

// Each player's chance to win from their final totals, the players being
// independent of each other. They add up to 1.
std::vector<double> winChances(const std::vector<Totals> &players);

// [t]: the chance to win with a final total of t against `others`, ties
// shared; t from 0 to length - 1.
std::vector<double> chanceToWinWith(const std::vector<Totals> &others, std::size_t length);

// Each player's chance to win at a moment of a game, players[i] where player i
// stands: the one to play may be within a turn, then the advised action
// follows; the others wait for their turns. Empty if the table does not hold
// a position. The same moment always gives the same chances.
std::vector<double> chancesToWin(const Table &table, const std::vector<Position> &players, TotalsCache &cache);
// The same once player `mover` takes `action`, one of choices() at their
// position: the chances after the action taken and after the best one.
std::vector<double> chancesToWinAfter(const Table &table, const std::vector<Position> &players, std::size_t mover,
                                      const Action &action, TotalsCache &cache);

} // namespace strategy
