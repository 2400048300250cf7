// Recording scores on the sheet: totals, the upper bonus, passing the turn,
// refusals and the end of a game, played through the real window.
#include "WindowFixture.h"

namespace {

const QString wontBeThrown = QStringLiteral("Tätä arpakuutiota ei heitetä uudelleen.");
const QString alreadyFilled =
    QStringLiteral(" Olet jo laittanut tuloksen tähän sarakkeeseen !   Valitse jokin muu vapaa sarake.");
const QString gameOverHeading =
    QStringLiteral(" Peli loppui !    Valitse haluatko aloittaa uuden pelin vaiko lopettaa?");

constexpr int rowHeading = -1;

// One recording: the row, the dice the player ends up with, the score the row
// must show, and where the player clicks (the row heading or a player's cell).
struct Turn {
    int code;
    Dice dice;
    int score;
    int clickedColumn = rowHeading;
};

// A player's whole game: fifteen turns, the bonus the six upper rows earn,
// and the final total.
struct PlayerGame {
    QString name;
    QList<Turn> turns;
    QString bonus;
    int finalTotal;
};

// Every cell of a fresh sheet is empty but those of the threes, which hold a blank.
std::array<QString, 16> columnOfANewWindow()
{
    std::array<QString, 16> cells;
    cells[3] = QStringLiteral(" ");
    return cells;
}

// What one player's column must show, built up turn by turn from the scores
// the turns list and the bonus the player's game states.
struct ExpectedColumn {
    std::array<QString, 16> cells = columnOfANewWindow();
    QString upper;
    QString bonus;
    int upperSum = 0;
    int total = 0;
    int upperFilled = 0;
    bool anyRecorded = false;

    void add(const Turn &turn, const QString &bonusOfTheGame)
    {
        cells[std::size_t(turn.code)] = QString::number(turn.score);
        total += turn.score;
        anyRecorded = true;
        if (turn.code <= 6) {
            upperSum += turn.score;
            upper = QString::number(upperSum);
            if (++upperFilled == 6) {
                bonus = bonusOfTheGame;
                total += bonus.toInt();
            }
        }
    }
};

void expectColumn(Form1 &f, int player, const ExpectedColumn &expected)
{
    const std::size_t p = std::size_t(player);
    for (int code = 1; code <= category::count; ++code) {
        const QString shown = f.categoryCells[std::size_t(code)][p]->caption();
        QVERIFY2(shown == expected.cells[std::size_t(code)],
                 qPrintable(QStringLiteral("player %1, row %2 shows '%3', expected '%4'")
                                .arg(player + 1)
                                .arg(code)
                                .arg(shown, expected.cells[std::size_t(code)])));
    }
    QCOMPARE(f.LblYläYhteensäPelaaja[p]->caption(), expected.upper);
    QCOMPARE(f.LblBonusPelaaja[p]->caption(), expected.bonus);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[p]->caption(),
             expected.anyRecorded ? QString::number(expected.total) : QString());
}

// The next turn is open: the dice wait to be thrown and nobody may record.
void expectTurnOpenFor(Form1 &f, int player)
{
    QCOMPARE(f.currentPlayer, player);
    QCOMPARE(f.LblVuorossa->caption(), f.playerNames[std::size_t(player)]);
    for (int p = 0; p <= f.lastPlayerIndex; ++p) {
        const QColor expected = p == player ? QColor(Qt::red) : f.palette().color(QPalette::ButtonText);
        QCOMPARE(f.LblNimi[std::size_t(p)]->foreColor(), expected);
    }
    QCOMPARE(f.throwCount, 0);
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    QVERIFY(!f.mayRecord);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Kaikki uudelleen"));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    for (int d = 0; d < 5; ++d) {
        QVERIFY(!f.dice[std::size_t(d)]->isEnabled());
        QCOMPARE(f.dice[std::size_t(d)]->pictureName(), QStringLiteral("t1.bmp"));
        QCOMPARE(f.dice[std::size_t(d)]->toolTip(), wontBeThrown);
        QCOMPARE(f.rethrowMarks[std::size_t(d)], 0);
    }
    QVERIFY(f.MenuPeruutus->menuAction()->isEnabled());
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
}

