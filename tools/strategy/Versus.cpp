#include "Commands.h"
#include "Match.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// A thread's games, in whole numbers so that the sums are the same in any order.
struct Tally {
    long long halves = 0; // two for a win, one for a tie
    long long ties = 0;
    long long konePoints = 0;
    long long otherPoints = 0;
};

} // namespace

int versus(const strategy::Table &table, long long games, std::uint32_t seed, unsigned threads)
{
    const auto start = std::chrono::steady_clock::now();
    std::atomic<long long> next{0};
    std::vector<Tally> tallies(threads);
    auto work = [&](Tally &tally) {
        strategy::TotalsCache cache;
        const match::Chooser kone = match::toWin(table, cache);
        const match::Chooser perfect = match::forPoints(table);
        for (long long game = next++; game < games; game = next++) {
            DiceGenerator dice = match::diceOf(seed, game);
            const std::size_t koneSeat = std::size_t(game % 2);
            match::Players players(2);
            for (int turn = 0; turn < category::count; ++turn) {
                for (std::size_t seat = 0; seat < players.size(); ++seat)
                    match::playTurn(players, seat, seat == koneSeat ? kone : perfect, dice);
            }
            const std::vector<double> shares = match::sharesOf(players);
            tally.halves += std::lround(2 * shares[koneSeat]);
            tally.ties += shares[koneSeat] == 0.5;
            tally.konePoints += match::totalOf(players[koneSeat]);
            tally.otherPoints += match::totalOf(players[1 - koneSeat]);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work, std::ref(tallies[i]));
    work(tallies[0]);
    for (std::thread &helper : helpers)
        helper.join();

    Tally all;
    for (const Tally &tally : tallies) {
        all.halves += tally.halves;
        all.ties += tally.ties;
        all.konePoints += tally.konePoints;
        all.otherPoints += tally.otherPoints;
    }
    const double n = double(games);
    const double share = double(all.halves) / (2 * n);
    // A game scores 1, 1/2 or 0: its mean square is (wins + ties / 4) / n.
    const double wins = double(all.halves - all.ties) / 2;
    const double meanSquare = (wins + double(all.ties) / 4) / n;
    const double standardError = std::sqrt(std::max(0.0, meanSquare - share * share) / n);
    std::printf("%.2f %% \u00b1 %.2f\ngames %lld\nwon %.0f\ntied %lld\nmean points %.2f against %.2f\nseconds %.1f\n",
                100 * share, 100 * standardError, games, wins, all.ties, double(all.konePoints) / n,
                double(all.otherPoints) / n,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
