#include "game/Review.h"

#include "game/PerfectPlay.h"
#include "strategy/Strategy.h"
#include "strategy/WinChances.h"

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
    strategy::Position position() const { return {sheet, rowPoints, throwsMade, dice, locked}; }
};

// A choice that may still be taken back, with where the player stood before it.
struct Undoable {
    Standing before;
    std::size_t choiceIndex;  // in the player's counted choices
    std::size_t pathSize;     // the path before it
    bool row;                 // a row recorded, not all dice kept
};

struct PlayerWork {
    Standing now;
    std::vector<PlayerReview::Choice> choices;  // counted ones
    std::vector<Undoable> undoable;
    std::vector<PlayerReview::Point> path;
    int eventsThisTurn = 0;
    std::vector<strategy::Position> afterTurns{strategy::Position{}};  // [t]: at the end of turn t
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

    // Counts the choice `taken` at the moment `s` stands for.
    void choose(PlayerWork &w, const std::vector<strategy::Action> &open, const QString &words,
                const strategy::Action &taken)
    {
        const Standing &s = w.now;
        const strategy::Action *best = firstBest(open);
        PlayerReview::Choice choice;
        choice.turn = s.filledRows() + 1;
        choice.throwsMade = s.throwsMade;
        choice.dice = s.dice;
        choice.taken = words;
        choice.best = actionWords(*best, s.locked, s.dice);
        choice.cost = std::max(0.0, best->value - taken.value);
        for (const PlayerWork &player : work_)
            choice.players.push_back(player.now.position());
        choice.takenAction = taken;
        choice.bestAction = *best;
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
        choose(w, open, throwAgainWords(thrown), *taken);
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
        w.undoable.push_back({s, w.choices.size(), w.path.size(), false});
        choose(w, open, QStringLiteral("säästä kaikki"), *all);
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
        w.undoable.push_back({s, w.choices.size(), w.path.size(), true});
        const auto row = std::find_if(open.begin(), open.end(), [code](const strategy::Action &a) {
            return a.kind == strategy::Action::Kind::Record && a.category == code;
        });
        strategy::Action taken;
        taken.kind = strategy::Action::Kind::Record;
        taken.category = code;
        taken.value = value;
        choose(w, open, QStringLiteral("kirjaa %1").arg(rowName(code)), row != open.end() ? *row : taken);
        const int score = scoreCategory(code, dice);
        s.rowPoints += score;
        if (code <= category::sixes)
            s.sheet.upperSum += score;
        s.sheet.filled = std::uint16_t(s.sheet.filled | 1u << (code - 1));
        s.throwsMade = 0;
        s.locked = false;
        s.expectation = s.pointsEarned() + table_.value(s.sheet);
        mark(w, true);
        w.afterTurns.push_back(s.position());
    }

    void takenBack(PlayerWork &w)
    {
        if (w.undoable.empty())
            return;
        const Undoable last = w.undoable.back();
        w.undoable.pop_back();
        // The choice that replaces it is weighed at the same moment.
        w.now = last.before;
        if (last.row && w.afterTurns.size() > 1)
            w.afterTurns.pop_back();
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
        if (review.severalPlayers()) {
            if (!review.finished) {
                for (const PlayerWork &w : work_)
                    review.now.push_back(w.now.position());
            }
            review.steps = steps();
        }
        return review;
    }

