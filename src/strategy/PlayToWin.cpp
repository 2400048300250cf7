#include "strategy/PlayToWin.h"

#include "strategy/TableParts.h"
#include "strategy/TurnValues.h"
#include "strategy/WinChances.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <functional>

namespace strategy {

namespace {

// Chances closer than this are equal: then the points decide.
constexpr double sameChance = 1e-6;

int rowsLeft(const RuleTables &rules, Sheet sheet)
{
    return rules.categories - int(std::bitset<16>(sheet.filled).count());
}

int earned(const RuleTables &rules, Sheet sheet)
{
    return sheet.upperSum >= rules.threshold ? rules.points : 0;
}

// The sheet after `made` points in `row`, and the points they gain, the
// bonus included when they lift the upper sum to it.
struct Recorded {
    Sheet sheet;
    int gain;
};

Recorded record(const RuleTables &rules, Sheet sheet, int row, int made)
{
    Recorded after{Sheet{std::uint16_t(sheet.filled | 1u << row), sheet.upperSum}, made};
    if (rules.addsToUpper(row)) {
        if (sheet.upperSum < rules.threshold && sheet.upperSum + made >= rules.threshold)
            after.gain += rules.points;
        after.sheet.upperSum += made;
    }
    return after;
}

int scoreOf(const RuleTables &rules, int row, int t)
{
    return int(rules.score[row][t]);
}

// The chance of each throw that ends the turn, recorded in its best row,
// and of recording the moment's dice in each row.
struct Ending {
    std::array<float, Keeps::throwCount> best;
    std::function<double(int row)> row;
};

// The choices' chances at the moment from the turn's endings: a keep's is
// what the throws after it are worth, played for the most chance.
std::vector<double> chancesOf(const std::vector<Action> &options, const Ending &ending, int throwsMade, int thrown)
{
    std::vector<double> chances;
    if (throwsMade == 3) {
        for (const Action &option : options)
            chances.push_back(ending.row(option.category - 1));
        return chances;
    }
    TurnScratch scratch;
    Lanes *keep = scratch.keep.data();
    Lanes *throws = keep + Keeps::firstThrow;
    for (int t = 0; t < Keeps::throwCount; ++t)
        throws[t] = Lanes{} + ending.best[std::size_t(t)];
    averageKeeps(keep);
    if (throwsMade == 1) {
        bestSubKeeps(keep, scratch.best.data());
        std::copy(scratch.best.begin() + Keeps::firstThrow, scratch.best.end(), throws);
        averageKeeps(keep);
    }
    for (const Action &option : options) {
        if (option.kind == Action::Kind::Keep)
            chances.push_back(double(keep[keeps().index(option.keep)][0]));
        else
            chances.push_back(double(ending.best[std::size_t(thrown)]));
    }
    return chances;
}

// The end of the game: every chance exact, from the others' exact final
// totals, over `me`'s last one or two turns.
class Endgame {
public:
    Endgame(const Table &table, const Position &me, const std::vector<Totals> &others)
        : rules_(TableParts::rules(table)), sheet_(me.sheet)
    {
        base_ = me.points + earned(rules_, me.sheet);
        int most = 0;
        for (int row = 0; row < rules_.categories; ++row)
            most += rules_.maxScore[row];
        winning_ = chanceToWinWith(others, std::size_t(std::max(0, base_) + most + rules_.points + 1));
    }

