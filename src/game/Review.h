#pragma once

#include "game/GameRecord.h"
#include "strategy/FinalTotals.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// A game against perfect play, player by player, worked out from its record.
//
// A player's expectation is their points so far plus what perfect play
// expects from there to the end (the upper bonus included), 248.44 before
// the first throw. A choice (which dice to throw again, keeping all, the row)
// costs the expectation after the best action at that moment minus the
// expectation after the action taken. The luck of the dice is the rest:
// expectation - start + costs, so that at the end
// total = start - costs + luck.
struct PlayerReview {
    struct Choice {
        int turn = 0;        // 1..15, the player's own
        int throwsMade = 0;  // the throws before the choice
        Dice dice{};
        QString taken;       // in the hint's words: "heitä uudelleen arpakuutio 5"
        QString best;
        double cost = 0;
        // Where every player stood before the choice, and the choice taken
        // and the best one as the strategy names them.
        std::vector<strategy::Position> players{};
        strategy::Action takenAction{}, bestAction{};
        // The chooser's chance to win after the choice taken and after the
        // best, in a game of several, once reckoned.
        std::optional<double> chance{}, bestChance{};
    };
    struct Point {
        double turns = 0;    // 0 at the start, t at the end of turn t
        double expectation = 0;
    };

    QString name;
    bool computer = false;
    int points = 0;            // as the sheet shows them, the bonus once written
    double expectation = 0;
    double costs = 0;
    double luck = 0;
    std::vector<Choice> costliest;  // the three costliest, costliest first
    std::vector<Point> path;        // after the start, every throw and every choice
    // In a game of several: the chance to win now (an unfinished game), and
    // after the start and every turn of every player, as far as reckoned.
    std::optional<double> chance;
    std::vector<Point> chances;     // `expectation` holding the chance, 0..1
};

struct GameReview {
    double start = 0;    // perfect play's expectation for a whole game
    bool finished = false;
    std::vector<PlayerReview> players;

    // The moments whose chances to win a game of several shows: where every
    // player stands now (an unfinished game), and after the start and after
    // every turn of every player in the order played (the chart).
    struct Step {
        double turns = 0;  // as along the chart: p / players after turn 1 of player p, ...
        std::vector<strategy::Position> players;
    };
    std::vector<strategy::Position> now;
    std::vector<Step> steps;
    bool severalPlayers() const { return players.size() > 1; }
};

// A piece of a review's chances to win, as a worker reckons them.
struct ChancePiece {
    enum class Kind { Now, Choice, Step };
    Kind kind = Kind::Now;
    std::size_t player = 0;       // Choice: whose
    std::size_t index = 0;        // Choice: which of the costliest; Step: which step
    std::vector<double> chances;  // Now, Step: every player's; Choice: after the choice taken and after the best
};

// Every player's chance to win now; none for a finished game or a game of one.
std::optional<ChancePiece> chancesNow(const GameReview &review, const strategy::Table &table,
                                      strategy::TotalsCache &cache);
// The rest, the costliest choices first and then the chart's steps in order,
// each handed to `deliver` as it is reckoned; false from it stops the work.
void reckonChances(const GameReview &review, const strategy::Table &table, strategy::TotalsCache &cache,
                   const std::function<bool(const ChancePiece &)> &deliver);
// Puts a piece into the review.
void applyChance(GameReview &review, const ChancePiece &piece);

// Choices that cost less than this are as good as perfect.
constexpr double costlyChoice = 0.05;

GameReview reviewGame(const GameRecord &record, const strategy::Table &table);

// The review's lines: one for the player's points, costs and luck ("Anna: 231
// pistettä. Valinnat maksoivat 12,3 pistettä, noppaonni −5,1 pistettä."), and
// one for each costly choice, or one saying there was none. A chance to win
// once reckoned goes with them: "odotus 236,1, voittomahdollisuus 63 %" in a
// game not yet ended, " Voittomahdollisuus 37 % (paras 41 %)." after a choice.
QString summaryLine(const PlayerReview &player, bool finished);
QStringList choiceLines(const PlayerReview &player);

// A figure with one decimal and a decimal comma: "12,3".
QString oneDecimal(double value);
// A chance as a whole percentage: "63 %".
QString percentage(double chance);
