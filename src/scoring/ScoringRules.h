#pragma once

#include <array>

// Category codes of the score sheet rows.
namespace category {
constexpr int ones = 1;          // 1..6: the upper section, code = face
constexpr int sixes = 6;
constexpr int onePair = 7;
constexpr int twoPairs = 8;
constexpr int threeOfAKind = 9;
constexpr int fourOfAKind = 10;
constexpr int smallStraight = 11;
constexpr int largeStraight = 12;
constexpr int fullHouse = 13;
constexpr int chance = 14;
constexpr int yatzy = 15;
constexpr int keepAll = 16;      // in lastCategory only: all dice were kept
constexpr int count = 15;
} // namespace category

// The upper bonus: earned once the six upper rows add up to 63 or more.
namespace upperBonus {
constexpr int threshold = 63;
constexpr int points = 50;
} // namespace upperBonus

using Dice = std::array<int, 5>;

// The score of five dice (faces 1..6) in the category with the given code
// (1..15). Pure: the window's row handlers call it.
int scoreCategory(int code, const Dice &dice);
