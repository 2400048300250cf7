#include "dice/DiceGenerator.h"
#include "strategy/Levels.h"
#include "strategy/Strategy.h"

#include <QTest>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>

using strategy::Action;
using strategy::Level;
using strategy::Rules;
using strategy::Sheet;
using strategy::Table;

Q_DECLARE_METATYPE(Dice)

namespace {

constexpr std::uint16_t everyRow = (1u << category::count) - 1;

std::uint16_t allBut(std::initializer_list<int> codes)
{
    std::uint16_t filled = everyRow;
    for (const int code : codes)
        filled &= std::uint16_t(~(1u << (code - 1)));
    return filled;
}

// The rules of the American game, with no extra Yahtzees or jokers.
int americanScore(int code, const Dice &dice)
{
    std::array<int, 7> shown{};
    int sum = 0;
    for (const int face : dice) {
        ++shown[face];
        sum += face;
    }
    const int most = *std::max_element(shown.begin() + 1, shown.end());
    auto run = [&shown](int length) {
        for (int low = 1; low + length - 1 <= 6; ++low) {
            if (std::all_of(shown.begin() + low, shown.begin() + low + length, [](int n) { return n > 0; }))
                return true;
        }
        return false;
    };
    switch (code) {
    case 7: return most >= 3 ? sum : 0;
    case 8: return most >= 4 ? sum : 0;
    case 9: return std::count(shown.begin(), shown.end(), 3) == 1 && std::count(shown.begin(), shown.end(), 2) == 1 ? 25 : 0;
    case 10: return run(4) ? 30 : 0;
    case 11: return run(5) ? 40 : 0;
    case 12: return most == 5 ? 50 : 0;
    case 13: return sum;
    default: return code * shown[code];
    }
}

Rules americanRules()
{
    Rules rules;
    rules.categories = 13;
    rules.score = americanScore;
    rules.upperRows = 0x3F;
    rules.bonusThreshold = 63;
    rules.bonusPoints = 35;
    return rules;
}

// The chance that a die ends on a wanted face when it is kept once it shows
// it: three throws at 1/6.
const double endsOnFace = 1.0 - std::pow(5.0 / 6.0, 3);

// At least `atLeast` of five dice end on the wanted face.
double atLeastOnFace(int atLeast)
{
    double chance = 0;
    for (int n = atLeast; n <= 5; ++n) {
        const double ways = std::tgamma(6.0) / (std::tgamma(n + 1.0) * std::tgamma(6.0 - n));
        chance += ways * std::pow(endsOnFace, n) * std::pow(1.0 - endsOnFace, 5 - n);
    }
    return chance;
}

// Computed once for the whole run, with more threads than cores so that the
// threads' sharing of a level is exercised on any machine.
const Table &ourTable()
{
    static const Table table = Table::compute(Rules::ours(), 3);
    return table;
}

const Table &spreadTable()
{
    static const Table table = Table::computeWithSpread(Rules::ours(), 3);
    return table;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct State {
    Sheet sheet;
    Dice dice;
};

// Sheets of every kind, not only those good play reaches: rows filled at
// random, each upper one with some number of its dice, and dice at random.
std::vector<State> randomStates(int count, std::uint32_t seed)
{
    DiceGenerator generator(seed);
    std::vector<State> states(static_cast<std::size_t>(count));
    for (State &state : states) {
        state.sheet.filled = std::uint16_t(generator.next() * everyRow);
        for (int code = category::ones; code <= category::sixes; ++code)
            state.sheet.upperSum += (state.sheet.filled >> (code - 1) & 1u) ? code * int(generator.next() * 6) : 0;
        for (int &die : state.dice)
            die = generator.nextDieValue();
    }
    return states;
}

QString describe(const Action &action)
{
    if (action.kind != Action::Kind::Keep)
        return action.kind == Action::Kind::Record ? QStringLiteral("record %1").arg(action.category) : "throw all";
    QString kept;
    for (int face = 1; face <= 6; ++face)
        kept += QString(action.keep[face], QChar(u'0' + face));
    return "keep " + (kept.isEmpty() ? QStringLiteral("-") : kept);
}

} // namespace

class TestStrategy : public QObject {
    Q_OBJECT

private slots:
    void theLastRowAlone_data();
    void theLastRowAlone();
    void theSpreadOfTheLastRow_data();
    void theSpreadOfTheLastRow();
    void americanRulesGiveThePublishedScore();
    void ourRulesFromTheEmptySheet();
    void threadsDoNotChangeABit();
    void advice_data();
    void advice();
    void theFirstThrowsAverageToTheTable_data();
    void theFirstThrowsAverageToTheTable();
    void statesTheTableDoesNotHoldGetNoAdvice();
    void choicesAgreeWithTheAdvice_data();
    void choicesAgreeWithTheAdvice();
    void pickWeighsByCost();
    void levelsPickWithinTheBound();
};

void TestStrategy::theLastRowAlone_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("decimals");

