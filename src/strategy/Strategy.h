#pragma once

#include "scoring/ScoringRules.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Perfect play for one player's score sheet: a table of the points still to
// come at the start of every turn, and the best action for any moment of a
// turn, worked out from the table when asked.
namespace strategy {

struct RuleTables;

// What of a player's sheet matters for the rest of the game.
struct Sheet {
    std::uint16_t filled = 0; // bit code-1 set: row `code` is recorded
    int upperSum = 0;         // the upper rows' total so far, any value >= 0
};

// The rules played by: ours, or others that check the solver.
struct Rules {
    int categories = 0; // rows have the codes 1..categories, at most 15
    std::function<int(int code, const Dice &dice)> score;
    std::uint16_t upperRows = 0; // bit code-1 set: the row adds to the upper sum (scores >= 0)
    int bonusThreshold = 63;     // 0..63
    int bonusPoints = 0;

    static Rules ours();
};

struct Action {
    enum class Kind { ThrowAll, Keep, Record };
    Kind kind = Kind::ThrowAll;
    std::array<int, 7> keep{}; // Keep: dice kept per face 1..6, the others thrown again
    int category = 0;          // Record: the row to record the dice in now
    double value = 0;          // expected points still to come, a row recorded now included
};

class Table {
public:
    // Every sheet of a game; threads 0 uses every core.
    static Table compute(const Rules &rules, unsigned threads = 0);
    // The same, with the spread of what is still to come beside each value,
    // reckoned in the same pass: the values are the same to the bit.
    static Table computeWithSpread(const Rules &rules, unsigned threads = 0);
    // Only the sheets that can follow `start`; value() of any other is NaN.
    static Table computeFrom(const Rules &rules, Sheet start, unsigned threads = 0);

    // Expected points still to come, upper bonus included, at the start of a
    // turn; NaN for a sheet the table does not hold.
    double value(Sheet sheet) const;
    // The mean of the square of those points, for their variance; NaN for a
    // table computed without its spread or a sheet it does not hold.
    double meanSquare(Sheet sheet) const;
    bool hasSpread() const { return !squares_.empty(); }
    // Some game reaches this sheet: its rows exist and can make its upper sum.
    bool possible(Sheet sheet) const;

    // The same rules and every value the same to the bit, NaN included.
    bool operator==(const Table &other) const;
    bool operator!=(const Table &other) const { return !(*this == other); }

private:
    friend class Moment;
    friend struct TableParts;
    Table() = default;
    static Table solve(const Rules &rules, Sheet start, unsigned threads, bool spread);
    const float *valuesOf(Sheet sheet) const; // null when the table does not hold it

    std::shared_ptr<const RuleTables> rules_;
    std::vector<float> values_;  // [filled][upper sum capped at the bonus threshold]
    std::vector<float> squares_; // the same places; empty without the spread
};

// The dice once a keep is thrown: the kept faces in order, then a die from
// `throwDie()` for each of the others.
template <typename ThrowDie>
Dice thrownAgain(const Action &keep, ThrowDie throwDie)
{
    Dice dice{};
    std::size_t i = 0;
    for (int face = 1; face <= 6; ++face) {
        for (int n = 0; n < keep.keep[std::size_t(face)]; ++n)
            dice[i++] = face;
    }
    while (i < dice.size())
        dice[i++] = throwDie();
    return dice;
}

// The best action after `throwsMade` throws of this turn (0..3) showing
// `dice`. The sheet must be one the table holds and not full, the dice 1..6;
// anything else gives value NaN. Ties go the same way every time: recording
// now before keeping, more dice kept before fewer, the lower row code first.
Action advise(const Table &table, Sheet sheet, int throwsMade, const Dice &dice);

// The choices open after `throwsMade` throws (1..3) of a turn showing `dice`,
// each with its value (points still to come, a row recorded now included):
// after 1 or 2 throws every distinct keep that throws at least one die again
// (Kind::Keep) and keeping all (Kind::Record, category = the best row for the
// dice); after 3 throws every free row (Kind::Record). Empty for a sheet the
// table does not hold, a full sheet or bad dice. Ordered as advise() settles
// ties, so that the first choice of the largest value is advise()'s action.
std::vector<Action> choices(const Table &table, Sheet sheet, int throwsMade, const Dice &dice);

// The value of recording `dice` in `category` now: its score, the bonus when
// it lifts the upper sum to the threshold, and the rest of the game; NaN for a
// filled row or a sheet the table does not hold.
double recordValue(const Table &table, Sheet sheet, const Dice &dice, int category);

} // namespace strategy
