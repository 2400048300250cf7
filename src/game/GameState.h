#pragma once

#include "game/GameRecord.h"
#include "scoring/ScoringRules.h"
#include "toplist/BestListKeeper.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

namespace strategy {
struct Level;
}

// The whole state of a game. The window owns it (Form1 derives from it) and
// every handler reads and writes these fields directly; procedures hand values
// to one another through them (upperFace in, categoryRefused out, listEntryDone
// releasing the end-of-game wait). Category scores and the bonus live only in
// the captions of the score sheet's cells.
struct GameState {
    static constexpr int maxPlayers = 4;
    static constexpr int diceCount = 5;
    static constexpr int maxThrows = 3;
    static constexpr int bonusThreshold = upperBonus::threshold;
    static constexpr int bonusPoints = upperBonus::points;
    static constexpr int shownNameLength = 8;

    // Players and turn
    std::int16_t lastPlayerIndex = 0;   // number of players minus 1
    std::int16_t currentPlayer = 0;
    std::array<QString, maxPlayers> playerNames;
    // Named "Kone 1", "Kone 2", "Kone 3" or "Kone" when the game started:
    // played by the computer, of that strength; none for a person.
    std::array<const strategy::Level *, maxPlayers> computerLevels{};
    std::int16_t throwCount = 0;
    bool mayRecord = false;             // dice locked for scoring in this turn
    bool gameOver = false;
    std::int16_t lastPlayer = 0;        // player of the latest category choice
    std::int16_t lastCategory = 0;      // 1..15 scored, 16 all dice kept
    QString headingText;
    QColor savedHeadingColor;

    // Dice; a value of 0 means not thrown yet since the program started.
    std::array<int, diceCount> diceValues{};
    std::array<std::int16_t, diceCount> rethrowMarks{};

    // Score sheet, by player and category code (column 0 unused)
    std::array<std::array<std::int16_t, 16>, maxPlayers> categoryUsed{};
    std::array<std::int16_t, maxPlayers> upperSum{};
    std::array<std::int16_t, maxPlayers> grandTotal{};
    std::array<bool, maxPlayers> bonusDecided{};
    std::int16_t upperFace = 0;
    std::int16_t categoryScore = 0;
    bool categoryRefused = false;

    // Every throw, choice and undo of the game, for its review.
    GameRecord record;

    // Best-99 list: its keeper reads and writes the file; the window reads
    // the list it shows.
    BestListKeeper bestList;
    const BestList &best = bestList.list();
    const std::array<QString, 100> &bestNames = best.names;
    const std::array<QString, 100> &bestDates = best.dates;
    const std::array<std::int16_t, 100> &bestScores = best.scores;
    std::int16_t listTop = 1;
    std::int16_t listPlace = 0;
    bool listEntryDone = false;
};
