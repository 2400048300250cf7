#pragma once

#include "strategy/Strategy.h"

#include <QString>
#include <array>

// What the game takes from the strategy: which dice a keep throws again, and
// perfect play's actions in the words a player reads.

// The dice that are thrown again when `keep` (dice per face) is kept: for
// each face the topmost dice are kept, the rest thrown.
std::array<bool, 5> diceToThrowAgain(const std::array<int, 7> &keep, const Dice &dice);

// A row as a player names it: "Täyskäsi", "Yatzy".
QString rowName(int code);

// Throwing the dice in `thrown` again (die 0 first, numbered 1..5 from the
// top, as a screen reader names them): "heitä uudelleen arpakuutiot 2, 4 ja 5".
QString throwAgainWords(const std::array<bool, 5> &thrown);
// An action, lower case and without a full stop: "heitä kaikki arpakuutiot",
// "säästä kaikki ja kirjaa Täyskäsi", or with the dice locked for scoring
// (`locked`) "kirjaa Täyskäsi".
QString actionWords(const strategy::Action &action, bool locked, const Dice &dice);

// The hint shown in the heading for `action`: " Vihje: kirjaa Täyskäsi."
QString hintText(const strategy::Action &action, bool locked, const Dice &dice);
