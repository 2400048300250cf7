// The computer at the table and the hint: perfect play through the window.
#include "WindowFixture.h"

#include "game/PerfectPlay.h"
#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "ui/KeyboardLabel.h"
#include "ui/ReviewChart.h"
#include "ui/ReviewWindow.h"

#include <algorithm>

namespace {

// Runs the computer's steps until a player, or nobody, is to play.
int playComputerTurn(Window &w)
{
    int steps = 0;
    while (w->computerToPlay() && w.platform.runComputerStep())
        ++steps;
    return steps;
}

// The captions of one player's column.
QStringList column(const Form1 &f, int player)
{
    return sheetCaptions(f).mid(player * 18, 18);
}

// The dice a player records in a row: five of a face above, a full house of
// sixes and fives below.
Dice playerDice(int code)
{
    return code <= 6 ? Dice{code, code, code, code, code} : Dice{6, 6, 6, 5, 5};
}

} // namespace

class TestComputerPlayer : public QObject {
    Q_OBJECT

private slots:
    void computersPlayAWholeGameAlone_data();
    void computersPlayAWholeGameAlone();
    void aPlayerAndTheComputerTakeTurns();
    void aNewGameOrQuittingStopsItsTurn();
    void aComputerWithNoMoveLeavesTheTurnToThePlayer();
    void theHintAfterAnUndoneKeepAllWeighsTheThrow();
    void theReviewReadsTheGameFromTheWindow();
    void hintWords_data();
    void hintWords();
    void theHintSaysWhatPerfectPlayWouldDo();
};

void TestComputerPlayer::computersPlayAWholeGameAlone_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one") << QStringList{QStringLiteral("Kone")};
    QTest::newRow("four of every strength")
        << QStringList{QStringLiteral("Kone 1"), QStringLiteral("Kone 2"), QStringLiteral("Kone 3"), QStringLiteral("Kone")};
}

void TestComputerPlayer::computersPlayAWholeGameAlone()
{
    QFETCH(QStringList, names);
    const int players = int(names.size());
    ProgramFolder folder;
    folder.write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int i) { return 100 - i; })));
    const QByteArray list = folder.read(QStringLiteral("lista99.txt"));
    Window w(folder);
    startGame(*w, players, names);
    QCOMPARE(w->LblVuorossa->caption(), QLatin1Char(' ') + names[0]);
    QTRY_VERIFY_WITH_TIMEOUT(w->gameOver, 60000);

    // Whole sheets that add up, and no place offered for them.
    for (std::size_t p = 0; p < std::size_t(players); ++p) {
        int total = 0;
        for (int code = 1; code <= category::count; ++code) {
            const QString cell = w->categoryCells[std::size_t(code)][p]->caption();
            QVERIFY2(!cell.trimmed().isEmpty(), qPrintable(QString::number(code)));
            total += cell.toInt();
        }
        total += w->LblBonusPelaaja[p]->caption().toInt();
        QCOMPARE(w->LblKaikkiYhteensäPelaaja[p]->caption(), QString::number(total));
        QVERIFY(total > 100);
    }
    QCOMPARE(folder.read(QStringLiteral("lista99.txt")), list);
    QCOMPARE(w->CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    QVERIFY(!undoEnabled(*w) && w.platform.messages.isEmpty());

    // Every weaker strength errs by at most 25 points a choice; "Kone" alone
    // not at all (with others it plays to win, and may give up points).
    const GameReview review = reviewGame(*w->view().record, perfectPlayTable::wait());
    QVERIFY(review.finished);
    for (const PlayerReview &player : review.players) {
        QVERIFY(player.computer);
        QVERIFY(player.name == QLatin1String("Kone") || player.costliest.empty() || player.costliest.front().cost <= 25.0);
        QCOMPARE(QString::number(player.points), w->LblKaikkiYhteensäPelaaja[std::size_t(&player - &review.players[0])]->caption());
    }
    if (players == 1)
        QCOMPARE(choiceLines(review.players.back()), QStringList{QStringLiteral("Kone: ei yhtään kallista valintaa.")});
}

