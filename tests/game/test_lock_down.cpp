// While a name is entered nothing but the entry acts, and after the game only
// "&Uusi peli" and "&Lopetus" do: not the dice, the throw buttons and their
// access keys, the menus or the rows, however the last row was reached.
#include "WindowFixture.h"

#include <QApplication>
#include <QGroupBox>

namespace {

bool lockedDown(const Form1 &f)
{
    bool anyDie = false;
    for (const DieBox *die : f.dice)
        anyDie = anyDie || die->isEnabled();
    return !anyDie && !f.CmdValitutUudelleen->isEnabled() && !f.MenuPeli->menuAction()->isEnabled()
        && !undoEnabled(f) && !f.mayRecord;
}

// Everything a stray action could change, as captions, pictures and states.
QStringList whatThePlayerSees(const Form1 &f, const ProgramFolder &folder)
{
    QStringList seen = sheetCaptions(f) + diePictures(f);
    for (const QPushButton *button : {f.CmdKaikkiUudelleen, f.CmdValitutUudelleen, f.CmdSäästäKaikki})
        seen << button->text() << QString::number(button->isEnabled());
    seen << f.LblOtsikko->caption() << f.LblOtsikko->backColor().name() << f.LblHeittokerrat->caption()
         << QString::number(f.lastCategory) << QString::number(lockedDown(f))
         << QString::fromLatin1(folder.read(QStringLiteral("lista99.txt")));
    return seen;
}

// What a player might try: the access keys of the throw buttons and the
// menus, the menu items, the dice and the rows (the two row clicks beep).
void tryEverything(Form1 &f, QWidget *keysTo)
{
    for (Qt::Key key : {Qt::Key_K, Qt::Key_S, Qt::Key_V, Qt::Key_E, Qt::Key_P})
        QTest::keyClick(keysTo, key, Qt::AltModifier);
    QTest::keyClick(keysTo, Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(!undo(f) && !choose(f.MenuPeli, f.MenuUusiksi) && !choose(f.MenuPeli, f.MenuLopetus));
    clickDice(f, {0, 1, 2, 3, 4});
    click(f.categoryHeadings[category::yatzy]);
    click(f.LblKolmosetPelaaja[0]);
    QTest::qWait(150);  // a button's access key clicks it a moment later
}

} // namespace

class TestLockDown : public QObject {
    Q_OBJECT

private slots:
    void onlyTheEntryThenOnlyTheEndButtonsAct_data();
    void onlyTheEntryThenOnlyTheEndButtonsAct();
};

void TestLockDown::onlyTheEntryThenOnlyTheEndButtonsAct_data()
{
    QTest::addColumn<bool>("keepAllTakenBack");
    QTest::newRow("last row recorded after three throws") << false;
    QTest::newRow("last row recorded after a keep-all taken back") << true;
}

void TestLockDown::onlyTheEntryThenOnlyTheEndButtonsAct()
{
    QFETCH(bool, keepAllTakenBack);
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    PlannedGame game(f, {251});
    game.playToLastScore();

    bool waited = false;
    whenWaiting(&f, [&] {
        waited = true;
        QVERIFY(lockedDown(f) && !f.CmdKaikkiUudelleen->isEnabled() && !f.CmdSäästäKaikki->isEnabled());
        const int beeps = w.platform.beeps;
        const QStringList before = whatThePlayerSees(f, folder);
        const QString typed = f.Txt99ListaNimi->text();
        tryEverything(f, f.Txt99ListaNimi);
        QCOMPARE(whatThePlayerSees(f, folder), before);
        QCOMPARE(f.Txt99ListaNimi->text(), typed);  // an access key types no letter into the name
        QCOMPARE(w.platform.beeps, beeps + 2);
        click(f.Cmd99ListaOK);
    });
    const Dice last = game.dice(0, category::yatzy);
    if (keepAllTakenBack) {
        throwAll(f, last);
        click(f.CmdSäästäKaikki);
        QVERIFY(undo(f));
        QVERIFY(f.dice[0]->isEnabled() && f.CmdSäästäKaikki->isEnabled());
        click(f.categoryHeadings[category::yatzy]);
    } else {
        record(f, category::yatzy, last);
    }
    QVERIFY(waited && !guard.fired());

    // The finished sheet, on the blue of play, with the two end buttons.
    QCOMPARE(f.LblOtsikko->caption(),
             QStringLiteral(" Peli loppui !    Valitse haluatko aloittaa uuden pelin vaiko lopettaa?"));
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("251"));
    QVERIFY(lockedDown(f) && f.CmdKaikkiUudelleen->isEnabled() && f.CmdSäästäKaikki->isEnabled());
    const QStringList after = whatThePlayerSees(f, folder);
    tryEverything(f, &f);
    QCOMPARE(whatThePlayerSees(f, folder), after);
    QVERIFY(!w.platform.ended);

    // The end buttons' own access key still works.
    QTest::keyClick(&f, Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(f.CmdAloitaPeli->isVisible());
}

QTEST_MAIN(TestLockDown)
#include "test_lock_down.moc"
