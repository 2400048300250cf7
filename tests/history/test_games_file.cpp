// The games file: games kept as they are played and read back whole, the
// Finnish lines, the claims of running windows, and damage found while
// another window plays.
#include "MadeGames.h"
#include "history/GamesFile.h"
#include "history/HistoryLines.h"
#include "history/EntryCode.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace madeGames;

namespace {

const QDateTime monday(QDate(2026, 12, 7), QTime(18, 30));

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Plays `record` into `file` a few entries at a time, as a window's actions do.
void playInto(GamesFile &file, const GameRecord &record)
{
    GameRecord played;
    played.start(record.players, record.started);
    file.beginGame(played);
    for (const GameRecord::Entry &entry : record.entries) {
        played.add(entry);
        if (entry.kind != Kind::Mark)
            file.keep(played);
    }
    file.keep(played);
}

bool sameGame(const GameRecord &a, const GameRecord &b)
{
    bool same = a.started.toSecsSinceEpoch() == b.started.toSecsSinceEpoch() && a.players.size() == b.players.size()
        && a.entries.size() == b.entries.size();
    for (std::size_t p = 0; same && p < a.players.size(); ++p) {
        same = a.players[p].name == b.players[p].name && a.players[p].typed == b.players[p].typed
            && a.players[p].computer == b.players[p].computer;
    }
    for (std::size_t i = 0; same && i < a.entries.size(); ++i)
        same = sameEntry(a.entries[i], b.entries[i]);
    return same;
}

// The game last kept in the folder, read by a window of its own.
std::optional<StoredGame> newestGame(const QString &folder)
{
    GamesFile file(folder);
    const std::vector<GameSummary> games = file.earlierGames();
    return games.empty() ? std::nullopt : file.readGame(games.front().id);
}

GameRecord annaAndPekka(int turns)
{
    return madeGame({QStringLiteral("Anna"), QStringLiteral("-Pekka")}, turns, monday);
}

} // namespace

Q_DECLARE_METATYPE(GameRecord)

class TestGamesFile : public QObject {
    Q_OBJECT

private slots:
    void aGameReadsBackAsItWasPlayed_data();
    void aGameReadsBackAsItWasPlayed();
    void linesSayItInFinnish_data();
    void linesSayItInFinnish();
    void onlyAGameNoWindowPlaysIsOffered();
    void damageFoundByOneWindowMovesEveryRunningGameToTheNewFile();
};

void TestGamesFile::aGameReadsBackAsItWasPlayed_data()
{
    QTest::addColumn<GameRecord>("record");
    GameRecord every = madeGame({QStringLiteral("Anna"), QStringLiteral("Kone 3"), QStringLiteral("-Väinö"),
                                 QStringLiteral("Kone")},
                                3, monday);
    every.add({Kind::KeepAll, 0, {6, 6, 6, 6, 6}, {}, 0});
    every.add({Kind::Undo, 0});
    every.add({Kind::Record, 0, {6, 6, 6, 6, 6}, {}, category::yatzy});
    every.add({Kind::Undo, 0});
    GameRecord::Entry listed{Kind::ListEntry, 3};
    listed.name = QStringLiteral("O'Hara\"; DROP TABLE games; --");
    every.add(listed);
    QTest::newRow("four players, every kind of entry, a name made to break a statement") << every;

    GameRecord odd = madeGame({QStringLiteral(" %1 Anna ")}, 1, monday.addMSecs(999));
    odd.players[0].typed = QStringLiteral("  %1 Anna   ");
    odd.add({Kind::Undo, 0, {1, 2, 3, 4, 5}, {true, false, true, false, true}, 31});
    GameRecord::Entry mark{Kind::Mark, 0, {}, {}, 17};
    mark.die = 7;
    odd.add(mark);
    QTest::newRow("fields a kind does not use, a name with %1 and blanks") << odd;
}

void TestGamesFile::aGameReadsBackAsItWasPlayed()
{
    QFETCH(GameRecord, record);
    QTemporaryDir folder;
    {
        // The last entry comes after the end, as a best-99 entry does.
        GamesFile file(folder.path());
        GameRecord ended = record;
        ended.entries.pop_back();
        playInto(file, ended);
        file.finishGame(ended);
        file.keep(record);
        QVERIFY2(file.keeping(), qPrintable(file.takeMessage()));
    }
    const std::optional<StoredGame> read = newestGame(folder.path());
    QVERIFY(read && sameGame(read->record, record));
}

