#pragma once

#include "strategy/Strategy.h"

#include <QStringView>

#include <array>
#include <cstddef>
#include <vector>

// The computer's strengths: one rule of choosing for all, a temperature over
// the values of the choices at a moment.
namespace strategy {

struct Level {
    const char *name;    // "Kone 1", "Kone 2", "Kone 3", "Kone"
    double temperature;  // 0: always the best choice
};

// Weakest first; "Kone", perfect play, last.
const std::array<Level, 4> &levels();
// The level of a computer player's name; null for a person's name.
const Level *levelNamed(QStringView name);

// The largest cost of a choice that any level takes, in points.
constexpr double largestCost = 25;

// Picks one of `options` (from choices()) for `level`, with `draw` uniform in
// [0, 1): each option with a chance in proportion to exp(-cost / temperature),
// cost = best value - its value; an option costing more than 25 points is
// never picked; temperature 0 picks the first best one. 0 for no options.
std::size_t pick(const std::vector<Action> &options, const Level &level, float draw);

} // namespace strategy
