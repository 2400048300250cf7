#include "scoring/ScoringRules.h"

#include <QTest>

#include <algorithm>
#include <numeric>
#include <vector>

Q_DECLARE_METATYPE(Dice)

namespace {

// Every ordered throw of five dice: 6^5 = 7776 of them.
std::vector<Dice> allThrows()
{
    std::vector<Dice> throws;
    for (int n = 0; n < 7776; ++n) {
        Dice dice{};
        int rest = n;
        for (int &die : dice) {
            die = rest % 6 + 1;
            rest /= 6;
        }
        throws.push_back(dice);
    }
    return throws;
}

// The rules stated plainly from the faces shown, independently of how the
// program scans them.
int expectedScore(int code, const Dice &dice)
{
    Dice sorted = dice;
    std::sort(sorted.begin(), sorted.end());
    const int sum = std::accumulate(dice.begin(), dice.end(), 0);
    auto shown = [&dice](int face) { return int(std::count(dice.begin(), dice.end(), face)); };

    std::vector<int> pairedFaces; // high to low
    std::vector<int> groupSizes;  // how many dice each shown face has, small to large
    for (int face = 6; face >= 1; --face) {
        if (shown(face) >= 2)
            pairedFaces.push_back(face);
        if (shown(face) > 0)
            groupSizes.push_back(shown(face));
    }
    std::sort(groupSizes.begin(), groupSizes.end());
    auto bestOfAKind = [&](int n) {
        for (int face = 6; face >= 1; --face) {
            if (shown(face) >= n)
                return n * face;
        }
        return 0;
    };

    switch (code) {
    case category::onePair:
        return bestOfAKind(2);
    case category::twoPairs:
        return pairedFaces.size() == 2 ? 2 * (pairedFaces[0] + pairedFaces[1]) : 0;
    case category::threeOfAKind:
        return bestOfAKind(3);
    case category::fourOfAKind:
        return bestOfAKind(4);
    case category::smallStraight:
        return sorted == Dice{1, 2, 3, 4, 5} ? 15 : 0;
    case category::largeStraight:
        return sorted == Dice{2, 3, 4, 5, 6} ? 20 : 0;
    case category::fullHouse:
        return groupSizes == std::vector<int>{2, 3} ? sum : 0;
    case category::chance:
        return sum;
    case category::yatzy:
        return groupSizes.size() == 1 ? 50 : 0;
    default:
        return code * shown(code); // the upper rows, code = face
    }
}

} // namespace

class TestScoringRules : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void everyThrowScoresByTheRules();
    void scoringThrowsAreAsCommonAsTheRulesSay_data();
    void scoringThrowsAreAsCommonAsTheRulesSay();
    void codesOutsideTheSheetScoreNothing_data();
    void codesOutsideTheSheetScoreNothing();
};

