// Every game kept in pelit.sqlite through the window: a game left unfinished
// offered and resumed, a file that cannot be used costing one message and
// never the game, and the players' statistics and earlier games as played.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "history/FolderTrouble.h"
#include "ui/EarlierGamesWindow.h"
#include "ui/StatisticsWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace {

const QString question = QStringLiteral("Edellinen peli jäi kesken. Jatketaanko sitä?");

// Two turns of each of two players with the generator's dice, and the third
// thrown and kept.
void playSomeTurns(Form1 &f)
{
    for (int turn = 0; turn < 4; ++turn) {
        click(f.CmdKaikkiUudelleen);
        click(f.CmdSäästäKaikki);
        click(f.categoryHeadings[std::size_t(15 - turn / 2)]);
    }
    click(f.CmdKaikkiUudelleen);
    clickDice(f, {1, 3});
}

// "14,2", "−1,3"; "0,0" for what rounds to nothing.
QString decimal(double value)
{
    QString text = QString::number(value, 'f', 1).replace(u'.', u',');
    return text == QStringLiteral("-0,0") ? QStringLiteral("0,0") : text.replace(u'-', QChar(0x2212));
}

} // namespace

class TestKeptGames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void aGameLeftUnfinishedIsOfferedOnce_data();
    void aGameLeftUnfinishedIsOfferedOnce();
    void aFileThatCannotBeUsedNeverCostsTheGame_data();
    void aFileThatCannotBeUsedNeverCostsTheGame();
    void theStatisticsAndTheEarlierGamesCountWhatWasPlayed();
};

void TestKeptGames::aGameLeftUnfinishedIsOfferedOnce_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("answer");
    QTest::newRow("closed, resumed") << "closed" << true;
    QTest::newRow("closed, not resumed") << "closed" << false;
    QTest::newRow("given up") << "given up" << true;
    QTest::newRow("played in another window") << "open" << true;
}

void TestKeptGames::aGameLeftUnfinishedIsOfferedOnce()
{
    QFETCH(QString, left);
    QFETCH(bool, answer);
    ProgramFolder folder;
    auto first = std::make_unique<Window>(folder);
    Form1 &f = **first;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    playSomeTurns(f);
    const QStringList shown = windowState(f);
    if (left == "given up") {
        first->platform.answers = {true};
        QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    } else if (left == "closed") {
        first->platform.answers = {true};
        f.close();
        QVERIFY(first->platform.ended);
    }
    if (left != "open")
        first.reset();

    Window second(folder, {answer});
    const bool offered = left == "closed";
    QCOMPARE(second.platform.questions, offered ? QStringList{question} : QStringList{});
    if (!offered || !answer) {
        QVERIFY(second->CmdAloitaPeli->isVisible());
        Window third(folder, {true});
        QVERIFY(third.platform.questions.isEmpty());  // asked once only
        return;
    }
    // The window stands as it was left, and the game goes on in the same record.
    QCOMPARE(windowState(*second), shown);
    click(second->CmdValitutUudelleen);
    click(second->CmdSäästäKaikki);
    click(second->categoryHeadings[1]);
    QVERIFY(choose(second->MenuArvio, second->MenuAiemmatPelit));
    auto *games = second->findChild<EarlierGamesWindow *>();
    QVERIFY(games);
    const QStringList lines = games->lines();
    games->reject();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].endsWith(QStringLiteral("Kesken, vuoro 3.")), qPrintable(lines[0]));
}

void TestKeptGames::aFileThatCannotBeUsedNeverCostsTheGame_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("message");  // after "Pelejä ei tallenneta tiedostoon <file>: "; or where it was moved
    QTest::newRow("not a database") << "text" << ".vioittunut";
    QTest::newRow("not a database, with a damaged one moved aside before") << "text again" << ".vioittunut.2";
    QTest::newRow("cut short") << "cut" << ".vioittunut";
    QTest::newRow("schema destroyed") << "schema" << ".vioittunut";
    QTest::newRow("pages destroyed, found by the first write") << "pages" << ".vioittunut";
    QTest::newRow("a later Kopperi's") << "later" << "sen on tehnyt uudempi Kopperi.";
    QTest::newRow("a folder in its place") << "folder" << "sen paikalla on kansio.";
    QTest::newRow("a folder that cannot be written") << "read-only" << "kansioon ei voi kirjoittaa.";
    QTest::newRow("locked by another program") << "held" << "toinen ohjelma pitää sitä lukittuna.";
    // Past a file size limit the system says EFBIG, not ENOSPC: to SQLite an I/O error.
    QTest::newRow("a full disk") << "full" << "sen luku tai kirjoitus epäonnistui (levy voi olla täynnä tai viallinen).";
}

