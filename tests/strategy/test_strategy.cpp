#include "dice/DiceGenerator.h"
#include "strategy/Strategy.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

using strategy::Action;
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

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Dice thrown(DiceGenerator &generator)
{
    Dice dice{};
    for (int &die : dice)
        die = generator.nextDieValue();
    return dice;
}

// Sheets of every kind, not only those good play reaches: rows filled at
// random, each upper one with some number of its dice, and dice at random.
struct State {
    Sheet sheet;
    Dice dice;
};

std::vector<State> randomStates(int count, std::uint32_t seed)
{
    DiceGenerator generator(seed);
    std::vector<State> states;
    for (int i = 0; i < count; ++i) {
        Sheet sheet{std::uint16_t(generator.next() * everyRow), 0};
        for (int code = category::ones; code <= category::sixes; ++code) {
            if (sheet.filled >> (code - 1) & 1u)
                sheet.upperSum += code * int(generator.next() * 6);
        }
        states.push_back({sheet, thrown(generator)});
    }
    return states;
}

// The keeps of `dice` that throw at least one die again, by brute force.
std::set<std::array<int, 7>> keepsOf(const Dice &dice)
{
    std::set<std::array<int, 7>> found;
    for (int mask = 0; mask < 31; ++mask) {
        std::array<int, 7> kept{};
        for (int i = 0; i < 5; ++i) {
            if (mask >> i & 1)
                ++kept[std::size_t(dice[std::size_t(i)])];
        }
        found.insert(kept);
    }
    return found;
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
    void americanRulesGiveThePublishedScore();
    void ourRulesFromTheEmptySheet();
    void threadsDoNotChangeABit();
    void advice_data();
    void advice();
    void theFirstThrowsAverageToTheTable_data();
    void theFirstThrowsAverageToTheTable();
    void sheetsThatCanBe();
    void statesTheTableDoesNotHoldGetNoAdvice_data();
    void statesTheTableDoesNotHoldGetNoAdvice();
    void choicesAgreeWithTheAdvice_data();
    void choicesAgreeWithTheAdvice();
    void aKeepIsWorthTheMeanOfTheBestChoicesAfterIt_data();
    void aKeepIsWorthTheMeanOfTheBestChoicesAfterIt();
    void recordingNow_data();
    void recordingNow();
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
    QVERIFY(Table::compute(Rules::ours(), 1) == ourTable());
    // A comparison that always agreed would pass the line above.
    QVERIFY(Table::computeFrom(Rules::ours(), Sheet{allBut({category::chance}), 0}) != ourTable());
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

void TestStrategy::sheetsThatCanBe()
{
    QVERIFY(!ourTable().possible(Sheet{1, 6}));
    QVERIFY(ourTable().possible(Sheet{0x3F, 105}));
    QVERIFY(!ourTable().possible(Sheet{0x3F, 106}));
}

void TestStrategy::statesTheTableDoesNotHoldGetNoAdvice_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<int>("throwsMade");
    QTest::addColumn<Dice>("dice");

    const Dice dice{1, 2, 3, 4, 5};
    QTest::newRow("a full sheet") << int(everyRow) << 84 << 1 << dice;
    QTest::newRow("an upper sum of no upper rows") << 0 << 3 << 1 << dice;
    QTest::newRow("a fourth throw") << 0 << 0 << 4 << dice;
    QTest::newRow("a seven on a die") << 0 << 0 << 2 << Dice{1, 2, 3, 4, 7};
    QTest::newRow("a die of nothing") << 0 << 0 << 3 << Dice{0, 2, 3, 4, 5};
    QTest::newRow("a sixteenth row") << 0x8000 << 0 << 2 << dice;
    QTest::newRow("a negative upper sum") << 0 << -1 << 3 << dice;
}

void TestStrategy::statesTheTableDoesNotHoldGetNoAdvice()
{
    QFETCH(int, filled);
    QFETCH(int, upperSum);
    QFETCH(int, throwsMade);
    QFETCH(Dice, dice);

    const Sheet sheet{std::uint16_t(filled), upperSum};
    QVERIFY(std::isnan(strategy::advise(ourTable(), sheet, throwsMade, dice).value));
    QVERIFY(strategy::choices(ourTable(), sheet, throwsMade, dice).empty());
    if (throwsMade <= 3)
        QVERIFY(std::isnan(strategy::recordValue(ourTable(), sheet, dice, category::chance)));
}

void TestStrategy::choicesAgreeWithTheAdvice_data()
{
    QTest::addColumn<int>("throwsMade");
    QTest::newRow("after the first throw") << 1;
    QTest::newRow("after the second throw") << 2;
    QTest::newRow("after the last throw") << 3;
}

