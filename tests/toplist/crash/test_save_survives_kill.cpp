// Kills a program that stores results in lista99.txt in a loop, hundreds of
// times at random moments, and checks that every kill leaves a whole list
// holding every result stored.

#include "toplist/SafeListWrite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <ctime>

#include <utime.h>

namespace {

// The list each run of the saver starts from: scores falling from 320.
BestList firstList()
{
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[i] = QStringLiteral("Äijä %1").arg(i + 1);
        list.dates[i] = QStringLiteral("%1.06.26").arg(i % 30 + 1, 2, 10, QChar(u'0'));
        list.scores[i] = std::int16_t(320 - i);
    }
    return list;
}

// The file after the saver has stored its first `count` results, as the
// program writes it.
QByteArray withResults(int count)
{
    BestList list = firstList();
    for (int k = std::max(0, count - bestListPlaces); k < count; ++k)
        enterResult(list, {QStringLiteral("R%1").arg(k), QStringLiteral("07.12.26"), std::int16_t(1000 + k)});
    return formatBestList(list, computeCheckNumbers(list));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestSaveSurvivesKill : public QObject {
    Q_OBJECT

private slots:
    void killedWhileStoringLeavesAWholeListWithEveryResultStored();
};

void TestSaveSurvivesKill::killedWhileStoringLeavesAWholeListWithEveryResultStored()
{
    // 300 kills, or fewer on a slow machine: the count stops growing after
    // 25 seconds once 100 kills are done.
    constexpr int mostKills = 300;
    constexpr int leastKills = 100;
    constexpr qint64 budgetMs = 25000;
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = program.filePath(QStringLiteral("lista99.txt"));

    QRandomGenerator random(20260607);
    int oneMore = 0;  // kills that came between a save and its report
    int stored = 0;
    int emptyLocks = 0;
    QElapsedTimer clock;
    clock.start();

    int kills = 0;
    while (kills < mostKills && (kills < leastKills || clock.elapsed() < budgetMs)) {
        const int kill = ++kills;
        // Each run starts from the same list; the lock and the temporary file
        // a kill left stay for the next run to deal with.
        QVERIFY(writeFile(path, withResults(0)));
        QProcess saver;
        saver.start(QStringLiteral(SAVE_LOOP_PATH), {program.path()});
        QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
        while (!saver.canReadLine())
            QVERIFY2(saver.waitForReadyRead(10000),
                     qPrintable(QStringLiteral("kill %1: nothing stored; %2")
                                    .arg(kill).arg(QString::fromLocal8Bit(saver.readAllStandardError()))));

        QThread::msleep(random.bounded(21));
        QVERIFY2(saver.state() == QProcess::Running,
                 qPrintable(QStringLiteral("kill %1: the saver stopped by itself: %2")
                                .arg(kill).arg(QString::fromLocal8Bit(saver.readAllStandardError()))));
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        const int reported = saver.readAllStandardOutput().trimmed().split('\n').last().toInt() + 1;

        const QByteArray left = readFile(path);
        const QString where =
            QStringLiteral("kill %1 after %2 results left %3 bytes").arg(kill).arg(reported).arg(left.size());
        QString error;
        const std::optional<BestListFile> file = parseBestList(left, &error);
        QVERIFY2(file.has_value(), qPrintable(where + QStringLiteral(": ") + error));
        QVERIFY2(computeCheckNumbers(file->list) == file->stored, qPrintable(where));
        QVERIFY2(left == withResults(reported) || left == withResults(reported + 1), qPrintable(where));
        oneMore += left == withResults(reported + 1) ? 1 : 0;
        stored += reported;

        // A kill between making a lock file and writing its holder's id into
        // it leaves it empty, which the next save takes over once it is a
        // second old: it is aged here, so that the next run need not wait.
        const QDir::Filters files = QDir::Files | QDir::Hidden;
        for (const QFileInfo &lock : QDir(program.path()).entryInfoList({QStringLiteral("*lock")}, files)) {
            const utimbuf minuteAgo{std::time(nullptr) - 60, std::time(nullptr) - 60};
            emptyLocks += lock.size() == 0 && ::utime(QFile::encodeName(lock.filePath()).constData(), &minuteAgo) == 0;
        }
    }

    // Start-up reads lista99.txt only, and removes a killed save's temporary
    // file; what the kills left is counted, not refused.
    QStringList leftBehind = QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    leftBehind.removeAll(QStringLiteral("lista99.txt"));
    qInfo("%d kills in %lld ms after %d results stored, %d of them between a save and its report; %d locks left "
          "empty; left in the folder: %s",
          kills, static_cast<long long>(clock.elapsed()), stored, oneMore, emptyLocks,
          qPrintable(leftBehind.join(u' ')));
}

QTEST_GUILESS_MAIN(TestSaveSurvivesKill)
#include "test_save_survives_kill.moc"
