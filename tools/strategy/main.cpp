// kopperi-strategy: ways to look at the table of perfect play: the advice
// for states read from standard input, solitaire games played by it, and
// games of several, where "Kone" plays to win.

#include "Commands.h"
#include "StateLine.h"

#include "dice/DiceGenerator.h"
#include "strategy/Levels.h"
#include "strategy/PlayToWin.h"
#include "strategy/Strategy.h"

#include <QString>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const char usage[] =
    "usage: kopperi-strategy COMMAND [OPTIONS]\n"
    "  advise [--player NAME] [--seed S]\n"
    "                     for each line of standard input,\n"
    "                       FILLED UPPER THROWS D1 D2 D3 D4 D5\n"
    "                     (FILLED: recorded row codes as 1,7,13 or -), print NAME's\n"
    "                     choice: \"record C EV\" or \"keep F1 F2 ... EV\" (\"keep - EV\"),\n"
    "                     EV the value of the choice; keeping all is followed by the\n"
    "                     row NAME picks. In a game of several the line goes on\n"
    "                       ... D5 POINTS / FILLED UPPER POINTS [/ ...]\n"
    "                     (POINTS: the rows' scores, the upper bonus left out; then\n"
    "                     each other player, waiting for a turn), Kone plays to win\n"
    "                     and the chance to win after the choice follows EV\n"
    "  simulate N [SEED] [--player NAME]\n"
    "                     play N solitaire games as NAME and compare their mean with\n"
    "                     the table; the dice come from SEED's generator\n"
    "  versus N [SEED]    play N games of two, Kone playing to win against perfect\n"
    "                     play for points, each starting half of them; print Kone's\n"
    "                     share of the wins, a tie counting half\n"
    "  calibrate N [SEED] play N games of perfect play for points (half of two\n"
    "                     players, a quarter each of three and four) and set the\n"
    "                     chances to win shown during them against who won\n"
    "  --player NAME      Kone 1, Kone 2, Kone 3 (weakest first) or Kone (default),\n"
    "                     which plays perfectly\n"
    "  --seed S           for advise: NAME's random picks come from the generator\n"
    "                     of seed ~S (S 0 by default); in simulate, of seed ~SEED\n"
    "  --threads N        threads that compute the table and play versus's games\n"
    "                     (default: every core)\n";

int usageError(const std::string &why)
{
    std::fprintf(stderr, "kopperi-strategy: %s\n%s", why.c_str(), usage);
    return 2;
}