// Locks the dice showing `turn.dice`, either by keeping all after one throw or
// by throwing three times, and clicks the row.
void play(Form1 &f, const Turn &turn, bool byThirdThrow)
{
    if (byThirdThrow) {
        click(f.CmdKaikkiUudelleen);
        click(f.CmdKaikkiUudelleen);
        throwAll(f, turn.dice);
        QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("3"));
    } else {
        throwAll(f, turn.dice);
        click(f.CmdSäästäKaikki);
        QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("1"));
    }
    QVERIFY(f.mayRecord);
    const std::size_t code = std::size_t(turn.code);
    click(turn.clickedColumn == rowHeading ? f.categoryHeadings[code]
                                           : f.categoryCells[code][std::size_t(turn.clickedColumn)]);
}

// Plays the players' games turn by turn in player order and checks the whole
// sheet and the open turn after every recording, and the finished game.
void playWholeGame(const QList<PlayerGame> &players)
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    QStringList names;
    for (const PlayerGame &player : players)
        names << player.name;
    const int count = int(players.size());
    startGame(f, count, names);

    std::array<ExpectedColumn, 4> expected;
    int recordings = 0;
    for (int round = 0; round < category::count; ++round) {
        for (int p = 0; p < count; ++p) {
            const Turn &turn = players[p].turns[round];
            QCOMPARE(f.currentPlayer, p);
            play(f, turn, ++recordings % 2 == 0);
            if (QTest::currentTestFailed())
                return;
            expected[std::size_t(p)].add(turn, players[p].bonus);

            const bool gameEnds = round == category::count - 1 && p == count - 1;
            if (!gameEnds) {
                QCOMPARE(f.lastCategory, turn.code);
                QCOMPARE(f.lastPlayer, p);
                QCOMPARE(f.categoryUsed[std::size_t(p)][std::size_t(turn.code)], 1);
                QCOMPARE(int(f.upperSum[std::size_t(p)]), expected[std::size_t(p)].upperSum);
                QCOMPARE(int(f.grandTotal[std::size_t(p)]), expected[std::size_t(p)].total);
                expectTurnOpenFor(f, (p + 1) % count);
            }
            for (int q = 0; q < count; ++q)
                expectColumn(f, q, expected[std::size_t(q)]);
            if (QTest::currentTestFailed()) {
                qWarning("after turn %d of player %d", round + 1, p + 1);
                return;
            }
        }
    }

    // The finished sheet stays on screen; the totals behind it are cleared.
    for (int p = 0; p < count; ++p) {
        QCOMPARE(expected[std::size_t(p)].total, players[p].finalTotal);
        QCOMPARE(f.LblBonusPelaaja[std::size_t(p)]->caption(), players[p].bonus);
        QCOMPARE(f.grandTotal[std::size_t(p)], 0);
        QCOMPARE(f.upperSum[std::size_t(p)], 0);
        QVERIFY(!f.bonusDecided[std::size_t(p)]);
        for (int code = 1; code <= category::count; ++code)
            QCOMPARE(f.categoryUsed[std::size_t(p)][std::size_t(code)], 0);
    }
    QVERIFY(f.gameOver);
    QVERIFY(w.platform.questions.isEmpty());
    QCOMPARE(f.LblOtsikko->caption(), gameOverHeading);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    QCOMPARE(f.CmdSäästäKaikki->text(), QStringLiteral("&Lopetus"));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(!f.MenuPeruutus->menuAction()->isEnabled());
    QVERIFY(!undo(f));
    QCOMPARE(diePictures(f), QStringList(5, QStringLiteral("t1.bmp")));
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    QVERIFY(!f.mayRecord);

    // Nothing more can be recorded: a row click only beeps.
    const QStringList sheet = sheetCaptions(f);
    const int beeps = w.platform.beeps;
    click(f.categoryHeadings[category::chance]);
    QCOMPARE(w.platform.beeps, beeps + 1);
    QCOMPARE(sheetCaptions(f), sheet);
}

// The state a refused or ignored click must leave as it was.
struct Snapshot {
    QStringList sheet;
    std::array<std::array<std::int16_t, 16>, 4> used;
    std::array<std::int16_t, 4> upperSums;
    std::array<std::int16_t, 4> totals;
    int currentPlayer, lastCategory, lastPlayer, throwCount;
    bool mayRecord;
    QString counter;
    QStringList pictures;
    bool undoEnabled;

