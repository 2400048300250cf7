#pragma once

#include "strategy/RuleTables.h"
#include "strategy/Strategy.h"

#include <cstddef>

namespace strategy {

// The table's insides, for the solver's own routines that go through many
// sheets and cannot afford value()'s checks on every one.
struct TableParts {
    static const RuleTables &rules(const Table &table) { return *table.rules_; }
    static const float *values(const Table &table) { return table.values_.data(); }
    // Null for a table without its spread.
    static const float *squares(const Table &table) { return table.squares_.empty() ? nullptr : table.squares_.data(); }
    // Where a sheet's values start; the upper sum, capped, indexes from there.
    static std::size_t rowOf(const Table &table, std::uint16_t filled)
    {
        return std::size_t(filled) * std::size_t(table.rules_->upperSums());
    }
};

} // namespace strategy