// Whatever the file, the game plays to its end and its result enters the
// best-99 list; one message says why games are not kept, and the file is left
// as it was, or where the damaged file went, whole, and the games go on in a
// new one.
void TestKeptGames::aFileThatCannotBeUsedNeverCostsTheGame()
{
    QFETCH(QString, trouble);
    QFETCH(QString, message);
    ProgramFolder folder;
    const QString path = folder.file(QStringLiteral("pelit.sqlite"));
    {
        Window earlier(folder);
        startGame(*earlier, 1);
        playSomeTurns(*earlier);
    }
    QByteArray bytes = folder.read(QStringLiteral("pelit.sqlite"));
    const qsizetype page = 4096;
    QVERIFY(bytes.size() > 2 * page && !QFileInfo::exists(path + "-wal"));
    FolderTrouble troubles(folder.path());
    if (trouble.startsWith("text"))
        bytes = "Anna 231\r\n";
    if (trouble == "text again")
        folder.write(QStringLiteral("pelit.sqlite.vioittunut"), "earlier");
    else if (trouble == "cut")
        bytes.truncate(bytes.size() / 2 / page * page);
    else if (trouble == "schema")
        bytes.replace(100, page - 100, QByteArray(page - 100, '\x5a'));
    else if (trouble == "pages")
        bytes.replace(page, bytes.size() - page, QByteArray(bytes.size() - page, '\x5a'));
    else if (trouble == "later")
        bytes[63] = 9;  // user_version, big-endian at 60
    else if (trouble == "folder")
        QVERIFY(QFile::remove(path) && QDir(folder.path()).mkdir(QStringLiteral("pelit.sqlite")));
    else if (trouble == "held")
        QVERIFY(troubles.hold(QStringLiteral(GAMES_USER_PATH)));
    if (trouble != "folder")
        folder.write(QStringLiteral("pelit.sqlite"), bytes);
    if (trouble == "read-only") {
        // The list stays the player's to write, in place.
        QFile::setPermissions(folder.file(QStringLiteral("lista99.txt")), QFileDevice::Permissions(0x6666));
        QVERIFY(troubles.makeReadOnly());
    } else if (trouble == "full") {
        QVERIFY(troubles.fillDisk(16384));  // room for the list, not for what the games file adds
    }

    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Liisa")});
    PlannedGame game(f, {280});
    game.playToLastScore();
    whenWaiting(&f, [&f] { click(f.Cmd99ListaOK); });
    game.playLastScore();
    QVERIFY(f.gameOver);
    troubles.mend();
    QVERIFY(folder.read(QStringLiteral("lista99.txt")).contains("Liisa"));
    QCOMPARE(w.platform.messages.size(), 1);
    const QString told = w.platform.messages[0].text;
    const bool kept = message.startsWith(u'.');
    // A kept game can be listed; otherwise the file is left as it was.
    QCOMPARE(f.MenuAiemmatPelit->isEnabled(), kept);
    if (!kept) {
        QCOMPARE(told, "Pelejä ei tallenneta tiedostoon " + path + ": " + message);
        if (trouble != "folder")
            QCOMPARE(folder.read(QStringLiteral("pelit.sqlite")), bytes);
        return;
    }
    QCOMPARE(told, "Pelitiedosto " + path + " oli vioittunut. Se on siirretty nimelle " + path + message
                       + ", ja pelit tallennetaan uuteen tiedostoon.");
    QCOMPARE(folder.read(QStringLiteral("pelit.sqlite") + message), bytes);
}