template <typename Number>
std::optional<Number> wholeNumber(const std::string &text)
{
    Number value{};
    const char *end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, value);
    if (text.empty() || fault != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Options {
    unsigned threads = 0;
    const strategy::Level *player = &strategy::levels().back();
    std::optional<std::uint32_t> seed; // advise's --seed
    std::vector<std::string> command;
};

// The player's draws come from a sequence of their own, so that a weaker
// player's choices never shift the dice: the dice of the complement seed,
// far from the run's own dice for any seed.
DiceGenerator drawsFor(std::uint32_t seed)
{
    return DiceGenerator(~seed);
}

// What a player did at one moment after a throw: the choice that stands (a
// keep, or the row recorded), with the costs of the picks that led to it.
struct Taken {
    strategy::Action action;
    double cost = 0;    // all picks together
    double largest = 0; // the largest of one pick
};

// As the computer plays: after a throw 1 or 2 a keep throws the others
// again, keeping all leads to the row moment, which is picked as after the
// third throw. One draw per pick, the best player's too.
std::optional<Taken> take(const strategy::Table &table, const strategy::Level &level, DiceGenerator &draws,
                          strategy::Sheet sheet, int throwsMade, const Dice &dice)
{
    Taken taken;
    for (;;) {
        const std::vector<strategy::Action> options = strategy::choices(table, sheet, throwsMade, dice);
        if (options.empty())
            return std::nullopt;
        const std::size_t picked = strategy::pick(options, level, draws.next());
        double best = options[0].value;
        for (const strategy::Action &option : options)
            best = std::max(best, option.value);
        const double cost = best - options[picked].value;
        taken.action = options[picked];
        taken.cost += cost;
        taken.largest = std::max(taken.largest, cost);
        if (taken.action.kind == strategy::Action::Kind::Keep || throwsMade == 3)
            return taken;
        throwsMade = 3;
    }
}

// In a game of several: the choice and the chance to win after it. Kone takes
// the most chance; a weaker computer picks for points as it does in a game.
std::optional<std::string> answerToWin(const strategy::Table &table, const strategy::Level &level,
                                       DiceGenerator &draws, const StateLine &state, strategy::TotalsCache &cache)
{
    strategy::Position me;
    me.sheet = state.sheet;
    me.points = state.points;
    me.throwsMade = state.throwsMade;
    me.dice = state.dice;
    for (;;) {
        const strategy::ChoicesToWin open = strategy::choicesToWin(table, me, state.others, cache);
        if (open.choices.empty())
            return std::nullopt;
        std::vector<strategy::Action> actions;
        for (const strategy::ChanceOfChoice &choice : open.choices)
            actions.push_back(choice.action);
        const std::size_t picked = strategy::pick(actions, level, draws.next());
        const strategy::ChanceOfChoice &choice = open.choices[level.temperature > 0 ? picked : open.taken];
        if (choice.action.kind == strategy::Action::Kind::Record && me.throwsMade < 3 && !me.locked) {
            me.locked = true;
            continue;
        }
        return formatAction(choice.action, choice.chance);
    }
}

int adviseLines(const Options &options)
{
    // The spread, which playing to win needs, is reckoned once a line of
    // several players comes: the values stay the same to the bit.
    strategy::Table table = strategy::Table::compute(strategy::Rules::ours(), options.threads);
    DiceGenerator draws = drawsFor(options.seed.value_or(0));
    strategy::TotalsCache cache;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        std::string error;
        const std::optional<StateLine> state = parseStateLine(line, table, &error);
        if (!state) {
            std::cout.flush();
            std::fprintf(stderr, "kopperi-strategy: line %d: %s\n", number, error.c_str());
            return 1;
        }
        std::optional<std::string> answer;
        if (!state->others.empty()) {
            if (!table.hasSpread())
                table = strategy::Table::computeWithSpread(strategy::Rules::ours(), options.threads);
            answer = answerToWin(table, *options.player, draws, *state, cache);
        } else if (const std::optional<Taken> taken =
                       take(table, *options.player, draws, state->sheet, state->throwsMade, state->dice)) {
            answer = formatAction(taken->action);
        }
        if (!answer) {
            std::cout.flush();
            std::fprintf(stderr, "kopperi-strategy: line %d: the table gives no choice\n", number);
            return 1;
        }
        std::cout << *answer << '\n';
    }
    return 0;
}

struct GameFigures {
    long long moments = 0;
    double cost = 0;
    double largestCost = 0;
};

// One solitaire game played as `level`, scored by the game's own rules.
// Returns the final score, or -1 if the table ever failed to give a choice.
int playGame(const strategy::Table &table, const strategy::Level &level, DiceGenerator &generator,
             DiceGenerator &draws, GameFigures &figures)
{
    strategy::Sheet sheet;
    int total = 0;
    for (int turn = 0; turn < category::count; ++turn) {
        Dice dice{};
        for (int &die : dice)
            die = generator.nextDieValue();
        for (int throwsMade = 1;; ++throwsMade) {
            const std::optional<Taken> taken = take(table, level, draws, sheet, throwsMade, dice);
            if (!taken)
                return -1;
            ++figures.moments;
            figures.cost += taken->cost;
            figures.largestCost = std::max(figures.largestCost, taken->largest);
            const strategy::Action &action = taken->action;
            if (action.kind == strategy::Action::Kind::Record) {
                const int code = action.category;
                const int points = scoreCategory(code, dice);
                if (code <= category::sixes) {
                    const bool lifts = sheet.upperSum < upperBonus::threshold
                                       && sheet.upperSum + points >= upperBonus::threshold;
                    total += lifts ? upperBonus::points : 0;
                    sheet.upperSum += points;
                }
                total += points;
                sheet.filled |= std::uint16_t(1u << (code - 1));
                break;
            }
            if (throwsMade >= 3)
                return -1;
            dice = strategy::thrownAgain(action, [&generator] { return generator.nextDieValue(); });
        }
    }
    return total;
}

