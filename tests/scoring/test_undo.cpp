// Taking back the latest choice from the menu "P&eruutus": a kept throw or a
// recorded score, played through the real window.
#include "WindowFixture.h"

Q_DECLARE_METATYPE(Dice)

namespace {

const QString undoneHeading = QStringLiteral(" Edellinen valinta peruttu.  Mihin sarakkeeseen tulos laitetaan?");
const QString alreadyFilled =
    QStringLiteral(" Olet jo laittanut tuloksen tähän sarakkeeseen !   Valitse jokin muu vapaa sarake.");


// The name of `player` is red, all four others in the button text colour.
void expectRedName(Form1 &f, int player)
{
    for (int p = 0; p < Form1::maxPlayers; ++p) {
        const QColor expected = p == player ? QColor(Qt::red) : f.palette().color(QPalette::ButtonText);
        QCOMPARE(f.LblNimi[std::size_t(p)]->foreColor(), expected);
    }
}

// After a score is taken back the same player must choose again for the same
// dice: the dice show their faces but no die or throw button can be used.
void expectChoosingAgain(Form1 &f, int player, const Dice &dice)
{
    QCOMPARE(f.currentPlayer, player);
    QCOMPARE(f.LblVuorossa->caption(), f.LblNimi[std::size_t(player)]->caption());
    expectRedName(f, player);
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("PERUU"));
    QCOMPARE(f.LblOtsikko->caption(), undoneHeading);
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
    QVERIFY(f.mayRecord);
    QCOMPARE(f.diceValues, dice);
    QCOMPARE(diePictures(f), facePictures(dice));
    for (DieBox *die : f.dice)
        QVERIFY(!die->isEnabled());
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!undoEnabled(f));
}

// Throws until the dice show `dice` and keeps them all, without choosing a row.
void keepAll(Form1 &f, const Dice &dice)
{
    throwAll(f, dice);
    click(f.CmdSäästäKaikki);
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void undoTakesBackARecordedScore_data();
    void undoTakesBackARecordedScore();
    void undoTakesTheBonusBackAndTheNextUpperRowDecidesIt_data();
    void undoTakesTheBonusBackAndTheNextUpperRowDecidesIt();
    void undoAfterTheLastPlayerInTheOrderHandsTheTurnBack();
    void undoInAOnePlayerGameKeepsTheColours();
    void undoOfKeepAllReopensTheThrowing_data();
    void undoOfKeepAllReopensTheThrowing();
    void keepAllThenARefusedRowStillUndoesKeepAll_data();
    void keepAllThenARefusedRowStillUndoesKeepAll();
    void noTwoUndosInARow();
    void theRecordingThatEndsTheGameCannotBeUndone();
};

void TestUndo::undoTakesBackARecordedScore_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Dice>("dice");
    QTest::addColumn<QString>("score");
    QTest::newRow("two pairs") << int(category::twoPairs) << Dice{5, 5, 4, 4, 4} << QStringLiteral("18");
    QTest::newRow("fives") << 5 << Dice{5, 5, 5, 2, 1} << QStringLiteral("15");
    QTest::newRow("a lower row scoring 0") << int(category::yatzy) << Dice{5, 5, 5, 2, 1} << QStringLiteral("0");
    QTest::newRow("an upper row scoring 0") << 6 << Dice{5, 5, 4, 4, 4} << QStringLiteral("0");
}

