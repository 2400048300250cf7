#include "dice/DiceGenerator.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess tool;
    tool.start(QStringLiteral(KOPPERI_STRATEGY_TOOL), arguments);
    tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(60000))
        qFatal("kopperi-strategy did not finish");
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()), QString::fromLocal8Bit(tool.readAllStandardError())};
}

} // namespace

class TestStrategyTool : public QObject {
    Q_OBJECT

private slots:
    void adviceLines_data();
    void adviceLines();
    void badArguments_data();
    void badArguments();
    void aPlayersAdviceReplaysFromItsSeed();
    void simulatedGamesScoreAsTheTableExpects_data();
    void simulatedGamesScoreAsTheTableExpects();
    void seededGenerators();
    void versusGamesHangOnTheSeedAlone();
    void calibrationByTenths();
};

void TestStrategyTool::adviceLines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // a pattern of the whole output
    QTest::addColumn<QString>("err");  // a part of the error output

    const QString number = QStringLiteral("\\d+\\.\\d{4}");
    QTest::newRow("a full house recorded") << QByteArray("- 0 3 6 6 6 5 5\n") << 0
                                           << QStringLiteral("record 13 %1\n").arg(number) << "";
    QTest::newRow("three sixes kept, after empty lines")
        << QByteArray("\n  \n- 0 1 6 5 6 5 6\n") << 0 << QStringLiteral("keep 6 6 6 %1\n").arg(number) << "";
    QTest::newRow("five ones thrown again for the chance")
        << QByteArray("1,2,3,4,5,6,7,8,9,10,11,12,13,15 70 1 1 1 1 1 1\n") << 0
        << QStringLiteral("keep - %1\n").arg(number) << "";
    QTest::newRow("good lines answered up to a bad one")
        << QByteArray("- 0 3 6 6 6 5 5\n- 0 3 6 6 6 5 5\n- 0 4 6 6 6 5 5\n- 0 3 6 6 6 5 5\n") << 1
        << QStringLiteral("(record 13 %1\n){2}").arg(number) << "line 3: throws \"4\"";

    const QList<QPair<QByteArray, QString>> bad = {
        {"- 0 3 6 6 6 5", "7 fields"},
        {"- 0 3 6 6 6 5 5 x", "9 fields"},
        {"16 0 3 6 6 6 5 5", "filled row \"16\""},
        {"3,3 6 3 6 6 6 5 5", "row 3 is filled twice"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15 0 3 6 6 6 5 5", "every row is filled"},
        {"- -1 3 6 6 6 5 5", "upper sum \"-1\""},
        {"1 7 3 6 6 6 5 5", "upper sum 7 cannot"},
        {"- 0 3 6 6 7 5 5", "die 3 \"7\""},
        {"- 0 3 6 6 6 5 5.0", "die 5 \"5.0\""},
    };
    for (const auto &[line, message] : bad)
        QTest::newRow(line.constData()) << line + '\n' << 1 << QString() << "line 1: " + message;

    // The last turn against a finished player. Behind by 40 with a Yatzy
    // left: three fives and two throws make one with (11/36)^2.
    const QByteArray yatzyLeft = "1,2,3,4,5,6,7,8,9,10,11,12,13,14 70 1 2 5 5 6 5 200";
    const QByteArray finished = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15 70 ";
    const QByteArray chanceLeft = "1,2,3,4,5,6,7,8,9,10,11,12,13,15 ";
    QTest::newRow("a Yatzy or nothing: the most common face kept")
        << yatzyLeft + " / " + finished + "240\n" << 0 << QStringLiteral("keep 5 5 5 %1 0.0934\n").arg(number) << "";
    QTest::newRow("sure of winning: the points")
        << chanceLeft + "70 1 1 2 5 6 6 230 / " + finished + "150\n" << 0 << "keep 5 6 6 25.5000 1.0000\n" << "";
    QTest::newRow("sure of losing: the points")
        << chanceLeft + "10 2 1 2 5 6 6 150 / " + finished + "250\n" << 0 << "keep 5 6 6 24.0000 0.0000\n" << "";
    // 27 in chance loses by one: the advice records it; a new die for the
    // four wins with a six and ties with a five.
    QTest::newRow("one short with 27 in chance: the four thrown again")
        << chanceLeft + "70 2 4 5 6 6 6\n" + chanceLeft + "70 2 4 5 6 6 6 200 / " + finished + "228\n" << 0
        << "record 14 27.0000\nkeep 5 6 6 6 26.5000 0.2500\n" << "";
    const QList<QPair<QByteArray, QString>> badOfSeveral = {
        {"- 0 1 6 5 6 5 6 / - 0 0", "8 fields before the first /"},
        {yatzyLeft + " / - 0", "player 2: 2 fields"},
        {yatzyLeft + " / 1 3 4", "player 2: points \"4\" are not 3..3"},
        {yatzyLeft + " / - 0 0 / - 0 0 / - 0 0 / - 0 0", "4 other players"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14 70 1 2 5 5 6 5 300 / " + finished + "240", "points \"300\""},
    };
    for (const auto &[line, message] : badOfSeveral)
        QTest::newRow(message.toLatin1().constData()) << line + '\n' << 1 << QString() << "line 1: " + message;
}