    QTest::newRow("chance keeps its best sum") << category::chance << 0 << 23.33 << 2;
    QTest::newRow("a Yatzy within three throws is 4.603 % likely") << category::yatzy << 0 << 2.3014 << 4;
    QTest::newRow("ones with the bonus out of reach") << category::ones << 30 << 5 * endsOnFace << 4;
    QTest::newRow("ones with the bonus already earned") << category::ones << 70 << 5 * endsOnFace << 4;
    QTest::newRow("sixes where three earn the bonus")
        << category::sixes << 45 << 30 * endsOnFace + 50 * atLeastOnFace(3) << 4;
    QTest::newRow("sixes where one earns the bonus")
        << category::sixes << 57 << 30 * endsOnFace + 50 * atLeastOnFace(1) << 4;
}

void TestStrategy::theLastRowAlone()
{
    QFETCH(int, code);
    QFETCH(int, upperSum);
    QFETCH(double, expected);
    QFETCH(int, decimals);

    const Sheet sheet{allBut({code}), upperSum};
    const Table table = Table::computeFrom(Rules::ours(), sheet);
    const double value = table.value(sheet);
    QVERIFY2(std::abs(value - expected) < 0.5 * std::pow(10.0, -decimals),
             qPrintable(QStringLiteral("%1, expected %2").arg(value, 0, 'f', 6).arg(expected, 0, 'f', 6)));
}

void TestStrategy::theSpreadOfTheLastRow_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<double>("meanSquare"); // 0: 50 times the mean, a Yatzy's 50 or nothing

    // n dice end on the face: n of 5 at endsOnFace each.
    auto binomialSquare = [](const std::function<double(int)> &points) {
        double sum = 0;
        for (int n = 0; n <= 5; ++n) {
            const double ways = std::tgamma(6.0) / (std::tgamma(n + 1.0) * std::tgamma(6.0 - n));
            sum += ways * std::pow(endsOnFace, n) * std::pow(1.0 - endsOnFace, 5 - n) * points(n) * points(n);
        }
        return sum;
    };
    QTest::newRow("a Yatzy is 50 or nothing") << category::yatzy << 0 << 0.0;
    QTest::newRow("ones with the bonus out of reach")
        << category::ones << 30 << binomialSquare([](int n) { return n; });
    QTest::newRow("sixes where three earn the bonus")
        << category::sixes << 45 << binomialSquare([](int n) { return 6 * n + (n >= 3 ? 50 : 0); });
}

// The mean square of what is still to come, reckoned beside the values: the
// values are the same to the bit, and the last row's spread is known.
void TestStrategy::theSpreadOfTheLastRow()
{
    QFETCH(int, code);
    QFETCH(int, upperSum);
    QFETCH(double, meanSquare);

    const Table &table = spreadTable();
    const Sheet sheet{allBut({code}), upperSum};
    const double expected = meanSquare > 0 ? meanSquare : 50 * table.value(sheet);
    QVERIFY2(std::abs(table.meanSquare(sheet) - expected) < 1e-3 * expected,
             qPrintable(QStringLiteral("%1, expected %2").arg(table.meanSquare(sheet)).arg(expected)));
    QVERIFY(std::isnan(ourTable().meanSquare(sheet)));
    QVERIFY(table == ourTable());
}

void TestStrategy::americanRulesGiveThePublishedScore()
{
    const Table table = Table::compute(americanRules());
    QCOMPARE(std::round(table.value(Sheet{}) * 100) / 100, 245.87);
}

void TestStrategy::ourRulesFromTheEmptySheet()
{
    QCOMPARE(std::round(ourTable().value(Sheet{}) * 100) / 100, 248.44);
}

