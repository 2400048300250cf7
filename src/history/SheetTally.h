#pragma once

#include "game/GameRecord.h"

#include <array>
#include <vector>

// Where each player's sheet stands after a game's entries, worked out from
// the record alone: what the list of games and the statistics need of an
// unfinished or a finished game, with no window and no replay of it.
class SheetTally {
public:
    SheetTally() = default;
    explicit SheetTally(std::size_t players) : sheets_(players) {}

    void apply(const GameRecord::Entry &entry);

    // The rows recorded, and the bonus once it is decided (all six upper rows
    // filled): what the sheet shows, and at the end the total.
    int points(std::size_t player) const;
    int filledRows(std::size_t player) const;
    bool bonusMade(std::size_t player) const;
    bool yatzyScored(std::size_t player) const;  // 50 in the Yatzy row
    // The turn of the player to play, their filled rows + 1. Seats play in
    // order, so that player is the first of those with the fewest rows.
    int turn() const;
    std::size_t players() const { return sheets_.size(); }

private:
    struct Sheet {
        std::array<int, category::count + 1> score{};  // by code; 0 unused
        std::uint16_t filled = 0;                      // bit code - 1
        std::vector<int> choices;  // what an undo takes back: a code, or 0 for a keep-all
        bool upperFilled() const { return (filled & 0x3F) == 0x3F; }
        int upperSum() const;
    };
    std::vector<Sheet> sheets_;
};
