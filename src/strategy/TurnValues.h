#pragma once

#include "strategy/Keeps.h"
#include "strategy/RuleTables.h"

#include <array>
#include <cstddef>
#include <limits>

// The values within one turn, worked out from the table's values of the
// sheets that follow it. Four upper sums of one sheet go through side by
// side, in one vector register.
namespace strategy {

constexpr int laneCount = 4;
typedef float Lanes __attribute__((vector_size(laneCount * sizeof(float))));
using UpperSums = std::array<int, laneCount>; // each capped at the bonus threshold

inline Lanes largerOf(Lanes a, Lanes b)
{
    return a > b ? a : b;
}

// After the last throw, or once all dice are kept: every throw's value in its
// best free row, with the bonus when the row lifts the upper sum to the
// threshold. `values` is the table.
inline void recordValues(const RuleTables &rules, const float *values, std::uint16_t filled,
                         const UpperSums &upperSum, Lanes *best)
{
    const Lanes nothing = Lanes{} - std::numeric_limits<float>::infinity();
    std::fill(best, best + Keeps::throwCount, nothing);
    const std::size_t stride = std::size_t(rules.upperSums());
    for (int row = 0; row < rules.categories; ++row) {
        if (filled >> row & 1u)
            continue;
        const float *after = values + std::size_t(filled | 1u << row) * stride;
        if (!rules.addsToUpper(row)) {
            Lanes later;
            for (int l = 0; l < laneCount; ++l)
                later[l] = after[upperSum[l]];
            const auto &score = rules.score[row];
            for (int t = 0; t < Keeps::throwCount; ++t)
                best[t] = largerOf(best[t], score[t] + later);
            continue;
        }
        // An upper row's value depends on the score only through a few
        // distinct scores: each is worked out once for every lane.
        const std::vector<int> &made = rules.upperScores[row];
        std::array<Lanes, Keeps::throwCount> byScore;
        for (std::size_t j = 0; j < made.size(); ++j) {
            for (int l = 0; l < laneCount; ++l) {
                const int sum = upperSum[l] + made[j];
                const bool lifts = upperSum[l] < rules.threshold && sum >= rules.threshold;
                byScore[j][l] = float(made[j] + (lifts ? rules.points : 0)) + after[std::min(rules.threshold, sum)];
            }
        }
        const auto &which = rules.upperScoreIndex[row];
        for (int t = 0; t < Keeps::throwCount; ++t)
            best[t] = largerOf(best[t], byScore[which[t]]);
    }
}

// Given the values of the throws (value[firstThrow..]), every smaller keep's
// value before its dice are thrown: the mean over the next die's face of the
// keep with that die added.
inline void averageKeeps(Lanes *value)
{
    const Keeps &k = keeps();
    for (int i = Keeps::firstThrow - 1; i >= 0; --i) {
        const auto &next = k.withDie[i];
        const Lanes sum = value[next[0]] + value[next[1]] + value[next[2]] + value[next[3]] + value[next[4]]
                          + value[next[5]];
        value[i] = sum * (1.0f / 6.0f);
    }
}

// For every keep, the best value among its sub-keeps (itself included): what
// holding these dice is worth when any of them may be thrown again.
inline void bestSubKeeps(const Lanes *value, Lanes *best)
{
    const Keeps &k = keeps();
    best[0] = value[0];
    for (int i = 1; i < Keeps::count; ++i) {
        Lanes most = value[i];
        for (int j = k.firstSmaller[i]; j < k.firstSmaller[i + 1]; ++j)
            most = largerOf(most, best[k.smaller[j]]);
        best[i] = most;
    }
}

struct TurnScratch {
    std::array<Lanes, Keeps::count> keep;
    std::array<Lanes, Keeps::count> best;
};

// Given the values of the throws that end the turn (in scratch.keep from
// firstThrow on), the value before the turn's first throw.
inline std::array<float, laneCount> valueBeforeTheThrows(TurnScratch &scratch)
{
    Lanes *keep = scratch.keep.data();
    Lanes *best = scratch.best.data();
    Lanes *throws = keep + Keeps::firstThrow;
    // The third throw's values give the second's, and those the first's.
    for (int round = 0; round < 2; ++round) {
        averageKeeps(keep);
        bestSubKeeps(keep, best);
        std::copy(best + Keeps::firstThrow, best + Keeps::count, throws);
    }
    // Summed in double: 252 terms of a few hundred each.
    const Keeps &k = keeps();
    std::array<double, laneCount> sum{};
    for (int t = 0; t < Keeps::throwCount; ++t) {
        for (int l = 0; l < laneCount; ++l)
            sum[l] += double(k.probability[t]) * double(throws[t][l]);
    }
    std::array<float, laneCount> start;
    for (int l = 0; l < laneCount; ++l)
        start[l] = float(sum[l]);
    return start;
}

// The value at the start of a turn, before the first throw.
inline std::array<float, laneCount> turnStartValue(const RuleTables &rules, const float *values, std::uint16_t filled,
                                                   const UpperSums &upperSum, TurnScratch &scratch)
{
    recordValues(rules, values, filled, upperSum, scratch.keep.data() + Keeps::firstThrow);
    return valueBeforeTheThrows(scratch);
}

// The same turn with the mean square of the points still to come beside
// each value, for the spread of a final total. A square follows the choice
// that its value makes. Each value sits beside its square, so that one
// cache line holds both.
struct ValueSquare {
    Lanes value;
    Lanes square;
};

// The better of two by value; of equal values, the first.
inline ValueSquare betterOf(const ValueSquare &a, const ValueSquare &b)
{
    const auto second = b.value > a.value;
    return ValueSquare{second ? b.value : a.value, second ? b.square : a.square};
}

inline void recordSquares(const RuleTables &rules, const float *values, const float *squares, std::uint16_t filled,
                          const UpperSums &upperSum, ValueSquare *best)
{
    const ValueSquare nothing{Lanes{} - std::numeric_limits<float>::infinity(), Lanes{}};
    std::fill(best, best + Keeps::throwCount, nothing);
    const std::size_t stride = std::size_t(rules.upperSums());
    for (int row = 0; row < rules.categories; ++row) {
        if (filled >> row & 1u)
            continue;
        const std::size_t after = std::size_t(filled | 1u << row) * stride;
        if (!rules.addsToUpper(row)) {
            Lanes later;
            Lanes laterSquare;
            for (int l = 0; l < laneCount; ++l) {
                later[l] = values[after + std::size_t(upperSum[l])];
                laterSquare[l] = squares[after + std::size_t(upperSum[l])];
            }
            const Lanes twiceLater = 2.0f * later;
            const auto &score = rules.score[row];
            for (int t = 0; t < Keeps::throwCount; ++t) {
                const ValueSquare here{score[t] + later, score[t] * (score[t] + twiceLater) + laterSquare};
                best[t] = betterOf(best[t], here);
            }
            continue;
        }
        const std::vector<int> &made = rules.upperScores[row];
        std::array<ValueSquare, Keeps::throwCount> byScore;
        for (std::size_t j = 0; j < made.size(); ++j) {
            for (int l = 0; l < laneCount; ++l) {
                const int sum = upperSum[l] + made[j];
                const bool lifts = upperSum[l] < rules.threshold && sum >= rules.threshold;
                const float gain = float(made[j] + (lifts ? rules.points : 0));
                const std::size_t next = after + std::size_t(std::min(rules.threshold, sum));
                byScore[j].value[l] = gain + values[next];
                byScore[j].square[l] = gain * (gain + 2.0f * values[next]) + squares[next];
            }
        }
        const auto &which = rules.upperScoreIndex[row];
        for (int t = 0; t < Keeps::throwCount; ++t)
            best[t] = betterOf(best[t], byScore[which[t]]);
    }
}

// averageKeeps() for values and squares together, the values to the bit.
inline void averageKeepSquares(ValueSquare *keep)
{
    const Keeps &k = keeps();
    for (int i = Keeps::firstThrow - 1; i >= 0; --i) {
        const auto &next = k.withDie[i];
        const ValueSquare &a = keep[next[0]], &b = keep[next[1]], &c = keep[next[2]];
        const ValueSquare &d = keep[next[3]], &e = keep[next[4]], &f = keep[next[5]];
        keep[i].value = (a.value + b.value + c.value + d.value + e.value + f.value) * (1.0f / 6.0f);
        keep[i].square = (a.square + b.square + c.square + d.square + e.square + f.square) * (1.0f / 6.0f);
    }
}

// bestSubKeeps() with each best value's square carried along; the smaller
// keeps are compared in pairs first, which shortens the chain of choices.
inline void bestSubKeepSquares(const ValueSquare *keep, ValueSquare *best)
{
    const Keeps &k = keeps();
    best[0] = keep[0];
    for (int i = 1; i < Keeps::count; ++i) {
        ValueSquare most = keep[i];
        int j = k.firstSmaller[i];
        const int end = k.firstSmaller[i + 1];
        for (; j + 1 < end; j += 2)
            most = betterOf(most, betterOf(best[k.smaller[j]], best[k.smaller[j + 1]]));
        if (j < end)
            most = betterOf(most, best[k.smaller[j]]);
        best[i] = most;
    }
}

struct SquareScratch {
    TurnScratch values;
    std::array<ValueSquare, Keeps::count> keep;
    std::array<ValueSquare, Keeps::count> best;
};

struct ValueAndSquare {
    std::array<float, laneCount> value;
    std::array<float, laneCount> square;
};

// turnStartValue() with the mean square of the points to come; the values
// are the same to the bit.
inline ValueAndSquare turnStartSquares(const RuleTables &rules, const float *values, const float *squares,
                                       std::uint16_t filled, const UpperSums &upperSum, SquareScratch &scratch)
{
    ValueSquare *keep = scratch.keep.data();
    ValueSquare *best = scratch.best.data();
    recordSquares(rules, values, squares, filled, upperSum, keep + Keeps::firstThrow);
    // The best of the second throw become the throws the first one keeps
    // from: the arrays change places instead of being copied.
    for (int round = 0; round < 2; ++round) {
        averageKeepSquares(keep);
        bestSubKeepSquares(keep, best);
        std::swap(keep, best);
    }
    const Keeps &k = keeps();
    const ValueSquare *throws = keep + Keeps::firstThrow;
    std::array<double, laneCount> sum{};
    std::array<double, laneCount> sumOfSquares{};
    for (int t = 0; t < Keeps::throwCount; ++t) {
        for (int l = 0; l < laneCount; ++l) {
            sum[l] += double(k.probability[t]) * double(throws[t].value[l]);
            sumOfSquares[l] += double(k.probability[t]) * double(throws[t].square[l]);
        }
    }
    ValueAndSquare start;
    for (int l = 0; l < laneCount; ++l) {
        start.value[l] = float(sum[l]);
        start.square[l] = float(sumOfSquares[l]);
    }
    return start;
}

} // namespace strategy
