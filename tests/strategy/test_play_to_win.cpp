#include "dice/DiceGenerator.h"
#include "strategy/PlayToWin.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using strategy::Action;
using strategy::Position;
using strategy::Sheet;
using strategy::Table;

namespace {

const Table &table()
{
    static const Table computed = Table::computeWithSpread(strategy::Rules::ours());
    return computed;
}

std::uint16_t allBut(std::initializer_list<int> codes)
{
    std::uint16_t filled = (1u << category::count) - 1;
    for (const int code : codes)
        filled &= std::uint16_t(~(1u << (code - 1)));
    return filled;
}

Position at(std::uint16_t filled, int upperSum, int points, int throwsMade = 0, Dice dice = {})
{
    return Position{Sheet{filled, upperSum}, points, throwsMade, dice, false};
}

QString describe(const Action &action)
{
    if (action.kind == Action::Kind::Record)
        return QStringLiteral("record %1").arg(action.category);
    QString kept;
    for (int face = 1; face <= 6; ++face)
        kept += QString(action.keep[std::size_t(face)], QChar(u'0' + face));
    return "keep " + kept;
}

} // namespace

Q_DECLARE_METATYPE(Position)

class TestPlayToWin : public QObject {
    Q_OBJECT

private slots:
    void theEndOfAGame_data();
    void theEndOfAGame();
};

void TestPlayToWin::theEndOfAGame_data()
{
    QTest::addColumn<Position>("me");
    QTest::addColumn<Position>("other");
    QTest::addColumn<QString>("taken"); // empty: the advice's
    QTest::addColumn<double>("chance");

    const std::uint16_t full = allBut({});
    QTest::newRow("a Yatzy or nothing: the most common face kept")
        << at(allBut({category::yatzy}), 70, 200, 1, Dice{2, 5, 5, 6, 5}) << at(full, 70, 240) << "keep 555"
        << std::pow(11.0 / 36, 2);
    QTest::newRow("sure of winning: the points") << at(allBut({category::chance}), 70, 230, 1, Dice{1, 2, 5, 6, 6})
                                                 << at(full, 70, 150) << "" << 1.0;
    QTest::newRow("sure of losing: the points") << at(allBut({category::chance}), 10, 150, 2, Dice{1, 2, 5, 6, 6})
                                                << at(full, 70, 250) << "" << 0.0;
    // 27 loses by one and the advice keeps it; a new four's die wins with a
    // six and ties with a five.
    QTest::newRow("one short with 27 in chance: the four thrown again")
        << at(allBut({category::chance}), 70, 200, 2, Dice{4, 5, 6, 6, 6}) << at(full, 70, 228) << "keep 5666"
        << 0.25;
}

void TestPlayToWin::theEndOfAGame()
{
    QFETCH(Position, me);
    QFETCH(Position, other);
    QFETCH(QString, taken);
    QFETCH(double, chance);

    strategy::TotalsCache cache;
    const strategy::ChoicesToWin open = strategy::choicesToWin(table(), me, {other}, cache);
    QVERIFY(open.exact);
    const strategy::ChanceOfChoice &choice = open.choices.at(open.taken);
    const Action advised = strategy::advise(table(), me.sheet, me.throwsMade, me.dice);
    QCOMPARE(describe(choice.action), taken.isEmpty() ? describe(advised) : taken);
    QVERIFY2(std::abs(choice.chance - chance) < 1e-6, qPrintable(QString::number(choice.chance)));
}

QTEST_GUILESS_MAIN(TestPlayToWin)
#include "test_play_to_win.moc"
