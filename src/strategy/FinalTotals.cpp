#include "strategy/FinalTotals.h"

#include "strategy/TableParts.h"
#include "strategy/TurnPlan.h"

#include <algorithm>
#include <atomic>
#include <bitset>
#include <cmath>
#include <map>
#include <thread>
#include <tuple>
#include <unordered_map>

namespace strategy {

namespace {

// Sheets with this many rows or fewer to fill have their totals reckoned
// exactly; a simulated game stops there and takes them.
constexpr int exactRows = 2;
// Games simulated from a sheet with more rows than this to fill meet few
// sheets twice: they throw the dice, which costs a third of a sheet's plan.
constexpr int plannedRows = 11;
// Simulated games per position, in blocks that a thread takes whole, so that
// the sums are made in the same order whatever the threads.
constexpr int gamesPerPosition = 1024;
constexpr int gamesPerBlock = 64;
constexpr int blocks = gamesPerPosition / gamesPerBlock;
constexpr int mostThreads = 2;
// A thread's store of sheets is emptied past this many ends, 16 MB of them:
// a few games of four fill it.
constexpr std::size_t mostSteps = 1'000'000;
constexpr std::size_t mostRecent = 512;

// A way a turn ends, seen from the sheet it leads to.
struct Step {
    std::uint32_t next;  // the sheet's key
    std::uint32_t gain;  // the row's points and the bonus if they lift the upper sum to it
    double upTo;         // this and the earlier steps' chances together
};

// A sheet at the start of a turn, its key: the filled rows, and the upper sum
// while the bonus is still open, 63 once it is earned or out of reach; the
// rest of the game is the same for every sum that shares a key.
struct Entry {
    std::vector<Step> steps;
    std::vector<double> future; // with few rows left: [s] the chance of s more points
    double mean = 0;
    double meanSquare = 0;
};

struct Store {
    std::unordered_map<std::uint32_t, Entry> entries;
    std::size_t steps = 0;
};

std::uint64_t mixed(std::uint64_t x)
{
    // splitmix64's finaliser: nearby inputs give unrelated outputs.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

double uniform(std::uint64_t &state)
{
    state += 0x9E3779B97F4A7C15ull;
    return double(mixed(state) >> 11) * 0x1.0p-53;
}

// What a block of simulated games adds up to: their totals three ways, by
// one, by how far each game's exact mean is from the target and the same
// for its mean square, with those distances' sums.
struct Sums {
    std::vector<double> plain, byMean, bySquare;
    double mean = 0, square = 0, meanMean = 0, meanSquare = 0, squareSquare = 0;

    explicit Sums(std::size_t length) : plain(length), byMean(length), bySquare(length) {}
    void add(const Sums &other)
    {
        for (std::size_t s = 0; s < plain.size(); ++s) {
            plain[s] += other.plain[s];
            byMean[s] += other.byMean[s];
            bySquare[s] += other.bySquare[s];
        }
        mean += other.mean;
        square += other.square;
        meanMean += other.meanMean;
        meanSquare += other.meanSquare;
        squareSquare += other.squareSquare;
    }
};

class Futures {
public:
    Futures(const Table &table, Store &store) : table_(table), rules_(TableParts::rules(table)), store_(store) {}

    int rowsLeft(std::uint32_t key) const { return rules_.categories - int(std::bitset<16>(key >> 6).count()); }

    std::uint32_t keyOf(std::uint16_t filled, int upperSum) const
    {
        int stillPossible = 0;
        for (int row = 0; row < rules_.categories; ++row) {
            if (!(filled >> row & 1u) && rules_.addsToUpper(row))
                stillPossible += rules_.maxScore[row];
        }
        const bool settled = upperSum >= rules_.threshold || upperSum + stillPossible < rules_.threshold;
        return std::uint32_t(filled) << 6 | std::uint32_t(settled ? rules_.threshold : upperSum);
    }
    static Sheet sheetOf(std::uint32_t key) { return Sheet{std::uint16_t(key >> 6), int(key & 63u)}; }

    // Where a turn's end leads from the sheet of `key`.
    Step stepOf(std::uint32_t key, const TurnEnd &end) const
    {
        const Sheet sheet = sheetOf(key);
        const std::uint16_t filled = std::uint16_t(sheet.filled | 1u << end.row);
        int gain = end.score;
        int upper = sheet.upperSum;
        if (rules_.addsToUpper(end.row) && upper < rules_.threshold) {
            upper += end.score;
            gain += upper >= rules_.threshold ? rules_.points : 0;
        }
        return Step{keyOf(filled, std::min(upper, rules_.threshold)), std::uint32_t(gain), end.chance};
    }

    std::vector<Step> stepsOf(std::uint32_t key, const std::vector<TurnEnd> &ends) const
    {
        std::vector<Step> steps;
        steps.reserve(ends.size());
        double upTo = 0;
        for (const TurnEnd &end : ends) {
            Step step = stepOf(key, end);
            upTo += end.chance;
            step.upTo = upTo;
            steps.push_back(step);
        }
        return steps;
    }

    const Entry &entry(std::uint32_t key)
    {
        const auto found = store_.entries.find(key);
        if (found != store_.entries.end())
            return found->second;
        Entry made;
        if (rowsLeft(key) == 0) {
            made.future = {1.0};
        } else {
            made.steps = stepsOf(key, TurnPlan(table_, sheetOf(key)).ends());
            if (rowsLeft(key) <= exactRows)
                made.future = exactFuture(made.steps);
        }
        for (std::size_t s = 0; s < made.future.size(); ++s) {
            made.mean += double(s) * made.future[s];
            made.meanSquare += double(s) * double(s) * made.future[s];
        }
        store_.steps += made.steps.size();
        return store_.entries.emplace(key, std::move(made)).first->second;
    }

    // The points still to come after these steps, each leading to a sheet
    // whose own are reckoned exactly.
    std::vector<double> exactFuture(const std::vector<Step> &steps)
    {
        std::vector<double> future;
        double before = 0;
        for (const Step &step : steps) {
            const double chance = step.upTo - before;
            before = step.upTo;
            const std::vector<double> &later = entry(step.next).future;
            future.resize(std::max(future.size(), later.size() + step.gain), 0.0);
            for (std::size_t s = 0; s < later.size(); ++s)
                future[s + step.gain] += chance * later[s];
        }
        return future;
    }

    // The table's mean and mean square of the points still to come after
    // the steps: what the simulated games are made to agree with.
    std::pair<double, double> target(const std::vector<Step> &steps) const
    {
        double mean = 0;
        double square = 0;
        double before = 0;
        for (const Step &step : steps) {
            const double chance = step.upTo - before;
            before = step.upTo;
            const Sheet sheet = sheetOf(step.next);
            const double value = table_.value(sheet);
            const double valueSquare = table_.meanSquare(sheet);
            const double gain = double(step.gain);
            mean += chance * (gain + value);
            square += chance * (gain * gain + 2 * gain * value + valueSquare);
        }
        return {mean, square};
    }

    // Games `first` .. `first + count - 1` of a simulation from the steps,
    // their turns drawn from the sheets' plans or played with the dice.
    void simulate(const std::vector<Step> &steps, bool withDice, std::uint64_t seed, int first, int count,
                  double mean, double square, Sums &sums)
    {
        for (int game = first; game < first + count; ++game) {
            // The first turn's ends in proportion to their chances: only the
            // later turns are drawn.
            const double at = (game + 0.5) / gamesPerPosition;
            auto step = std::lower_bound(steps.begin(), steps.end(), at,
                                         [](const Step &s, double u) { return s.upTo < u; });
            if (step == steps.end())
                --step;
            std::uint32_t key = step->next;
            std::uint32_t gain = step->gain;
            std::uint64_t draws = mixed(seed ^ std::uint64_t(game) * 0xD1B54A32D192ED03ull);
            while (rowsLeft(key) > exactRows) {
                if (withDice) {
                    const TurnEnd end = playedTurn(sheetOf(key), draws);
                    const Step step = stepOf(key, end);
                    key = step.next;
                    gain += step.gain;
                    continue;
                }
                const std::vector<Step> &next = entry(key).steps;
                const double u = uniform(draws) * next.back().upTo;
                auto taken = std::lower_bound(next.begin(), next.end(), u,
                                              [](const Step &s, double v) { return s.upTo <= v; });
                if (taken == next.end())
                    --taken;
                key = taken->next;
                gain += taken->gain;
            }
            const Entry &last = entry(key);
            const double g = double(gain);
            const double m = (g + last.mean) - mean;
            const double q = (g * g + 2 * g * last.mean + last.meanSquare - square) / 100.0;
            for (std::size_t s = 0; s < last.future.size(); ++s) {
                const double chance = last.future[s];
                sums.plain[s + gain] += chance;
                sums.byMean[s + gain] += m * chance;
                sums.bySquare[s + gain] += q * chance;
            }
            sums.mean += m;
            sums.square += q;
            sums.meanMean += m * m;
            sums.meanSquare += m * q;
            sums.squareSquare += q * q;
        }
    }

    // A turn played with dice drawn from `draws`, the advice taking each choice.
    TurnEnd playedTurn(Sheet sheet, std::uint64_t &draws) const
    {
        Dice dice;
        for (int &die : dice)
            die = 1 + int(uniform(draws) * 6);
        for (int throwsMade = 1;; ++throwsMade) {
            const Action action = advise(table_, sheet, throwsMade, dice);
            if (action.kind == Action::Kind::Record) {
                const int thrown = keeps().index(countFaces(dice)) - Keeps::firstThrow;
                return TurnEnd{action.category - 1, int(rules_.score[action.category - 1][thrown]), 1.0};
            }
            dice = thrownAgain(action, [&] { return 1 + int(uniform(draws) * 6); });
        }
    }

    int mostFuture(std::uint32_t key) const
    {
        int most = 0;
        const Sheet sheet = sheetOf(key);
        for (int row = 0; row < rules_.categories; ++row) {
            if (!(sheet.filled >> row & 1u))
                most += rules_.maxScore[row];
        }
        return most + rules_.points;
    }

private:
    const Table &table_;
    const RuleTables &rules_;
    Store &store_;
};

// The games' totals weighed so that their mean and mean square are the
// table's: a game's weight is linear in how far its own exact mean and mean
// square are from them. The figures the chance to win is made of follow the
// games' mean closely, so this takes most of the simulation's scatter away.
std::vector<double> calibrated(const Sums &sums, bool withSquares)
{
    const double n = gamesPerPosition;
    const double m = sums.mean / n;
    const double q = sums.square / n;
    const double mm = sums.meanMean / n - m * m;
    const double mq = sums.meanSquare / n - m * q;
    const double qq = sums.squareSquare / n - q * q;
    double byMean = 0;
    double bySquare = 0;
    const double determinant = mm * qq - mq * mq;
    if (withSquares && determinant > 1e-9 * mm * qq) {
        byMean = (-m * qq + q * mq) / determinant;
        bySquare = (-q * mm + m * mq) / determinant;
    } else if (mm > 1e-12) {
        byMean = -m / mm;
    }
    const double plain = 1 - byMean * m - bySquare * q;
    std::vector<double> totals(sums.plain.size());
    double sum = 0;
    for (std::size_t s = 0; s < totals.size(); ++s) {
        // A weight below zero is possible far out in a tail; none is kept.
        totals[s] = std::max(0.0, plain * sums.plain[s] + byMean * sums.byMean[s] + bySquare * sums.bySquare[s]);
        sum += totals[s];
    }
    for (double &chance : totals)
        chance /= sum;
    return totals;
}

} // namespace

struct TotalsCache::Parts {
    std::array<Store, mostThreads> stores;
    // The points still to come from recent positions, by their sheet's key,
    // throws, dice and the action taken.
    std::map<std::tuple<std::uint32_t, int, int, int>, std::vector<double>> recent;
};

TotalsCache::TotalsCache() : parts_(std::make_unique<Parts>()) {}
TotalsCache::~TotalsCache() = default;

namespace {

int codeOf(const Action &action)
{
    switch (action.kind) {
    case Action::Kind::ThrowAll: return 0;
    case Action::Kind::Record: return 1000 + action.category;
    case Action::Kind::Keep: return 2000 + keeps().index(action.keep);
    }
    return 0;
}

// The points still to come once the first turn has gone by `first`.
std::vector<double> futureFrom(const Table &table, std::uint32_t key, const std::vector<TurnEnd> &first,
                               std::uint64_t seed, TotalsCache::Parts &parts)
{
    for (Store &store : parts.stores) {
        if (store.steps > mostSteps) {
            store.entries.clear();
            store.steps = 0;
        }
    }
    Futures futures(table, parts.stores[0]);
    const std::vector<Step> steps = futures.stepsOf(key, first);
    if (steps.empty())
        return {};
    const bool exact = std::all_of(steps.begin(), steps.end(),
                                   [&](const Step &s) { return futures.rowsLeft(s.next) <= exactRows; });
    if (exact)
        return futures.exactFuture(steps);

    const bool withDice = futures.rowsLeft(key) > plannedRows;
    const auto [mean, square] = futures.target(steps);
    const std::size_t length = std::size_t(futures.mostFuture(key)) + 1;
    std::vector<Sums> done(std::size_t(blocks), Sums{length});
    std::atomic<int> nextBlock{0};
    auto work = [&](Store &store) {
        Futures mine(table, store);
        for (int block = nextBlock++; block < blocks; block = nextBlock++)
            mine.simulate(steps, withDice, seed, block * gamesPerBlock, gamesPerBlock, mean, square,
                          done[std::size_t(block)]);
    };
    const unsigned threads = std::min<unsigned>(mostThreads, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work, std::ref(parts.stores[i]));
    work(parts.stores[0]);
    for (std::thread &helper : helpers)
        helper.join();
    Sums all(length);
    for (const Sums &block : done)
        all.add(block);
    return calibrated(all, std::isfinite(square));
}

bool holds(const Table &table, const Position &position)
{
    if (!std::isfinite(table.value(position.sheet)) || position.throwsMade < 0 || position.throwsMade > 3)
        return false;
    if (position.throwsMade == 0)
        return !position.locked;
    return std::all_of(position.dice.begin(), position.dice.end(), [](int face) { return face >= 1 && face <= 6; });
}

Totals totalsOf(const Table &table, const Position &position, const Action &action, TotalsCache &cache)
{
    if (!holds(table, position))
        return {};
    const RuleTables &rules = TableParts::rules(table);
    const Sheet sheet = position.sheet;
    const int earned = sheet.upperSum >= rules.threshold ? rules.points : 0;
    const int base = position.points + earned;
    Totals totals;
    if (sheet.filled == rules.fullSheet()) {
        totals.assign(std::size_t(std::max(0, base)) + 1, 0.0);
        totals.back() = 1;
        return totals;
    }

    TotalsCache::Parts &parts = cache.parts();
    Futures futures(table, parts.stores[0]);
    const std::uint32_t key = futures.keyOf(sheet.filled, std::min(sheet.upperSum, rules.threshold));
    const int throwsMade = position.locked ? 3 : position.throwsMade;
    const int thrown = throwsMade == 0 ? -1 : keeps().index(countFaces(position.dice));
    const auto recentKey = std::make_tuple(key, throwsMade, thrown, throwsMade == 0 ? 0 : codeOf(action));
    auto found = parts.recent.find(recentKey);
    if (found == parts.recent.end()) {
        const TurnPlan plan(table, Futures::sheetOf(key));
        const std::vector<TurnEnd> first =
            throwsMade == 0 ? plan.ends() : plan.endsAfter(throwsMade, position.dice, action);
        const std::uint64_t seed = mixed(std::uint64_t(key) << 32 ^ std::uint64_t(throwsMade) << 24
                                         ^ std::uint64_t(thrown + 1) << 12 ^ std::uint64_t(std::get<3>(recentKey)));
        if (parts.recent.size() >= mostRecent)
            parts.recent.clear();
        found = parts.recent.emplace(recentKey, futureFrom(table, key, first, seed, parts)).first;
    }
    const std::vector<double> &future = found->second;
    if (future.empty())
        return {};
    totals.assign(std::size_t(std::max(0, base)) + future.size(), 0.0);
    std::copy(future.begin(), future.end(), totals.begin() + std::max(0, base));
    return totals;
}

} // namespace

Totals finalTotals(const Table &table, const Position &position, TotalsCache &cache)
{
    if (!holds(table, position))
        return {};
    Action action; // the turn's start: throw all
    if (position.throwsMade > 0)
        action = advise(table, position.sheet, position.locked ? 3 : position.throwsMade, position.dice);
    return totalsOf(table, position, action, cache);
}

Totals finalTotalsAfter(const Table &table, const Position &position, const Action &action, TotalsCache &cache)
{
    return totalsOf(table, position, action, cache);
}

double meanOf(const Totals &totals)
{
    double mean = 0;
    for (std::size_t t = 0; t < totals.size(); ++t)
        mean += double(t) * totals[t];
    return mean;
}

} // namespace strategy