void TestStrategy::threadsDoNotChangeABit()
{
    // The upper rows and three more to play: each level has sheets enough
    // for every thread, and the bonus is still open, at a 64th of the cost
    // of the whole table, which a sanitizer build takes seconds over.
    const Sheet start{allBut({1, 2, 3, 4, 5, 6, category::fullHouse, category::chance, category::yatzy}), 0};
    const Table alone = Table::computeFrom(Rules::ours(), start, 1);
    QVERIFY(alone == Table::computeFrom(Rules::ours(), start, 3));
    // A comparison that always agreed would pass the line above.
    QVERIFY(alone != ourTable());
}

void TestStrategy::advice_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<int>("throwsMade");
    QTest::addColumn<Dice>("dice");
    QTest::addColumn<QString>("action");

    QTest::newRow("sixes full of fives after the last throw fill the full house")
        << 0 << 0 << 3 << Dice{6, 6, 6, 5, 5} << "record 13";
    QTest::newRow("sixes full of fives after the first throw keep the sixes")
        << 0 << 0 << 1 << Dice{6, 5, 6, 5, 6} << "keep 666";
    QTest::newRow("a Yatzy at once is recorded at once")
        << 0 << 0 << 1 << Dice{3, 3, 3, 3, 3} << "record 15";
    QTest::newRow("a small straight at once is recorded at once")
        << 0 << 0 << 1 << Dice{4, 2, 5, 1, 3} << "record 11";
    QTest::newRow("four sixes with the bonus in hand still go for the Yatzy")
        << int(allBut({category::sixes, category::yatzy})) << 45 << 2 << Dice{6, 6, 6, 6, 2} << "keep 6666";
    QTest::newRow("two sixes reach the bonus: sixes before chance")
        << int(allBut({category::sixes, category::chance})) << 51 << 3 << Dice{6, 6, 1, 2, 3} << "record 6";
    QTest::newRow("two sixes fall one short: chance, and sixes later")
        << int(allBut({category::sixes, category::chance})) << 50 << 3 << Dice{6, 6, 1, 2, 3} << "record 14";
    QTest::newRow("at the start of a turn the dice are thrown")
        << 0 << 0 << 0 << Dice{} << "throw all";
}

void TestStrategy::advice()
{
    QFETCH(int, filled);
    QFETCH(int, upperSum);
    QFETCH(int, throwsMade);
    QFETCH(Dice, dice);
    QFETCH(QString, action);

    const Action advised = strategy::advise(ourTable(), Sheet{std::uint16_t(filled), upperSum}, throwsMade, dice);
    QCOMPARE(describe(advised), action);
    QVERIFY(std::isfinite(advised.value));
}

void TestStrategy::theFirstThrowsAverageToTheTable_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("upperSum");

    QTest::newRow("the empty sheet") << 0 << 0;
    QTest::newRow("upper rows half done, below par") << int(allBut({4, 5, 6, 8, 9, 12, 13, 15})) << 5;
    QTest::newRow("bonus earned, two rows left") << int(allBut({category::twoPairs, category::chance})) << 75;
}

// The advice after the first throw, averaged over the throws, must give back
// the table's value: the advice and the table are reckoned apart.
void TestStrategy::theFirstThrowsAverageToTheTable()
{
    QFETCH(int, filled);
    QFETCH(int, upperSum);

    const Sheet sheet{std::uint16_t(filled), upperSum};
    double mean = 0;
    for (int n = 0; n < 7776; ++n) {
        Dice dice{};
        for (int i = 0, rest = n; i < 5; ++i, rest /= 6)
            dice[std::size_t(i)] = rest % 6 + 1;
        // Each ordered throw once: faces drawn in every order weigh the same.
        mean += strategy::advise(ourTable(), sheet, 1, dice).value / 7776.0;
    }
    QVERIFY2(std::abs(mean - ourTable().value(sheet)) < 1e-3,
             qPrintable(QStringLiteral("%1 vs %2").arg(mean).arg(ourTable().value(sheet))));
}

void TestStrategy::statesTheTableDoesNotHoldGetNoAdvice()
{
    const Table &table = ourTable();
    const Dice dice{1, 2, 3, 4, 5};
    QVERIFY(std::isnan(strategy::advise(table, Sheet{everyRow, 84}, 1, dice).value));
    QVERIFY(std::isnan(strategy::advise(table, Sheet{0, 3}, 1, dice).value));
    QVERIFY(std::isnan(strategy::advise(table, Sheet{0, 0}, 4, dice).value));
    QVERIFY(std::isnan(strategy::advise(table, Sheet{0, 0}, 2, Dice{1, 2, 3, 4, 7}).value));
    QVERIFY(std::isnan(strategy::advise(table, Sheet{0x8000, 0}, 2, dice).value));
    QVERIFY(strategy::choices(table, Sheet{everyRow, 84}, 1, dice).empty());
    QVERIFY(strategy::choices(table, Sheet{0, 0}, 3, Dice{1, 2, 3, 4, 7}).empty());
    QVERIFY(std::isnan(strategy::recordValue(table, Sheet{0, 3}, dice, category::chance)));
    QVERIFY(!table.possible(Sheet{1, 6}));
    QVERIFY(table.possible(Sheet{0x3F, 105}));
    QVERIFY(!table.possible(Sheet{0x3F, 106}));
}

