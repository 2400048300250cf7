// The review of a game: what each choice cost against perfect play, and what
// the dice gave, worked out from the game's record.
#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "strategy/Strategy.h"

#include <QtTest>
#include <cmath>

Q_DECLARE_METATYPE(GameRecord)

namespace {

using Kind = GameRecord::Kind;

const strategy::Table &table()
{
    return perfectPlayTable::wait();
}

// Dice that score in the row of each code.
const Dice rowDice[16] = {
    {},              {1, 1, 1, 2, 3}, {2, 2, 2, 5, 6}, {3, 3, 3, 1, 2}, {4, 4, 4, 1, 2}, {5, 5, 5, 1, 2},
    {6, 6, 6, 1, 2}, {6, 6, 5, 4, 1}, {6, 6, 5, 5, 1}, {6, 6, 6, 5, 1}, {6, 6, 6, 6, 1}, {1, 2, 3, 4, 5},
    {2, 3, 4, 5, 6}, {6, 6, 6, 5, 5}, {6, 6, 5, 5, 4}, {6, 6, 6, 6, 6},
};

void throwKeepAndRecord(GameRecord &record, int player, const Dice &dice, int code)
{
    record.add({Kind::Throw, player, dice, {}, 0});
    record.add({Kind::KeepAll, player, dice, {}, 0});
    record.add({Kind::Record, player, dice, {}, code});
}

// Anna fills every row but Sattuma with its own dice, kept after one throw;
// the last turn throws five ones, keeps them and records them in Sattuma.
GameRecord annasGame()
{
    GameRecord record;
    record.start({{QStringLiteral("Anna"), false}});
    for (int code = 1; code <= category::count; ++code) {
        if (code != category::chance)
            throwKeepAndRecord(record, 0, rowDice[code], code);
    }
    throwKeepAndRecord(record, 0, {1, 1, 1, 1, 1}, category::chance);
    return record;
}

} // namespace

class TestReview : public QObject {
    Q_OBJECT

private slots:
    void theLastTurnCostsWhatWorkingItOutByHandGives();
    void anUndoneChoiceDoesNotCount_data();
    void anUndoneChoiceDoesNotCount();
    void playersAreReviewedApart();
    void linesSayItInFinnish_data();
    void linesSayItInFinnish();
};

void TestReview::theLastTurnCostsWhatWorkingItOutByHandGives()
{
    const GameReview review = reviewGame(annasGame(), table());
    QVERIFY(review.finished);
    QCOMPARE(review.players.size(), std::size_t(1));
    const PlayerReview &anna = review.players[0];
    QCOMPARE(anna.name, QStringLiteral("Anna"));

    // With only Sattuma left and two throws to come, each die is thrown again
    // unless it shows 4 or more: 3.5 a die with one throw left, (4 + 5 + 6) / 6
    // + 3.5 / 2 = 4.25 with two. Five ones kept lose 5 * 4.25 - 5 = 16.25.
    const PlayerReview::Choice &worst = anna.costliest.front();
    QCOMPARE(worst.turn, 15);
    QCOMPARE(worst.throwsMade, 1);
    QCOMPARE(worst.taken, QStringLiteral("säästä kaikki"));
    QCOMPARE(worst.best, QStringLiteral("heitä kaikki arpakuutiot uudelleen"));
    QCOMPARE(worst.cost, 16.25);
    // Before that throw three throws were to come: 23.33 a turn.
    const PlayerReview::Point beforeTheLastThrow = anna.path[anna.path.size() - 4];
    QCOMPARE(beforeTheLastThrow.turns, 14.0);
    QVERIFY(std::abs(beforeTheLastThrow.expectation - (anna.points - 5 + 70.0 / 3.0)) < 1e-4);

    // The points are perfect play's expectation, less the costs, plus the luck.
    int points = 0;
    for (int code = 1; code <= category::count; ++code)
        points += scoreCategory(code, code == category::chance ? Dice{1, 1, 1, 1, 1} : rowDice[code]);
    points += upperBonus::points;  // 6 + 6 + 9 + 12 + 15 + 18 = 66
    QCOMPARE(anna.points, points);
    QCOMPARE(anna.expectation, double(points));
    QVERIFY(std::abs(review.start - 248.4403) < 1e-4);
    QVERIFY(std::abs(review.start - anna.costs + anna.luck - points) < 1e-9);
    QVERIFY(anna.costs > 16.25);
    QCOMPARE(anna.path.front().expectation, review.start);
    QCOMPARE(anna.path.back().turns, 15.0);
}

void TestReview::anUndoneChoiceDoesNotCount_data()
{
    QTest::addColumn<GameRecord>("record");
    // A row recorded by mistake in turn 3, taken back, and the right one.
    GameRecord row = annasGame();
    row.entries.insert(row.entries.begin() + 8, {{Kind::Record, 0, rowDice[3], {}, category::yatzy}, {Kind::Undo, 0}});
    QTest::newRow("a row") << row;
    // A keep-all taken back, and all five thrown again into the same dice.
    GameRecord keepAll = annasGame();
    keepAll.entries.insert(keepAll.entries.begin() + 7,
                           {{Kind::KeepAll, 0, rowDice[3]},
                            {Kind::Undo, 0},
                            {Kind::Rethrow, 0, {}, {true, true, true, true, true}},
                            {Kind::Throw, 0, rowDice[3]}});
    QTest::newRow("a keep-all, then a throw") << keepAll;
}

