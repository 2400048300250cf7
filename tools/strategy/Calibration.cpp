#include "Commands.h"
#include "Match.h"

#include "strategy/WinChances.h"

#include <array>
#include <cstdio>

namespace {

// The chances shown to the players of a game at its moments, to be set
// against who won once the game is over.
struct Shown {
    std::vector<double> chances;
};

struct Tenth {
    double shown = 0;
    double won = 0;
    long long count = 0;
};

} // namespace

int calibrate(const strategy::Table &table, long long games, std::uint32_t seed)
{
    strategy::TotalsCache cache;
    const match::Chooser perfect = match::forPoints(table);
    std::array<Tenth, 10> tenths{};
    double squares = 0;
    long long moments = 0;
    for (long long game = 0; game < games; ++game) {
        DiceGenerator dice = match::diceOf(seed, game);
        const std::size_t count = game % 4 < 2 ? 2 : std::size_t(game % 4 + 1);
        match::Players players(count);
        std::vector<Shown> shown;
        auto look = [&](const match::Players &now) { shown.push_back({strategy::chancesToWin(table, now, cache)}); };
        for (int turn = 0; turn < category::count; ++turn) {
            for (std::size_t seat = 0; seat < count; ++seat) {
                bool first = true;
                // The moment after the turn's first throw, and the turn's end.
                match::playTurn(players, seat, perfect, dice, [&](const match::Players &now) {
                    if (first)
                        look(now);
                    first = false;
                });
                if (turn + 1 < category::count || seat + 1 < count)
                    look(players);
            }
        }
        const std::vector<double> shares = match::sharesOf(players);
        for (const Shown &moment : shown) {
            for (std::size_t i = 0; i < count; ++i) {
                const double chance = moment.chances[i];
                Tenth &tenth = tenths[std::size_t(std::min(9, int(chance * 10)))];
                tenth.shown += chance;
                tenth.won += shares[i];
                ++tenth.count;
                squares += (chance - shares[i]) * (chance - shares[i]);
                ++moments;
            }
        }
    }
    std::printf("shown      mean shown    won     count\n");
    for (std::size_t t = 0; t < tenths.size(); ++t) {
        const Tenth &tenth = tenths[t];
        if (tenth.count == 0)
            continue;
        std::printf("%3zu-%3zu %%  %6.2f %%   %6.2f %%  %7lld\n", 10 * t, 10 * t + 10,
                    100 * tenth.shown / double(tenth.count), 100 * tenth.won / double(tenth.count), tenth.count);
    }
    std::printf("games %lld\nmean squared error %.4f\n", games, squares / double(moments));
    return 0;
}
