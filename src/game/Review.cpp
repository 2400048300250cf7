#include "game/Review.h"

#include "game/PerfectPlay.h"
#include "strategy/Strategy.h"

#include <algorithm>
#include <cmath>

namespace {

using Kind = GameRecord::Kind;

// Where a player stands: the sheet, and the turn so far.
struct Standing {
    strategy::Sheet sheet;
    int rowPoints = 0;      // the rows' scores
    int throwsMade = 0;
    Dice dice{};
    bool locked = false;    // all dice kept, or the third throw: a row is next
    double expectation = 0; // after the latest throw or choice

    int filledRows() const { return __builtin_popcount(sheet.filled); }
    // The bonus counts as soon as it is earned: the table's values of the
    // rest of the game leave it out from then on.
    int pointsEarned() const { return rowPoints + (sheet.upperSum >= upperBonus::threshold ? upperBonus::points : 0); }
    int pointsShown() const
    {
        const bool upperFilled = (sheet.filled & 0x3F) == 0x3F;
        return upperFilled ? pointsEarned() : rowPoints;
    }
};

// A choice that may still be taken back, with where the player stood before it.
struct Undoable {
    Standing before;
    std::size_t choiceIndex;  // in the player's counted choices
    std::size_t pathSize;     // the path before it
};

struct PlayerWork {
    Standing now;
    std::vector<PlayerReview::Choice> choices;  // counted ones
    std::vector<Undoable> undoable;
    std::vector<PlayerReview::Point> path;
    int eventsThisTurn = 0;
};

class Replay {
public:
    Replay(const GameRecord &record, const strategy::Table &table) : record_(record), table_(table)
    {
        start_ = table.value(strategy::Sheet{});
        work_.resize(record.players.size());
        for (PlayerWork &w : work_) {
            w.now.expectation = start_;
            w.path.push_back({0, start_});
        }
    }

    GameReview run()
    {
        for (const GameRecord::Entry &entry : record_.entries) {
            if (entry.player < 0 || std::size_t(entry.player) >= work_.size())
                continue;
            PlayerWork &w = work_[std::size_t(entry.player)];
            switch (entry.kind) {
            case Kind::Throw: landed(w, entry.dice); break;
            case Kind::Rethrow: rethrown(w, entry.thrown); break;
            case Kind::KeepAll: keptAll(w); break;
            case Kind::Record: recorded(w, entry.category, entry.dice); break;
            case Kind::Undo: takenBack(w); break;
            case Kind::Mark:
            case Kind::Refusal:
            case Kind::ListEntry: break;  // no choice of perfect play's
            }
        }
        return summary();
    }

private:
    // The best the player can do now, and what each way of going on is worth.
    std::vector<strategy::Action> options(const Standing &s) const
    {
        return strategy::choices(table_, s.sheet, s.locked ? 3 : s.throwsMade, s.dice);
    }
    static double bestOf(const std::vector<strategy::Action> &options)
    {
        double best = -INFINITY;
        for (const strategy::Action &option : options)
            best = std::max(best, option.value);
        return best;
    }
    static const strategy::Action *firstBest(const std::vector<strategy::Action> &options)
    {
        const strategy::Action *best = nullptr;
        for (const strategy::Action &option : options) {
            if (!best || option.value > best->value)
                best = &option;
        }
        return best;
    }

    void mark(PlayerWork &w, bool endsTurn)
    {
        const int turn = w.now.filledRows() + (endsTurn ? 0 : 1);
        double at = turn;
        if (!endsTurn)
            at = turn - 1 + std::min(++w.eventsThisTurn, 5) / 6.0;
        else
            w.eventsThisTurn = 0;
        w.path.push_back({at, w.now.expectation});
    }

    void landed(PlayerWork &w, const Dice &dice)
    {
        Standing &s = w.now;
        s.throwsMade = std::min(s.throwsMade + 1, 3);
        s.dice = dice;
        s.locked = s.throwsMade == 3;
        const std::vector<strategy::Action> open = options(s);
        if (open.empty())
            return;  // a sheet perfect play does not know: nothing to weigh
        s.expectation = s.pointsEarned() + bestOf(open);
        mark(w, false);
    }

    // Counts a choice of `value` at the moment `s` stands for.
    void choose(PlayerWork &w, const std::vector<strategy::Action> &open, const QString &taken, double value)
    {
        const Standing &s = w.now;
        const strategy::Action *best = firstBest(open);
        PlayerReview::Choice choice;
        choice.turn = s.filledRows() + 1;
        choice.throwsMade = s.throwsMade;
        choice.dice = s.dice;
        choice.taken = taken;
        choice.best = actionWords(*best, s.locked, s.dice);
        choice.cost = std::max(0.0, best->value - value);
        w.choices.push_back(choice);
    }

    void rethrown(PlayerWork &w, const std::array<bool, 5> &thrown)
    {
        Standing &s = w.now;
        const std::vector<strategy::Action> open = options(s);
        if (open.empty() || s.locked)
            return;
        std::array<int, 7> kept{};
        for (std::size_t d = 0; d < thrown.size(); ++d) {
            if (!thrown[d])
                ++kept[std::size_t(s.dice[d])];
        }
        const auto taken = std::find_if(open.begin(), open.end(), [&kept](const strategy::Action &a) {
            return a.kind == strategy::Action::Kind::Keep && a.keep == kept;
        });
        if (taken == open.end())
            return;
        choose(w, open, throwAgainWords(thrown), taken->value);
        s.expectation = s.pointsEarned() + taken->value;
        mark(w, false);
    }

