#pragma once

#include "strategy/Strategy.h"

#include <cstdint>

// The commands that play games of several players.

// N games of two, "Kone" playing to win against perfect play for points,
// each starting half of them: prints Kone's share of the wins.
int versus(const strategy::Table &table, long long games, std::uint32_t seed, unsigned threads);

// N games of perfect play for points, half of two players and a quarter each
// of three and four: prints how the chances to win shown after each throw
// and each turn match who won, by tenths of the chance shown.
int calibrate(const strategy::Table &table, long long games, std::uint32_t seed);