void TestStrategyTool::adviceLines()
{
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Run run = runTool({QStringLiteral("advise")}, input);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out)).match(run.out).hasMatch(), qPrintable(run.out));
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

void TestStrategyTool::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");

    QTest::newRow("no command") << QStringList() << 2 << "usage:";
    QTest::newRow("--threads without its number") << QStringList{"--threads"} << 2 << "--threads needs a value";
    QTest::newRow("a seed beyond 32 bits") << QStringList{"simulate", "5", "4294967296"} << 2 << "SEED";
    QTest::newRow("a person's name") << QStringList{"simulate", "5", "--player", "Pekka"} << 2
                                     << "no player is called \"Pekka\"";
    QTest::newRow("a seed that is no number") << QStringList{"advise", "--seed", "-1"} << 2 << "--seed wants";
    QTest::newRow("simulate's seed as an option") << QStringList{"simulate", "5", "--seed", "3"} << 2
                                                  << "SEED after N";
    QTest::newRow("versus without its number") << QStringList{"versus"} << 2 << "versus wants N";
    QTest::newRow("calibrate's seed as an option") << QStringList{"calibrate", "1", "--seed", "3"} << 2
                                                   << "SEED after N";
}

void TestStrategyTool::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, err);

    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

// A weaker player's answers hang on its seed alone, wherever the options
// stand, and none is worth more than perfect play's.
void TestStrategyTool::aPlayersAdviceReplaysFromItsSeed()
{
    DiceGenerator dice(3);
    QByteArray lines;
    for (int i = 0; i < 60; ++i) {
        lines += "- 0 " + QByteArray::number(i % 3 + 1);
        for (int d = 0; d < 5; ++d)
            lines += ' ' + QByteArray::number(dice.nextDieValue());
        lines += '\n';
    }
    const QStringList advise{"advise", "--player", "Kone 1", "--seed"};
    const QString perfect = runTool({"advise"}, lines).out;
    const QString taken = runTool(advise + QStringList{"3"}, lines).out;
    QCOMPARE(runTool(QStringList{"--seed", "3"} + advise.mid(0, 3), lines).out, taken);
    QVERIFY(runTool(advise + QStringList{"4"}, lines).out != taken);
    const QStringList best = perfect.split('\n', Qt::SkipEmptyParts);
    const QStringList answers = taken.split('\n', Qt::SkipEmptyParts);
    QVERIFY(answers != best);
    for (int i = 0; i < answers.size(); ++i)
        QVERIFY2(answers[i].section(' ', -1).toDouble() <= best[i].section(' ', -1).toDouble(), qPrintable(answers[i]));
}

