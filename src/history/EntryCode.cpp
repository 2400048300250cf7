#include "history/EntryCode.h"

namespace {

using Kind = GameRecord::Kind;

constexpr int kindBits = 3;
constexpr int seatBits = 2;
constexpr int payloadShift = kindBits + seatBits + 1;  // after the wide form's flag
constexpr std::int64_t wideFlag = std::int64_t(1) << (kindBits + seatBits);

// Puts `width` bits of `value` at `shift` and moves the shift on.
void put(std::int64_t &code, int &shift, int value, int width)
{
    code |= std::int64_t(value & ((1 << width) - 1)) << shift;
    shift += width;
}

int take(std::int64_t code, int &shift, int width)
{
    const int value = int(code >> shift) & ((1 << width) - 1);
    shift += width;
    return value;
}

void putDice(std::int64_t &code, int &shift, const Dice &dice)
{
    for (const int face : dice)
        put(code, shift, face, 3);
}

void takeDice(std::int64_t code, int &shift, Dice &dice)
{
    for (int &face : dice)
        face = take(code, shift, 3);
}

int thrownBits(const std::array<bool, 5> &thrown)
{
    int bits = 0;
    for (std::size_t d = 0; d < thrown.size(); ++d)
        bits |= int(thrown[d]) << d;
    return bits;
}

void setThrown(std::array<bool, 5> &thrown, int bits)
{
    for (std::size_t d = 0; d < thrown.size(); ++d)
        thrown[d] = bits >> d & 1;
}

bool usesDice(Kind kind) { return kind == Kind::Throw || kind == Kind::KeepAll || kind == Kind::Record; }

std::int64_t packNarrow(const GameRecord::Entry &entry)
{
    std::int64_t code = int(entry.kind) | (entry.player & 3) << kindBits;
    int shift = payloadShift;
    if (usesDice(entry.kind))
        putDice(code, shift, entry.dice);
    if (entry.kind == Kind::Record || entry.kind == Kind::Refusal)
        put(code, shift, entry.category, 4);
    if (entry.kind == Kind::Rethrow)
        put(code, shift, thrownBits(entry.thrown), 5);
    if (entry.kind == Kind::Mark) {
        put(code, shift, entry.die, 3);
        put(code, shift, entry.marked, 1);
    }
    return code;
}

std::int64_t packWide(const GameRecord::Entry &entry)
{
    std::int64_t code = int(entry.kind) | (entry.player & 3) << kindBits | wideFlag;
    int shift = payloadShift;
    putDice(code, shift, entry.dice);
    put(code, shift, thrownBits(entry.thrown), 5);
    put(code, shift, entry.category, 5);
    put(code, shift, entry.die, 3);
    put(code, shift, entry.marked, 1);
    return code;
}

} // namespace

std::int64_t packEntry(const GameRecord::Entry &entry)
{
    const std::int64_t narrow = packNarrow(entry);
    return sameEntry(unpackEntry(narrow, entry.name), entry) ? narrow : packWide(entry);
}

GameRecord::Entry unpackEntry(std::int64_t code, const QString &name)
{
    GameRecord::Entry entry;
    entry.kind = Kind(code & ((1 << kindBits) - 1));
    entry.player = int(code >> kindBits) & 3;
    entry.name = name;
    int shift = payloadShift;
    if (code & wideFlag) {
        takeDice(code, shift, entry.dice);
        setThrown(entry.thrown, take(code, shift, 5));
        entry.category = take(code, shift, 5);
        entry.die = take(code, shift, 3);
        entry.marked = take(code, shift, 1);
        return entry;
    }
    if (usesDice(entry.kind))
        takeDice(code, shift, entry.dice);
    if (entry.kind == Kind::Record || entry.kind == Kind::Refusal)
        entry.category = take(code, shift, 4);
    if (entry.kind == Kind::Rethrow)
        setThrown(entry.thrown, take(code, shift, 5));
    if (entry.kind == Kind::Mark) {
        entry.die = take(code, shift, 3);
        entry.marked = take(code, shift, 1);
    }
    return entry;
}

bool sameEntry(const GameRecord::Entry &a, const GameRecord::Entry &b)
{
    return a.kind == b.kind && a.player == b.player && a.dice == b.dice && a.thrown == b.thrown
        && a.category == b.category && a.die == b.die && a.marked == b.marked && a.name == b.name;
}
