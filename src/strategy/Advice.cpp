#include "strategy/RuleTables.h"
#include "strategy/Strategy.h"
#include "strategy/TurnValues.h"

#include <cmath>
#include <functional>

namespace strategy {

namespace {

struct RowChoice {
    int row = -1;
    float value = -std::numeric_limits<float>::infinity();
};

// The best free row for throw t, reckoned exactly as recordValues() does so
// that the advice and the table agree to the last bit.
RowChoice bestRow(const RuleTables &rules, const float *values, std::uint16_t filled, int upperSum, int t)
{
    const std::size_t stride = std::size_t(rules.upperSums());
    RowChoice best;
    for (int row = 0; row < rules.categories; ++row) {
        if (filled >> row & 1u)
            continue;
        const float *after = values + std::size_t(filled | 1u << row) * stride;
        float value;
        if (rules.addsToUpper(row)) {
            const int made = rules.upperScores[row][rules.upperScoreIndex[row][t]];
            const int sum = upperSum + made;
            const bool lifts = upperSum < rules.threshold && sum >= rules.threshold;
            value = float(made + (lifts ? rules.points : 0)) + after[std::min(rules.threshold, sum)];
        } else {
            value = rules.score[row][t] + after[upperSum];
        }
        if (value > best.value)
            best = {row, value};
    }
    return best;
}

// The keeps that `counts` contains, the dice themselves first, then by fewer
// dice: the order in which ties are settled. At most 2^5 of them.
std::array<int, 32> subKeepsOf(const Keeps::FaceCounts &counts, int *found)
{
    const Keeps &k = keeps();
    std::array<int, 32> subs{};
    *found = 0;
    // Counted down like an odometer whose digit f runs from counts[f] to 0.
    Keeps::FaceCounts sub = counts;
    for (;;) {
        subs[std::size_t((*found)++)] = k.index(sub);
        int face = 1;
        while (face <= 6 && sub[face] == 0) {
            sub[face] = counts[face];
            ++face;
        }
        if (face > 6)
            break;
        --sub[face];
    }
    std::sort(subs.begin(), subs.begin() + *found, std::greater<int>());
    return subs;
}

} // namespace

Action advise(const Table &table, Sheet sheet, int throwsMade, const Dice &dice)
{
    Action action;
    action.value = std::nan("");
    const RuleTables &rules = *table.rules_;
    const float *row = table.valuesOf(sheet);
    if (!row || sheet.filled == rules.fullSheet() || throwsMade < 0 || throwsMade > 3)
        return action;
    const int upper = std::min(sheet.upperSum, rules.threshold);
    if (throwsMade == 0) {
        action.value = double(row[upper]);
        return action;
    }
    for (const int face : dice) {
        if (face < 1 || face > 6)
            return action;
    }

    const Keeps &k = keeps();
    const Keeps::FaceCounts counts = countFaces(dice);
    const int thrown = k.index(counts) - Keeps::firstThrow;
    const float *values = table.values_.data();
    const RowChoice record = bestRow(rules, values, sheet.filled, upper, thrown);
    action.kind = Action::Kind::Record;
    action.category = record.row + 1;
    action.value = double(record.value);
    if (throwsMade == 3)
        return action;

    // What each keep is worth before the dice are thrown again, with one or
    // two throws left after it, reckoned in the table's lanes as the table was.
    TurnScratch scratch;
    Lanes *keep = scratch.keep.data();
    Lanes *throws = keep + Keeps::firstThrow;
    UpperSums upperSums;
    upperSums.fill(upper);
    recordValues(rules, values, sheet.filled, upperSums, throws);
    averageKeeps(keep);
    if (throwsMade == 1) {
        bestSubKeeps(keep, scratch.best.data());
        std::copy(scratch.best.begin() + Keeps::firstThrow, scratch.best.end(), throws);
        averageKeeps(keep);
    }

    float best = record.value;
    int subCount = 0;
    const std::array<int, 32> subs = subKeepsOf(counts, &subCount);
    for (int i = 0; i < subCount; ++i) {
        const int sub = subs[std::size_t(i)];
        // The dice themselves: keeping all records them.
        if (sub - Keeps::firstThrow == thrown)
            continue;
        if (keep[sub][0] > best) {
            best = keep[sub][0];
            action.kind = Action::Kind::Keep;
            action.category = 0;
            action.keep = k.faces[std::size_t(sub)];
            action.value = double(best);
        }
    }
    return action;
}

} // namespace strategy