void TestComputerPlayer::aPlayerAndTheComputerTakeTurns()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int i) { return 100 - i; })));
    Window w(folder);
    Form1 &f = *w;
    w.platform.computerWaits = true;
    const WaitGuard guard(w, 15000);
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Kone")});
    for (int code = 1; code <= category::count; ++code) {
        QVERIFY(!f.computerToPlay() && f.MenuVihje->isEnabled());
        if (code == category::count) {
            // Anna's total takes a place; the computer's, which would too, is not offered one.
            whenWaiting(&f, [&f] {
                QCOMPARE(f.lastPlayer, 0);
                f.Txt99ListaNimi->setText(QStringLiteral("Anna"));
                click(f.Cmd99ListaOK);
            });
        }
        record(f, code, playerDice(code));
        QVERIFY(f.computerToPlay() && !undoEnabled(f) && !f.MenuVihje->isEnabled());
        const QStringList annas = column(f, 0);
        if (code == 1) {
            // The player's clicks, keys and presses do nothing in the computer's turn.
            click(f.CmdKaikkiUudelleen);
            QTest::keyClick(f.CmdKaikkiUudelleen, Qt::Key_Space);
            QCOMPARE(f.throwCount, 0);
            QVERIFY(w.platform.runComputerStep() && f.throwCount == 1);
            const Dice thrown = f.diceValues;
            click(f.dice[0]);
            keyboard::click(*f.dice[1]);
            click(f.CmdSäästäKaikki);
            click(f.categoryHeadings[14]);
            QCOMPARE(f.rethrowMarks, (std::array<std::int16_t, 5>{}));
            QVERIFY(!f.mayRecord && f.diceValues == thrown && f.categoryUsed[1][14] == 0);
        }
        QVERIFY(playComputerTurn(w) >= (code == 1 ? 1 : 2));
        QCOMPARE(column(f, 0), annas);  // its turn changed nothing but its own column
        int filled = 0;
        for (int c = 1; c <= category::count; ++c)
            filled += f.categoryUsed[1][std::size_t(c)];
        if (code < category::count) {
            QCOMPARE(filled, code);
            QVERIFY(!undoEnabled(f));  // a computer's choice is never taken back
        }
    }
    QVERIFY(f.gameOver && !guard.fired());
    const std::optional<BestListFile> stored = parseBestList(folder.read(QStringLiteral("lista99.txt")), nullptr);
    QVERIFY(stored && stored->list.names[0] == QStringLiteral("Anna"));
    QVERIFY(std::find(stored->list.names.begin(), stored->list.names.end(), QStringLiteral("Kone")) == stored->list.names.end());
    QVERIFY(f.LblKaikkiYhteensäPelaaja[1]->caption().toInt() > 100);
}

void TestComputerPlayer::aNewGameOrQuittingStopsItsTurn()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    w.platform.computerWaits = true;
    const auto seen = [&f] {
        return diePictures(f) << QString::number(f.throwCount) << QString::number(f.mayRecord) << f.LblOtsikko->caption();
    };
    startGame(f, 1, {QStringLiteral("Kone")});
    QVERIFY(w.platform.runComputerStep() && f.throwCount == 1);

    // While a question is open the computer waits; No lets it go on.
    const std::function<void()> held = w.platform.computerStep;
    w.platform.answers = {false, false};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    f.close();
    QCOMPARE(w.platform.questions.size(), 2);
    const QStringList before = seen();
    held();
    QCOMPARE(seen(), before);
    QVERIFY(w.platform.runComputerStep() && seen() != before);

    // Yes: the start screen, where the step it was to take does nothing.
    w.platform.answers = {true};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    const QStringList startScreen = seen();
    w.platform.runComputerStep();
    QVERIFY(f.CmdAloitaPeli->isVisible() && !f.computerToPlay());
    QCOMPARE(seen(), startScreen);
}

void TestComputerPlayer::aComputerWithNoMoveLeavesTheTurnToThePlayer()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    perfectPlayTable::wait();
    w.platform.computerWaits = true;
    startGame(f, 1, {QStringLiteral("Kone")});
    QVERIFY(w.platform.runComputerStep() && f.throwCount == 1);
    f.upperSum[0] = 5;  // with no upper row filled: a sheet no game reaches
    QVERIFY(w.platform.runComputerStep());
    QVERIFY(w.platform.messages.size() == 1 && !f.computerToPlay() && !w.platform.computerStep);
    // The player plays the turn out, and the computer the next one.
    click(f.CmdSäästäKaikki);
    f.upperSum[0] = 0;
    click(f.categoryHeadings[category::chance]);
    QVERIFY(f.categoryUsed[0][category::chance] == 1 && f.computerToPlay());
    QVERIFY(playComputerTurn(w) >= 2);
    QCOMPARE(w.platform.messages.size(), 1);
}

