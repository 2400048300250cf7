// kopperi-strategy: two ways to look at the table of perfect play: the advice
// for states read from standard input, and whole games played by it.

#include "StateLine.h"

#include "dice/DiceGenerator.h"
#include "strategy/Strategy.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const char usage[] =
    "usage: kopperi-strategy [--threads N] COMMAND\n"
    "  advise             for each line of standard input,\n"
    "                       FILLED UPPER THROWS D1 D2 D3 D4 D5\n"
    "                     (FILLED: recorded row codes as 1,7,13 or -), print the best\n"
    "                     action: \"record C EV\" or \"keep F1 F2 ... EV\" (\"keep - EV\")\n"
    "  simulate N [SEED]  play N solitaire games and compare their mean with the table\n"
    "  --threads N        threads that compute the table (default: every core)\n";

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
    std::vector<std::string> command;
};

int adviseLines(const strategy::Table &table)
{
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
        const strategy::Action action = strategy::advise(table, state->sheet, state->throwsMade, state->dice);
        std::cout << formatAction(action) << '\n';
    }
    return 0;
}

// One solitaire game played by the advice, scored by the game's own rules.
// Returns the final score, or -1 if the advice ever failed to give a move.
int playGame(const strategy::Table &table, DiceGenerator &generator, long long &adviceCalls)
{
    strategy::Sheet sheet;
    int total = 0;
    for (int turn = 0; turn < category::count; ++turn) {
        Dice dice{};
        for (int &die : dice)
            die = generator.nextDieValue();
        for (int throwsMade = 1;; ++throwsMade) {
            const strategy::Action action = strategy::advise(table, sheet, throwsMade, dice);
            ++adviceCalls;
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
            if (action.kind != strategy::Action::Kind::Keep || throwsMade >= 3)
                return -1;
            Dice next{};
            std::size_t i = 0;
            for (int face = 1; face <= 6; ++face) {
                for (int n = 0; n < action.keep[std::size_t(face)]; ++n)
                    next[i++] = face;
            }
            while (i < next.size())
                next[i++] = generator.nextDieValue();
            dice = next;
        }
    }
    return total;
}

int simulate(const strategy::Table &table, long long games, std::uint32_t seed)
{
    DiceGenerator generator(seed);
    long long adviceCalls = 0;
    double sum = 0;
    double sumOfSquares = 0;
    const Clock::time_point start = Clock::now();
    for (long long game = 0; game < games; ++game) {
        const int score = playGame(table, generator, adviceCalls);
        if (score < 0) {
            std::fprintf(stderr, "kopperi-strategy: the advice gave no move in game %lld\n", game + 1);
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
                "games per second %.0f\nmicroseconds per advice %.2f\n",
                games, mean, std::sqrt(std::max(0.0, variance) / n), table.value(strategy::Sheet{}),
                n / seconds, seconds * 1e6 / double(adviceCalls));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    int at = 1;
    for (; at < argc && std::string(argv[at]).rfind("--", 0) == 0; ++at) {
        const std::string option = argv[at];
        if (at + 1 >= argc)
            return usageError(option + " needs a value");
        const std::string value = argv[++at];
        if (option == "--threads") {
            const std::optional<unsigned> threads = wholeNumber<unsigned>(value);
            if (!threads || *threads < 1 || *threads > 256)
                return usageError("--threads wants a number 1..256");
            options.threads = *threads;
        } else {
            return usageError("unknown option " + option);
        }
    }
    options.command.assign(argv + at, argv + argc);
    if (options.command.empty())
        return usageError("no command");

    const std::string &name = options.command[0];
    const std::size_t arguments = options.command.size() - 1;
    if (name == "advise") {
        if (arguments != 0)
            return usageError("advise reads its states from standard input");
        return adviseLines(strategy::Table::compute(strategy::Rules::ours(), options.threads));
    }
    if (name == "simulate") {
        if (arguments < 1 || arguments > 2)
            return usageError("simulate wants N and maybe SEED");
        const std::optional<long long> games = wholeNumber<long long>(options.command[1]);
        if (!games || *games < 1 || *games > 1000000000)
            return usageError("the number of games must be 1..1000000000");
        std::optional<std::uint32_t> seed = std::uint32_t(0);
        if (arguments == 2)
            seed = wholeNumber<std::uint32_t>(options.command[2]);
        if (!seed)
            return usageError("SEED must be a number 0..4294967295");
        return simulate(strategy::Table::compute(strategy::Rules::ours(), options.threads), *games, *seed);
    }
    return usageError("unknown command " + name);
}
