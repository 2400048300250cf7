// The review of a game: what each choice cost against perfect play, and what
// the dice gave, worked out from the game's record.
#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "strategy/Strategy.h"

#include <QtTest>
#include <cmath>

namespace {

using Kind = GameRecord::Kind;

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
// Turn 3 is entries 6..8.
GameRecord annasGame()
{
    GameRecord record;
    record.start({{QStringLiteral("Anna"), false}}, {});
    for (int code = 1; code <= category::count; ++code) {
        if (code != category::chance)
            throwKeepAndRecord(record, 0, rowDice[code], code);
    }
    throwKeepAndRecord(record, 0, {1, 1, 1, 1, 1}, category::chance);
    return record;
}

PlayerReview annaIn(const GameRecord &record)
{
    return reviewGame(record, perfectPlayTable::wait()).players.at(0);
}

} // namespace

class TestReview : public QObject {
    Q_OBJECT

private slots:
    void theLastTurnCostsWhatWorkingItOutByHandGives();
    void anUndoneChoiceDoesNotCount();
    void linesSayItInFinnish();
};

void TestReview::theLastTurnCostsWhatWorkingItOutByHandGives()
{
    const GameReview review = reviewGame(annasGame(), perfectPlayTable::wait());
    const PlayerReview &anna = review.players.at(0);
    QVERIFY(review.finished);

    // With only Sattuma left and two throws to come, each die is thrown again
    // unless it shows 4 or more: 3.5 a die with one throw left, (4 + 5 + 6) / 6
    // + 3.5 / 2 = 4.25 with two. Five ones kept lose 5 * 4.25 - 5 = 16.25.
    const PlayerReview::Choice &worst = anna.costliest.front();
    QCOMPARE(worst.turn, 15);
    QCOMPARE(worst.throwsMade, 1);
    QCOMPARE(worst.taken, QStringLiteral("säästä kaikki"));
    QCOMPARE(worst.best, QStringLiteral("heitä kaikki arpakuutiot uudelleen"));
    QCOMPARE(worst.cost, 16.25);
    // Three throws to come: 70 / 3 a turn.
    QVERIFY(std::abs(anna.path[anna.path.size() - 4].expectation - (anna.points - 5 + 70.0 / 3.0)) < 1e-4);

    // The points are perfect play's expectation, less the costs, plus the luck.
    int points = upperBonus::points;  // 6 + 6 + 9 + 12 + 15 + 18 = 66
    for (int code = 1; code <= category::count; ++code)
        points += scoreCategory(code, code == category::chance ? Dice{1, 1, 1, 1, 1} : rowDice[code]);
    QCOMPARE(anna.points, points);
    QVERIFY(std::abs(review.start - 248.4403) < 1e-4);
    QVERIFY(std::abs(review.start - anna.costs + anna.luck - points) < 1e-9);
    QCOMPARE(anna.path.back().turns, 15.0);

    // Another player's turns in between change nothing of Anna's.
    GameRecord both;
    both.start({{QStringLiteral("Anna"), false}, {QStringLiteral("Kone"), true}}, {});
    int code = 0;
    for (const GameRecord::Entry &entry : annasGame().entries) {
        both.add(entry);
        if (entry.kind == Kind::Record)
            throwKeepAndRecord(both, 1, {5, 5, 5, 5, 5}, ++code);
    }
    QCOMPARE(annaIn(both).costs, anna.costs);
    QCOMPARE(annaIn(both).luck, anna.luck);
}

void TestReview::anUndoneChoiceDoesNotCount()
{
    const PlayerReview plain = annaIn(annasGame());
    // A row recorded by mistake in turn 3 and taken back.
    GameRecord row = annasGame();
    row.entries.insert(row.entries.begin() + 8, {{Kind::Record, 0, rowDice[3], {}, category::yatzy}, {Kind::Undo, 0}});
    QCOMPARE(annaIn(row).costs, plain.costs);
    QCOMPARE(annaIn(row).path.size(), plain.path.size());
    // A keep-all taken back, and all five thrown again into the same dice: the
    // throw again is a choice of its own.
    GameRecord keepAll = annasGame();
    keepAll.entries.insert(keepAll.entries.begin() + 7, {{Kind::KeepAll, 0, rowDice[3]},
                                                         {Kind::Undo, 0},
                                                         {Kind::Rethrow, 0, {}, {true, true, true, true, true}},
                                                         {Kind::Throw, 0, rowDice[3]}});
    QVERIFY(annaIn(keepAll).costs > plain.costs);
    QCOMPARE(annaIn(keepAll).path.size(), plain.path.size() + 2);
}

void TestReview::linesSayItInFinnish()
{
    PlayerReview anna;
    anna.name = QStringLiteral("Anna");
    const auto summary = [&anna](int points, double expectation, double costs, double luck, bool finished) {
        anna.points = points;
        anna.expectation = expectation;
        anna.costs = costs;
        anna.luck = luck;
        return summaryLine(anna, finished);
    };
    QCOMPARE(summary(231, 231, 12.34, -5.06, true),
             QStringLiteral("Anna: 231 pistettä. Valinnat maksoivat 12,3 pistettä, noppaonni \u22125,1 pistettä."));
    QCOMPARE(summary(120, 236.05, 3.44, 31.56, false),
             QStringLiteral("Anna: 120 pistettä, odotus 236,1. Valinnat maksoivat 3,4 pistettä, noppaonni +31,6 pistettä."));
    QCOMPARE(summary(248, 248, 0.02, -0.04, true),
             QStringLiteral("Anna: 248 pistettä. Valinnat maksoivat 0,0 pistettä, noppaonni 0,0 pistettä."));
    QCOMPARE(choiceLines(anna), QStringList{QStringLiteral("Anna: ei yhtään kallista valintaa.")});
    anna.costliest.push_back({5, 2, {2, 2, 5, 5, 6}, QStringLiteral("heitä uudelleen arpakuutio 5"),
                              QStringLiteral("säästä kaikki ja kirjaa Kaksi paria"), 3.21});
    QCOMPARE(choiceLines(anna), QStringList{QStringLiteral("Vuoro 5, 2. heiton jälkeen: 2 2 5 5 6. Valitsit: heitä "
                                                           "uudelleen arpakuutio 5. Paras: säästä kaikki ja kirjaa "
                                                           "Kaksi paria. Hinta 3,2 pistettä.")});
}

QTEST_GUILESS_MAIN(TestReview)
#include "test_review.moc"