void TestComputerPlayer::theHintAfterAnUndoneKeepAllWeighsTheThrow()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    perfectPlayTable::wait();
    startGame(f, 1);
    // The sixes are kept, after the first throw and after the second; kept
    // all and taken back, the dice may be thrown again and the hint says so.
    for (const QString &hint : {QStringLiteral(" Vihje: heitä uudelleen arpakuutiot 1, 2 ja 4."), QString()}) {
        throwAll(f, Dice{2, 3, 6, 2, 6});
        QVERIFY(choose(f.MenuPeli, f.MenuVihje));
        const QString beforeKeepAll = f.LblOtsikko->caption();
        QVERIFY(beforeKeepAll == hint || (hint.isEmpty() && beforeKeepAll.startsWith(" Vihje: heitä uudelleen")));
        click(f.CmdSäästäKaikki);
        QVERIFY(undo(f) && f.mayRecord && choose(f.MenuPeli, f.MenuVihje));
        QCOMPARE(f.LblOtsikko->caption(), beforeKeepAll);
    }
}

void TestComputerPlayer::theReviewReadsTheGameFromTheWindow()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    const strategy::Table &table = perfectPlayTable::wait();
    const auto reviewable = [&f] { return f.MenuArvio->menuAction()->isEnabled() && f.MenuPelistä->isEnabled(); };
    // The lines of the review as the window shows them, and as they should be.
    const auto readReview = [&f](Qt::Key closingKey, const std::function<void()> &whileOpen = {}) {
        QStringList lines;
        auto *review = choose(f.MenuArvio, f.MenuPelistä) ? f.findChild<ReviewWindow *>() : nullptr;
        if (review && QTest::qWaitForWindowExposed(review) && QTest::qWaitFor([review] { return review->chancesComplete(); }, 120000)) {
            lines = review->lines();
            if (whileOpen)
                whileOpen();
            QTest::keyClick(review, closingKey);
        }
        return QTest::qWaitFor([&f] { return !f.findChild<ReviewWindow *>(); }) ? lines : QStringList{"<open>"};
    };
    const auto expected = [&f, &table] {
        QStringList lines;
        GameReview review = reviewGame(*f.view().record, table);
        // The chances to win, reckoned here as the window's worker does.
        const GameReview moments = review;
        strategy::TotalsCache cache;
        if (const std::optional<ChancePiece> now = chancesNow(moments, table, cache))
            applyChance(review, *now);
        reckonChances(moments, table, cache, [&review](const ChancePiece &piece) {
            applyChance(review, piece);
            return true;
        });
        for (const PlayerReview &player : review.players)
            lines << summaryLine(player, review.finished) << choiceLines(player);
        return lines;
    };

    QVERIFY(!reviewable());  // no game yet
    w.platform.computerWaits = true;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Kone 2")});
    QVERIFY(!reviewable());  // no choice yet
    for (int code = 1; code <= category::count; ++code) {
        click(f.CmdKaikkiUudelleen);
        click(f.CmdSäästäKaikki);
        click(f.categoryHeadings[std::size_t(code)]);
        if (code == 1) {
            // Read during the computer's turn, which waits meanwhile.
            const QStringList lines = readReview(Qt::Key_Escape, [&w, &f] {
                w.platform.runComputerStep();
                QVERIFY(f.throwCount == 0 && !w.platform.computerStep);
            });
            QVERIFY(lines == expected() && lines[0].contains(QStringLiteral(" pistettä, odotus ")));
            QVERIFY(w.platform.computerStep);
        }
        QVERIFY(playComputerTurn(w) >= 2);
    }
    const int anna = f.LblKaikkiYhteensäPelaaja[0]->caption().toInt();
    const int kone = f.LblKaikkiYhteensäPelaaja[1]->caption().toInt();
    const QStringList atTheEnd = readReview(Qt::Key_Return, [&f, anna, kone] {
        // The chart shows the chances by its access key, after every turn
        // of both players; they end at the result, a tie at half each.
        auto *review = f.findChild<ReviewWindow *>();
        QTest::keyClick(review, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(review->chart()->view(), ReviewChart::View::Chance);
        QVERIFY(review->chart()->accessibleDescription().contains(QStringLiteral("voittomahdollisuudesta")));
        const std::vector<PlayerReview> &players = review->chart()->shown().players;
        const double annaWins = anna > kone ? 1.0 : anna == kone ? 0.5 : 0.0;
        QCOMPARE(players[0].chances.size(), std::size_t(1 + 2 * category::count));
        QCOMPARE(players[0].chances.back().expectation, annaWins);
        QCOMPARE(players[1].chances.back().expectation, 1.0 - annaWins);
    });
    QCOMPARE(atTheEnd, expected());
    QVERIFY(atTheEnd[0].startsWith(QStringLiteral("Anna: %1 pistettä. ").arg(f.LblKaikkiYhteensäPelaaja[0]->caption())));
    QCOMPARE(atTheEnd.filter(QStringLiteral("Kone 2: %1 pistettä. ").arg(f.LblKaikkiYhteensäPelaaja[1]->caption())).size(), 1);

    // The start screen after it shows the same; the next game starts afresh.
    click(f.CmdKaikkiUudelleen);
    QCOMPARE(readReview(Qt::Key_Escape), atTheEnd);
    click(f.CmdAloitaPeli);
    QVERIFY(!reviewable());
}

