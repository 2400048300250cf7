#include "dice/DiceGenerator.h"
#include "dice/DieNames.h"

#include <QTest>

#include <array>
#include <cmath>
#include <set>

class TestDiceGenerator : public QObject {
    Q_OBJECT

private slots:
    void drawsLieInZeroToOneWith24Bits();
    void drawsDoNotRepeatSoon();
    void everyRunThrowsTheSameDice();
    void theFirstThrowOfARunIsFixed();
    void facesComeUpEquallyOften();
    void dieValueFromDraw_data();
    void dieValueFromDraw();
    void eachFaceStartsExactlyAtItsSixth();
    void warmUpDrawsFromTheClock_data();
    void warmUpDrawsFromTheClock();
    void theSameSecondGivesTheSameThrow();
    void pictureNames_data();
    void pictureNames();
};

void TestDiceGenerator::drawsLieInZeroToOneWith24Bits()
{
    DiceGenerator generator;
    for (int i = 0; i < 100000; ++i) {
        const float r = generator.next();
        QVERIFY2(r >= 0.0f && r < 1.0f, qPrintable(QString::number(double(r), 'g', 9)));
        const float scaled = r * 16777216.0f;
        QCOMPARE(scaled, std::floor(scaled));
    }
}

void TestDiceGenerator::drawsDoNotRepeatSoon()
{
    DiceGenerator generator;
    std::set<float> seen;
    for (int i = 0; i < 100000; ++i)
        seen.insert(generator.next());
    // 100,000 draws out of 2^24 values: a few hundred collisions by chance.
    QVERIFY2(seen.size() > 99000, qPrintable(QString::number(seen.size())));
}

void TestDiceGenerator::everyRunThrowsTheSameDice()
{
    DiceGenerator first;
    DiceGenerator second;
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(first.next(), second.next());
}

// Two runs with the same clicks at the same seconds throw the same dice, on
// every build: a changed algorithm or start state would show here. The values
// were worked out apart from the program, from xorshift32 and its start state.
void TestDiceGenerator::theFirstThrowOfARunIsFixed()
{
    DiceGenerator generator;
    std::array<int, 10> values{};
    for (int &value : values)
        value = generator.nextDieValue();
    const std::array<int, 10> expected = {6, 4, 3, 1, 6, 6, 4, 1, 4, 2};
    QCOMPARE(values, expected);
}

void TestDiceGenerator::facesComeUpEquallyOften()
{
    constexpr int draws = 600000;
    constexpr int expected = draws / 6;
    DiceGenerator generator;
    std::array<int, 7> counts{};
    for (int i = 0; i < draws; ++i) {
        const int value = generator.nextDieValue();
        QVERIFY(value >= 1 && value <= 6);
        ++counts[value];
    }
    for (int face = 1; face <= 6; ++face) {
        // One standard deviation is about 290 draws; 2 % is about 7 of them.
        QVERIFY2(std::abs(counts[face] - expected) < expected / 50,
                 qPrintable(QStringLiteral("face %1 came up %2 times").arg(face).arg(counts[face])));
    }
}

void TestDiceGenerator::dieValueFromDraw_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("value");

    QTest::newRow("0 gives a one") << 0.0f << 1;
    QTest::newRow("the largest draw below 1 gives a six") << std::nextafter(1.0f, 0.0f) << 6;
    QTest::newRow("the largest 24-bit draw gives a six") << 16777215.0f / 16777216.0f << 6;
    QTest::newRow("1/6 gives a two") << 1.0f / 6.0f << 2;
    QTest::newRow("0.5 gives a four") << 0.5f << 4;
    QTest::newRow("just below 0.5 gives a three") << std::nextafter(0.5f, 0.0f) << 3;
    QTest::newRow("a draw of 1 stays a six") << 1.0f << 6;
    QTest::newRow("a negative draw stays a one") << -0.25f << 1;
    QTest::newRow("a draw that is not a number gives a one") << std::nanf("") << 1;
}

void TestDiceGenerator::dieValueFromDraw()
{
    QFETCH(float, r);
    QFETCH(int, value);
    QCOMPARE(dieValueFrom(r), value);
}

void TestDiceGenerator::eachFaceStartsExactlyAtItsSixth()
{
    for (int face = 1; face <= 5; ++face) {
        // The smallest float r with r * 6 >= face, worked out exactly.
        float r = float(face / 6.0);
        while (double(r) * 6.0 >= face)
            r = std::nextafter(r, 0.0f);
        r = std::nextafter(r, 1.0f);
        QCOMPARE(dieValueFrom(r), face + 1);
        QCOMPARE(dieValueFrom(std::nextafter(r, 0.0f)), face);
    }
}

void TestDiceGenerator::warmUpDrawsFromTheClock_data()
{
    QTest::addColumn<QTime>("timeOfDay");
    QTest::addColumn<int>("draws");

    QTest::newRow("second 0 makes one draw") << QTime(12, 0, 0) << 1;
    QTest::newRow("second 59 makes sixty") << QTime(12, 34, 59) << 60;
    QTest::newRow("second 7 makes eight") << QTime(23, 59, 7) << 8;
    QTest::newRow("an afternoon second counts as itself") << QTime(13, 2, 3) << 4;
    QTest::newRow("milliseconds play no part") << QTime(11, 59, 59, 999) << 60;
    QTest::newRow("no time at all makes one draw") << QTime() << 1;
}

void TestDiceGenerator::warmUpDrawsFromTheClock()
{
    QFETCH(QTime, timeOfDay);
    QFETCH(int, draws);
    QCOMPARE(warmUpDraws(timeOfDay), draws);
}

void TestDiceGenerator::theSameSecondGivesTheSameThrow()
{
    auto throwAt = [](const QTime &timeOfDay) {
        DiceGenerator generator;
        for (int i = 0; i < warmUpDraws(timeOfDay); ++i)
            generator.next();
        std::array<int, 5> dice{};
        for (int &die : dice)
            die = generator.nextDieValue();
        return dice;
    };
    QCOMPARE(throwAt(QTime(9, 15, 42)), throwAt(QTime(17, 48, 42)));
    QVERIFY(throwAt(QTime(9, 15, 42)) != throwAt(QTime(9, 15, 43)));
}

void TestDiceGenerator::pictureNames_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("marked");

    QTest::newRow("one") << 1 << "1.bmp" << "v1.bmp";
    QTest::newRow("two") << 2 << "2.bmp" << "v2.bmp";
    QTest::newRow("three") << 3 << "3.bmp" << "v3.bmp";
    QTest::newRow("four") << 4 << "4.bmp" << "v4.bmp";
    QTest::newRow("five") << 5 << "5.bmp" << "v5.bmp";
    QTest::newRow("six") << 6 << "6.bmp" << "v6.bmp";
}

void TestDiceGenerator::pictureNames()
{
    QFETCH(int, value);
    QFETCH(QString, held);
    QFETCH(QString, marked);
    QCOMPARE(dieFileName(value), held);
    QCOMPARE(markedDieFileName(value), marked);
}

QTEST_APPLESS_MAIN(TestDiceGenerator)
#include "test_dice_generator.moc"