    void keptAll(PlayerWork &w)
    {
        Standing &s = w.now;
        const std::vector<strategy::Action> open = options(s);
        if (open.empty() || s.locked)
            return;
        const auto all = std::find_if(open.begin(), open.end(),
                                      [](const strategy::Action &a) { return a.kind == strategy::Action::Kind::Record; });
        w.undoable.push_back({s, w.choices.size(), w.path.size()});
        choose(w, open, QStringLiteral("säästä kaikki"), all->value);
        s.locked = true;
        s.expectation = s.pointsEarned() + all->value;
        mark(w, false);
    }

    void recorded(PlayerWork &w, int code, const Dice &dice)
    {
        Standing &s = w.now;
        // The dice recorded are the ones the row scores, whatever was thrown.
        s.dice = dice;
        const std::vector<strategy::Action> open = options(s);
        const double value = strategy::recordValue(table_, s.sheet, dice, code);
        if (open.empty() || !std::isfinite(value))
            return;
        w.undoable.push_back({s, w.choices.size(), w.path.size()});
        choose(w, open, QStringLiteral("kirjaa %1").arg(rowName(code)), value);
        const int score = scoreCategory(code, dice);
        s.rowPoints += score;
        if (code <= category::sixes)
            s.sheet.upperSum += score;
        s.sheet.filled = std::uint16_t(s.sheet.filled | 1u << (code - 1));
        s.throwsMade = 0;
        s.locked = false;
        s.expectation = s.pointsEarned() + table_.value(s.sheet);
        mark(w, true);
    }

    void takenBack(PlayerWork &w)
    {
        if (w.undoable.empty())
            return;
        const Undoable last = w.undoable.back();
        w.undoable.pop_back();
        // The choice that replaces it is weighed at the same moment.
        w.now = last.before;
        w.choices.resize(last.choiceIndex);
        w.path.resize(last.pathSize);
        w.eventsThisTurn = 0;
        for (std::size_t i = w.path.size(); i-- > 1 && w.path[i].turns > w.now.filledRows();)
            ++w.eventsThisTurn;
    }

    GameReview summary() const
    {
        GameReview review;
        review.start = start_;
        review.finished = !work_.empty();
        for (std::size_t p = 0; p < work_.size(); ++p) {
            const PlayerWork &w = work_[p];
            review.finished = review.finished && w.now.filledRows() == category::count;
            PlayerReview player;
            player.name = record_.players[p].name;
            player.computer = record_.players[p].computer;
            player.points = w.now.pointsShown();
            player.expectation = w.now.expectation;
            for (const PlayerReview::Choice &choice : w.choices)
                player.costs += choice.cost;
            player.luck = player.expectation - start_ + player.costs;
            std::vector<PlayerReview::Choice> costly;
            std::copy_if(w.choices.begin(), w.choices.end(), std::back_inserter(costly),
                         [](const PlayerReview::Choice &c) { return c.cost >= costlyChoice; });
            std::stable_sort(costly.begin(), costly.end(),
                             [](const auto &a, const auto &b) { return a.cost > b.cost; });
            costly.resize(std::min<std::size_t>(costly.size(), 3));
            player.costliest = costly;
            player.path = w.path;
            review.players.push_back(player);
        }
        return review;
    }

    const GameRecord &record_;
    const strategy::Table &table_;
    double start_ = 0;
    std::vector<PlayerWork> work_;
};

QString signedDecimal(double value)
{
    const QString shown = oneDecimal(value);
    if (shown == QLatin1String("0,0"))
        return shown;
    return value > 0 ? u'+' + shown : QChar(0x2212) + oneDecimal(-value);
}

} // namespace

GameReview reviewGame(const GameRecord &record, const strategy::Table &table)
{
    return Replay(record, table).run();
}

QString oneDecimal(double value)
{
    // Rounded first, so that a tiny negative figure reads "0,0" and not "-0,0".
    const double tenths = std::round(value * 10.0);
    QString text = QString::number((tenths == 0 ? 0.0 : tenths) / 10.0, 'f', 1);
    return text.replace(u'.', u',');
}

QString summaryLine(const PlayerReview &player, bool finished)
{
    // One pass of arg(): a "%1" in a name stays as it is.
    const QString points = finished ? QStringLiteral("%1: %2 pistettä.").arg(player.name, QString::number(player.points))
                                    : QStringLiteral("%1: %2 pistettä, odotus %3.")
                                          .arg(player.name, QString::number(player.points), oneDecimal(player.expectation));
    return QStringLiteral("%1 Valinnat maksoivat %2 pistettä, noppaonni %3 pistettä.")
        .arg(points, oneDecimal(player.costs), signedDecimal(player.luck));
}

QStringList choiceLines(const PlayerReview &player)
{
    if (player.costliest.empty())
        return {QStringLiteral("%1: ei yhtään kallista valintaa.").arg(player.name)};
    QStringList lines;
    for (const PlayerReview::Choice &choice : player.costliest) {
        QStringList dice;
        for (const int face : choice.dice)
            dice << QString::number(face);
        lines << QStringLiteral("Vuoro %1, %2. heiton jälkeen: %3. Valitsit: %4. Paras: %5. Hinta %6 pistettä.")
                     .arg(QString::number(choice.turn), QString::number(choice.throwsMade), dice.join(u' '),
                          choice.taken, choice.best, oneDecimal(choice.cost));
    }
    return lines;
}
