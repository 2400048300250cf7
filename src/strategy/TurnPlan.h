#pragma once

#include "strategy/Keeps.h"
#include "strategy/Strategy.h"

#include <array>
#include <cstdint>
#include <vector>

namespace strategy {

// One way a turn can end: the row the dice go in and what they score there,
// the upper bonus left out, with its chance.
struct TurnEnd {
    int row = 0;   // the row's code minus one
    int score = 0;
    double chance = 0;
};

// How perfect play goes through one turn from a sheet: its choice after
// every throw, made as advise() makes it, ties too, and from those the
// chance of every way the turn can end.
class TurnPlan {
public:
    // The sheet must be one the table holds and not full.
    TurnPlan(const Table &table, Sheet sheet);

    // The turn's ends from before its first throw.
    std::vector<TurnEnd> ends() const;
    // Its ends once `action`, one of choices(), is taken after `throwsMade`
    // throws (1..3) showing `dice`; none for a keep after the last throw.
    std::vector<TurnEnd> endsAfter(int throwsMade, const Dice &dice, const Action &action) const;

private:
    // From dice held with chance `held[k]` of keep k before throw `nextThrow`
    // (1..3), the chance of each throw that ends the turn.
    void play(std::array<double, Keeps::count> &held, int nextThrow, std::array<double, Keeps::throwCount> &last) const;
    std::vector<TurnEnd> endsOf(const std::array<double, Keeps::throwCount> &last) const;

    const Table &table_;
    std::array<std::uint8_t, Keeps::throwCount> row_{}; // once the dice are kept or thrown three times
    // After throw 1 and 2: the keep taken, the throw's own number when all five are kept.
    std::array<std::array<std::uint16_t, Keeps::throwCount>, 2> keep_{};
};

} // namespace strategy
