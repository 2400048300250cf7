#pragma once

#include "strategy/Keeps.h"
#include "strategy/Strategy.h"

#include <array>
#include <cstdint>
#include <vector>

namespace strategy {

// The rules as the solver reads them: every row's score of every throw,
// worked out once from the rules' score function.
struct RuleTables {
    static constexpr int maxCategories = 15;

    int categories = 0;
    std::uint16_t upperRows = 0;
    int threshold = 0;
    int points = 0;
    std::array<std::array<float, Keeps::throwCount>, maxCategories> score{};
    // For a row that adds to the upper sum: its distinct scores, which of
    // them each throw makes, and the largest.
    std::array<std::vector<int>, maxCategories> upperScores;
    std::array<std::array<std::uint8_t, Keeps::throwCount>, maxCategories> upperScoreIndex{};
    std::array<int, maxCategories> maxScore{};
    // The scores 0..63 that some throw makes in the row: bit s for s points.
    std::array<std::uint64_t, maxCategories> scoresMade{};

    explicit RuleTables(const Rules &rules);

    std::uint16_t fullSheet() const { return std::uint16_t((1u << categories) - 1); }
    // Upper sums from 0 to the threshold, the last standing for all above it.
    int upperSums() const { return threshold + 1; }
    std::size_t entries() const { return std::size_t(fullSheet() + 1) * std::size_t(upperSums()); }
    bool addsToUpper(int row) const { return upperRows >> row & 1u; }

    // The upper sums, capped at the threshold, that the upper rows in
    // `newRows` can add to `from`: bit u set for sum u.
    std::uint64_t upperSumsAfter(std::uint64_t from, std::uint16_t newRows) const;
    // For a game from `start`: the capped upper sums a sheet can have, by the
    // upper rows filled since (index: those rows' bits).
    std::vector<std::uint64_t> reachableUpperSums(Sheet start) const;
    // Whether the upper rows in `rows` can add up to exactly `sum`, uncapped.
    bool canMakeExactly(std::uint16_t rows, int sum) const;
};

} // namespace strategy
