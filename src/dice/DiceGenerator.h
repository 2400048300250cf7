#pragma once

#include <QTime>
#include <cstdint>

// The dice's pseudo-random generator: single-precision numbers uniform in
// [0, 1) from a fixed start state. The game never seeds it, so two runs that click
// the same buttons at the same clock seconds throw the same dice. The sequence
// is the same on every compiler and platform.
class DiceGenerator {
public:
    DiceGenerator() = default;
    // Another sequence for each seed, for simulations; seed 0 gives the
    // game's own.
    explicit DiceGenerator(std::uint32_t seed);

    // The next number r in [0, 1).
    float next();
    // The next die value: the integer part of r * 6 + 1, so 1..6.
    int nextDieValue();

private:
    static constexpr std::uint32_t startState = 0x2545F491u;
    std::uint32_t state_ = startState;
};

// A die value from a draw r in [0, 1): the integer part of r * 6 + 1, computed
// so that the largest float below 1 still gives 6.
int dieValueFrom(float r);

// Number of draws thrown away before a throw of all dice: the seconds of the
// clock plus one, so 1 at second 0 and 60 at second 59. The seconds come from
// the clock itself: a time text in the user's format need not end in them.
int warmUpDraws(const QTime &timeOfDay);
