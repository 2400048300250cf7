#pragma once

#include "strategy/FinalTotals.h"

#include <optional>
#include <string>
#include <vector>

// One line of `kopperi-strategy advise`: FILLED UPPER THROWS D1 D2 D3 D4 D5,
// where FILLED is the recorded row codes separated by commas, or "-"; in a
// game of several, the player's POINTS follow, and after each "/" another
// player's FILLED UPPER POINTS, POINTS being the recorded rows' scores
// without the upper bonus.
struct StateLine {
    strategy::Sheet sheet;
    int throwsMade = 0;
    Dice dice{};
    int points = 0;
    std::vector<strategy::Position> others; // waiting for their turns
};

// The state of a line, or nothing and what is wrong with it. The table,
// of our rules, tells which upper sums the filled rows can make.
std::optional<StateLine> parseStateLine(const std::string &line, const strategy::Table &table, std::string *error);

// The answer's line: "record C EV", or "keep F1 F2 ... EV" ("keep - EV" keeps
// none); in a game of several the chance to win after it follows.
std::string formatAction(const strategy::Action &action, std::optional<double> chance = std::nullopt);