    Ending ending(int thrown)
    {
        std::vector<int> free;
        for (int row = 0; row < rules_.categories; ++row) {
            if (!(sheet_.filled >> row & 1u))
                free.push_back(row);
        }
        Ending ending;
        if (free.size() == 1) {
            const int row = free[0];
            for (int t = 0; t < Keeps::throwCount; ++t) {
                const int gain = record(rules_, sheet_, row, scoreOf(rules_, row, t)).gain;
                ending.best[std::size_t(t)] = float(winningWith(base_ + gain));
            }
            const float now = ending.best[std::size_t(std::max(0, thrown))];
            ending.row = [now](int) { return double(now); };
            return ending;
        }
        // Two rows: the last turn's chance at its start after each score
        // of either row now, four of those turns side by side.
        std::array<std::array<float, 64>, 2> later{};
        struct Job {
            int which, made;
        };
        std::vector<Job> jobs;
        for (int which = 0; which < 2; ++which) {
            for (int made = 0; made < 64; ++made) {
                if (rules_.scoresMade[std::size_t(free[std::size_t(which)])] >> made & 1u)
                    jobs.push_back(Job{which, made});
            }
        }
        for (std::size_t first = 0; first < jobs.size(); first += laneCount) {
            TurnScratch scratch;
            Lanes *throws = scratch.keep.data() + Keeps::firstThrow;
            for (int l = 0; l < laneCount; ++l) {
                const Job &job = jobs[std::min(first + std::size_t(l), jobs.size() - 1)];
                const int now = free[std::size_t(job.which)];
                const int last = free[std::size_t(1 - job.which)];
                const Recorded after = record(rules_, sheet_, now, job.made);
                for (int t = 0; t < Keeps::throwCount; ++t) {
                    const int gain = record(rules_, after.sheet, last, scoreOf(rules_, last, t)).gain;
                    throws[t][l] = float(winningWith(base_ + after.gain + gain));
                }
            }
            const std::array<float, laneCount> start = valueBeforeTheThrows(scratch);
            for (int l = 0; l < laneCount && first + std::size_t(l) < jobs.size(); ++l) {
                const Job &job = jobs[first + std::size_t(l)];
                later[std::size_t(job.which)][std::size_t(job.made)] = start[std::size_t(l)];
            }
        }
        for (int t = 0; t < Keeps::throwCount; ++t) {
            ending.best[std::size_t(t)] = std::max(later[0][std::size_t(scoreOf(rules_, free[0], t))],
                                                   later[1][std::size_t(scoreOf(rules_, free[1], t))]);
        }
        ending.row = [this, free, later, thrown](int row) {
            const int which = row == free[0] ? 0 : 1;
            return double(later[std::size_t(which)][std::size_t(scoreOf(rules_, row, std::max(0, thrown)))]);
        };
        return ending;
    }

private:
    double winningWith(int total) const
    {
        return winning_[std::size_t(std::clamp(total, 0, int(winning_.size()) - 1))];
    }