    explicit Snapshot(const Form1 &f)
        : sheet(sheetCaptions(f)), used(f.categoryUsed), upperSums(f.upperSum), totals(f.grandTotal),
          currentPlayer(f.currentPlayer), lastCategory(f.lastCategory), lastPlayer(f.lastPlayer),
          throwCount(f.throwCount), mayRecord(f.mayRecord), counter(f.LblHeittokerrat->caption()),
          pictures(diePictures(f)), undoEnabled(f.MenuPeruutus->menuAction()->isEnabled())
    {
    }
};

void expectUnchanged(const Form1 &f, const Snapshot &before)
{
    const Snapshot now(f);
    QCOMPARE(now.sheet, before.sheet);
    QVERIFY(now.used == before.used);
    QVERIFY(now.upperSums == before.upperSums);
    QVERIFY(now.totals == before.totals);
    QCOMPARE(now.currentPlayer, before.currentPlayer);
    QCOMPARE(now.lastCategory, before.lastCategory);
    QCOMPARE(now.lastPlayer, before.lastPlayer);
    QCOMPARE(now.throwCount, before.throwCount);
    QCOMPARE(now.mayRecord, before.mayRecord);
    QCOMPARE(now.counter, before.counter);
    QCOMPARE(now.pictures, before.pictures);
    QCOMPARE(now.undoEnabled, before.undoEnabled);
}

} // namespace

class TestRecording : public QObject {
    Q_OBJECT

private slots:
    void wholeGameOfOnePlayer();
    void wholeGameOfThreePlayers();
    void upperSumDecidesTheBonusOnce_data();
    void upperSumDecidesTheBonusOnce();
    void aClickOnAnotherPlayersCellRecordsForThePlayerToPlay_data();
    void aClickOnAnotherPlayersCellRecordsForThePlayerToPlay();
    void filledRowIsRefused_data();
    void filledRowIsRefused();
    void rowClickBeforeTheDiceAreLockedOnlyBeeps_data();
    void rowClickBeforeTheDiceAreLockedOnlyBeeps();
    void refusedUpperRowLeavesTheSheetAloneWhenALowerRowEndsTheGame();
};

void TestRecording::wholeGameOfOnePlayer()
{
    // The six upper rows reach exactly 63: the bonus is 50.
    playWholeGame({{QStringLiteral("Anna"),
                    {
                        {category::onePair, {6, 6, 6, 2, 2}, 12},
                        {1, {1, 1, 1, 4, 5}, 3},
                        {2, {2, 2, 2, 5, 6}, 6},
                        {category::fullHouse, {6, 6, 6, 5, 5}, 28},
                        {3, {3, 3, 3, 1, 1}, 9},
                        {4, {4, 4, 4, 2, 6}, 12},
                        {category::twoPairs, {5, 5, 4, 4, 4}, 18},
                        {5, {5, 5, 5, 6, 1}, 15},
                        {category::threeOfAKind, {4, 4, 4, 4, 4}, 12},
                        {6, {6, 6, 6, 3, 3}, 18},
                        {category::fourOfAKind, {6, 6, 6, 6, 1}, 24},
                        {category::smallStraight, {3, 1, 4, 5, 2}, 15},
                        {category::largeStraight, {2, 3, 4, 5, 1}, 0},
                        {category::yatzy, {3, 3, 3, 3, 2}, 0},
                        {category::chance, {6, 5, 4, 3, 1}, 19},
                    },
                    QStringLiteral("50"),
                    241}});
}