void TestStrategy::choicesAgreeWithTheAdvice_data()
{
    QTest::addColumn<int>("throwsMade");
    QTest::newRow("after the first throw") << 1;
    QTest::newRow("after the second throw") << 2;
    QTest::newRow("after the last throw") << 3;
}

// The first best choice is the advice to the bit, none is worth more, each
// keep comes once, and a row is worth what recording in it is.
void TestStrategy::choicesAgreeWithTheAdvice()
{
    QFETCH(int, throwsMade);

    for (const auto &[sheet, dice] : randomStates(300, std::uint32_t(throwsMade))) {
        const Action advised = strategy::advise(ourTable(), sheet, throwsMade, dice);
        const std::vector<Action> options = strategy::choices(ourTable(), sheet, throwsMade, dice);
        std::size_t first = 0;
        std::set<std::array<int, 7>> keeps;
        for (std::size_t i = 0; i < options.size(); ++i) {
            QVERIFY(options[i].value <= advised.value);
            first = options[i].value > options[first].value ? i : first;
            const Action &option = options[i];
            if (option.kind == Action::Kind::Keep)
                keeps.insert(option.keep);
            else
                QVERIFY(sameBits(option.value, strategy::recordValue(ourTable(), sheet, dice, option.category)));
        }
        QCOMPARE(describe(options.at(first)), describe(advised));
        QVERIFY(sameBits(options[first].value, advised.value));
        const int free = category::count - int(std::bitset<16>(sheet.filled).count());
        QCOMPARE(options.size() - keeps.size(), std::size_t(throwsMade == 3 ? free : 1));
    }
}

void TestStrategy::pickWeighsByCost()
{
    // Costs 0 and T ln 3 weigh 3 : 1, so the first three quarters of the
    // draws pick the best; over 25 points weighs nothing however hot.
    const struct {
        double cost, temperature;
        float draw;
        int picked;
    } cases[] = {{std::log(3.0), 1, 0.74f, 0}, {2 * std::log(3.0), 2, 0.76f, 1}, {25, 1e9, 0.9f, 1},
                 {25.01, 1e9, 0.99999994f, 0}, {0.01, 0, 0.99f, 0}};
    for (const auto &c : cases) {
        std::vector<Action> options(2);
        options[0].value = 100;
        options[1].value = 100 - c.cost;
        QCOMPARE(int(strategy::pick(options, Level{"test", c.temperature}, c.draw)), c.picked);
    }
}

// Never a choice costing over 25 points, however hot; perfect play takes the advice.
void TestStrategy::levelsPickWithinTheBound()
{
    QCOMPARE(strategy::levelNamed(QStringLiteral("Kone 2")), &strategy::levels()[1]);
    QVERIFY(!strategy::levelNamed(QStringLiteral("kone")));
    std::vector<Level> levels(strategy::levels().begin(), strategy::levels().end());
    levels.push_back({"blind to all but the bound", 1e9});
    DiceGenerator draws(8);
    for (const Level &level : levels) {
        int notAdvised = 0;
        for (const auto &[sheet, dice] : randomStates(150, 40)) {
            for (int throwsMade = 1; throwsMade <= 3; ++throwsMade) {
                const std::vector<Action> options = strategy::choices(ourTable(), sheet, throwsMade, dice);
                const Action advised = strategy::advise(ourTable(), sheet, throwsMade, dice);
                for (int n = 0; n < 10; ++n) {
                    const Action &picked = options.at(strategy::pick(options, level, draws.next()));
                    QVERIFY2(advised.value - picked.value <= strategy::largestCost, level.name);
                    notAdvised += describe(picked) != describe(advised);
                }
            }
        }
        QCOMPARE(notAdvised == 0, level.temperature == 0);
    }
}

QTEST_GUILESS_MAIN(TestStrategy)
#include "test_strategy.moc"