void TestUndo::undoTakesBackARecordedScore()
{
    QFETCH(int, code);
    QFETCH(Dice, dice);
    QFETCH(QString, score);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    record(f, 3, {3, 3, 3, 1, 2});
    record(f, category::chance, {1, 2, 3, 4, 6});

    keepAll(f, dice);
    const QStringList sheetBefore = sheetCaptions(f);
    click(f.categoryHeadings[std::size_t(code)]);
    QCOMPARE(f.categoryCells[std::size_t(code)][0]->caption(), score);
    QCOMPARE(f.currentPlayer, 1);
    const int beeps = w.platform.beeps;
    const int pauses = w.platform.pauses;

    QVERIFY(undo(f));
    QCOMPARE(sheetCaptions(f), sheetBefore);
    QCOMPARE(f.upperSum[0], 9);
    QCOMPARE(f.grandTotal[0], 9);
    QCOMPARE(f.categoryUsed[0][std::size_t(code)], 0);
    QCOMPARE(f.lastCategory, code);
    QCOMPARE(f.lastPlayer, 0);
    expectChoosingAgain(f, 0, dice);
    // The dice land again, one by one.
    QCOMPARE(w.platform.beeps - beeps, 5);
    QCOMPARE(w.platform.pauses - pauses, 5);

    // The same dice go into another row, and the game goes on.
    click(f.categoryHeadings[category::onePair]);
    QCOMPARE(f.LblYksiPariPelaaja[0]->caption(), QStringLiteral("10"));
    QCOMPARE(f.categoryCells[std::size_t(code)][0]->caption(), QString());
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("19"));
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    QCOMPARE(f.currentPlayer, 1);
    expectRedName(f, 1);
    QVERIFY(undoEnabled(f));
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
}

void TestUndo::undoTakesTheBonusBackAndTheNextUpperRowDecidesIt_data()
{
    QTest::addColumn<Dice>("sixes");
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("chance");
    QTest::addColumn<Dice>("laterSixes");
    QTest::addColumn<QString>("laterBonus");
    QTest::addColumn<int>("laterTotal");
    // Ones to fives hold three dice each: 45.
    QTest::newRow("a bonus of 50 goes, a lower sum earns 0")
        << Dice{6, 6, 6, 1, 1} << QStringLiteral("50") << 113 << 20 << Dice{6, 6, 1, 2, 3} << QStringLiteral("0")
        << 45 + 20 + 12;
    QTest::newRow("a bonus of 0 goes, a higher sum earns 50")
        << Dice{6, 6, 2, 3, 4} << QStringLiteral("0") << 57 << 21 << Dice{6, 6, 6, 6, 2} << QStringLiteral("50")
        << 45 + 21 + 24 + 50;
}

void TestUndo::undoTakesTheBonusBackAndTheNextUpperRowDecidesIt()
{
    QFETCH(Dice, sixes);
    QFETCH(QString, bonus);
    QFETCH(int, total);
    QFETCH(int, chance);
    QFETCH(Dice, laterSixes);
    QFETCH(QString, laterBonus);
    QFETCH(int, laterTotal);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    for (int face = 1; face <= 5; ++face) {
        const int other = face == 1 ? 2 : 1;
        record(f, face, {face, face, face, other, other});
    }
    record(f, 6, sixes);
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), bonus);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(total));

    QVERIFY(undo(f));
    QCOMPARE(f.LblKutosetPelaaja[0]->caption(), QString());
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), QString());
    QCOMPARE(f.LblYläYhteensäPelaaja[0]->caption(), QStringLiteral("45"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("45"));
    QCOMPARE(f.grandTotal[0], 45);
    QCOMPARE(f.upperSum[0], 45);
    QVERIFY(!f.bonusDecided[0]);
    QCOMPARE(f.categoryUsed[0][6], 0);
    expectChoosingAgain(f, 0, sixes);

    // The same dice go to chance: five upper rows filled, no bonus yet.
    click(f.categoryHeadings[category::chance]);
    QCOMPARE(f.LblSattumaPelaaja[0]->caption(), QString::number(chance));
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), QString());
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(45 + chance));

    // The next sixes decide the bonus from the new upper sum.
    record(f, 6, laterSixes);
    QCOMPARE(f.LblBonusPelaaja[0]->caption(), laterBonus);
    QVERIFY(f.bonusDecided[0]);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QString::number(laterTotal));
}

