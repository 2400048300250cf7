#pragma once

#include "game/GameRecord.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// What the games file gives back: values only, nothing of SQL.

// A game read back whole, to resume it or review it.
struct StoredGame {
    qint64 id = 0;
    GameRecord record;
};

// What the review found of one player, kept with a finished game.
struct ReviewFigures {
    double costs = 0;  // what the choices cost, in points
    double luck = 0;   // what the dice gave beyond perfect play's expectation
};

// A line of the list of earlier games.
struct GameSummary {
    struct Player {
        QString name;
        int points = 0;    // the total, or the points so far
        bool won = false;  // finished games only; a shared first place wins
    };
    qint64 id = 0;
    QDateTime started;
    bool finished = false;
    int turn = 1;          // an unfinished game's: the player to play's filled rows + 1
    std::vector<Player> players;
};

// One name's games. A game with two seats of the same name (two "Kone 2")
// counts once for each seat.
struct NameStatistics {
    QString name;
    int finished = 0;
    int unfinished = 0;        // playing, given up or declined
    double average = 0;        // of the finished games' totals
    int best = 0;
    int worst = 0;
    int bonuses = 0;           // finished games with the upper bonus
    int yatzies = 0;           // finished games with 50 in Yatzy
    int wins = 0;              // of the finished games of several players
    int severalPlayers = 0;    // finished games of several players
    std::optional<double> costs;  // mean per finished game that the review reached
    std::optional<double> luck;
};

// One of a name's finished games, oldest first: for a chart of the totals.
struct FinishedResult {
    qint64 id = 0;
    QDateTime started;
    int total = 0;
    std::optional<double> costs;
};
