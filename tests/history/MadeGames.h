#pragma once

// Games made entry by entry as a window would record them, for the tests,
// the program that plays as another window, and the benchmark.
#include "game/GameRecord.h"

#include <QStringList>

namespace madeGames {

using Kind = GameRecord::Kind;

// Dice that score in the row of each code: 328 points with the bonus and 50
// in Yatzy. The poor dice score 32 over the whole sheet.
inline const Dice rowDice[16] = {
    {},              {1, 1, 1, 2, 3}, {2, 2, 2, 5, 6}, {3, 3, 3, 1, 2}, {4, 4, 4, 1, 2}, {5, 5, 5, 1, 2},
    {6, 6, 6, 1, 2}, {6, 6, 5, 4, 1}, {6, 6, 5, 5, 1}, {6, 6, 6, 5, 1}, {6, 6, 6, 6, 1}, {1, 2, 3, 4, 5},
    {2, 3, 4, 5, 6}, {6, 6, 6, 5, 5}, {6, 6, 5, 5, 4}, {6, 6, 6, 6, 6},
};
constexpr Dice poorDice{1, 2, 3, 4, 6};

// A turn of a dozen entries: a throw, two dice marked, one held again, the
// two thrown again, a throw, a die marked and thrown again, the last throw,
// the row filled last turn refused, and the row.
inline void playTurn(GameRecord &record, int player, int code, bool poor)
{
    const Dice dice = poor ? poorDice : rowDice[code];
    record.add({Kind::Throw, player, {6, 5, 4, 3, 2}, {}, 0});
    GameRecord::Entry mark{Kind::Mark, player};
    for (const auto &[die, marked] : {std::pair{3, true}, std::pair{4, true}, std::pair{4, false}}) {
        mark.die = die;
        mark.marked = marked;
        record.add(mark);
    }
    record.add({Kind::Rethrow, player, {}, {false, false, false, true, false}, 0});
    record.add({Kind::Throw, player, {6, 5, 4, 1, 2}, {}, 0});
    mark.die = 0;
    mark.marked = true;
    record.add(mark);
    record.add({Kind::Rethrow, player, {}, {true, false, false, false, false}, 0});
    record.add({Kind::Throw, player, dice, {}, 0});
    if (code > 1)
        record.add({Kind::Refusal, player, {}, {}, code - 1});
    record.add({Kind::Record, player, dice, {}, code});
}

// `turns` rounds: each player fills rows 1, 2, ... in order; a name starting
// with '-' plays the poor dice (the '-' is not part of the name).
inline GameRecord madeGame(const QStringList &names, int turns, const QDateTime &started)
{
    GameRecord record;
    std::vector<GameRecord::Player> players;
    for (const QString &name : names) {
        const QString shown = name.startsWith(u'-') ? name.mid(1) : name;
        players.push_back({shown, shown.startsWith(QLatin1String("Kone")), u' ' + shown});
    }
    record.start(players, started);
    for (int code = 1; code <= turns; ++code) {
        for (int p = 0; p < names.size(); ++p)
            playTurn(record, p, code, names[p].startsWith(u'-'));
    }
    return record;
}

} // namespace madeGames