    // The chart's moments: the start, then after every turn of every player
    // in the order played, player p's turn t at t - 1 + (p + 1) / players.
    std::vector<GameReview::Step> steps() const
    {
        const std::size_t players = work_.size();
        std::vector<GameReview::Step> all;
        for (int turn = 0; turn <= category::count; ++turn) {
            for (std::size_t mover = turn == 0 ? players - 1 : 0; mover < players; ++mover) {
                GameReview::Step step;
                step.turns = turn == 0 ? 0.0 : turn - 1 + double(mover + 1) / double(players);
                for (std::size_t p = 0; p < players; ++p) {
                    const std::size_t done = std::size_t(turn) - (p > mover ? 1 : 0);
                    if (turn > 0 && done >= work_[p].afterTurns.size())
                        return all;
                    step.players.push_back(work_[p].afterTurns[turn == 0 ? 0 : done]);
                }
                all.push_back(step);
            }
        }
        return all;
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

std::optional<ChancePiece> chancesNow(const GameReview &review, const strategy::Table &table,
                                      strategy::TotalsCache &cache)
{
    if (review.now.empty())
        return std::nullopt;
    ChancePiece piece;
    piece.chances = strategy::chancesToWin(table, review.now, cache);
    if (piece.chances.size() != review.players.size())
        return std::nullopt;  // a sheet the table does not hold
    return piece;
}

void reckonChances(const GameReview &review, const strategy::Table &table, strategy::TotalsCache &cache,
                   const std::function<bool(const ChancePiece &)> &deliver)
{
    if (!review.severalPlayers())
        return;
    for (std::size_t p = 0; p < review.players.size(); ++p) {
        const std::vector<PlayerReview::Choice> &costliest = review.players[p].costliest;
        for (std::size_t k = 0; k < costliest.size(); ++k) {
            const PlayerReview::Choice &choice = costliest[k];
            ChancePiece piece{ChancePiece::Kind::Choice, p, k, {}};
            for (const strategy::Action &action : {choice.takenAction, choice.bestAction}) {
                const std::vector<double> after = strategy::chancesToWinAfter(table, choice.players, p, action, cache);
                if (after.size() != choice.players.size())
                    break;
                piece.chances.push_back(after[p]);
            }
            if (piece.chances.size() == 2 && !deliver(piece))
                return;
        }
    }
    for (std::size_t s = 0; s < review.steps.size(); ++s) {
        ChancePiece piece{ChancePiece::Kind::Step, 0, s, strategy::chancesToWin(table, review.steps[s].players, cache)};
        if (piece.chances.size() == review.players.size() && !deliver(piece))
            return;
    }
}

void applyChance(GameReview &review, const ChancePiece &piece)
{
    switch (piece.kind) {
    case ChancePiece::Kind::Now:
        for (std::size_t p = 0; p < review.players.size() && p < piece.chances.size(); ++p)
            review.players[p].chance = piece.chances[p];
        break;
    case ChancePiece::Kind::Choice:
        if (piece.player < review.players.size() && piece.index < review.players[piece.player].costliest.size() &&
            piece.chances.size() == 2) {
            PlayerReview::Choice &choice = review.players[piece.player].costliest[piece.index];
            choice.chance = piece.chances[0];
            choice.bestChance = piece.chances[1];
        }
        break;
    case ChancePiece::Kind::Step:
        if (piece.index < review.steps.size()) {
            for (std::size_t p = 0; p < review.players.size() && p < piece.chances.size(); ++p)
                review.players[p].chances.push_back({review.steps[piece.index].turns, piece.chances[p]});
        }
        break;
    }
}

QString percentage(double chance)
{
    return QStringLiteral("%1 %").arg(std::lround(chance * 100.0));
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
    QString points = finished ? QStringLiteral("%1: %2 pistettä.").arg(player.name, QString::number(player.points))
                              : QStringLiteral("%1: %2 pistettä, odotus %3.")
                                    .arg(player.name, QString::number(player.points), oneDecimal(player.expectation));
    if (!finished && player.chance) {
        points.chop(1);
        points += QStringLiteral(", voittomahdollisuus %1.").arg(percentage(*player.chance));
    }
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
        QString line = QStringLiteral("Vuoro %1, %2. heiton jälkeen: %3. Valitsit: %4. Paras: %5. Hinta %6 pistettä.")
                           .arg(QString::number(choice.turn), QString::number(choice.throwsMade), dice.join(u' '),
                                choice.taken, choice.best, oneDecimal(choice.cost));
        if (choice.chance && choice.bestChance)
            line += QStringLiteral(" Voittomahdollisuus %1 (paras %2).").arg(percentage(*choice.chance), percentage(*choice.bestChance));
        lines << line;
    }
    return lines;
}
