#pragma once

#include "strategy/FinalTotals.h"

#include <initializer_list>

// What the tests of the chance to win share: the table with its spread, made
// once a run, and players' positions written briefly.
namespace positions {

inline const strategy::Table &table()
{
    static const strategy::Table computed = strategy::Table::computeWithSpread(strategy::Rules::ours());
    return computed;
}

constexpr std::uint16_t everyRow = (1u << category::count) - 1;

inline std::uint16_t allBut(std::initializer_list<int> codes)
{
    std::uint16_t filled = everyRow;
    for (const int code : codes)
        filled &= std::uint16_t(~(1u << (code - 1)));
    return filled;
}

inline strategy::Position at(std::uint16_t filled, int upperSum, int points, int throwsMade = 0, Dice dice = {})
{
    return strategy::Position{strategy::Sheet{filled, upperSum}, points, throwsMade, dice, false};
}

inline int earned(strategy::Sheet sheet)
{
    return sheet.upperSum >= upperBonus::threshold ? upperBonus::points : 0;
}

} // namespace positions