void TestReview::anUndoneChoiceDoesNotCount()
{
    QFETCH(GameRecord, record);
    const PlayerReview plain = reviewGame(annasGame(), table()).players[0];
    const PlayerReview undone = reviewGame(record, table()).players[0];
    QCOMPARE(undone.points, plain.points);
    QVERIFY(std::abs(undone.luck - undone.costs - (plain.luck - plain.costs)) < 1e-9);
    if (QTest::currentDataTag() == QByteArray("a row")) {
        QCOMPARE(undone.costs, plain.costs);
        QCOMPARE(undone.path.size(), plain.path.size());
    } else {
        // Throwing all again, then keeping the same dice, is a choice of its own.
        QVERIFY(undone.costs > plain.costs);
        QCOMPARE(undone.path.size(), plain.path.size() + 2);
    }
}

void TestReview::playersAreReviewedApart()
{
    // Anna's game, with Pekka's turns in between: a Yatzy of fives in each.
    const GameRecord alone = annasGame();
    GameRecord both;
    both.start({{QStringLiteral("Anna"), false}, {QStringLiteral("Kone"), true}});
    int code = 0;
    for (const GameRecord::Entry &entry : alone.entries) {
        both.add(entry);
        if (entry.kind == Kind::Record)
            throwKeepAndRecord(both, 1, {5, 5, 5, 5, 5}, ++code);
    }
    const GameReview review = reviewGame(both, table());
    const PlayerReview anna = reviewGame(alone, table()).players[0];
    QVERIFY(review.finished);
    QCOMPARE(review.players[0].costs, anna.costs);
    QCOMPARE(review.players[0].luck, anna.luck);
    QCOMPARE(review.players[1].name, QStringLiteral("Kone"));
    int kones = 0;
    for (int c = 1; c <= category::count; ++c)
        kones += scoreCategory(c, {5, 5, 5, 5, 5});  // 25 of the upper rows: no bonus
    QVERIFY(review.players[1].computer);
    QCOMPARE(review.players[1].points, kones);
}

void TestReview::linesSayItInFinnish_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("expectation");
    QTest::addColumn<double>("costs");
    QTest::addColumn<double>("luck");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("line");
    QTest::newRow("after the game") << 231 << 231.0 << 12.34 << -5.06 << true
                                    << QStringLiteral("Anna: 231 pistettä. Valinnat maksoivat 12,3 pistettä, "
                                                      "noppaonni \u22125,1 pistettä.");
    QTest::newRow("during it, with its expectation") << 120 << 236.05 << 3.44 << -8.94 << false
                                                     << QStringLiteral("Anna: 120 pistettä, odotus 236,1. Valinnat "
                                                                       "maksoivat 3,4 pistettä, noppaonni \u22128,9 pistettä.");
    QTest::newRow("good luck has a plus") << 280 << 280.0 << 0.0 << 31.56 << true
                                          << QStringLiteral("Anna: 280 pistettä. Valinnat maksoivat 0,0 pistettä, "
                                                            "noppaonni +31,6 pistettä.");
    QTest::newRow("no luck has no sign") << 248 << 248.0 << 0.02 << -0.04 << true
                                         << QStringLiteral("Anna: 248 pistettä. Valinnat maksoivat 0,0 pistettä, "
                                                           "noppaonni 0,0 pistettä.");
}

void TestReview::linesSayItInFinnish()
{
    QFETCH(int, points);
    QFETCH(double, expectation);
    QFETCH(double, costs);
    QFETCH(double, luck);
    QFETCH(bool, finished);
    QFETCH(QString, line);
    PlayerReview anna;
    anna.name = QStringLiteral("Anna");
    anna.points = points;
    anna.expectation = expectation;
    anna.costs = costs;
    anna.luck = luck;
    QCOMPARE(summaryLine(anna, finished), line);
    QCOMPARE(choiceLines(anna), QStringList{QStringLiteral("Anna: ei yhtään kallista valintaa.")});
    anna.costliest.push_back({5, 2, {2, 2, 5, 5, 6}, QStringLiteral("heitä uudelleen arpakuutio 5"),
                              QStringLiteral("säästä kaikki ja kirjaa Kaksi paria"), 3.21});
    QCOMPARE(choiceLines(anna), QStringList{QStringLiteral("Vuoro 5, 2. heiton jälkeen: 2 2 5 5 6. Valitsit: heitä "
                                                           "uudelleen arpakuutio 5. Paras: säästä kaikki ja kirjaa "
                                                           "Kaksi paria. Hinta 3,2 pistettä.")});
}

QTEST_GUILESS_MAIN(TestReview)
#include "test_review.moc"
