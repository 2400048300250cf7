#pragma once

#include "game/GameRecord.h"

#include <cstdint>

// An entry of a game's record as one small integer, so that a game of a
// thousand entries takes a few kilobytes: the kind and the seat in the low
// bits, then only what the kind uses (a throw's dice, a mark's die), so a
// mark fits in two bytes and a throw in three. An entry carrying a field its
// kind does not use is packed whole, in the wide form, and still reads back
// as it was. Seats are 0..3, dice 0..7, categories 0..31, dice picked 0..7.
std::int64_t packEntry(const GameRecord::Entry &entry);

// The entry back from its code; a ListEntry's name is kept beside the code.
GameRecord::Entry unpackEntry(std::int64_t code, const QString &name);

bool sameEntry(const GameRecord::Entry &a, const GameRecord::Entry &b);