void TestUndo::undoAfterTheLastPlayerInTheOrderHandsTheTurnBack()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 3, {QStringLiteral("Aino"), QStringLiteral("Eino"), QStringLiteral("Tuula")});
    record(f, category::chance, {6, 6, 6, 6, 6});
    record(f, category::chance, {5, 5, 5, 5, 5});
    record(f, category::twoPairs, {2, 2, 3, 3, 1});
    QCOMPARE(f.currentPlayer, 0);
    expectRedName(f, 0);

    QVERIFY(undo(f));
    expectChoosingAgain(f, 2, {2, 2, 3, 3, 1});
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Tuula"));
    QCOMPARE(f.LblKaksiPariaPelaaja[2]->caption(), QString());
    QCOMPARE(f.grandTotal[2], 0);
    // Both totals are written back, also where nothing had been recorded yet.
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[2]->caption(), QStringLiteral("0"));
    QCOMPARE(f.LblYläYhteensäPelaaja[2]->caption(), QStringLiteral("0"));
    // The others' scores stay.
    QCOMPARE(f.LblSattumaPelaaja[0]->caption(), QStringLiteral("30"));
    QCOMPARE(f.LblSattumaPelaaja[1]->caption(), QStringLiteral("25"));

    click(f.categoryHeadings[category::threeOfAKind]);
    QCOMPARE(f.LblKolmeSamaaPelaaja[2]->caption(), QStringLiteral("0"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[2]->caption(), QStringLiteral("0"));
    QCOMPARE(f.currentPlayer, 0);
    expectRedName(f, 0);
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Aino"));
}

void TestUndo::undoInAOnePlayerGameKeepsTheColours()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    record(f, 2, {2, 2, 5, 5, 5});
    record(f, category::fullHouse, {2, 2, 5, 5, 5});
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("23"));

    QVERIFY(undo(f));
    expectChoosingAgain(f, 0, {2, 2, 5, 5, 5});
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Anna"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("4"));
    QCOMPARE(f.LblTäyskäsiPelaaja[0]->caption(), QString());

    click(f.LblTäyskäsiPelaaja[0]);
    QCOMPARE(f.LblTäyskäsiPelaaja[0]->caption(), QStringLiteral("19"));
    QCOMPARE(f.currentPlayer, 0);
    expectRedName(f, 0);
}

void TestUndo::undoOfKeepAllReopensTheThrowing_data()
{
    QTest::addColumn<int>("throws");
    QTest::addColumn<bool>("throwAgain");
    QTest::newRow("kept after one throw, thrown again") << 1 << true;
    QTest::newRow("kept after two throws, thrown again") << 2 << true;
    QTest::newRow("kept after one throw, recorded at once") << 1 << false;
    QTest::newRow("kept after two throws, recorded at once") << 2 << false;
}

void TestUndo::undoOfKeepAllReopensTheThrowing()
{
    QFETCH(int, throws);
    QFETCH(bool, throwAgain);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    record(f, category::chance, {1, 1, 1, 1, 1});  // Anna

    // Pekka throws and keeps all.
    for (int n = 0; n < throws; ++n)
        click(f.CmdKaikkiUudelleen);
    const Dice dice = f.diceValues;
    const QStringList pictures = diePictures(f);
    click(f.CmdSäästäKaikki);
    const QStringList sheet = sheetCaptions(f);
    const int beeps = w.platform.beeps;

    QVERIFY(undo(f));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    for (DieBox *die : f.dice)
        QVERIFY(die->isEnabled());
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
    QCOMPARE(f.throwCount, throws);
    QCOMPARE(f.LblHeittokerrat->caption(), QString::number(throws));
    QCOMPARE(f.lastCategory, category::keepAll);
    QVERIFY(f.mayRecord);
    QCOMPARE(f.currentPlayer, 1);
    expectRedName(f, 1);
    QVERIFY(!undoEnabled(f));
    QCOMPARE(f.diceValues, dice);
    QCOMPARE(diePictures(f), pictures);
    QCOMPARE(sheetCaptions(f), sheet);
    QCOMPARE(w.platform.beeps, beeps);

    if (throwAgain) {
        click(f.CmdKaikkiUudelleen);
        QCOMPARE(f.throwCount, throws + 1);
        QCOMPARE(f.LblHeittokerrat->caption(), QString::number(throws + 1));
        QCOMPARE(w.platform.beeps, beeps + 5);
        // Only the third throw locks the dice.
        QCOMPARE(f.CmdSäästäKaikki->isEnabled(), throws + 1 < 3);
        QCOMPARE(f.dice[0]->isEnabled(), throws + 1 < 3);
    } else {
        f.diceValues = {4, 4, 4, 4, 2};
        click(f.categoryHeadings[category::fourOfAKind]);
        QCOMPARE(f.LblNeljäSamaaPelaaja[1]->caption(), QStringLiteral("16"));
        QCOMPARE(f.currentPlayer, 0);
        QVERIFY(undoEnabled(f));
    }
}

