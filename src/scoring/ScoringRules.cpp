#include "scoring/ScoringRules.h"

namespace {

// How many dice show each face; index 0 is unused.
using FaceCounts = std::array<int, 7>;

FaceCounts countFaces(const Dice &dice)
{
    FaceCounts counts{};
    for (const int face : dice) {
        if (face >= 1 && face <= 6)
            ++counts[face];
    }
    return counts;
}

int sumOf(const Dice &dice)
{
    int sum = 0;
    for (const int face : dice)
        sum += face;
    return sum;
}

// The highest face from `from` down to 1 shown by at least `atLeast` dice,
// or 0 if there is none.
int highestFaceShown(const FaceCounts &counts, int atLeast, int from = 6)
{
    for (int face = from; face >= 1; --face) {
        if (counts[face] >= atLeast)
            return face;
    }
    return 0;
}

int ofAKind(const FaceCounts &counts, int n)
{
    return n * highestFaceShown(counts, n);
}

int onePair(const FaceCounts &counts, int)
{
    return ofAKind(counts, 2);
}

int twoPairs(const FaceCounts &counts, int)
{
    const int firstFace = highestFaceShown(counts, 2);
    const int firstPairScore = 2 * firstFace;
    // No pair, or only ones: nothing lower is left to pair with.
    if (firstPairScore < 4)
        return 0;
    // The second pair must be of a lower face, so four alike is not two pairs.
    const int secondFace = highestFaceShown(counts, 2, firstFace - 1);
    return secondFace == 0 ? 0 : 2 * secondFace + firstPairScore;
}

int threeOfAKind(const FaceCounts &counts, int)
{
    return ofAKind(counts, 3);
}

int fourOfAKind(const FaceCounts &counts, int)
{
    return ofAKind(counts, 4);
}

// No face from `highest` down to `lowest` shown twice and the dice adding up to
// `straightSum`: with five dice only the one straight passes both.
int straight(const FaceCounts &counts, int sum, int lowest, int highest, int straightSum)
{
    for (int face = highest; face >= lowest; --face) {
        if (counts[face] >= 2)
            return 0;
    }
    return sum == straightSum ? straightSum : 0;
}

int smallStraight(const FaceCounts &counts, int sum)
{
    return straight(counts, sum, 1, 5, 15);
}

int largeStraight(const FaceCounts &counts, int sum)
{
    return straight(counts, sum, 2, 6, 20);
}

int fullHouse(const FaceCounts &counts, int sum)
{
    const int highFace = highestFaceShown(counts, 2);
    const int firstPairScore = 2 * highFace;
    if (firstPairScore < 4)
        return 0;
    int lowFace = 0;
    for (int face = 1; face <= 5 && lowFace == 0; ++face) {
        if (counts[face] >= 2)
            lowFace = face;
    }
    if (lowFace == 0 || lowFace == highFace)
        return 0;
    // Two different pairs take four dice; the fifth must join one of them.
    const int fifthDie = sum - 2 * lowFace - firstPairScore;
    return fifthDie == lowFace || fifthDie == highFace ? sum : 0;
}

int chance(const FaceCounts &, int sum)
{
    return sum;
}

int yatzy(const FaceCounts &counts, int)
{
    return highestFaceShown(counts, 5) != 0 ? 50 : 0;
}

using LowerRule = int (*)(const FaceCounts &counts, int sum);

// The lower rows in code order, from category::onePair on.
constexpr std::array<LowerRule, 9> lowerRules = {
    onePair, twoPairs, threeOfAKind, fourOfAKind, smallStraight,
    largeStraight, fullHouse, chance, yatzy,
};
static_assert(category::onePair + int(lowerRules.size()) - 1 == category::yatzy);

} // namespace

int scoreCategory(int code, const Dice &dice)
{
    const FaceCounts counts = countFaces(dice);
    if (code >= category::ones && code <= category::sixes)
        return code * counts[code];
    if (code >= category::onePair && code <= category::yatzy)
        return lowerRules[code - category::onePair](counts, sumOf(dice));
    return 0;
}
