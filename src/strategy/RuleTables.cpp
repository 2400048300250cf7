#include "strategy/RuleTables.h"

#include <algorithm>
#include <cassert>

namespace strategy {

Rules Rules::ours()
{
    Rules rules;
    rules.categories = category::count;
    rules.score = scoreCategory;
    for (int code = category::ones; code <= category::sixes; ++code)
        rules.upperRows |= std::uint16_t(1u << (code - 1));
    rules.bonusThreshold = upperBonus::threshold;
    rules.bonusPoints = upperBonus::points;
    return rules;
}

RuleTables::RuleTables(const Rules &rules)
    : categories(rules.categories),
      upperRows(std::uint16_t(rules.upperRows & ((1u << rules.categories) - 1))),
      threshold(rules.bonusThreshold),
      points(rules.bonusPoints)
{
    assert(categories >= 1 && categories <= maxCategories);
    assert(threshold >= 0 && threshold <= 63);

    const Keeps &k = keeps();
    for (int row = 0; row < categories; ++row) {
        for (int t = 0; t < Keeps::throwCount; ++t) {
            const int made = rules.score(row + 1, k.dice[t]);
            score[row][t] = float(made);
            maxScore[row] = std::max(maxScore[row], made);
            if (made >= 0 && made < 64)
                scoresMade[row] |= 1ull << made;
        }
        if (!addsToUpper(row))
            continue;
        std::vector<int> &distinct = upperScores[row];
        for (int t = 0; t < Keeps::throwCount; ++t) {
            const int made = std::max(0, int(score[row][t]));
            auto at = std::find(distinct.begin(), distinct.end(), made);
            upperScoreIndex[row][t] = std::uint8_t(at - distinct.begin());
            if (at == distinct.end())
                distinct.push_back(made);
        }
    }
}

std::uint64_t RuleTables::upperSumsAfter(std::uint64_t from, std::uint16_t newRows) const
{
    std::uint64_t sums = from;
    for (int row = 0; row < categories; ++row) {
        if (!(newRows >> row & 1u) || !addsToUpper(row))
            continue;
        std::uint64_t next = 0;
        for (int u = 0; u <= threshold; ++u) {
            if (!(sums >> u & 1u))
                continue;
            for (const int made : upperScores[row])
                next |= 1ull << std::min(threshold, u + made);
        }
        sums = next;
    }
    return sums;
}

std::vector<std::uint64_t> RuleTables::reachableUpperSums(Sheet start) const
{
    const std::uint16_t later = std::uint16_t(upperRows & ~start.filled);
    const std::uint64_t from = 1ull << std::clamp(start.upperSum, 0, threshold);
    std::vector<std::uint64_t> sums(std::size_t(fullSheet()) + 1, 0);
    for (std::uint16_t rows = later;; rows = std::uint16_t((rows - 1) & later)) {
        sums[rows] = upperSumsAfter(from, rows);
        if (rows == 0)
            break;
    }
    return sums;
}

bool RuleTables::canMakeExactly(std::uint16_t rows, int sum) const
{
    int most = 0;
    for (int row = 0; row < categories; ++row) {
        if (rows >> row & 1u && addsToUpper(row))
            most += std::max(0, maxScore[row]);
    }
    if (sum < 0 || sum > most)
        return false;
    std::vector<bool> sums(std::size_t(sum) + 1, false);
    sums[0] = true;
    for (int row = 0; row < categories; ++row) {
        if (!(rows >> row & 1u) || !addsToUpper(row))
            continue;
        std::vector<bool> next(sums.size(), false);
        for (int u = 0; u <= sum; ++u) {
            if (!sums[std::size_t(u)])
                continue;
            for (const int made : upperScores[row]) {
                if (u + made <= sum)
                    next[std::size_t(u + made)] = true;
            }
        }
        sums.swap(next);
    }
    return sums[std::size_t(sum)];
}

} // namespace strategy