void TestStrategyTool::simulatedGamesScoreAsTheTableExpects_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("games");
    QTest::newRow("perfect play") << "Kone" << "2000";
    QTest::newRow("the weakest") << "Kone 1" << "1000";
}

// A game loop that lost the bonus or a row's points would miss by far more;
// a player's costs must account for what it scores below the table's mean.
void TestStrategyTool::simulatedGamesScoreAsTheTableExpects()
{
    QFETCH(QString, player);
    QFETCH(QString, games);

    const Run run = runTool({QStringLiteral("simulate"), games, QStringLiteral("7"), "--player", player});
    QCOMPARE(run.exitCode, 0);
    auto figure = [&run](const char *name) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^%1 ([0-9.]+)$").arg(QLatin1String(name)),
                               QRegularExpression::MultilineOption).match(run.out);
        return match.hasMatch() ? match.captured(1).toDouble() : std::nan("");
    };
    const double mean = figure("mean");
    const double expected = figure("expected");
    const double standardError = figure("standard error");
    const double cost = figure("mean cost per game");
    const double largest = figure("largest cost");
    QVERIFY2(standardError > 0.5 && standardError < 2.0, qPrintable(run.out));
    QVERIFY2(std::abs(mean + cost - expected) < 4 * standardError, qPrintable(run.out));
    const bool perfect = player == QLatin1String("Kone");
    QVERIFY2(perfect ? cost == 0 && largest == 0 : cost > 20 && largest > 0 && largest <= 25, qPrintable(run.out));
}

// Seed 0 draws the game's own sequence, and the one seed that the mixing
// turns into xorshift's stuck state 0 still draws.
void TestStrategyTool::seededGenerators()
{
    quint32 inverse = 0x9E3779B9u; // of the mixing's multiplier, by Newton's steps
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - 0x9E3779B9u * inverse;
    DiceGenerator stuck(0x2545F491u * inverse);
    DiceGenerator zero(0);
    DiceGenerator game;
    QCOMPARE(zero.next(), game.next());
    QVERIFY(stuck.next() != stuck.next());
}

// Kone's share of games of two, the same with one thread or three.
void TestStrategyTool::versusGamesHangOnTheSeedAlone()
{
    const Run alone = runTool({"versus", "300", "5", "--threads", "1"});
    QCOMPARE(alone.exitCode, 0);
    const QRegularExpressionMatch share =
        QRegularExpression(QStringLiteral("^(\\d+\\.\\d\\d) % ± (\\d\\.\\d\\d)\n")).match(alone.out);
    QVERIFY2(share.hasMatch(), qPrintable(alone.out));
    QVERIFY(share.captured(1).toDouble() > 30 && share.captured(1).toDouble() < 70);
    QVERIFY(share.captured(2).toDouble() > 2 && share.captured(2).toDouble() < 4);
    QCOMPARE(runTool({"versus", "300", "5", "--threads", "3"}).out.section('\n', 0, 2),
             alone.out.section('\n', 0, 2));
}

// Two games of two: each player's chance after every first throw and every
// turn but the last, by the tenth it falls in.
void TestStrategyTool::calibrationByTenths()
{
    const Run run = runTool({"calibrate", "2", "3"});
    QCOMPARE(run.exitCode, 0);
    long long moments = 0;
    const QRegularExpression row(QStringLiteral("^ *(\\d+)- *(\\d+) %  +([0-9.]+) %  +([0-9.]+) %  +(\\d+)$"),
                                 QRegularExpression::MultilineOption);
    for (auto match = row.globalMatch(run.out); match.hasNext();) {
        const QRegularExpressionMatch tenth = match.next();
        QVERIFY2(tenth.captured(3).toDouble() >= tenth.captured(1).toDouble(), qPrintable(run.out));
        moments += tenth.captured(5).toLongLong();
    }
    QCOMPARE(moments, 2 * 2 * (2 * 15 * 2 - 1));
}

QTEST_GUILESS_MAIN(TestStrategyTool)
#include "test_strategy_tool.moc"
