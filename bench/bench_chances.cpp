// The chance to win and Kone playing to win, timed: the table's spread, a
// player's final totals from the middle of a game, the chances at the moments
// of a game of four and the chart of a finished one, the computer's moves;
// with "accuracy", the chances shown set against long simulations of perfect
// play from the same moments. Figures to read, not a pass or a fail.

#include "Match.h"

#include "strategy/PlayToWin.h"
#include "strategy/WinChances.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Figures {
    std::vector<double> seconds;
    void add(double s) { seconds.push_back(s); }
    double median()
    {
        std::sort(seconds.begin(), seconds.end());
        return seconds.empty() ? 0 : seconds[seconds.size() / 2];
    }
    double most() const { return seconds.empty() ? 0 : *std::max_element(seconds.begin(), seconds.end()); }
};

// Every moment of a game of perfect play for points: after each turn's
// first throw and after each turn.
std::vector<match::Players> momentsOf(const strategy::Table &table, std::size_t players, std::uint32_t seed,
                                      bool turnsOnly)
{
    std::vector<match::Players> moments;
    const match::Chooser perfect = match::forPoints(table);
    DiceGenerator dice = match::diceOf(seed, 0);
    match::Players game(players);
    for (int turn = 0; turn < category::count; ++turn) {
        for (std::size_t seat = 0; seat < players; ++seat) {
            bool first = !turnsOnly;
            match::playTurn(game, seat, perfect, dice, [&](const match::Players &now) {
                if (first)
                    moments.push_back(now);
                first = false;
            });
            moments.push_back(game);
        }
    }
    moments.pop_back(); // the game is over
    return moments;
}

void tableFigures()
{
    // The best of five: the other work on the machine only ever adds.
    for (const unsigned threads : {2u, 1u}) {
        Figures alone, spread;
        for (int run = 0; run < 5; ++run) {
            Clock::time_point start = Clock::now();
            strategy::Table::compute(strategy::Rules::ours(), threads);
            alone.add(secondsSince(start));
            start = Clock::now();
            strategy::Table::computeWithSpread(strategy::Rules::ours(), threads);
            spread.add(secondsSince(start));
        }
        std::sort(alone.seconds.begin(), alone.seconds.end());
        std::sort(spread.seconds.begin(), spread.seconds.end());
        std::printf("table on %u thread(s): %.3f s, with its spread %.3f s (+%.3f s)\n", threads, alone.seconds[0],
                    spread.seconds[0], spread.seconds[0] - alone.seconds[0]);
    }
    std::printf("the spread's memory: one float per value, %.1f MB\n", 32768.0 * 64 * 4 / 1e6);
}

void totalsFigures(const strategy::Table &table)
{
    std::printf("a player's final totals from the start of turn n, cold (median / most of 8 games, ms):\n");
    std::vector<Figures> byTurn(category::count);
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const std::vector<match::Players> moments = momentsOf(table, 1, seed, true);
        for (std::size_t turn = 0; turn < moments.size() && turn < byTurn.size(); ++turn) {
            strategy::TotalsCache cache;
            const Clock::time_point start = Clock::now();
            strategy::finalTotals(table, moments[turn][0], cache);
            byTurn[turn].add(secondsSince(start));
        }
    }
    for (std::size_t turn = 0; turn + 1 < byTurn.size(); ++turn)
        std::printf("  turn %2zu: %6.1f / %6.1f\n", turn + 2, 1000 * byTurn[turn].median(), 1000 * byTurn[turn].most());
}

