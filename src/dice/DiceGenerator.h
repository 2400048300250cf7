#pragma once

#include <QString>
#include <cstdint>

// The dice's pseudo-random generator: single-precision numbers uniform in
// [0, 1) from a fixed start state. It is never seeded, so two runs that click
// the same buttons at the same clock seconds throw the same dice. The sequence
// is the same on every compiler and platform.
class DiceGenerator {
public:
    // The next number r in [0, 1).
    float next();
    // The next die value: the integer part of r * 6 + 1, so 1..6.
    int nextDieValue();

private:
    std::uint32_t state_ = 0x2545F491u;
};

// A die value from a draw r in [0, 1): the integer part of r * 6 + 1, computed
// so that the largest float below 1 still gives 6.
int dieValueFrom(float r);

// Number of draws thrown away before a throw of all dice: the last two
// characters of the time of day as text (the seconds, in a 24-hour format) read
// as a leading number, plus one. Text that does not start with digits counts 0,
// so a 12-hour time ending in "AM"/"PM" gives one draw.
int warmUpDraws(const QString &timeOfDay);