void TestUndo::keepAllThenARefusedRowStillUndoesKeepAll_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("score");
    QTest::newRow("threes refused") << 3 << QStringLiteral("9");
    QTest::newRow("two pairs refused") << int(category::twoPairs) << QStringLiteral("16");
}

void TestUndo::keepAllThenARefusedRowStillUndoesKeepAll()
{
    QFETCH(int, code);
    QFETCH(QString, score);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    record(f, code, {3, 3, 3, 5, 5});

    keepAll(f, {2, 2, 6, 6, 1});
    click(f.categoryHeadings[std::size_t(code)]);
    QCOMPARE(f.LblOtsikko->caption(), alreadyFilled);
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
    QCOMPARE(f.lastCategory, category::keepAll);
    const int beeps = w.platform.beeps;

    QVERIFY(undo(f));
    // Keep-all is what goes back: the throwing reopens, the refused row keeps its score.
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());
    for (DieBox *die : f.dice)
        QVERIFY(die->isEnabled());
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("1"));
    QCOMPARE(f.throwCount, 1);
    QCOMPARE(f.categoryCells[std::size_t(code)][0]->caption(), score);
    QCOMPARE(f.categoryUsed[0][std::size_t(code)], 1);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), score);
    QCOMPARE(f.grandTotal[0], score.toInt());
    QCOMPARE(w.platform.beeps, beeps);
    QVERIFY(!undoEnabled(f));
}

void TestUndo::noTwoUndosInARow()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    QVERIFY(!undo(f));  // nothing chosen yet

    record(f, category::chance, {6, 5, 4, 3, 3});
    QVERIFY(undo(f));
    const QStringList sheet = sheetCaptions(f);
    const int beeps = w.platform.beeps;
    QVERIFY(!undo(f));
    QCOMPARE(sheetCaptions(f), sheet);
    QCOMPARE(w.platform.beeps, beeps);

    // A new recording makes the undo possible again, once.
    click(f.categoryHeadings[category::chance]);
    QCOMPARE(f.currentPlayer, 1);
    QVERIFY(undo(f));
    QCOMPARE(f.currentPlayer, 0);
    QVERIFY(!undo(f));
    click(f.categoryHeadings[category::onePair]);

    // So does keeping all dice.
    keepAll(f, {1, 1, 2, 2, 3});
    QVERIFY(undo(f));
    QVERIFY(!undo(f));
    QCOMPARE(f.throwCount, 1);
    QCOMPARE(f.LblYksiPariPelaaja[0]->caption(), QStringLiteral("6"));
}

void TestUndo::theRecordingThatEndsTheGameCannotBeUndone()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    for (int code = 1; code < category::count; ++code)
        record(f, code, {6, 6, 6, 6, 6});
    QVERIFY(undoEnabled(f));

    record(f, category::yatzy, {6, 6, 6, 6, 6});
    QVERIFY(f.gameOver);
    QVERIFY(!undoEnabled(f));
    const QStringList sheet = sheetCaptions(f);
    QVERIFY(!undo(f));
    QCOMPARE(sheetCaptions(f), sheet);
    QCOMPARE(f.LblYatzyPelaaja[0]->caption(), QStringLiteral("50"));
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
}

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
