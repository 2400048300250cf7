#pragma once

#include "game/GameRecord.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace strategy {
class Table;
}

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
};

struct GameReview {
    double start = 0;    // perfect play's expectation for a whole game
    bool finished = false;
    std::vector<PlayerReview> players;
};

// Choices that cost less than this are as good as perfect.
constexpr double costlyChoice = 0.05;

GameReview reviewGame(const GameRecord &record, const strategy::Table &table);

// The review's lines: one for the player's points, costs and luck ("Anna: 231
// pistettä. Valinnat maksoivat 12,3 pistettä, noppaonni −5,1 pistettä."), and
// one for each costly choice, or one saying there was none.
QString summaryLine(const PlayerReview &player, bool finished);
QStringList choiceLines(const PlayerReview &player);

// A figure with one decimal and a decimal comma: "12,3".
QString oneDecimal(double value);