void gameOfFourFigures(const strategy::Table &table)
{
    Figures cold, warm, chart;
    for (std::uint32_t seed = 11; seed <= 13; ++seed) {
        strategy::TotalsCache run;
        for (const match::Players &moment : momentsOf(table, 4, seed, false)) {
            strategy::TotalsCache fresh;
            Clock::time_point start = Clock::now();
            strategy::chancesToWin(table, moment, fresh);
            cold.add(secondsSince(start));
            start = Clock::now();
            strategy::chancesToWin(table, moment, run);
            warm.add(secondsSince(start));
        }
        // The chart of the finished game: a point after every turn, one cache.
        strategy::TotalsCache window;
        const Clock::time_point start = Clock::now();
        for (const match::Players &point : momentsOf(table, 4, seed, true))
            strategy::chancesToWin(table, point, window);
        chart.add(secondsSince(start));
    }
    std::printf("the chances at a moment of a game of four, s (median / most over 3 games):\n"
                "  with a cache of its own: %.3f / %.3f\n  with the run's cache:    %.3f / %.3f\n",
                cold.median(), cold.most(), warm.median(), warm.most());
    std::printf("the chart of a finished game of four, %d points: %.2f / %.2f s\n", 4 * category::count,
                chart.median(), chart.most());
}

void computerFigures(const strategy::Table &table)
{
    Figures moves;
    for (std::uint32_t seed = 21; seed <= 23; ++seed) {
        strategy::TotalsCache cache;
        const match::Chooser kone = match::toWin(table, cache);
        const match::Chooser perfect = match::forPoints(table);
        const match::Chooser timed = [&](const match::Players &players, std::size_t me) {
            const Clock::time_point start = Clock::now();
            const strategy::Action action = kone(players, me);
            moves.add(secondsSince(start));
            return action;
        };
        DiceGenerator dice = match::diceOf(seed, 0);
        match::Players game(4);
        for (int turn = 0; turn < category::count; ++turn) {
            for (std::size_t seat = 0; seat < game.size(); ++seat)
                match::playTurn(game, seat, seat == 0 ? timed : perfect, dice);
        }
    }
    std::printf("Kone's choice in a game of four, ms: median %.2f, most %.2f\n", 1000 * moves.median(),
                1000 * moves.most());
}

// The chances shown against the shares won over many games of perfect play
// from the same moment, each player's rest of the game played apart.
void accuracyFigures(const strategy::Table &table, long long games)
{
    const match::Chooser perfect = match::forPoints(table);
    double largest = 0;
    for (const std::size_t players : {std::size_t(2), std::size_t(4)}) {
        const std::vector<match::Players> moments = momentsOf(table, players, std::uint32_t(31 + players), false);
        for (std::size_t m = 0; m < moments.size(); m += moments.size() / 6) {
            strategy::TotalsCache cache;
            const std::vector<double> shown = strategy::chancesToWin(table, moments[m], cache);
            std::vector<double> won(players, 0.0);
            for (long long game = 0; game < games; ++game) {
                DiceGenerator dice = match::diceOf(std::uint32_t(1000 + m), game);
                match::Players rest = moments[m];
                for (strategy::Position &player : rest)
                    match::playToTheEnd(player, perfect, dice);
                const std::vector<double> shares = match::sharesOf(rest);
                for (std::size_t i = 0; i < players; ++i)
                    won[i] += shares[i];
            }
            std::printf("  %zu players, moment %3zu:", players, m);
            for (std::size_t i = 0; i < players; ++i) {
                const double share = won[i] / double(games);
                largest = std::max(largest, std::abs(share - shown[i]));
                std::printf("  %5.2f %% (%5.2f %%)", 100 * shown[i], 100 * share);
            }
            std::printf("\n");
        }
    }
    std::printf("largest gap between the chance shown and the share won: %.2f points (won over %lld games each)\n",
                100 * largest, games);
}

} // namespace

int main(int argc, char **argv)
{
    const bool accuracy = argc > 1 && std::strcmp(argv[1], "accuracy") == 0;
    if (!accuracy)
        tableFigures();
    const strategy::Table table = strategy::Table::computeWithSpread(strategy::Rules::ours());
    if (accuracy) {
        accuracyFigures(table, argc > 2 ? std::atoll(argv[2]) : 100000);
        return 0;
    }
    totalsFigures(table);
    gameOfFourFigures(table);
    computerFigures(table);
    return 0;
}