    const RuleTables &rules_;
    Sheet sheet_;
    int base_ = 0;
    std::vector<double> winning_;
};

// A final total as a normal law: its mean and variance.
struct Normal {
    double mean = 0;
    double variance = 0;
};

Normal finalTotalOf(const Table &table, Sheet sheet, int points)
{
    const RuleTables &rules = TableParts::rules(table);
    const double value = table.value(sheet);
    const double spread = table.meanSquare(sheet) - value * value;
    return Normal{points + earned(rules, sheet) + value, std::max(0.0, spread)};
}

double below(double z)
{
    return 0.5 * std::erfc(-z * M_SQRT1_2);
}

// The chance that a final total of law `me` is the highest against
// `others`, ties shared: the laws stand for whole numbers, so a tie is
// half above and half below.
double chanceAgainst(const Normal &me, const std::vector<Normal> &others)
{
    if (others.size() == 1) {
        const double spread = std::sqrt(me.variance + others[0].variance);
        const double ahead = me.mean - others[0].mean;
        if (spread < 1e-9)
            return ahead > 0.5 ? 1.0 : ahead < -0.5 ? 0.0 : 0.5;
        return below(ahead / spread);
    }
    // Over `me`'s law in steps of a quarter of its spread out to five.
    constexpr int steps = 20;
    const double spread = std::sqrt(me.variance);
    double sum = 0;
    double weights = 0;
    for (int i = -steps; i <= steps; ++i) {
        const double z = i * 0.25;
        const double weight = spread > 0 ? std::exp(-0.5 * z * z) : (i == 0 ? 1.0 : 0.0);
        if (weight == 0)
            continue;
        const double total = me.mean + z * spread;
        double all = 1;
        for (const Normal &other : others)
            all *= below((total - other.mean) / std::sqrt(other.variance + 0.25));
        sum += weight * all;
        weights += weight;
    }
    return sum / weights;
}

// Before the end of the game: the chance after each way this turn can end,
// from the laws of the final totals then.
Ending normalEnding(const Table &table, const Position &me, const std::vector<Position> &others, int thrown)
{
    const RuleTables &rules = TableParts::rules(table);
    std::vector<Normal> theirs;
    for (const Position &other : others)
        theirs.push_back(finalTotalOf(table, other.sheet, other.points));
    std::array<std::array<float, 64>, RuleTables::maxCategories> byScore{};
    for (int row = 0; row < rules.categories; ++row) {
        if (me.sheet.filled >> row & 1u)
            continue;
        for (int made = 0; made < 64; ++made) {
            if (!(rules.scoresMade[std::size_t(row)] >> made & 1u))
                continue;
            const Recorded after = record(rules, me.sheet, row, made);
            const Normal mine = finalTotalOf(table, after.sheet, me.points + made);
            byScore[std::size_t(row)][std::size_t(made)] = float(chanceAgainst(mine, theirs));
        }
    }
    Ending ending;
    ending.best.fill(0);
    for (int row = 0; row < rules.categories; ++row) {
        if (me.sheet.filled >> row & 1u)
            continue;
        const auto &chance = byScore[std::size_t(row)];
        for (int t = 0; t < Keeps::throwCount; ++t) {
            float &best = ending.best[std::size_t(t)];
            best = std::max(best, chance[std::size_t(scoreOf(rules, row, t))]);
        }
    }
    ending.row = [&rules, byScore, thrown](int row) {
        return double(byScore[std::size_t(row)][std::size_t(scoreOf(rules, row, std::max(0, thrown)))]);
    };
    return ending;
}

} // namespace

ChoicesToWin choicesToWin(const Table &table, const Position &me, const std::vector<Position> &others,
                          TotalsCache &cache)
{
    ChoicesToWin result;
    const int throwsMade = me.locked ? 3 : me.throwsMade;
    const std::vector<Action> options = choices(table, me.sheet, throwsMade, me.dice);
    if (options.empty())
        return result;
    for (const Action &option : options)
        result.choices.push_back(ChanceOfChoice{option, 1.0});

    if (!others.empty()) {
        const RuleTables &rules = TableParts::rules(table);
        const int thrown = keeps().index(countFaces(me.dice)) - Keeps::firstThrow;
        result.exact = rowsLeft(rules, me.sheet) <= 2
                       && std::all_of(others.begin(), others.end(),
                                      [&](const Position &other) { return rowsLeft(rules, other.sheet) <= 2; });
        std::vector<double> chances;
        if (result.exact) {
            std::vector<Totals> theirs;
            for (const Position &other : others)
                theirs.push_back(finalTotals(table, other, cache));
            Endgame endgame(table, me, theirs);
            chances = chancesOf(options, endgame.ending(thrown), throwsMade, thrown);
        } else {
            chances = chancesOf(options, normalEnding(table, me, others, thrown), throwsMade, thrown);
        }
        for (std::size_t i = 0; i < options.size(); ++i)
            result.choices[i].chance = chances[i];
    }

    double most = 0;
    for (const ChanceOfChoice &choice : result.choices)
        most = std::max(most, choice.chance);
    bool found = false;
    for (std::size_t i = 0; i < result.choices.size(); ++i) {
        const ChanceOfChoice &choice = result.choices[i];
        if (choice.chance < most - sameChance)
            continue;
        if (!found || choice.action.value > result.choices[result.taken].action.value) {
            result.taken = i;
            found = true;
        }
    }
    return result;
}

} // namespace strategy