// Four games of Anna, Pekka and the computer, each reviewed as it ended; the
// statistics and the earlier games say what an independent count of them says.
void TestKeptGames::theStatisticsAndTheEarlierGamesCountWhatWasPlayed()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    struct Played {
        QStringList names;
        QList<int> totals;
    };
    const QList<Played> games = {{{"Anna"}, {250}}, {{"Anna", "Pekka"}, {200, 220}}, {{"Pekka", "Anna"}, {180, 180}}};
    QMap<QString, QList<int>> totals;
    QMap<QString, QList<double>> costs, luck;
    QMap<QString, int> bonuses, yatzies, wins, several;
    for (int g = 0; g < games.size(); ++g) {
        const Played &played = games[g];
        w.platform.time = QStringLiteral("14:0%1:00").arg(g);
        startGame(f, int(played.names.size()), played.names);
        PlannedGame game(f, played.totals);
        game.play();
        QVERIFY(f.gameOver);
        const GameReview review = reviewGame(f.record, perfectPlayTable::wait());
        const int best = *std::max_element(played.totals.begin(), played.totals.end());
        for (int p = 0; p < played.names.size(); ++p) {
            const QString &name = played.names[p];
            int upper = 0;
            for (int code = 1; code <= 6; ++code)
                upper += scoreCategory(code, game.dice(p, code));
            totals[name] << played.totals[p];
            costs[name] << review.players[std::size_t(p)].costs;
            luck[name] << review.players[std::size_t(p)].luck;
            bonuses[name] += upper >= 63;
            yatzies[name] += scoreCategory(15, game.dice(p, 15)) == 50;
            if (played.names.size() > 1) {
                ++several[name];
                wins[name] += played.totals[p] == best;
            }
        }
        click(f.CmdKaikkiUudelleen);  // "&Uusi peli"
    }
    w.platform.time = QStringLiteral("14:03:00");
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    playSomeTurns(f);  // unfinished
    const QString unfinished = QStringLiteral("7.12.2026 klo 14.03: Anna %1, Pekka %2. Kesken, vuoro 3.")
                                   .arg(f.LblKaikkiYhteensäPelaaja[0]->caption(), f.LblKaikkiYhteensäPelaaja[1]->caption());

    QStringList expected;
    for (const QString name : {"Anna", "Pekka"}) {
        const QList<int> &t = totals[name];
        const auto mean = [](const QList<double> &values) {
            return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
        };
        const int n = int(t.size());
        expected << QStringLiteral("%1: %2 peliä%3, keskiarvo %4, paras %5, huonoin %6.")
                        .arg(name, QString::number(n), QStringLiteral(" (1 kesken)"),
                             decimal(std::accumulate(t.begin(), t.end(), 0) / double(n)),
                             QString::number(*std::max_element(t.begin(), t.end())),
                             QString::number(*std::min_element(t.begin(), t.end())))
                 << QStringLiteral("Bonus %1 %, Yatzy %2 %, voitot %3/%4. Valinnat maksoivat keskimäärin %5 pistettä, "
                                   "noppaonni keskimäärin %6 pistettä.")
                        .arg(QString::number(qRound(100.0 * bonuses[name] / n)),
                             QString::number(qRound(100.0 * yatzies[name] / n)), QString::number(wins[name]),
                             QString::number(several[name]), decimal(mean(costs[name])), decimal(mean(luck[name])));
    }
    QVERIFY(choose(f.MenuArvio, f.MenuPelaajista));
    auto *statistics = f.findChild<StatisticsWindow *>();
    QVERIFY(statistics);
    QCOMPARE(statistics->lines(), expected);
    QCOMPARE(statistics->chosen(), QStringLiteral("Anna"));
    QTest::keyClick(statistics->focusWidget(), Qt::Key_Down);
    QCOMPARE(statistics->chosen(), QStringLiteral("Pekka"));
    QTest::keyClick(statistics, Qt::Key_Escape);
    QTRY_VERIFY(!f.findChild<StatisticsWindow *>());

    QVERIFY(choose(f.MenuArvio, f.MenuAiemmatPelit));
    auto *earlier = f.findChild<EarlierGamesWindow *>();
    QVERIFY(earlier);
    QCOMPARE(earlier->lines(), (QStringList{unfinished,
                                            QStringLiteral("7.12.2026 klo 14.02: Pekka 180, Anna 180. Voittajat Pekka ja Anna."),
                                            QStringLiteral("7.12.2026 klo 14.01: Anna 200, Pekka 220. Voittaja Pekka."),
                                            QStringLiteral("7.12.2026 klo 14.00: Anna 250.")}));
    QVERIFY(!earlier->resumeButton()->isEnabled());  // a game is played
    QTest::keyClick(earlier->list(), Qt::Key_Return);  // the newest game's review
    QTRY_VERIFY(earlier->findChild<QDialog *>());
    earlier->findChild<QDialog *>()->reject();
    earlier->reject();
}

QTEST_MAIN(TestKeptGames)
#include "test_kept_games.moc"
