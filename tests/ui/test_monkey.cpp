// A monkey plays the window: a seeded stream of random clicks, typed names,
// Yes/No answers, undos, new games and whole games with best-99 entries, with
// the game's rules checked after every action. A failure names the seed and
// the action; replay it with
//   KOPPERI_MONKEY_SEED=<seed> KOPPERI_MONKEY_ACTIONS=<action> KOPPERI_MONKEY_TRACE=1 test_monkey
// (KOPPERI_MONKEY_TRACE=2 also prints the window after every action)
#include "game/PerfectPlayTable.h"
#include "monkey/MonkeyPlayer.h"

#include <QTest>
#include <algorithm>

// Seeds and actions per seed: a few thousand actions in the suite, millions
// in the long run.
#ifndef KOPPERI_MONKEY_ACTIONS
#define KOPPERI_MONKEY_ACTIONS 3000
#endif
#ifndef KOPPERI_MONKEY_SEEDS
#define KOPPERI_MONKEY_SEEDS 5
#endif

namespace {

qint64 actionsPerSeed()
{
    const QByteArray budget = qgetenv("KOPPERI_MONKEY_ACTIONS");
    return budget.isEmpty() ? qint64(KOPPERI_MONKEY_ACTIONS) : budget.toLongLong();
}

// The offscreen platform warns once for every window started; a long run
// starts thousands, and Qt Test stops reporting after 2000 messages.
QtMessageHandler testLogHandler = nullptr;

void dropWindowWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    testLogHandler(type, context, message);
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

public:
    TestMonkey()
    {
        // Qt Test stops a test function after 5 minutes; a long run needs
        // more (a sanitizer build plays a few hundred actions a second).
        if (qEnvironmentVariableIsEmpty("QTEST_FUNCTION_TIMEOUT")) {
            const qint64 ms = std::max<qint64>(300'000, actionsPerSeed() * 20);
            qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(ms));
        }
    }

private slots:
    void initTestCase()
    {
        testLogHandler = qInstallMessageHandler(dropWindowWarnings);
        perfectPlayTable::wait();  // a hint comes at once, as the checks expect
    }
    void cleanupTestCase() { qInstallMessageHandler(testLogHandler); }
    void randomPlayKeepsTheRules_data();
    void randomPlayKeepsTheRules();
};

void TestMonkey::randomPlayKeepsTheRules_data()
{
    QTest::addColumn<quint32>("seed");
    const QByteArray only = qgetenv("KOPPERI_MONKEY_SEED");
    if (!only.isEmpty()) {
        QTest::newRow(only.constData()) << only.toUInt();
        return;
    }
    for (quint32 seed = 1; seed <= KOPPERI_MONKEY_SEEDS; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TestMonkey::randomPlayKeepsTheRules()
{
    QFETCH(quint32, seed);
    MonkeyPlayer monkey(seed, actionsPerSeed(), qEnvironmentVariableIntValue("KOPPERI_MONKEY_TRACE"));
    const QString failure = monkey.run();
    const MonkeyFigures &f = monkey.figures();
    const double perThousand = f.actions ? 1000.0 / double(f.actions) : 0;
    // Two runs of a seed print the same first line; the time is the machine's.
    qInfo("seed %u: %lld actions, %d games ended (%.1f per 1000, %d with the computer), %d entries (%.1f per 1000), "
          "average final total %.0f, %d windows (%d programs ended during a name entry, "
          "%lld idle steps), %d delayed clicks",
          seed, f.actions, f.gamesEnded, f.gamesEnded * perThousand, f.computerGames, f.entries,
          f.entries * perThousand, f.totals ? double(f.totalsSum) / f.totals : 0.0, f.windows, f.endedInWait,
          f.idleSteps, f.delayedClicks);
    qInfo("seed %u: %.1f s (%.0f actions/s)", seed, f.seconds, f.seconds > 0 ? double(f.actions) / f.seconds : 0.0);
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure));
    QVERIFY2(f.gamesEnded > 0, "no game reached its end");
}

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
