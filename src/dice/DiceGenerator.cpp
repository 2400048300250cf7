#include "dice/DiceGenerator.h"

DiceGenerator::DiceGenerator(std::uint32_t seed)
{
    // Multiplying by an odd number spreads nearby seeds apart; xorshift would
    // stay at a state of 0 for ever, so the one seed that gives it is moved.
    const std::uint32_t mixed = seed * 0x9E3779B9u ^ startState;
    state_ = mixed != 0 ? mixed : startState ^ 1u;
}

float DiceGenerator::next()
{
    // xorshift32 (shifts 13, 17, 5): written out so that the sequence does not
    // depend on the standard library's engines or distributions.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    // The top 24 bits over 2^24: exact in a float and always below 1.
    return static_cast<float>(state_ >> 8) / 16777216.0f;
}

int DiceGenerator::nextDieValue()
{
    return dieValueFrom(next());
}

int dieValueFrom(float r)
{
    // In double r * 6 + 1 is exact, so the largest float below 1 gives 6 and
    // never rounds up to 7.
    const double value = static_cast<double>(r) * 6.0 + 1.0;
    if (!(value >= 1.0))
        return 1;
    if (value >= 6.0)
        return 6;
    return static_cast<int>(value);
}

int warmUpDraws(const QTime &timeOfDay)
{
    return timeOfDay.isValid() ? timeOfDay.second() + 1 : 1;
}
