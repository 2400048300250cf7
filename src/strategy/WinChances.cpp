#include "strategy/WinChances.h"

#include <algorithm>
#include <array>

namespace strategy {

namespace {

double chanceAt(const Totals &totals, std::size_t t)
{
    return t < totals.size() ? totals[t] : 0.0;
}

} // namespace

std::vector<double> chanceToWinWith(const std::vector<Totals> &others, std::size_t length)
{
    std::vector<double> below(others.size(), 0.0);
    std::vector<double> chance(length, 0.0);
    for (std::size_t t = 0; t < length; ++t) {
        // The product over the others of (below t) + (at t) x: the
        // coefficient of x^k is the chance that k of them tie at t and the
        // rest are below it, when the first place is shared by k + 1.
        std::array<double, 8> ways{1.0};
        std::size_t degree = 0;
        for (std::size_t j = 0; j < others.size(); ++j) {
            const double at = chanceAt(others[j], t);
            if (degree + 1 < ways.size())
                ++degree;
            for (std::size_t k = degree; k > 0; --k)
                ways[k] = ways[k] * below[j] + ways[k - 1] * at;
            ways[0] *= below[j];
            below[j] += at;
        }
        for (std::size_t k = 0; k <= degree; ++k)
            chance[t] += ways[k] / double(k + 1);
    }
    return chance;
}

std::vector<double> winChances(const std::vector<Totals> &players)
{
    std::vector<double> chances(players.size(), 0.0);
    for (std::size_t i = 0; i < players.size(); ++i) {
        std::vector<Totals> others;
        for (std::size_t j = 0; j < players.size(); ++j) {
            if (j != i)
                others.push_back(players[j]);
        }
        const std::vector<double> winning = chanceToWinWith(others, players[i].size());
        for (std::size_t t = 0; t < players[i].size(); ++t)
            chances[i] += players[i][t] * winning[t];
    }
    return chances;
}

namespace {

std::vector<double> chancesOf(const Table &table, const std::vector<Position> &players, std::size_t mover,
                              const Action *action, TotalsCache &cache)
{
    std::vector<Totals> totals;
    for (std::size_t i = 0; i < players.size(); ++i) {
        totals.push_back(i == mover && action ? finalTotalsAfter(table, players[i], *action, cache)
                                              : finalTotals(table, players[i], cache));
        if (totals.back().empty())
            return {};
    }
    return winChances(totals);
}

} // namespace

std::vector<double> chancesToWin(const Table &table, const std::vector<Position> &players, TotalsCache &cache)
{
    return chancesOf(table, players, players.size(), nullptr, cache);
}

std::vector<double> chancesToWinAfter(const Table &table, const std::vector<Position> &players, std::size_t mover,
                                      const Action &action, TotalsCache &cache)
{
    return chancesOf(table, players, mover, &action, cache);
}

} // namespace strategy
