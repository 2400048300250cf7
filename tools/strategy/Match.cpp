#include "Match.h"

#include "strategy/PlayToWin.h"

#include <algorithm>

namespace match {

Chooser forPoints(const strategy::Table &table)
{
    return [&table](const Players &players, std::size_t me) {
        const strategy::Position &p = players[me];
        return strategy::advise(table, p.sheet, p.locked ? 3 : p.throwsMade, p.dice);
    };
}

Chooser toWin(const strategy::Table &table, strategy::TotalsCache &cache)
{
    return [&table, &cache](const Players &players, std::size_t me) {
        Players others;
        for (std::size_t i = 0; i < players.size(); ++i) {
            if (i != me)
                others.push_back(players[i]);
        }
        const strategy::ChoicesToWin options = strategy::choicesToWin(table, players[me], others, cache);
        return options.choices.empty() ? strategy::Action{} : options.choices[options.taken].action;
    };
}

void playTurn(Players &players, std::size_t me, const Chooser &choose, DiceGenerator &dice,
              const std::function<void(const Players &)> &watch)
{
    strategy::Position &p = players[me];
    for (int &die : p.dice)
        die = dice.nextDieValue();
    p.throwsMade = 1;
    p.locked = false;
    finishTurn(players, me, choose, dice, watch);
}

void finishTurn(Players &players, std::size_t me, const Chooser &choose, DiceGenerator &dice,
                const std::function<void(const Players &)> &watch)
{
    strategy::Position &p = players[me];
    for (;;) {
        if (watch)
            watch(players);
        const strategy::Action action = choose(players, me);
        if (action.kind == strategy::Action::Kind::Record) {
            // Keeping all before the last throw: the row is a choice of its own.
            if (p.throwsMade < 3 && !p.locked) {
                p.locked = true;
                continue;
            }
            const int points = scoreCategory(action.category, p.dice);
            if (action.category <= category::sixes)
                p.sheet.upperSum += points;
            p.points += points;
            p.sheet.filled |= std::uint16_t(1u << (action.category - 1));
            p.throwsMade = 0;
            p.locked = false;
            return;
        }
        if (action.kind != strategy::Action::Kind::Keep || p.throwsMade >= 3)
            return; // no choice: a sheet no game reaches
        p.dice = strategy::thrownAgain(action, [&dice] { return dice.nextDieValue(); });
        ++p.throwsMade;
    }
}

void playToTheEnd(strategy::Position &player, const Chooser &choose, DiceGenerator &dice)
{
    Players alone{player};
    if (alone[0].throwsMade > 0)
        finishTurn(alone, 0, choose, dice);
    while (alone[0].sheet.filled != (1u << category::count) - 1)
        playTurn(alone, 0, choose, dice);
    player = alone[0];
}

int totalOf(const strategy::Position &player)
{
    return player.points + (player.sheet.upperSum >= upperBonus::threshold ? upperBonus::points : 0);
}

std::vector<double> sharesOf(const Players &players)
{
    int top = 0;
    for (const strategy::Position &player : players)
        top = std::max(top, totalOf(player));
    const double sharing = double(std::count_if(players.begin(), players.end(),
                                                [top](const strategy::Position &p) { return totalOf(p) == top; }));
    std::vector<double> shares;
    for (const strategy::Position &player : players)
        shares.push_back(totalOf(player) == top ? 1 / sharing : 0.0);
    return shares;
}

DiceGenerator diceOf(std::uint32_t seed, long long game)
{
    // splitmix64's finaliser: neighbouring games get unrelated seeds.
    std::uint64_t x = (std::uint64_t(seed) << 32 ^ std::uint64_t(game)) + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return DiceGenerator(std::uint32_t((x ^ (x >> 31)) >> 32));
}

} // namespace match