void TestRecording::wholeGameOfThreePlayers()
{
    const PlayerGame aino{QStringLiteral("Aino"),
                          {
                              {1, {1, 1, 1, 2, 3}, 3},
                              {category::chance, {6, 6, 5, 5, 4}, 26, 2},  // Tuula's cell
                              {2, {2, 2, 2, 6, 6}, 6},
                              {3, {3, 3, 3, 6, 6}, 9},
                              {category::yatzy, {5, 5, 5, 5, 5}, 50},
                              {4, {4, 4, 4, 1, 2}, 12},
                              {5, {5, 5, 5, 3, 3}, 15, 1},  // Eino's cell
                              {category::onePair, {1, 2, 3, 5, 5}, 10},
                              {6, {6, 6, 6, 2, 1}, 18},  // upper sum 63
                              {category::twoPairs, {6, 6, 3, 3, 1}, 18},
                              {category::threeOfAKind, {2, 2, 2, 5, 1}, 6},
                              {category::fourOfAKind, {1, 1, 1, 1, 6}, 4},
                              {category::smallStraight, {1, 2, 3, 4, 6}, 0},
                              {category::largeStraight, {6, 5, 4, 3, 2}, 20},
                              {category::fullHouse, {6, 6, 1, 2, 3}, 0},
                          },
                          QStringLiteral("50"),
                          247};
    const PlayerGame eino{QStringLiteral("Eino"),
                          {
                              {category::twoPairs, {2, 2, 1, 1, 6}, 6},
                              {1, {1, 1, 4, 5, 6}, 2},
                              {2, {2, 2, 2, 1, 3}, 6, 0},  // Aino's cell, already filled by her
                              {category::fullHouse, {6, 6, 6, 1, 1}, 20},
                              {3, {3, 3, 3, 2, 4}, 9},
                              {4, {4, 4, 4, 6, 5}, 12},
                              {category::onePair, {6, 6, 6, 2, 2}, 12},
                              {5, {5, 5, 5, 1, 2}, 15},
                              {6, {6, 6, 6, 4, 4}, 18},  // upper sum 62
                              {category::threeOfAKind, {3, 3, 3, 3, 3}, 9},
                              {category::fourOfAKind, {2, 2, 2, 2, 2}, 8, 2},  // Tuula's cell
                              {category::yatzy, {1, 1, 1, 1, 2}, 0},
                              {category::smallStraight, {5, 4, 3, 2, 1}, 15},
                              {category::largeStraight, {1, 2, 3, 4, 6}, 0},
                              {category::chance, {1, 1, 2, 2, 3}, 9},
                          },
                          QStringLiteral("0"),
                          141};
    // Tuula ends the game in an upper row, which also decides her bonus.
    const PlayerGame tuula{QStringLiteral("Tuula"),
                           {
                               {category::yatzy, {6, 6, 6, 6, 6}, 50},
                               {category::fullHouse, {2, 2, 2, 3, 3}, 12},
                               {1, {2, 3, 4, 5, 6}, 0},
                               {category::chance, {1, 1, 1, 1, 1}, 5},
                               {2, {2, 2, 1, 1, 1}, 4, 1},  // Eino's cell
                               {category::onePair, {1, 2, 3, 4, 6}, 0},
                               {3, {3, 1, 1, 1, 1}, 3},
                               {category::twoPairs, {4, 4, 4, 4, 2}, 0, 0},  // Aino's cell
                               {4, {4, 4, 4, 4, 4}, 20},
                               {category::threeOfAKind, {5, 5, 5, 6, 6}, 15},
                               {5, {1, 2, 3, 4, 6}, 0},
                               {category::fourOfAKind, {5, 5, 5, 5, 1}, 20},
                               {category::smallStraight, {2, 1, 4, 3, 5}, 15},
                               {category::largeStraight, {3, 4, 5, 6, 2}, 20},
                               {6, {6, 6, 1, 1, 1}, 12, 0},  // upper sum 39; Aino's cell
                           },
                           QStringLiteral("0"),
                           176};
    playWholeGame({aino, eino, tuula});
}

void TestRecording::upperSumDecidesTheBonusOnce_data()
{
    // How many dice show the row's face in ones, twos, ... sixes.
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("upperSum");
    QTest::addColumn<QString>("bonus");
    QTest::newRow("63 earns 50") << QList<int>{3, 3, 3, 3, 3, 3} << 63 << QStringLiteral("50");
    QTest::newRow("62 earns 0") << QList<int>{2, 3, 3, 3, 3, 3} << 62 << QStringLiteral("0");
    QTest::newRow("84 earns 50") << QList<int>{4, 4, 4, 4, 4, 4} << 84 << QStringLiteral("50");
    QTest::newRow("nothing earns 0") << QList<int>{0, 0, 0, 0, 0, 0} << 0 << QStringLiteral("0");
}