void TestComputerPlayer::hintWords_data()
{
    using Kind = strategy::Action::Kind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("keep");  // dice kept per face 1..6
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("text");
    QTest::newRow("throw all") << int(Kind::ThrowAll) << QList<int>{} << false
                               << QStringLiteral(" Vihje: heitä kaikki arpakuutiot.");
    QTest::newRow("keep the fours") << int(Kind::Keep) << QList<int>{0, 0, 0, 2, 0, 0} << false
                                    << QStringLiteral(" Vihje: heitä uudelleen arpakuutiot 2, 4 ja 5.");
    QTest::newRow("the topmost three is kept") << int(Kind::Keep) << QList<int>{0, 0, 1, 2, 0, 0} << false
                                               << QStringLiteral(" Vihje: heitä uudelleen arpakuutiot 4 ja 5.");
    QTest::newRow("one die") << int(Kind::Keep) << QList<int>{0, 0, 2, 2, 0, 0} << false
                             << QStringLiteral(" Vihje: heitä uudelleen arpakuutio 5.");
    QTest::newRow("keep none") << int(Kind::Keep) << QList<int>{0, 0, 0, 0, 0, 0} << false
                               << QStringLiteral(" Vihje: heitä kaikki arpakuutiot uudelleen.");
    QTest::newRow("keep all and record") << int(Kind::Record) << QList<int>{} << false
                                         << QStringLiteral(" Vihje: säästä kaikki ja kirjaa Yatzy.");
    QTest::newRow("record the locked dice") << int(Kind::Record) << QList<int>{} << true
                                            << QStringLiteral(" Vihje: kirjaa Yatzy.");
}

void TestComputerPlayer::hintWords()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, keep);
    QFETCH(bool, locked);
    QFETCH(QString, text);
    strategy::Action action;
    action.kind = strategy::Action::Kind(kind);
    action.category = category::yatzy;
    for (int f = 0; f < keep.size(); ++f)
        action.keep[std::size_t(f + 1)] = keep[f];
    QCOMPARE(hintText(action, locked, Dice{4, 3, 4, 3, 3}), text);
}

void TestComputerPlayer::theHintSaysWhatPerfectPlayWouldDo()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1);
    const QString heading = f.LblOtsikko->caption();
    QVERIFY(choose(f.MenuPeli, f.MenuVihje));
    QCOMPARE(f.LblOtsikko->caption(), QStringLiteral(" Vihje: heitä kaikki arpakuutiot."));

    // Three sixes and two fives on the first throw: keep the sixes. The
    // heading keeps its colour, and the next action gives it back.
    throwAll(f, Dice{6, 5, 6, 5, 6});
    QCOMPARE(f.LblOtsikko->caption(), heading);
    QVERIFY(choose(f.MenuPeli, f.MenuVihje));
    QCOMPARE(f.LblOtsikko->caption(), QStringLiteral(" Vihje: heitä uudelleen arpakuutiot 2 ja 4."));
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
    click(f.dice[1]);
    QCOMPARE(f.LblOtsikko->caption(), heading);

    // The same dice after the third throw: the full house.
    click(f.dice[1]);
    click(f.CmdKaikkiUudelleen);
    click(f.CmdKaikkiUudelleen);
    f.diceValues = Dice{6, 5, 6, 5, 6};
    QVERIFY(choose(f.MenuPeli, f.MenuVihje));
    QCOMPARE(f.LblOtsikko->caption(), QStringLiteral(" Vihje: kirjaa Täyskäsi."));
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
    click(f.categoryHeadings[category::fullHouse]);
    QCOMPARE(f.LblOtsikko->caption(), heading);
    QCOMPARE(f.LblTäyskäsiPelaaja[0]->caption(), QStringLiteral("28"));
}

QTEST_MAIN(TestComputerPlayer)
#include "test_computer_player.moc"
