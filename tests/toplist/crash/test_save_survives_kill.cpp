// Kills a program that saves lista99.txt in a loop, hundreds of times at
// random moments, and checks that every kill leaves a whole list behind.

#include "toplist/BestListFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

// A list as the program writes it: scores falling from `top`, check numbers
// computed. The two lists differ in every score and in length, so that a file
// cut short or mixed from both is told apart from either.
QByteArray listFile(const QString &name, int top)
{
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[i] = QStringLiteral("%1 %2").arg(name).arg(i + 1);
        list.dates[i] = QStringLiteral("%1.06.26").arg(i % 30 + 1, 2, 10, QChar(u'0'));
        list.scores[i] = std::int16_t(top - i);
    }
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
    void killedWhileSavingLeavesTheOldListOrTheNewOne();
};

void TestSaveSurvivesKill::killedWhileSavingLeavesTheOldListOrTheNewOne()
{
    // 300 kills, or fewer on a slow machine: the count stops growing after
    // 25 seconds once 100 kills are done.
    constexpr int mostKills = 300;
    constexpr int leastKills = 100;
    constexpr qint64 budgetMs = 25000;
    const QByteArray listA = listFile(QStringLiteral("Äijä"), 320);
    const QByteArray listB = listFile(QStringLiteral("Pekka Pitkänimi"), 250);
    QVERIFY(listA != listB);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QDir root(temporary.path());
    QVERIFY(root.mkpath(QStringLiteral("program")));
    const QDir program(root.filePath(QStringLiteral("program")));
    const QString fileA = root.filePath(QStringLiteral("a.txt"));
    const QString fileB = root.filePath(QStringLiteral("b.txt"));
    QVERIFY(writeFile(fileA, listA));
    QVERIFY(writeFile(fileB, listB));
    const QString path = program.filePath(QStringLiteral("lista99.txt"));

    QRandomGenerator random(20260607);
    int foundA = 0;
    int foundB = 0;
    QElapsedTimer clock;
    clock.start();

    int kills = 0;
    while (kills < mostKills && (kills < leastKills || clock.elapsed() < budgetMs)) {
        const int kill = ++kills;
        QProcess saver;
        saver.start(QStringLiteral(SAVE_LOOP_PATH), {program.path(), fileA, fileB});
        QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
        while (!saver.canReadLine())
            QVERIFY2(saver.waitForReadyRead(10000),
                     qPrintable(QStringLiteral("kill %1: no \"ready\"; %2")
                                    .arg(kill).arg(QString::fromLocal8Bit(saver.readAllStandardError()))));
        QCOMPARE(saver.readLine(), QByteArray("ready\n"));

        QThread::msleep(random.bounded(21));
        QVERIFY2(saver.state() == QProcess::Running,
                 qPrintable(QStringLiteral("kill %1: the saver stopped by itself: %2")
                                .arg(kill).arg(QString::fromLocal8Bit(saver.readAllStandardError()))));
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const QByteArray left = readFile(path);
        const QString where = QStringLiteral("kill %1 left %2 bytes").arg(kill).arg(left.size());
        QString error;
        const std::optional<BestListFile> file = parseBestList(left, &error);
        QVERIFY2(file.has_value(), qPrintable(where + QStringLiteral(": ") + error));
        QVERIFY2(computeCheckNumbers(file->list) == file->stored, qPrintable(where));
        QVERIFY2(left == listA || left == listB, qPrintable(where));
        (left == listA ? foundA : foundB) += 1;
    }

    // Start-up reads lista99.txt only, so a temporary file left by a kill
    // would merely take room; they are counted, not refused.
    QStringList leftBehind = program.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    leftBehind.removeAll(QStringLiteral("lista99.txt"));
    int wholeLists = 0;
    for (const QString &name : leftBehind) {
        const QByteArray bytes = readFile(program.filePath(name));
        wholeLists += bytes == listA || bytes == listB ? 1 : 0;
    }
    qInfo("%d kills in %lld ms: list A left %d times, list B %d times; "
          "%lld other files left in the folder (%d of them whole lists) %s",
          kills, static_cast<long long>(clock.elapsed()), foundA, foundB,
          static_cast<long long>(leftBehind.size()), wholeLists,
          qPrintable(leftBehind.mid(0, 3).join(u' ')));
}

QTEST_GUILESS_MAIN(TestSaveSurvivesKill)
#include "test_save_survives_kill.moc"
