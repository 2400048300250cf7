#pragma once

#include "scoring/ScoringRules.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

// What happened in a game, in order: every throw, every choice and undo, every
// die marked or held again, every refused row and every best-99 entry, and by
// whom. The game writes it where each happens; the review reads it, the games
// file keeps it, and a game is resumed by playing it again.
struct GameRecord {
    struct Player {
        QString name;          // as typed, blanks at either end dropped: what the review and statistics show
        bool computer = false;
        QString typed{};       // exactly as typed in the name box: the name header is made from it
    };

    enum class Kind {
        Throw,      // the dice landed: `dice`
        Rethrow,    // a choice: the dice in `thrown` are thrown again (all five: throw all again)
        KeepAll,    // a choice: every die is kept, a row comes next
        Record,     // a choice: `dice` recorded in the row `category`
        Undo,       // the player's latest keep-all or row is taken back
        Mark,       // die `die` was clicked: now marked to be thrown again (`marked`) or held
        Refusal,    // the row `category` was chosen but the player has filled it already
        ListEntry,  // the player's total was stored in the best-99 list as `name`
    };
    struct Entry {
        Kind kind = Kind::Throw;
        int player = 0;
        Dice dice{};                  // Throw, KeepAll and Record
        std::array<bool, 5> thrown{}; // Rethrow, die 0 first
        int category = 0;             // Record and Refusal
        int die = 0;                  // Mark: 0..4 from the top
        bool marked = false;          // Mark
        QString name{};               // ListEntry

        bool operator==(const Entry &other) const
        {
            return kind == other.kind && player == other.player && dice == other.dice && thrown == other.thrown &&
                   category == other.category && die == other.die && marked == other.marked && name == other.name;
        }
        bool operator!=(const Entry &other) const { return !(*this == other); }
    };

    QDateTime started;  // by the game's own clock
    std::vector<Player> players;
    std::vector<Entry> entries;

    void start(std::vector<Player> who, const QDateTime &when)
    {
        players = std::move(who);
        started = when;
        entries.clear();
    }
    void add(const Entry &entry) { entries.push_back(entry); }
    // True once a player has made a choice: then there is something to review.
    bool hasChoices() const
    {
        for (const Entry &entry : entries) {
            if (entry.kind == Kind::Rethrow || entry.kind == Kind::KeepAll || entry.kind == Kind::Record ||
                entry.kind == Kind::Undo)
                return true;
        }
        return false;
    }
};
