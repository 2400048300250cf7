#pragma once

#include "scoring/ScoringRules.h"

#include <array>
#include <cstdint>
#include <vector>

namespace strategy {

// Every multiset of 0..5 dice, numbered by size and then by faces: the dice a
// player can keep. Those of five dice are the 252 distinct throws; a throw's
// own number t is its keep number minus firstThrow.
struct Keeps {
    static constexpr int count = 462;
    static constexpr int throwCount = 252;
    static constexpr int firstThrow = count - throwCount;

    using FaceCounts = std::array<int, 7>; // dice per face 1..6; index 0 unused

    std::array<FaceCounts, count> faces{};
    std::array<int, count> size{};
    // The keep with one more die, of face f + 1, for keeps of fewer than five.
    std::array<std::array<std::uint16_t, 6>, firstThrow> withDie{};
    // The keeps with one die fewer, one per face shown:
    // smaller[firstSmaller[k]] .. smaller[firstSmaller[k + 1] - 1].
    std::array<std::uint16_t, count + 1> firstSmaller{};
    std::vector<std::uint16_t> smaller;
    std::array<Dice, throwCount> dice{};          // each throw's dice, ascending
    std::array<float, throwCount> probability{};  // of throwing it with five dice

    // The keep's number, or -1 when the counts are not 0..5 dice of faces 1..6.
    int index(const FaceCounts &counts) const;

private:
    friend const Keeps &keeps();
    Keeps();
    std::vector<std::int16_t> byCode_; // keep number by the counts in base 6
};

const Keeps &keeps();

Keeps::FaceCounts countFaces(const Dice &dice);

} // namespace strategy
