#include "strategy/TurnPlan.h"

#include "strategy/TableParts.h"
#include "strategy/TurnValues.h"

#include <cstring>

namespace strategy {

namespace {

// A value and a keep's number in one integer whose order is theirs: the
// larger value, and of equal values the larger number, more dice first, as
// the advice settles ties.
std::uint64_t ranked(float value, int keep)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits = bits >> 31 ? ~bits : bits | 0x80000000u;
    return std::uint64_t(bits) << 16 | std::uint64_t(keep);
}

// For every keep, its best sub-keep (itself included) by rank. `own`
// replaces a throw's own value: keeping all five.
void bestSubKeepsOf(const float *value, const float *own, std::array<std::uint16_t, Keeps::count> &best)
{
    const Keeps &k = keeps();
    std::array<std::uint64_t, Keeps::count> rank;
    for (int i = 0; i < Keeps::count; ++i) {
        std::uint64_t most = ranked(i >= Keeps::firstThrow ? own[i - Keeps::firstThrow] : value[i], i);
        for (int j = k.firstSmaller[i]; j < k.firstSmaller[i + 1]; ++j)
            most = std::max(most, rank[k.smaller[j]]);
        rank[std::size_t(i)] = most;
        best[std::size_t(i)] = std::uint16_t(most & 0xFFFFu);
    }
}

} // namespace

TurnPlan::TurnPlan(const Table &table, Sheet sheet) : table_(table)
{
    const RuleTables &rules = TableParts::rules(table);
    const float *values = TableParts::values(table);
    const int upper = std::min(sheet.upperSum, rules.threshold);

    // Every throw's best row: the first of the largest value, each value
    // reckoned as Moment::rowValue() does, so that the choices here are the
    // advice's to the bit. Four throws side by side.
    typedef std::int32_t RowLanes __attribute__((vector_size(laneCount * sizeof(std::int32_t))));
    constexpr int groups = Keeps::throwCount / laneCount;
    std::array<Lanes, groups> recorded;
    std::array<RowLanes, groups> rowOf{};
    recorded.fill(Lanes{} - std::numeric_limits<float>::infinity());
    for (int row = 0; row < rules.categories; ++row) {
        if (sheet.filled >> row & 1u)
            continue;
        const float *next = values + TableParts::rowOf(table, std::uint16_t(sheet.filled | 1u << row));
        std::array<float, 8> byScore{};
        if (rules.addsToUpper(row)) {
            const std::vector<int> &made = rules.upperScores[row];
            for (std::size_t j = 0; j < made.size(); ++j) {
                const int sum = upper + made[j];
                const bool lifts = upper < rules.threshold && sum >= rules.threshold;
                byScore[j] = float(made[j] + (lifts ? rules.points : 0)) + next[std::min(rules.threshold, sum)];
            }
        }
        const float later = next[upper];
        const RowLanes thisRow = RowLanes{} + row;
        for (int g = 0; g < groups; ++g) {
            Lanes value;
            for (int l = 0; l < laneCount; ++l) {
                const int t = g * laneCount + l;
                value[l] =
                    rules.addsToUpper(row) ? byScore[rules.upperScoreIndex[row][t]] : rules.score[row][t] + later;
            }
            const auto better = value > recorded[std::size_t(g)];
            recorded[std::size_t(g)] = better ? value : recorded[std::size_t(g)];
            rowOf[std::size_t(g)] = better ? thisRow : rowOf[std::size_t(g)];
        }
    }
    std::array<float, Keeps::throwCount> own;
    for (int t = 0; t < Keeps::throwCount; ++t) {
        own[std::size_t(t)] = recorded[std::size_t(t / laneCount)][t % laneCount];
        row_[std::size_t(t)] = std::uint8_t(rowOf[std::size_t(t / laneCount)][t % laneCount]);
    }

    TurnScratch scratch;
    Lanes *keep = scratch.keep.data();
    Lanes *throws = keep + Keeps::firstThrow;
    for (int t = 0; t < Keeps::throwCount; ++t)
        throws[t] = Lanes{} + own[std::size_t(t)];
    std::array<float, Keeps::count> flat;
    std::array<std::uint16_t, Keeps::count> best;
    // After the second throw: keep all, or a keep thrown once more.
    averageKeeps(keep);
    for (int i = 0; i < Keeps::firstThrow; ++i)
        flat[std::size_t(i)] = keep[i][0];
    bestSubKeepsOf(flat.data(), own.data(), best);
    for (int t = 0; t < Keeps::throwCount; ++t) {
        const int kept = best[std::size_t(Keeps::firstThrow + t)];
        keep_[1][std::size_t(t)] = std::uint16_t(kept);
        throws[t] = Lanes{} + (kept >= Keeps::firstThrow ? own[std::size_t(t)] : flat[std::size_t(kept)]);
    }
    // After the first: a keep then has two throws; keeping all still records.
    averageKeeps(keep);
    for (int i = 0; i < Keeps::firstThrow; ++i)
        flat[std::size_t(i)] = keep[i][0];
    bestSubKeepsOf(flat.data(), own.data(), best);
    for (int t = 0; t < Keeps::throwCount; ++t)
        keep_[0][std::size_t(t)] = best[std::size_t(Keeps::firstThrow + t)];
}

