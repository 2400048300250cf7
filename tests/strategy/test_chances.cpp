#include "Match.h"
#include "Positions.h"

#include "strategy/TurnPlan.h"
#include "strategy/WinChances.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

using namespace positions;
using strategy::Action;
using strategy::Position;
using strategy::Sheet;
using strategy::Totals;
using strategy::TurnEnd;

namespace {

// What a turn's end is worth with the rest of the game: its points, the
// bonus if they lift the upper sum to it, and the table's value after.
double worth(Sheet sheet, const TurnEnd &end)
{
    Sheet next{std::uint16_t(sheet.filled | 1u << end.row), sheet.upperSum};
    if (end.row < category::sixes)
        next.upperSum += end.score;
    return end.score + earned(next) - earned(sheet) + table().value(next);
}

// "190:0.5 210:0.5" as totals; "200" alone is certain.
Totals totalsOf(const QString &text)
{
    Totals totals(400, 0.0);
    for (const QString &item : text.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(':');
        totals[parts[0].toUInt()] += parts.size() > 1 ? parts[1].toDouble() : 1.0;
    }
    return totals;
}

} // namespace

Q_DECLARE_METATYPE(Position)

class TestChances : public QObject {
    Q_OBJECT

private slots:
    void aTurnsEndsFollowTheAdvice_data();
    void aTurnsEndsFollowTheAdvice();
    void firstPlaceIsShared_data();
    void firstPlaceIsShared();
    void fewRowsLeftAreExact_data();
    void fewRowsLeftAreExact();
    void chancesAgreeWithPlayedGames_data();
    void chancesAgreeWithPlayedGames();
    void aMomentAlwaysShowsTheSameChances();
};

void TestChances::aTurnsEndsFollowTheAdvice_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("upperSum");

    QTest::newRow("the empty sheet") << 0 << 0;
    QTest::newRow("upper rows half done, below par") << int(allBut({4, 5, 6, 8, 9, 12, 13, 15})) << 5;
    QTest::newRow("three sixes earn the bonus") << int(allBut({category::sixes, category::yatzy, 8})) << 45;
    QTest::newRow("the bonus earned, two rows left") << int(allBut({category::twoPairs, category::chance})) << 75;
}

// The ends average to the table's value, and they are the advice's: the
// turn's ends are those after the advised choice at each first throw, and
// after a keep those after the advised choice at each second throw.
// The ends average to the table's value, and they are the advice's: the
// turn's ends are those after the advised choice at each first throw.
void TestChances::aTurnsEndsFollowTheAdvice()
{
    QFETCH(int, filled);
    QFETCH(int, upperSum);

    const Sheet sheet{std::uint16_t(filled), upperSum};
    const strategy::TurnPlan plan(table(), sheet);
    std::map<std::pair<int, int>, double> gap;
    double chance = 0;
    double mean = 0;
    for (const TurnEnd &end : plan.ends()) {
        chance += end.chance;
        mean += end.chance * worth(sheet, end);
        gap[{end.row, end.score}] += end.chance;
    }
    QVERIFY(std::abs(chance - 1) < 1e-12);
    QVERIFY2(std::abs(mean - table().value(sheet)) < 1e-3, qPrintable(QString::number(mean)));
    for (int way = 0; way < 7776; ++way) {
        Dice first;
        for (int i = 0, rest = way; i < 5; ++i, rest /= 6)
            first[std::size_t(i)] = rest % 6 + 1;
        for (const TurnEnd &end : plan.endsAfter(1, first, strategy::advise(table(), sheet, 1, first)))
            gap[{end.row, end.score}] -= end.chance / 7776;
    }
    for (const auto &entry : gap)
        QVERIFY(std::abs(entry.second) < 1e-12);
}

void TestChances::firstPlaceIsShared_data()
{
    QTest::addColumn<QStringList>("players");
    QTest::addColumn<QList<double>>("chances");

    QTest::newRow("alone") << QStringList{"200"} << QList<double>{1};
    QTest::newRow("the same total") << QStringList{"200", "200"} << QList<double>{0.5, 0.5};
    QTest::newRow("two of three share the top") << QStringList{"210", "190", "210"} << QList<double>{0.5, 0, 0.5};
    QTest::newRow("a tie half of the time") << QStringList{"200:0.5 210:0.5", "200"} << QList<double>{0.75, 0.25};
    QTest::newRow("three share the top half of the time")
        << QStringList{"100:0.5 200:0.5", "200", "200"} << QList<double>{1.0 / 6, 5.0 / 12, 5.0 / 12};
    QTest::newRow("four alike") << QStringList(4, "199:0.5 201:0.5") << QList<double>{0.25, 0.25, 0.25, 0.25};
}

void TestChances::firstPlaceIsShared()
{
    QFETCH(QStringList, players);
    QFETCH(QList<double>, chances);

    std::vector<Totals> totals;
    for (const QString &player : players)
        totals.push_back(totalsOf(player));
    const std::vector<double> found = strategy::winChances(totals);
    for (int i = 0; i < chances.size(); ++i)
        QVERIFY2(std::abs(found[std::size_t(i)] - chances[i]) < 1e-12,
                 qPrintable(QString::number(found[std::size_t(i)])));
}