// The choices and the advice come from one routine; what is checked here is
// what a caller relies on: every choice is there once, none beats the advice,
// the first best is the advice to the bit, and recording is worth its row.
void TestStrategy::choicesAgreeWithTheAdvice()
{
    QFETCH(int, throwsMade);

    const Table &table = ourTable();
    for (const auto &[sheet, dice] : randomStates(300, std::uint32_t(throwsMade))) {
        const QString where = QStringLiteral("filled %1, upper sum %2, dice %3%4%5%6%7")
                                  .arg(sheet.filled, 0, 16).arg(sheet.upperSum)
                                  .arg(dice[0]).arg(dice[1]).arg(dice[2]).arg(dice[3]).arg(dice[4]);
        const Action advised = strategy::advise(table, sheet, throwsMade, dice);
        const std::vector<Action> options = strategy::choices(table, sheet, throwsMade, dice);
        QVERIFY2(!options.empty(), qPrintable(where));

        std::size_t first = 0;
        for (std::size_t i = 0; i < options.size(); ++i) {
            QVERIFY2(options[i].value <= advised.value, qPrintable(where));
            if (options[i].value > options[first].value)
                first = i;
        }
        QCOMPARE(describe(options[first]), describe(advised));
        QVERIFY2(sameBits(options[first].value, advised.value), qPrintable(where));

        std::vector<int> rows;
        std::set<std::array<int, 7>> kept;
        for (const Action &option : options) {
            if (option.kind == Action::Kind::Keep) {
                kept.insert(option.keep);
                continue;
            }
            rows.push_back(option.category);
            QVERIFY2(sameBits(option.value, strategy::recordValue(table, sheet, dice, option.category)),
                     qPrintable(where));
        }
        if (throwsMade == 3) {
            std::vector<int> free;
            for (int code = 1; code <= category::count; ++code) {
                if (!(sheet.filled >> (code - 1) & 1u))
                    free.push_back(code);
            }
            QVERIFY2(rows == free, qPrintable(where));
            continue;
        }
        // Keeping all comes first, in the best row; then every keep once.
        QCOMPARE(options.front().kind, Action::Kind::Record);
        QCOMPARE(rows.size(), std::size_t(1));
        const Action lastThrow = strategy::advise(table, sheet, 3, dice);
        QCOMPARE(rows.front(), lastThrow.category);
        QVERIFY2(sameBits(options.front().value, lastThrow.value), qPrintable(where));
        QCOMPARE(options.size(), kept.size() + 1);
        QVERIFY2(kept == keepsOf(dice), qPrintable(where));
    }
}

void TestStrategy::aKeepIsWorthTheMeanOfTheBestChoicesAfterIt_data()
{
    QTest::addColumn<int>("throwsMade");
    QTest::addColumn<int>("states");
    QTest::newRow("after the first throw") << 1 << 4;
    QTest::newRow("after the second throw") << 2 << 12;
}

// Reckoned apart from the table's lanes: every way the dice thrown again can
// fall, each answered by its best choice.
void TestStrategy::aKeepIsWorthTheMeanOfTheBestChoicesAfterIt()
{
    QFETCH(int, throwsMade);
    QFETCH(int, states);

    const Table &table = ourTable();
    for (const auto &[sheet, dice] : randomStates(states, std::uint32_t(10 + throwsMade))) {
        std::map<Dice, double> bestAfter; // by the dice in ascending order
        for (const Action &option : strategy::choices(table, sheet, throwsMade, dice)) {
            if (option.kind != Action::Kind::Keep)
                continue;
            int kept = 0;
            for (int face = 1; face <= 6; ++face)
                kept += option.keep[std::size_t(face)];
            const int again = 5 - kept;
            int ways = 1;
            for (int i = 0; i < again; ++i)
                ways *= 6;
            double mean = 0;
            for (int way = 0; way < ways; ++way) {
                Dice next{};
                std::size_t at = 0;
                for (int face = 1; face <= 6; ++face) {
                    for (int n = 0; n < option.keep[std::size_t(face)]; ++n)
                        next[at++] = face;
                }
                for (int rest = way; at < next.size(); rest /= 6)
                    next[at++] = rest % 6 + 1;
                std::sort(next.begin(), next.end());
                auto known = bestAfter.find(next);
                if (known == bestAfter.end())
                    known = bestAfter.emplace(next, strategy::advise(table, sheet, throwsMade + 1, next).value).first;
                mean += known->second / ways;
            }
            QVERIFY2(std::abs(mean - option.value) < 1e-4,
                     qPrintable(QStringLiteral("%1 %2, filled %3: %4 vs %5")
                                    .arg(describe(option)).arg(throwsMade).arg(sheet.filled, 0, 16)
                                    .arg(mean, 0, 'f', 6).arg(option.value, 0, 'f', 6)));
        }
    }
}

void TestStrategy::recordingNow_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<Dice>("dice");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("value");

    const int sixesLeft = allBut({category::sixes});
    const double nothing = std::nan("");
    QTest::newRow("two sixes that reach 63 earn the bonus")
        << sixesLeft << 51 << Dice{6, 6, 1, 2, 3} << int(category::sixes) << 62.0;
    QTest::newRow("two sixes one short of 63 earn none") << sixesLeft << 50 << Dice{6, 6, 1, 2, 3}
                                                         << int(category::sixes) << 12.0;
    QTest::newRow("the bonus is earned once") << sixesLeft << 70 << Dice{6, 6, 1, 2, 3} << int(category::sixes)
                                              << 12.0;
    QTest::newRow("a Yatzy in the last row") << int(allBut({category::yatzy})) << 0 << Dice{3, 3, 3, 3, 3}
                                             << int(category::yatzy) << 50.0;
    QTest::newRow("a filled row") << sixesLeft << 51 << Dice{6, 6, 1, 2, 3} << int(category::chance) << nothing;
    QTest::newRow("row 0") << 0 << 0 << Dice{6, 6, 1, 2, 3} << 0 << nothing;
    QTest::newRow("row 16") << 0 << 0 << Dice{6, 6, 1, 2, 3} << 16 << nothing;
}

void TestStrategy::recordingNow()
{
    QFETCH(int, filled);
    QFETCH(int, upperSum);
    QFETCH(Dice, dice);
    QFETCH(int, code);
    QFETCH(double, value);

    const double now = strategy::recordValue(ourTable(), Sheet{std::uint16_t(filled), upperSum}, dice, code);
    if (std::isnan(value))
        QVERIFY2(std::isnan(now), qPrintable(QString::number(now)));
    else
        QCOMPARE(now, value);
}

QTEST_GUILESS_MAIN(TestStrategy)
#include "test_strategy.moc"