void TurnPlan::play(std::array<double, Keeps::count> &held, int nextThrow,
                    std::array<double, Keeps::throwCount> &last) const
{
    const Keeps &k = keeps();
    for (int throwNumber = nextThrow; throwNumber <= 3; ++throwNumber) {
        // Each die thrown adds a face: keeps grow in the order they are numbered.
        for (int i = 0; i < Keeps::firstThrow; ++i) {
            const double chance = held[std::size_t(i)];
            if (chance == 0)
                continue;
            held[std::size_t(i)] = 0;
            for (int face = 0; face < 6; ++face)
                held[k.withDie[std::size_t(i)][std::size_t(face)]] += chance / 6;
        }
        for (int t = 0; t < Keeps::throwCount; ++t) {
            double &chance = held[std::size_t(Keeps::firstThrow + t)];
            if (chance == 0)
                continue;
            const int kept =
                throwNumber == 3 ? Keeps::firstThrow + t : keep_[std::size_t(throwNumber - 1)][std::size_t(t)];
            if (kept == Keeps::firstThrow + t) {
                last[std::size_t(t)] += chance;
                chance = 0;
            } else {
                const double moved = chance;
                chance = 0;
                held[std::size_t(kept)] += moved;
            }
        }
    }
}

std::vector<TurnEnd> TurnPlan::endsOf(const std::array<double, Keeps::throwCount> &last) const
{
    const RuleTables &rules = TableParts::rules(table_);
    constexpr int scores = 64; // no row scores more than 50
    std::array<double, RuleTables::maxCategories * scores> byScore{};
    for (int t = 0; t < Keeps::throwCount; ++t) {
        if (last[std::size_t(t)] == 0)
            continue;
        const int row = row_[std::size_t(t)];
        byScore[std::size_t(row * scores + int(rules.score[row][t]))] += last[std::size_t(t)];
    }
    std::vector<TurnEnd> ends;
    for (int i = 0; i < int(byScore.size()); ++i) {
        if (byScore[std::size_t(i)] > 0)
            ends.push_back(TurnEnd{i / scores, i % scores, byScore[std::size_t(i)]});
    }
    return ends;
}

std::vector<TurnEnd> TurnPlan::ends() const
{
    std::array<double, Keeps::count> held{};
    held[0] = 1; // no dice yet
    std::array<double, Keeps::throwCount> last{};
    play(held, 1, last);
    return endsOf(last);
}

std::vector<TurnEnd> TurnPlan::endsAfter(int throwsMade, const Dice &dice, const Action &action) const
{
    const RuleTables &rules = TableParts::rules(table_);
    const int thrown = keeps().index(countFaces(dice)) - Keeps::firstThrow;
    if (action.kind == Action::Kind::Record) {
        const int row = action.category - 1;
        if (thrown < 0 || row < 0 || row >= rules.categories)
            return {};
        return {TurnEnd{row, int(rules.score[row][thrown]), 1.0}};
    }
    if (action.kind == Action::Kind::ThrowAll)
        return ends();
    if (throwsMade < 1 || throwsMade > 2)
        return {}; // no keep after the last throw
    std::array<double, Keeps::count> held{};
    const int kept = keeps().index(action.keep);
    if (kept < 0)
        return {};
    held[std::size_t(kept)] = 1;
    std::array<double, Keeps::throwCount> last{};
    play(held, throwsMade + 1, last);
    return endsOf(last);
}

} // namespace strategy
