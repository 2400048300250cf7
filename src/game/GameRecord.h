#pragma once

#include "scoring/ScoringRules.h"

#include <QString>
#include <array>
#include <vector>

// What happened in a game, in order: every throw, every choice and every
// undo, and by whom. The game writes it where each happens; the review reads it.
struct GameRecord {
    struct Player {
        QString name;          // as the name header shows it, without its leading blank
        bool computer = false;
    };

    enum class Kind {
        Throw,    // the dice landed: `dice`
        Rethrow,  // a choice: the dice in `thrown` are thrown again (all five: throw all again)
        KeepAll,  // a choice: every die is kept, a row comes next
        Record,   // a choice: `dice` recorded in the row `category`
        Undo,     // the player's latest keep-all or row is taken back
    };
    struct Entry {
        Kind kind = Kind::Throw;
        int player = 0;
        Dice dice{};                  // Throw and Record
        std::array<bool, 5> thrown{}; // Rethrow, die 0 first
        int category = 0;             // Record
    };

    std::vector<Player> players;
    std::vector<Entry> entries;

    void start(std::vector<Player> who)
    {
        players = std::move(who);
        entries.clear();
    }
    void add(const Entry &entry) { entries.push_back(entry); }
    // True once a player has made a choice: then there is something to review.
    bool hasChoices() const
    {
        for (const Entry &entry : entries) {
            if (entry.kind != Kind::Throw)
                return true;
        }
        return false;
    }
};
