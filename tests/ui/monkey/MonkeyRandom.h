#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <random>

// The monkey's one seeded stream: every choice it makes (which control, what
// to type, how to answer a question, what time it is) comes from here, so a
// seed and an action number replay a run exactly.
class MonkeyRandom {
public:
    explicit MonkeyRandom(std::uint32_t seed) : engine_(seed) {}

    // 0..n-1 (n > 0). Written out rather than a standard distribution, whose
    // results differ between standard libraries.
    int below(int n) { return int(engine_() % std::uint32_t(n)); }
    bool percent(int p) { return below(100) < p; }

    // A name of 0..maxCharacters characters: letters, digits, blanks, commas,
    // quotes, letters of other scripts and a character outside the 16-bit
    // range, so that the name box and the list file meet what they must refuse.
    QString name(int maxCharacters = 10);
    // One character of such a name (two UTF-16 units for the one outside).
    QString character();

    // A clock reading "hh:mm:ss"; its seconds decide the dice's warm-up.
    QString timeOfDay();
    QDate date();

private:
    std::mt19937 engine_;
};