void TestScoringRules::workedExamples_data()
{
    QTest::addColumn<Dice>("dice");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("score");

    using namespace category;
    auto row = [](const char *name, Dice dice, int code, int score) {
        QTest::newRow(name) << dice << code << score;
    };

    // Upper rows.
    row("five threes score 15 in threes", {3, 3, 3, 3, 3}, 3, 15);
    row("two sixes score 12 in sixes", {6, 1, 6, 2, 3}, sixes, 12);
    row("a single one scores 1 in ones", {1, 2, 3, 4, 5}, ones, 1);
    row("a throw without fours scores 0 in fours", {1, 2, 3, 5, 6}, 4, 0);

    // One pair.
    row("three sixes over two twos make a pair of sixes, 12", {6, 6, 6, 2, 2}, onePair, 12);
    row("the higher of two pairs is taken", {2, 5, 2, 5, 1}, onePair, 10);
    row("five threes are a pair of threes, 6", {3, 3, 3, 3, 3}, onePair, 6);
    row("no face twice is no pair", {1, 2, 3, 4, 6}, onePair, 0);
    row("a pair of ones scores 2", {1, 1, 2, 3, 4}, onePair, 2);

    // Two pairs.
    row("a full house of fives and twos scores 14 in two pairs", {5, 5, 5, 2, 2}, twoPairs, 14);
    row("fives and fours, three fours, score 18 in two pairs", {5, 5, 4, 4, 4}, twoPairs, 18);
    row("a lone pair of ones is not two pairs", {1, 1, 2, 3, 4}, twoPairs, 0);
    row("twos and ones with an odd six score 6", {2, 2, 1, 1, 6}, twoPairs, 6);
    row("sixes and ones score 14", {1, 6, 3, 1, 6}, twoPairs, 14);
    row("two pairs needs two different faces: five threes score 0", {3, 3, 3, 3, 3}, twoPairs, 0);
    row("two pairs needs two different faces: four sixes score 0", {6, 6, 6, 6, 2}, twoPairs, 0);
    row("a lone pair of sixes is not two pairs", {6, 6, 1, 2, 3}, twoPairs, 0);

    // Three and four of a kind.
    row("five fours are three of a kind, 12", {4, 4, 4, 4, 4}, threeOfAKind, 12);
    row("five threes are three of a kind, 9", {3, 3, 3, 3, 3}, threeOfAKind, 9);
    row("three twos beside a pair of sixes score 6", {6, 2, 6, 2, 2}, threeOfAKind, 6);
    row("two pairs are no three of a kind", {5, 5, 4, 4, 1}, threeOfAKind, 0);
    row("five sixes are four of a kind, 24", {6, 6, 6, 6, 6}, fourOfAKind, 24);
    row("five threes are four of a kind, 12", {3, 3, 3, 3, 3}, fourOfAKind, 12);
    row("four ones and a six score 4", {1, 6, 1, 1, 1}, fourOfAKind, 4);
    row("three of a kind is no four of a kind", {5, 5, 5, 2, 2}, fourOfAKind, 0);

    // Straights.
    row("1-2-3-4-5 is a small straight, 15", {1, 2, 3, 4, 5}, smallStraight, 15);
    row("a small straight in any order scores 15", {4, 2, 5, 1, 3}, smallStraight, 15);
    row("1-2-3-4-5 is no large straight", {1, 2, 3, 4, 5}, largeStraight, 0);
    row("2-3-4-5-6 is a large straight, 20", {6, 5, 4, 3, 2}, largeStraight, 20);
    row("2-3-4-5-6 is no small straight", {2, 3, 4, 5, 6}, smallStraight, 0);
    row("1-2-3-4-6 is no small straight", {1, 2, 3, 4, 6}, smallStraight, 0);
    row("1-2-3-4-6 is no large straight", {1, 2, 3, 4, 6}, largeStraight, 0);
    row("a sum of 15 with a pair is no small straight", {1, 2, 3, 3, 6}, smallStraight, 0);
    row("a sum of 20 with three fours is no large straight", {2, 4, 4, 4, 6}, largeStraight, 0);

    // Full house.
    row("a full house of sixes and fives scores 28", {6, 6, 6, 5, 5}, fullHouse, 28);
    row("a full house of ones and twos scores 7", {1, 1, 1, 2, 2}, fullHouse, 7);
    row("three sixes and two ones score 20", {6, 6, 6, 1, 1}, fullHouse, 20);
    row("two fives and three twos score 16", {5, 2, 5, 2, 2}, fullHouse, 16);
    row("a lone pair of sixes is no full house", {6, 6, 1, 2, 3}, fullHouse, 0);
    row("five threes are no full house", {3, 3, 3, 3, 3}, fullHouse, 0);
    row("four sixes and a five are no full house", {6, 6, 6, 6, 5}, fullHouse, 0);
    row("four fives and a six are no full house", {5, 5, 5, 5, 6}, fullHouse, 0);
    row("two pairs and an odd die are no full house", {6, 6, 5, 5, 1}, fullHouse, 0);
    row("three of a kind with two odd dice is no full house", {4, 4, 4, 1, 2}, fullHouse, 0);

    // Chance and Yatzy.
    row("chance is the sum of the dice", {1, 3, 5, 6, 2}, chance, 17);
    row("five sixes make 30 in chance", {6, 6, 6, 6, 6}, chance, 30);
    row("five threes are a Yatzy, 50", {3, 3, 3, 3, 3}, yatzy, 50);
    row("five ones are a Yatzy, 50", {1, 1, 1, 1, 1}, yatzy, 50);
    row("four alike are no Yatzy", {6, 6, 6, 6, 5}, yatzy, 0);
}

