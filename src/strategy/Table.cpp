#include "strategy/RuleTables.h"
#include "strategy/Strategy.h"
#include "strategy/TurnValues.h"

#include <algorithm>
#include <atomic>
#include <bitset>
#include <cmath>
#include <cstring>
#include <thread>

namespace strategy {

namespace {

// The spread's turn, also made for processors with AVX2, whose blends choose
// a value's square in one step where SSE2 takes three; the arithmetic, and so
// every value, is the same either way.
__attribute__((target_clones("avx2", "default"), flatten)) ValueAndSquare
turnStartWithSpread(const RuleTables &rules, const float *values, const float *squares, std::uint16_t filled,
                    const UpperSums &upperSum, SquareScratch &scratch)
{
    return turnStartSquares(rules, values, squares, filled, upperSum, scratch);
}

class Solver {
public:
    Solver(const RuleTables &rules, std::vector<float> &values, std::vector<float> &squares, Sheet start)
        : rules_(rules), values_(values), squares_(squares), start_(start.filled),
          reachable_(rules.reachableUpperSums(start))
    {
    }

    void solve(unsigned threads)
    {
        std::vector<std::vector<std::uint16_t>> byLevel(std::size_t(rules_.categories) + 1);
        for (unsigned filled = 0; filled <= rules_.fullSheet(); ++filled) {
            if ((filled & start_) == start_)
                byLevel[std::size_t(std::bitset<16>(filled).count())].push_back(std::uint16_t(filled));
        }
        // A level's sheets need only the values of fuller ones: each level is
        // shared by the threads and finished before the next begins.
        for (auto level = byLevel.rbegin(); level != byLevel.rend(); ++level) {
            std::atomic<std::size_t> next{0};
            auto work = [&] {
                SquareScratch scratch;
                for (std::size_t i = next++; i < level->size(); i = next++)
                    solveSheet((*level)[i], scratch);
            };
            std::vector<std::thread> helpers;
            for (unsigned i = 1; i < threads && i < level->size(); ++i)
                helpers.emplace_back(work);
            work();
            for (std::thread &helper : helpers)
                helper.join();
        }
    }

private:
    void solveSheet(std::uint16_t filled, SquareScratch &scratch)
    {
        const int threshold = rules_.threshold;
        const std::size_t first = std::size_t(filled) * std::size_t(rules_.upperSums());
        float *here = values_.data() + first;
        float *hereSquared = squares_.empty() ? nullptr : squares_.data() + first;
        const std::uint64_t sums = reachable_[filled & rules_.upperRows & ~start_];
        // Every upper sum of the full sheet, reachable or not: the capped one
        // stands for the sums that no longer matter before it.
        if (filled == rules_.fullSheet()) {
            std::fill(here, here + rules_.upperSums(), 0.0f);
            if (hereSquared)
                std::fill(hereSquared, hereSquared + rules_.upperSums(), 0.0f);
            return;
        }
        int stillPossible = 0;
        for (int row = 0; row < rules_.categories; ++row) {
            if (!(filled >> row & 1u) && rules_.addsToUpper(row))
                stillPossible += rules_.maxScore[row];
        }
        // Once the bonus is earned or out of reach the upper sum no longer
        // matters: all such sums share the value of the capped one.
        std::array<int, 65> toSolve{};
        int count = 0;
        bool shared = false;
        for (int u = 0; u <= threshold; ++u) {
            if (!(sums >> u & 1u))
                continue;
            if (u >= threshold || u + stillPossible < threshold)
                shared = true;
            else
                toSolve[std::size_t(count++)] = u;
        }
        if (shared)
            toSolve[std::size_t(count++)] = threshold;

        for (int from = 0; from < count; from += laneCount) {
            UpperSums upper;
            for (int l = 0; l < laneCount; ++l)
                upper[std::size_t(l)] = toSolve[std::size_t(std::min(from + l, count - 1))];
            if (!hereSquared) {
                const auto value = turnStartValue(rules_, values_.data(), filled, upper, scratch.values);
                for (int l = 0; l < laneCount && from + l < count; ++l)
                    here[upper[std::size_t(l)]] = value[std::size_t(l)];
                continue;
            }
            const ValueAndSquare both =
                turnStartWithSpread(rules_, values_.data(), squares_.data(), filled, upper, scratch);
            for (int l = 0; l < laneCount && from + l < count; ++l) {
                here[upper[std::size_t(l)]] = both.value[std::size_t(l)];
                hereSquared[upper[std::size_t(l)]] = both.square[std::size_t(l)];
            }
        }
        if (shared) {
            for (int u = 0; u < threshold; ++u) {
                if ((sums >> u & 1u) && u + stillPossible < threshold) {
                    here[u] = here[threshold];
                    if (hereSquared)
                        hereSquared[u] = hereSquared[threshold];
                }
            }
        }
    }