int simulate(const strategy::Table &table, const strategy::Level &level, long long games, std::uint32_t seed)
{
    DiceGenerator generator(seed);
    DiceGenerator draws = drawsFor(seed);
    GameFigures figures;
    double sum = 0;
    double sumOfSquares = 0;
    const Clock::time_point start = Clock::now();
    for (long long game = 0; game < games; ++game) {
        const int score = playGame(table, level, generator, draws, figures);
        if (score < 0) {
            std::fprintf(stderr, "kopperi-strategy: the table gave no choice in game %lld\n", game + 1);
            return 1;
        }
        sum += score;
        sumOfSquares += double(score) * score;
    }
    const double seconds = secondsSince(start);
    const double n = double(games);
    const double mean = sum / n;
    const double variance = games > 1 ? (sumOfSquares - n * mean * mean) / (n - 1) : 0.0;
    std::printf("games %lld\nmean %.4f\nstandard error %.4f\nexpected %.4f\n"
                "mean cost per game %.4f\nlargest cost %.4f\n"
                "games per second %.0f\nmicroseconds per advice %.2f\n",
                games, mean, std::sqrt(std::max(0.0, variance) / n), table.value(strategy::Sheet{}),
                figures.cost / n, figures.largestCost, n / seconds,
                seconds * 1e6 / double(figures.moments));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    for (int at = 1; at < argc; ++at) {
        const std::string argument = argv[at];
        if (argument.rfind("--", 0) != 0) {
            options.command.push_back(argument);
            continue;
        }
        if (at + 1 >= argc)
            return usageError(argument + " needs a value");
        const std::string value = argv[++at];
        if (argument == "--threads") {
            const std::optional<unsigned> threads = wholeNumber<unsigned>(value);
            if (!threads || *threads < 1 || *threads > 256)
                return usageError("--threads wants a number 1..256");
            options.threads = *threads;
        } else if (argument == "--player") {
            options.player = strategy::levelNamed(QString::fromStdString(value));
            if (!options.player)
                return usageError("no player is called \"" + value + "\": Kone 1, Kone 2, Kone 3 or Kone");
        } else if (argument == "--seed") {
            options.seed = wholeNumber<std::uint32_t>(value);
            if (!options.seed)
                return usageError("--seed wants a number 0..4294967295");
        } else {
            return usageError("unknown option " + argument);
        }
    }
    if (options.command.empty())
        return usageError("no command");

    const std::string &name = options.command[0];
    const std::size_t arguments = options.command.size() - 1;
    if (name == "advise") {
        if (arguments != 0)
            return usageError("advise reads its states from standard input");
        return adviseLines(options);
    }
    if (name == "simulate" || name == "versus" || name == "calibrate") {
        if (arguments < 1 || arguments > 2)
            return usageError(name + " wants N and maybe SEED");
        if (options.seed)
            return usageError(name + " takes its SEED after N, not --seed");
        const std::optional<long long> games = wholeNumber<long long>(options.command[1]);
        if (!games || *games < 1 || *games > 1000000000)
            return usageError("the number of games must be 1..1000000000");
        std::optional<std::uint32_t> seed = std::uint32_t(0);
        if (arguments == 2)
            seed = wholeNumber<std::uint32_t>(options.command[2]);
        if (!seed)
            return usageError("SEED must be a number 0..4294967295");
        if (name == "simulate")
            return simulate(strategy::Table::compute(strategy::Rules::ours(), options.threads), *options.player,
                            *games, *seed);
        const strategy::Table table = strategy::Table::computeWithSpread(strategy::Rules::ours(), options.threads);
        if (name == "versus") {
            const unsigned threads =
                options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
            return versus(table, *games, *seed, threads);
        }
        return calibrate(table, *games, *seed);
    }
    return usageError("unknown command " + name);
}