void TestRecording::upperSumDecidesTheBonusOnce()
{
    QFETCH(QList<int>, counts);
    QFETCH(int, upperSum);
    QFETCH(QString, bonus);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});

    for (int face = 1; face <= 6; ++face) {
        QCOMPARE(f.LblBonusPelaaja[0]->caption(), QString());
        QVERIFY(!f.bonusDecided[0]);
        // `count` dice show the face, the others a different one.
        Dice dice{};
        for (int d = 0; d < 5; ++d)
            dice[std::size_t(d)] = d < counts[face - 1] ? face : (face == 1 ? 2 : 1);
        record(f, face, dice);
    }
    const int total = upperSum + bonus.toInt();
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), bonus);
    QVERIFY(f.bonusDecided[0]);
    QCOMPARE(f.LblYläYhteensäPelaaja[0]->caption(), QString::number(upperSum));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(total));
    QCOMPARE(f.grandTotal[0], total);

    // Lower rows add to the total but never touch the bonus again.
    record(f, category::chance, {6, 6, 6, 6, 5});
    record(f, category::yatzy, {6, 6, 6, 6, 6});
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), bonus);
    QCOMPARE(f.LblYläYhteensäPelaaja[0]->caption(), QString::number(upperSum));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(total + 29 + 50));
}

void TestRecording::aClickOnAnotherPlayersCellRecordsForThePlayerToPlay_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("score");
    QTest::newRow("fours in the third player's cell") << 4 << 2 << QStringLiteral("8");
    QTest::newRow("fours in the second player's cell") << 4 << 1 << QStringLiteral("8");
    QTest::newRow("two pairs in the third player's cell") << int(category::twoPairs) << 2 << QStringLiteral("14");
}

void TestRecording::aClickOnAnotherPlayersCellRecordsForThePlayerToPlay()
{
    QFETCH(int, code);
    QFETCH(int, column);
    QFETCH(QString, score);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 3, {QStringLiteral("Aino"), QStringLiteral("Eino"), QStringLiteral("Tuula")});
    throwAll(f, {4, 4, 3, 3, 1});
    click(f.CmdSäästäKaikki);

    click(f.categoryCells[std::size_t(code)][std::size_t(column)]);
    QCOMPARE(f.categoryCells[std::size_t(code)][0]->caption(), score);
    QCOMPARE(f.categoryCells[std::size_t(code)][1]->caption(), QString());
    QCOMPARE(f.categoryCells[std::size_t(code)][2]->caption(), QString());
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), score);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[std::size_t(column)]->caption(), QString());
    QCOMPARE(f.categoryUsed[0][std::size_t(code)], 1);
    QCOMPARE(f.categoryUsed[std::size_t(column)][std::size_t(code)], 0);
    QCOMPARE(f.lastPlayer, 0);
    expectTurnOpenFor(f, 1);
}

void TestRecording::filledRowIsRefused_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("clickedColumn");
    QTest::addColumn<bool>("keepAll");
    QTest::newRow("threes again, after keeping all") << 3 << rowHeading << true;
    QTest::newRow("threes again, after the third throw") << 3 << rowHeading << false;
    QTest::newRow("threes again, by the other player's empty cell") << 3 << 1 << true;
    QTest::newRow("two pairs again, after keeping all") << int(category::twoPairs) << rowHeading << true;
    QTest::newRow("two pairs again, after the third throw") << int(category::twoPairs) << rowHeading << false;
    QTest::newRow("two pairs again, by the player's own cell") << int(category::twoPairs) << 0 << false;
}

