#pragma once

#include "game/GameRecord.h"

#include <cstddef>

class Form1;

// Plays a kept game again in the window, through the same entry points a
// player's clicks reach (the player count and names, "Aloita peli", the
// throw buttons, the dice, the rows, the undo), with the dice from the record
// and no pauses, so that the window stands exactly as the game left it: what
// it shows is what its own handlers make. A game that ended while a best-99
// name was being typed comes back to that entry; a result the record shows
// stored is not offered again.
class GameReplay {
public:
    GameReplay(Form1 &form, GameRecord stored);

    // Plays the record from the start screen. Returns once it is played, or
    // where the window's game stops fitting it (a record damaged on the way:
    // the game then stands where it still fitted).
    void run();

    // Some of the record is still to be played.
    bool playing() const { return playing_; }
    // The face die `die` of the throw being played lands on.
    int landedDie(int die) const;
    // The record holds `player`'s best-99 entry of this game: it is entered
    // into the window's record as it was, and not offered again.
    bool takeStoredEntry(int player);
    // What follows is the players' own: the game waits for a best-99 name.
    void stop() { playing_ = false; }

private:
    // Presses what made entry `at` and those it brings with it; false when
    // the window's record does not come out as the kept one.
    bool playEntry(std::size_t at);
    bool fits() const;

    Form1 &form_;
    const GameRecord stored_;
    std::size_t next_ = 0;   // the first entry not played yet
    Dice landing_{};
    bool playing_ = false;
};
