#pragma once

#include "strategy/FinalTotals.h"

#include <cstddef>
#include <vector>

// "Kone" in a game of several: the choice with the most chance to win.
namespace strategy {

struct ChanceOfChoice {
    Action action;     // as choices() gives it: its value the expected points still to come
    double chance = 0; // the chance to win after it
};

struct ChoicesToWin {
    std::vector<ChanceOfChoice> choices; // in choices()' order
    std::size_t taken = 0;               // "Kone"'s: the most chance, of equal chances the most points
    bool exact = false;                  // the chances are exact
};

// The choices of `me`'s moment (after a throw, or with all dice kept) with
// the chance to win after each, the `others` waiting for their turns and
// playing perfectly for points, and `me` playing on to win. Exact at the end
// of a game: when `me` has two rows or fewer to fill and each other player
// two or fewer, or none. Before that the chance after each way the turn can
// end is reckoned from normal laws with the final totals' means and spreads
// from the table, which must have its spread. With no others every choice's
// chance is 1 and the advice's is taken; empty when the table gives no
// choice, as choices() is.
ChoicesToWin choicesToWin(const Table &table, const Position &me, const std::vector<Position> &others,
                          TotalsCache &cache);

} // namespace strategy