    const RuleTables &rules_;
    std::vector<float> &values_;
    std::vector<float> &squares_; // empty when only the values are wanted
    const std::uint16_t start_;
    const std::vector<std::uint64_t> reachable_; // by the upper rows filled since the start
};

} // namespace

Table Table::compute(const Rules &rules, unsigned threads)
{
    return solve(rules, Sheet{}, threads, false);
}

Table Table::computeWithSpread(const Rules &rules, unsigned threads)
{
    return solve(rules, Sheet{}, threads, true);
}

Table Table::computeFrom(const Rules &rules, Sheet start, unsigned threads)
{
    return solve(rules, start, threads, false);
}

Table Table::solve(const Rules &rules, Sheet start, unsigned threads, bool spread)
{
    Table table;
    auto tables = std::make_shared<RuleTables>(rules);
    table.values_.assign(tables->entries(), std::numeric_limits<float>::quiet_NaN());
    if (spread)
        table.squares_.assign(tables->entries(), std::numeric_limits<float>::quiet_NaN());
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    start.filled &= tables->fullSheet();
    start.upperSum = std::max(0, start.upperSum);
    Solver(*tables, table.values_, table.squares_, start).solve(threads);
    table.rules_ = std::move(tables);
    return table;
}

bool Table::possible(Sheet sheet) const
{
    return (sheet.filled & ~rules_->fullSheet()) == 0 && rules_->canMakeExactly(sheet.filled, sheet.upperSum);
}

const float *Table::valuesOf(Sheet sheet) const
{
    if ((sheet.filled & ~rules_->fullSheet()) != 0 || sheet.upperSum < 0)
        return nullptr;
    const float *row = values_.data() + std::size_t(sheet.filled) * std::size_t(rules_->upperSums());
    return std::isfinite(row[std::min(sheet.upperSum, rules_->threshold)]) ? row : nullptr;
}

bool Table::operator==(const Table &other) const
{
    const RuleTables &a = *rules_;
    const RuleTables &b = *other.rules_;
    const bool sameRules = a.categories == b.categories && a.upperRows == b.upperRows && a.threshold == b.threshold
                           && a.points == b.points && a.score == b.score;
    // Bytes, not floats: NaN marks the sheets a table does not hold, and
    // NaN == NaN is false.
    return sameRules && values_.size() == other.values_.size()
           && std::memcmp(values_.data(), other.values_.data(), values_.size() * sizeof(float)) == 0;
}

double Table::value(Sheet sheet) const
{
    const float *row = valuesOf(sheet);
    return row ? double(row[std::min(sheet.upperSum, rules_->threshold)]) : std::nan("");
}

double Table::meanSquare(Sheet sheet) const
{
    const float *row = valuesOf(sheet);
    if (!row || squares_.empty())
        return std::nan("");
    const std::size_t at = std::size_t(row - values_.data()) + std::size_t(std::min(sheet.upperSum, rules_->threshold));
    return double(squares_[at]);
}

} // namespace strategy