void TestRecording::filledRowIsRefused()
{
    QFETCH(int, code);
    QFETCH(int, clickedColumn);
    QFETCH(bool, keepAll);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    record(f, code, {3, 3, 3, 5, 5});
    record(f, category::chance, {1, 2, 3, 4, 6});
    QCOMPARE(f.categoryCells[std::size_t(code)][0]->caption(), QString::number(code == 3 ? 9 : 16));

    if (keepAll) {
        throwAll(f, {3, 3, 2, 2, 6});
        click(f.CmdSäästäKaikki);
    } else {
        click(f.CmdKaikkiUudelleen);
        click(f.CmdKaikkiUudelleen);
        throwAll(f, {3, 3, 2, 2, 6});
    }
    const Snapshot before(f);
    const int beeps = w.platform.beeps;

    click(clickedColumn == rowHeading ? f.categoryHeadings[std::size_t(code)]
                                      : f.categoryCells[std::size_t(code)][std::size_t(clickedColumn)]);
    QCOMPARE(f.LblOtsikko->caption(), alreadyFilled);
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
    QCOMPARE(w.platform.beeps, beeps + 1);
    expectUnchanged(f, before);
    QCOMPARE(f.lastCategory, keepAll ? category::keepAll : category::chance);
    QCOMPARE(f.lastPlayer, 1);
    QVERIFY(f.mayRecord);
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());

    // The player picks a free row instead, and it is recorded as usual.
    click(f.categoryHeadings[category::onePair]);
    QCOMPARE(f.LblYksiPariPelaaja[0]->caption(), QStringLiteral("6"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(code == 3 ? 15 : 22));
    QCOMPARE(f.lastCategory, category::onePair);
    QCOMPARE(f.lastPlayer, 0);
    expectTurnOpenFor(f, 1);
}

void TestRecording::rowClickBeforeTheDiceAreLockedOnlyBeeps_data()
{
    QTest::addColumn<QString>("moment");
    QTest::addColumn<int>("code");
    QTest::newRow("before the first throw, two pairs") << QStringLiteral("open") << int(category::twoPairs);
    QTest::newRow("before the first throw, fours") << QStringLiteral("open") << 4;
    QTest::newRow("after one throw, two pairs") << QStringLiteral("one") << int(category::twoPairs);
    QTest::newRow("after two throws, sixes") << QStringLiteral("two") << 6;
    QTest::newRow("with a die marked, chance") << QStringLiteral("marked") << int(category::chance);
    QTest::newRow("after this turn's score, yatzy") << QStringLiteral("recorded") << int(category::yatzy);
    QTest::newRow("after this turn's score, ones") << QStringLiteral("recorded") << 1;
}

void TestRecording::rowClickBeforeTheDiceAreLockedOnlyBeeps()
{
    QFETCH(QString, moment);
    QFETCH(int, code);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    if (moment == QLatin1String("one")) {
        throwAll(f, {5, 5, 5, 5, 5});
    } else if (moment == QLatin1String("two")) {
        click(f.CmdKaikkiUudelleen);
        throwAll(f, {6, 6, 6, 6, 6});
    } else if (moment == QLatin1String("marked")) {
        throwAll(f, {2, 3, 4, 5, 6});
        clickDice(f, {0});
    } else if (moment == QLatin1String("recorded")) {
        record(f, category::chance, {1, 1, 1, 1, 1});
    }
    const Snapshot before(f);
    const QString heading = f.LblOtsikko->caption();
    const QColor headingColor = f.LblOtsikko->backColor();
    const int beeps = w.platform.beeps;

    click(f.categoryHeadings[std::size_t(code)]);
    click(f.categoryCells[std::size_t(code)][1]);
    QCOMPARE(w.platform.beeps, beeps + 2);
    expectUnchanged(f, before);
    QCOMPARE(f.LblOtsikko->caption(), heading);
    QCOMPARE(f.LblOtsikko->backColor(), headingColor);
}

void TestRecording::refusedUpperRowLeavesTheSheetAloneWhenALowerRowEndsTheGame()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1);
    for (int code = 1; code <= 14; ++code)
        record(f, code, {3, 3, 1, 2, 4});
    QCOMPARE(f.LblKolmosetPelaaja[0]->caption(), QStringLiteral("6"));

    throwAll(f, {6, 6, 6, 6, 6});
    click(f.CmdSäästäKaikki);
    click(f.categoryHeadings[3]);  // filled: refused
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
    click(f.categoryHeadings[15]);  // the last free row ends the game

    QVERIFY(f.gameOver);
    QCOMPARE(f.LblYatzyPelaaja[0]->caption(), QStringLiteral("50"));
    QCOMPARE(f.LblKolmosetPelaaja[0]->caption(), QStringLiteral("6"));
    QCOMPARE(f.LblYläYhteensäPelaaja[0]->caption(), QStringLiteral("13"));
}

QTEST_MAIN(TestRecording)
#include "test_recording.moc"
