#pragma once

#include "strategy/Strategy.h"

#include <optional>
#include <string>

// One line of `kopperi-strategy advise`: FILLED UPPER THROWS D1 D2 D3 D4 D5,
// where FILLED is the recorded row codes separated by commas, or "-".
struct StateLine {
    strategy::Sheet sheet;
    int throwsMade = 0;
    Dice dice{};
};

// The state of a line, or nothing and what is wrong with it. The table,
// of our rules, tells which upper sums the filled rows can make.
std::optional<StateLine> parseStateLine(const std::string &line, const strategy::Table &table, std::string *error);

// The answer's line: "record C EV", or "keep F1 F2 ... EV" ("keep - EV" keeps none).
std::string formatAction(const strategy::Action &action);
