#include "strategy/RuleTables.h"
#include "strategy/Strategy.h"
#include "strategy/TurnValues.h"

#include <cmath>
#include <functional>

namespace strategy {

namespace {

// The keeps that `counts` contains, the dice themselves first, then by fewer
// dice: the order in which ties are settled. At most 2^5 of them.
std::array<int, 32> subKeepsOf(const Keeps::FaceCounts &counts, int *found)
{
    const Keeps &k = keeps();
    std::array<int, 32> subs{};
    *found = 0;
    // Counted down like an odometer whose digit f runs from counts[f] to 0.
    Keeps::FaceCounts sub = counts;
    for (;;) {
        subs[std::size_t((*found)++)] = k.index(sub);
        int face = 1;
        while (face <= 6 && sub[face] == 0) {
            sub[face] = counts[face];
            ++face;
        }
        if (face > 6)
            break;
        --sub[face];
    }
    std::sort(subs.begin(), subs.begin() + *found, std::greater<int>());
    return subs;
}

// A choice as the routine finds it, made an Action only when wanted.
struct Choice {
    int what;    // a row 0..14, or firstKeep + the number of the keep
    float value;
};

constexpr int firstKeep = RuleTables::maxCategories;

Action actionOf(Choice choice)
{
    Action action;
    if (choice.what < firstKeep) {
        action.kind = Action::Kind::Record;
        action.category = choice.what + 1;
    } else {
        action.kind = Action::Kind::Keep;
        action.keep = keeps().faces[std::size_t(choice.what - firstKeep)];
    }
    action.value = double(choice.value);
    return action;
}

} // namespace

// One moment of a turn, and the values of its choices: the one routine behind
// the advice, the list of choices and the value of a row.
class Moment {
public:
    Moment(const Table &table, Sheet sheet, int throwsMade, const Dice &dice)
        : rules_(*table.rules_), values_(table.values_.data()), filled_(sheet.filled), throwsMade_(throwsMade),
          counts_(countFaces(dice))
    {
        const float *row = table.valuesOf(sheet);
        if (!row || sheet.filled == rules_.fullSheet() || throwsMade < 0 || throwsMade > 3)
            return;
        upper_ = std::min(sheet.upperSum, rules_.threshold);
        start_ = row[upper_];
        if (throwsMade > 0) {
            for (const int face : dice) {
                if (face < 1 || face > 6)
                    return;
            }
            thrown_ = keeps().index(counts_) - Keeps::firstThrow;
        }
        holds_ = true;
    }

    // The table holds the sheet, it is not full, and the throws and dice are
    // ones a turn can show.
    bool holds() const { return holds_; }
    bool isFree(int category) const
    {
        return category >= 1 && category <= rules_.categories && !(filled_ >> (category - 1) & 1u);
    }
    float startValue() const { return start_; }

    // Recording the dice in a free row now, reckoned exactly as
    // recordValues() does so that the choices and the table agree to the bit.
    float rowValue(int row) const
    {
        const float *after = values_ + std::size_t(filled_ | 1u << row) * std::size_t(rules_.upperSums());
        if (!rules_.addsToUpper(row))
            return rules_.score[row][thrown_] + after[upper_];
        const int made = rules_.upperScores[row][rules_.upperScoreIndex[row][thrown_]];
        const int sum = upper_ + made;
        const bool lifts = upper_ < rules_.threshold && sum >= rules_.threshold;
        return float(made + (lifts ? rules_.points : 0)) + after[std::min(rules_.threshold, sum)];
    }

    // The first free row of the largest value. Kept in two locals, it
    // compiles to conditional moves: which row wins is a coin toss to the
    // branch predictor, and this is all the advice after the last throw does.
    Choice bestRow() const
    {
        int best = -1;
        float most = -std::numeric_limits<float>::infinity();
        for (int row = 0; row < rules_.categories; ++row) {
            if (filled_ >> row & 1u)
                continue;
            const float value = rowValue(row);
            if (value > most) {
                most = value;
                best = row;
            }
        }
        return Choice{best, most};
    }

    // Every choice after a throw, in the order ties are settled: after the
    // last throw the free rows by code; before it keeping all (recorded in
    // the best row), then the keeps by more dice first.
    template <typename Visit>
    void visitChoices(Visit &&visit) const
    {
        if (throwsMade_ == 3) {
            for (int row = 0; row < rules_.categories; ++row) {
                if (!(filled_ >> row & 1u))
                    visit(Choice{row, rowValue(row)});
            }
            return;
        }
        visit(bestRow());
        visitKeeps(visit);
    }

private:
    template <typename Visit>
    void visitKeeps(Visit &&visit) const
    {
        // What each keep is worth before the dice are thrown again, with one
        // or two throws left after it, reckoned in the table's lanes as the
        // table was.
        TurnScratch scratch;
        Lanes *keep = scratch.keep.data();
        Lanes *throws = keep + Keeps::firstThrow;
        UpperSums upperSums;
        upperSums.fill(upper_);
        recordValues(rules_, values_, filled_, upperSums, throws);
        averageKeeps(keep);
        if (throwsMade_ == 1) {
            bestSubKeeps(keep, scratch.best.data());
            std::copy(scratch.best.begin() + Keeps::firstThrow, scratch.best.end(), throws);
            averageKeeps(keep);
        }

        int subCount = 0;
        const std::array<int, 32> subs = subKeepsOf(counts_, &subCount);
        for (int i = 0; i < subCount; ++i) {
            const int sub = subs[std::size_t(i)];
            // The dice themselves: keeping all records them.
            if (sub - Keeps::firstThrow == thrown_)
                continue;
            visit(Choice{firstKeep + sub, keep[sub][0]});
        }
    }

    const RuleTables &rules_;
    const float *values_; // the whole table
    const std::uint16_t filled_;
    const int throwsMade_;
    int upper_ = 0; // capped at the threshold
    float start_ = 0;
    Keeps::FaceCounts counts_{};
    int thrown_ = 0; // the throw's number t
    bool holds_ = false;
};

Action advise(const Table &table, Sheet sheet, int throwsMade, const Dice &dice)
{
    Action start;
    start.value = std::nan("");
    const Moment moment(table, sheet, throwsMade, dice);
    if (!moment.holds())
        return start;
    if (throwsMade == 0) {
        start.value = double(moment.startValue());
        return start;
    }
    if (throwsMade == 3)
        return actionOf(moment.bestRow());
    Choice best{0, -std::numeric_limits<float>::infinity()};
    moment.visitChoices([&best](const Choice &choice) {
        if (choice.value > best.value)
            best = choice;
    });
    return actionOf(best);
}

std::vector<Action> choices(const Table &table, Sheet sheet, int throwsMade, const Dice &dice)
{
    std::vector<Action> all;
    const Moment moment(table, sheet, throwsMade, dice);
    if (!moment.holds() || throwsMade == 0)
        return all;
    all.reserve(32);
    moment.visitChoices([&all](const Choice &choice) { all.push_back(actionOf(choice)); });
    return all;
}

double recordValue(const Table &table, Sheet sheet, const Dice &dice, int category)
{
    const Moment moment(table, sheet, 3, dice);
    if (!moment.holds() || !moment.isFree(category))
        return std::nan("");
    return double(moment.rowValue(category - 1));
}

} // namespace strategy