void TestScoringRules::workedExamples()
{
    QFETCH(Dice, dice);
    QFETCH(int, code);
    QFETCH(int, score);
    QCOMPARE(scoreCategory(code, dice), score);
}

void TestScoringRules::everyThrowScoresByTheRules()
{
    for (const Dice &dice : allThrows()) {
        for (int code = category::ones; code <= category::yatzy; ++code) {
            const int score = scoreCategory(code, dice);
            const int expected = expectedScore(code, dice);
            if (score != expected) {
                const QString message = QStringLiteral("dice %1 %2 %3 %4 %5, category %6: %7, expected %8")
                                            .arg(dice[0]).arg(dice[1]).arg(dice[2]).arg(dice[3]).arg(dice[4])
                                            .arg(code).arg(score).arg(expected);
                QFAIL(qPrintable(message));
            }
        }
    }
}

// How many of the 7776 ordered throws score anything, counted by hand from the
// rules: a check on the rules that does not go through any formulation of them.
void TestScoringRules::scoringThrowsAreAsCommonAsTheRulesSay_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("throws");

    QTest::newRow("at least one four: all but the 5^5 throws without") << 4 << 7776 - 3125;
    // All five faces different: 6 * 5 * 4 * 3 * 2.
    QTest::newRow("a pair in all but the 720 throws of five different faces")
        << int(category::onePair) << 7776 - 720;
    // Two pairs and an odd die: 15 face pairs * 4 odd faces * 30 orders; full houses: 300.
    QTest::newRow("two pairs in 1800 + 300 throws") << int(category::twoPairs) << 1800 + 300;
    // 3+1+1: 6 * 10 * 20; 3+2: 300; 4+1: 6 * 5 * 5; 5: 6.
    QTest::newRow("three of a kind in 1656 throws") << int(category::threeOfAKind) << 1200 + 300 + 150 + 6;
    QTest::newRow("four of a kind in 156 throws") << int(category::fourOfAKind) << 150 + 6;
    QTest::newRow("a small straight in 5! = 120 throws") << int(category::smallStraight) << 120;
    QTest::newRow("a large straight in 5! = 120 throws") << int(category::largeStraight) << 120;
    // 6 * 5 face choices * 10 orders.
    QTest::newRow("a full house in 300 throws") << int(category::fullHouse) << 300;
    QTest::newRow("chance scores in every throw") << int(category::chance) << 7776;
    QTest::newRow("a Yatzy in 6 throws") << int(category::yatzy) << 6;
}

void TestScoringRules::scoringThrowsAreAsCommonAsTheRulesSay()
{
    QFETCH(int, code);
    QFETCH(int, throws);
    const std::vector<Dice> all = allThrows();
    const auto scoring = std::count_if(all.begin(), all.end(),
                                       [code](const Dice &dice) { return scoreCategory(code, dice) > 0; });
    QCOMPARE(int(scoring), throws);
}

void TestScoringRules::codesOutsideTheSheetScoreNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("0") << 0;
    QTest::newRow("keep-all marker 16") << int(category::keepAll);
    QTest::newRow("-1") << -1;
    QTest::newRow("100") << 100;
}

void TestScoringRules::codesOutsideTheSheetScoreNothing()
{
    QFETCH(int, code);
    QCOMPARE(scoreCategory(code, {6, 6, 6, 6, 6}), 0);
    QCOMPARE(scoreCategory(code, {1, 2, 3, 4, 5}), 0);
}

QTEST_APPLESS_MAIN(TestScoringRules)
#include "test_scoring_rules.moc"
