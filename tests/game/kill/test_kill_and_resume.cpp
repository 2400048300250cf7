// Kills the real window at random moments of scripted games, hundreds of
// times, and starts it again each time: the game left is resumed, and the
// window shows exactly what it showed after the last step of the script it
// finished, or one step further when the kill came between that step's write
// and the script's note of it. Nothing done before is lost.
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include "history/GamesFile.h"
#include "toplist/BestListFile.h"

namespace {

struct State {
    qulonglong entries = 0;
    QByteArray hash;
    QByteArray moment;
};

State parse(const QByteArray &line)
{
    const QList<QByteArray> fields = line.trimmed().split(' ');
    return fields.size() == 3 ? State{fields[0].toULongLong(), fields[1], fields[2]} : State{0, "?", "?"};
}

// The newest game in the file has at least `entries` entries.
bool newestGameHolds(const QString &folder, qulonglong entries)
{
    GamesFile file(folder);
    const std::vector<GameSummary> games = file.earlierGames();
    const std::optional<StoredGame> newest = games.empty() ? std::nullopt : file.readGame(games.front().id);
    return newest && newest->record.entries.size() >= entries;
}

// What the window showed when it was killed, and after it was started again.
void showDifference(const QString &killed, const QString &resumed)
{
    QFile a(killed), b(resumed);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> left = a.readAll().split('\n'), back = b.readAll().split('\n');
    for (qsizetype i = 0; i < std::max(left.size(), back.size()); ++i) {
        if (left.value(i) != back.value(i))
            qWarning("line %d: killed \"%s\", resumed \"%s\"", int(i), left.value(i).constData(), back.value(i).constData());
    }
}

} // namespace

class TestKillAndResume : public QObject {
    Q_OBJECT

private slots:
    void everyKillResumesToTheWindowLeft();
};

void TestKillAndResume::everyKillResumesToTheWindowLeft()
{
    constexpr int kills = 220;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // A failure leaves the folder, its games file and the scripts' notes.
    folder.setAutoRemove(false);
    const auto removeOnSuccess = qScopeGuard([&folder] {
        if (!QTest::currentTestFailed())
            folder.remove();
        else
            qWarning("the scripts' folder is kept: %s", qPrintable(folder.path()));
    });
    QFile names(folder.filePath(QStringLiteral("nimet.txt")));
    QVERIFY(names.open(QIODevice::WriteOnly) && names.write("Anna\r\nPekka\r\nLiisa\r\n") > 0);
    names.close();
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[std::size_t(i)] = QStringLiteral("Nimi%1").arg(i + 1);
        list.dates[std::size_t(i)] = QStringLiteral("01.01.26");
        list.scores[std::size_t(i)] = std::int16_t(120 - i);  // most games earn a place
    }
    QFile listFile(folder.filePath(QStringLiteral("lista99.txt")));
    QVERIFY(listFile.open(QIODevice::WriteOnly) && listFile.write(formatBestList(list, computeCheckNumbers(list))) > 0);
    listFile.close();

    QRandomGenerator random(20261208);
    QMap<QByteArray, int> exact;  // by the kind of moment the kill found
    int oneBeyond = 0, fresh = 0, steps = 0;
    State left;
    for (int kill = 0; kill < kills; ++kill) {
        const QString log = folder.filePath(QStringLiteral("script-%1.log").arg(kill));
        // Every other kill comes at a moment of each kind in turn, the rest
        // at random.
        static const QStringList moments = {QStringLiteral("entry"), QStringLiteral("undo"), QStringLiteral("keep-all"),
                                            QStringLiteral("marks"), QStringLiteral("computer")};
        const QString target = kill % 2 ? moments[(kill / 2) % moments.size()] : QString();
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{folder.path(), log, QString::number(random.generate())};
        if (!target.isEmpty())
            arguments << target;
        script.start(QStringLiteral(GAME_SCRIPT_PATH), arguments);
        QVERIFY2(script.waitForReadyRead(30000), qPrintable(QStringLiteral("start %1").arg(kill)));
        const QByteArray ready = script.readLine();
        QVERIFY2(ready.startsWith("ready "), ready.constData());
        const State resumed = parse(ready.mid(6));
        if (kill > 0) {
            if (resumed.entries == 0) {
                // Nothing to resume: no game was being played, its first
                // entry was never written, or the action being made ended the
                // game (its last row, its last name, "...uusiksi") and the
                // game is in the file whole.
                QVERIFY2(left.entries <= 1 || left.moment == "idle" || newestGameHolds(folder.path(), left.entries),
                         qPrintable(QStringLiteral("kill %1 lost %2 entries").arg(kill).arg(left.entries)));
                ++fresh;
            } else if (resumed.entries == left.entries) {
                if (resumed.hash != left.hash)
                    showDifference(folder.filePath(QStringLiteral("script-%1.log.last").arg(kill - 1)), log + ".ready");
                QVERIFY2(resumed.hash == left.hash, qPrintable(QStringLiteral("kill %1 at %2 (%3): the window differs")
                                                                   .arg(kill).arg(left.entries).arg(QString::fromLatin1(left.moment))));
                ++exact[left.moment];
            } else {
                // A step of the script is one action of a player, or one of
                // the computer's, which marks up to four dice.
                QVERIFY2(resumed.entries > left.entries && resumed.entries <= left.entries + 4,
                         qPrintable(QStringLiteral("kill %1: %2 entries left, %3 resumed")
                                        .arg(kill).arg(left.entries).arg(resumed.entries)));
                ++oneBeyond;
            }
        }
        if (target.isEmpty()) {
            QTest::qWait(int(random.bounded(300)));
        } else {
            // The moment may come with the first step, in the same read as "ready".
            QVERIFY2(script.canReadLine() || script.waitForReadyRead(120000),
                     qPrintable(QStringLiteral("no %1 in script %2").arg(target).arg(kill)));
            QCOMPARE(script.readLine().trimmed(), ("at " + target).toUtf8());
        }
        QVERIFY2(script.state() == QProcess::Running, qPrintable(QStringLiteral("script %1 ended by itself").arg(kill)));
        script.kill();
        QVERIFY(script.waitForFinished(10000));
        QFile written(log);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        steps += int(lines.size()) - 1;
        left = resumed;
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (!line->isEmpty()) {
                left = parse(*line);
                break;
            }
        }
    }
    QStringList moments;
    for (auto at = exact.begin(); at != exact.end(); ++at)
        moments << QStringLiteral("%1 %2").arg(QString::fromLatin1(at.key())).arg(at.value());
    qInfo("%d kills after %d steps: %s exactly as left; %d one step further (killed between its write and the "
          "script's note of it); %d at the start screen with no game to resume",
          kills, steps, qPrintable(moments.join(QStringLiteral(", "))), oneBeyond, fresh);
    QVERIFY(exact.value("entry") > 0 && exact.value("computer") > 0 && exact.value("marks") > 0 &&
            exact.value("keep-all") > 0 && exact.value("undo") > 0);
}

QTEST_GUILESS_MAIN(TestKillAndResume)
#include "test_kill_and_resume.moc"