void TestGamesFile::linesSayItInFinnish_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    NameStatistics anna{QStringLiteral("Anna"), 12, 0, 231.44, 301, 154, 7, 5, 5, 9, 14.16, -1.26};
    QTest::newRow("finished games only") << gamesLine(anna)
                                         << "Anna: 12 peliä, keskiarvo 231,4, paras 301, huonoin 154.";
    QTest::newRow("shares, wins, costs and luck") << sharesLine(anna)
        << QStringLiteral("Bonus 58 %, Yatzy 42 %, voitot 5/9. Valinnat maksoivat keskimäärin 14,2 pistettä, "
                          "noppaonni keskimäärin \u22121,3 pistettä.");
    anna.unfinished = 2;
    QTest::newRow("some unfinished") << gamesLine(anna)
                                     << "Anna: 12 peliä (2 kesken), keskiarvo 231,4, paras 301, huonoin 154.";
    const NameStatistics alone{QStringLiteral("Anna"), 1, 0, 250, 250, 250, 1, 0, 0, 0, -0.04, 0.04};
    QTest::newRow("one game") << gamesLine(alone) << "Anna: 1 peli, keskiarvo 250,0, paras 250, huonoin 250.";
    QTest::newRow("no game of several; a tiny negative cost reads 0,0") << sharesLine(alone)
        << "Bonus 100 %, Yatzy 0 %. Valinnat maksoivat keskimäärin 0,0 pistettä, noppaonni keskimäärin 0,0 pistettä.";
    const NameStatistics waiting{QStringLiteral("Anna"), 0, 2, 0, 0, 0, 0, 0, 0, 0, {}, {}};
    QTest::newRow("no finished game") << gamesLine(waiting) + u'|' + sharesLine(waiting) << "Anna: 0 peliä (2 kesken).|";
    const NameStatistics unreviewed{QStringLiteral("Kone"), 3, 0, 250, 260, 240, 3, 0, 1, 2, {}, {}};
    QTest::newRow("no review reached") << sharesLine(unreviewed) << "Bonus 100 %, Yatzy 0 %, voitot 1/2.";

    const QDateTime started(QDate(2026, 12, 8), QTime(14, 5));
    GameSummary game{1, started, true, 16, {{"Anna", 231, true}, {"Kone 2", 214, false}}};
    QTest::newRow("a winner") << gameLine(game) << "8.12.2026 klo 14.05: Anna 231, Kone 2 214. Voittaja Anna.";
    game.players.push_back({QStringLiteral("Pekka"), 231, true});
    game.players.push_back({QStringLiteral("%1"), 231, true});
    QTest::newRow("a first place shared by three")
        << gameLine(game) << "8.12.2026 klo 14.05: Anna 231, Kone 2 214, Pekka 231, %1 231. Voittajat Anna, Pekka ja %1.";
    const GameSummary unfinished{2, started.addSecs(-5 * 3600), false, 7, {{"Anna", 120, false}, {"Pekka", 98, false}}};
    QTest::newRow("unfinished") << gameLine(unfinished) << "8.12.2026 klo 9.05: Anna 120, Pekka 98. Kesken, vuoro 7.";
    const GameSummary one{3, started, true, 16, {{"Anna", 250, true}}};
    QTest::newRow("a game of one") << gameLine(one) << "8.12.2026 klo 14.05: Anna 250.";
}

void TestGamesFile::linesSayItInFinnish()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(line, expected);
}

void TestGamesFile::onlyAGameNoWindowPlaysIsOffered()
{
    QTemporaryDir folder;
    const auto offered = [&folder] {
        GamesFile file(folder.path());
        const std::optional<StoredGame> game = file.gameToOffer();
        return game ? game->record.started : QDateTime();
    };
    {
        GamesFile given(folder.path());
        playInto(given, annaAndPekka(2));
        given.giveUp();
        GamesFile playing(folder.path());
        playInto(playing, madeGame({QStringLiteral("Anna")}, 3, monday.addDays(1)));
        QCOMPARE(offered(), QDateTime());  // given up, or played in another window
    }
    GamesFile asking(folder.path());
    const std::optional<StoredGame> game = asking.gameToOffer();
    QVERIFY(game && game->record.started == monday.addDays(1) && game->record.entries.size() == 3 * 11 - 1);
    QCOMPARE(offered(), QDateTime());  // asked about in another window
    asking.declineGame(game->id);
    QCOMPARE(offered(), QDateTime());

    QProcess other;
    other.start(QStringLiteral(GAMES_USER_PATH), {folder.path(), QStringLiteral("hold")});
    QVERIFY(other.waitForReadyRead(10000));
    QCOMPARE(other.readLine(), QByteArray("ready\n"));
    QCOMPARE(offered(), QDateTime());
    other.kill();
    QVERIFY(other.waitForFinished());
    QCOMPARE(offered(), QDateTime(QDate(2026, 12, 8), QTime(14, 5)));

    // The resumed game goes on from where it was.
    GamesFile resuming(folder.path());
    const std::optional<StoredGame> again = resuming.gameToOffer();
    QVERIFY(again && resuming.resumeGame(again->id));
    GameRecord going = again->record;
    playTurn(going, 0, 3, false);
    resuming.keep(going);
    QVERIFY(sameGame(resuming.readGame(again->id)->record, going));
}

void TestGamesFile::damageFoundByOneWindowMovesEveryRunningGameToTheNewFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pelit.sqlite"));
    {
        GamesFile earlier(folder.path());
        playInto(earlier, madeGame({QStringLiteral("Anna")}, 15, monday));
    }
    // A resumed game is read whole into SQLite's cache; the pages on disk
    // are then destroyed, and another window's reading finds it.
    GamesFile playing(folder.path());
    const std::optional<StoredGame> resumed = playing.gameToOffer();
    QVERIFY(resumed && playing.resumeGame(resumed->id));
    QByteArray bytes = bytesOf(path);
    bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\x5a'));
    QVERIFY(writeBytes(path, bytes));
    GamesFile reading(folder.path());
    QVERIFY(reading.statistics().empty());
    QVERIFY(reading.takeMessage().contains(path + ".vioittunut"));

    GameRecord going = resumed->record;
    playTurn(going, 0, 15, false);
    playing.keep(going);
    QVERIFY(playing.keeping() && playing.takeMessage().isEmpty());
    QVERIFY(sameGame(newestGame(folder.path())->record, going));
    QCOMPARE(bytesOf(path + ".vioittunut"), bytes);
}

QTEST_GUILESS_MAIN(TestGamesFile)
#include "test_games_file.moc"