void TestChances::fewRowsLeftAreExact_data()
{
    QTest::addColumn<Position>("position");

    QTest::newRow("a Yatzy or nothing") << at(allBut({category::yatzy}), 70, 200);
    QTest::newRow("sixes for the bonus, and a Yatzy")
        << at(allBut({category::sixes, category::yatzy}), 45, 180);
    QTest::newRow("three rows, the bonus five short") << at(allBut({1, 2, category::chance}), 58, 170);
    QTest::newRow("after the second throw, two rows left")
        << at(allBut({category::fourOfAKind, category::yatzy}), 66, 190, 2, Dice{4, 4, 4, 2, 6});
}

// With three rows or fewer left the totals are reckoned, not simulated:
// their mean and spread are the table's, to rounding.
void TestChances::fewRowsLeftAreExact()
{
    QFETCH(Position, position);

    strategy::TotalsCache cache;
    const Totals totals = strategy::finalTotals(table(), position, cache);
    const int throwsMade = position.throwsMade;
    const double value = throwsMade == 0 ? table().value(position.sheet)
                                         : strategy::advise(table(), position.sheet, throwsMade, position.dice).value;
    const double mean = strategy::meanOf(totals);
    QVERIFY2(std::abs(mean - (position.points + earned(position.sheet) + value)) < 1e-4,
             qPrintable(QString::number(mean)));
    if (throwsMade == 0) {
        double square = 0;
        for (std::size_t t = 0; t < totals.size(); ++t)
            square += totals[t] * (double(t) - mean) * (double(t) - mean);
        const double spread = table().meanSquare(position.sheet) - value * value;
        QVERIFY2(std::abs(square - spread) < 1e-2, qPrintable(QString::number(square)));
    }
}

void TestChances::chancesAgreeWithPlayedGames_data()
{
    QTest::addColumn<QList<Position>>("players");

    QTest::newRow("after the first turns") << QList<Position>{at(1u << 13, 0, 24), at(1u << 2, 9, 9)};
    QTest::newRow("halfway, one ahead by thirty")
        << QList<Position>{at(0x1F | 1u << 9, 52, 110), at(0x3F | 1u << 14, 60, 80)};
    QTest::newRow("after a first throw, three players")
        << QList<Position>{at(0x7 | 1u << 11, 12, 45, 1, Dice{6, 6, 2, 6, 3}), at(0x7 | 1u << 14, 10, 60),
                           at(0x38 | 1u << 7, 48, 58)};
}

// Games played out by the advice with the game's dice, as kopperi-strategy
// plays them, end as the chances say, within four standard errors of 4,000.
void TestChances::chancesAgreeWithPlayedGames()
{
    QFETCH(QList<Position>, players);

    strategy::TotalsCache cache;
    const std::vector<Position> all(players.begin(), players.end());
    const std::vector<double> chances = strategy::chancesToWin(table(), all, cache);
    constexpr int games = 4000;
    std::vector<double> won(all.size(), 0.0);
    const match::Chooser perfect = match::forPoints(table());
    DiceGenerator dice(17);
    for (int game = 0; game < games; ++game) {
        match::Players ended = all;
        for (Position &player : ended)
            match::playToTheEnd(player, perfect, dice);
        const std::vector<double> shares = match::sharesOf(ended);
        for (std::size_t i = 0; i < all.size(); ++i)
            won[i] += shares[i];
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        const double share = won[i] / games;
        const double error = std::sqrt(std::max(0.01, chances[i] * (1 - chances[i])) / games);
        QVERIFY2(std::abs(share - chances[i]) < 4 * error,
                 qPrintable(QStringLiteral("player %1: %2 won, %3 shown").arg(i).arg(share).arg(chances[i])));
    }
}

void TestChances::aMomentAlwaysShowsTheSameChances()
{
    const std::vector<Position> players{at(0x7 | 1u << 11, 12, 45, 2, Dice{5, 5, 1, 5, 3}), at(1u << 3, 8, 8),
                                        at(0x38 | 1u << 7, 48, 58), at(0, 0, 0)};
    strategy::TotalsCache cache;
    const std::vector<double> chances = strategy::chancesToWin(table(), players, cache);
    QCOMPARE(strategy::chancesToWin(table(), players, cache), chances);
    strategy::TotalsCache fresh;
    const Action advised = strategy::advise(table(), players[0].sheet, 2, players[0].dice);
    QCOMPARE(strategy::chancesToWinAfter(table(), players, 0, advised, fresh), chances);
    QVERIFY(std::abs(std::accumulate(chances.begin(), chances.end(), 0.0) - 1) < 1e-9);
    // Another keep gives other chances.
    Action twoFives = advised;
    twoFives.kind = Action::Kind::Keep;
    twoFives.keep = {0, 0, 0, 0, 0, 2, 0};
    QVERIFY(strategy::chancesToWinAfter(table(), players, 0, twoFives, fresh) != chances);
}

QTEST_GUILESS_MAIN(TestChances)
#include "test_chances.moc"
