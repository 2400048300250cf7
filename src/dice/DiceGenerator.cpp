#include "dice/DiceGenerator.h"

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
