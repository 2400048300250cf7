#pragma once

#include "strategy/Strategy.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The chance of every final total a player can still make, when they play
// perfectly (the most expected points) from where they stand.
namespace strategy {

// Where a player stands in a game.
struct Position {
    Sheet sheet;
    int points = 0;      // the recorded rows' scores, the upper bonus left out
    int throwsMade = 0;  // 0: waiting for a turn or at its start; 1..3: after that throw
    Dice dice{};         // what the last throw shows
    bool locked = false; // all dice kept after throw 1 or 2: a row is next
};

// [t]: the chance of a final total of t points, the upper bonus included.
using Totals = std::vector<double>;

// What the work leaves behind for the next call: each sheet's plan of a turn
// and its ends, the last sheets' exact totals, recent players' totals. One
// worker thread at a time may use it; it forgets what it holds when it grows
// past its bound, about 50 MB.
class TotalsCache {
public:
    TotalsCache();
    ~TotalsCache();
    TotalsCache(const TotalsCache &) = delete;
    TotalsCache &operator=(const TotalsCache &) = delete;

    struct Parts;
    Parts &parts() { return *parts_; }

private:
    std::unique_ptr<Parts> parts_;
};

// A player's final totals from `position`: after a throw the advised action
// follows, after all dice are kept the best row. Exact when the player has
// three rows or fewer to fill; otherwise from simulated games drawn from a
// seed of the position's own, so that one position always gives the same
// totals, made to agree with the table's mean and spread. Empty for a
// position the table does not hold. The table should have its spread.
Totals finalTotals(const Table &table, const Position &position, TotalsCache &cache);
// The same once `action`, one of choices() at the position, is taken.
Totals finalTotalsAfter(const Table &table, const Position &position, const Action &action, TotalsCache &cache);

// The mean of a player's final total.
double meanOf(const Totals &totals);

} // namespace strategy
