#pragma once

#include "strategy/Strategy.h"

#include <QString>
#include <array>
#include <functional>

struct GameState;

// What the window takes from the strategy: the sheet of a player, which
// dice a keep throws again, and the hint's words.

strategy::Sheet sheetOf(const GameState &state, int player);

// The dice that are thrown again when `keep` (dice per face) is kept: for
// each face the topmost dice are kept, the rest thrown.
std::array<bool, 5> diceToThrowAgain(const std::array<int, 7> &keep, const Dice &dice);

// The hint shown in the heading for `action`. `locked`: the dice are locked
// for scoring; `rowName(code)` names a row as the player reads it.
QString hintText(const strategy::Action &action, bool locked, const Dice &dice,
                 const std::function<QString(int code)> &rowName);
