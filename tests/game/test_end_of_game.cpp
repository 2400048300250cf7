// The end of a game with its best-99 entries, a new game, and quitting, played
// through the window with dice chosen by the test.
#include "WindowFixture.h"

#include "files/Windows1252.h"

#include <QGroupBox>
#include <QScrollBar>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QString endMessage =
    QStringLiteral(" Peli loppui !    Valitse haluatko aloittaa uuden pelin vaiko lopettaa?");
const QString quitQuestion = QStringLiteral("Haluatko lopettaa pelaamisen?");
const QStringList players = {QStringLiteral("Anna"), QStringLiteral("Pekka"), QStringLiteral("Aino"),
                             QStringLiteral("Eino")};

// What the entry panel showed while the window waited for a name.
struct Offer {
    QString playerLine;   // Lbl99Listalle2
    QString placeLine;    // Lbl99Listalle4
    QString name;         // the name box as pre-filled
    int listPlace;
    int lastPlayer;
    QString markedPlace;  // the caption of the place label marked in the view
};

QString markedPlaceCaption(const Form1 &f)
{
    for (const EventLabel *place : f.Lbl99Sijoitus) {
        if (place->backColor() == QColor(128, 255, 128))
            return place->caption();
    }
    return QString();
}

Offer offerShown(const Form1 &f)
{
    return {f.Lbl99Listalle2->caption(), f.Lbl99Listalle4->caption(), f.Txt99ListaNimi->text(),
            f.listPlace,                 f.lastPlayer,                markedPlaceCaption(f)};
}

bool entryPanelShown(const Form1 &f)
{
    return f.Frame99ListaPohja->isVisible() && f.Txt99ListaNimi->isVisible() && f.Cmd99ListaOK->isVisible()
        && f.Lbl99Listalle1->isVisible() && f.Lbl99Listalle2->isVisible() && f.Lbl99Listalle3->isVisible()
        && f.Lbl99Listalle4->isVisible();
}

bool entryPanelHidden(const Form1 &f)
{
    return f.Frame99ListaPohja->isHidden() && f.Txt99ListaNimi->isHidden() && f.Cmd99ListaOK->isHidden()
        && f.Lbl99Listalle1->isHidden() && f.Lbl99Listalle2->isHidden() && f.Lbl99Listalle3->isHidden()
        && f.Lbl99Listalle4->isHidden();
}

bool startScreenShown(const Form1 &f)
{
    return f.LblAloitusruutu->isVisible() && f.FrameAloitusruutu->isVisible() && f.FrameAloitaLopeta->isVisible()
        && f.CmdAloitaPeli->isVisible() && f.CmdLopetaPeli->isVisible() && f.LblAlkuTervehdys->isVisible();
}

// The record at `place` (1-based) in the list file.
QString recordAt(const QByteArray &file, int place)
{
    return windows1252::decode(file.split('\n').value(place).chopped(1));
}

QString entry(const QString &name, int total)
{
    return QStringLiteral("%1,07.12.26,%2").arg(name).arg(total);
}

// Every category, the upper sum, the bonus and the total of one player.
QStringList column(const Form1 &f, int player)
{
    return sheetCaptions(f).mid(player * 18, 18);
}

} // namespace

class TestEndOfGame : public QObject {
    Q_OBJECT

private slots:
    void onePlayerEntersTheListAndTheGameEnds();
    void playersAreOfferedPlacesInOrder_data();
    void playersAreOfferedPlacesInOrder();
    void noPlaceWhenTheListBeatsEveryTotal();
    void rowClickDuringTheWaitIsRefused();
    void onlyTheEntryThenOnlyTheEndButtonsAct_data();
    void onlyTheEntryThenOnlyTheEndButtonsAct();
    void closingDuringTheWaitAnsweredNoKeepsTheEntry();
    void closingDuringTheWaitAnsweredYesEndsWithoutStoring();

    void newGameFromTheMenu();
    void newGameFromTheEndOfGameButton();

    void quittingWithoutAQuestion();
    void quittingFromTheMenuAsks();
    void closingTheWindowAsks();
};

void TestEndOfGame::onePlayerEntersTheListAndTheGameEnds()
{
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    PlannedGame game(f, {251});
    game.playToLastScore();

    QList<Offer> offers;
    int beepsWhileWaiting = -1;
    whenWaiting(&f, [&] {
        QVERIFY(entryPanelShown(f));
        QCOMPARE(f.Frame99ListaPohja->title(), QStringLiteral("Pääsit 99-listalle !"));
        QCOMPARE(f.Lbl99Listalle1->caption(), QStringLiteral("Onneksi olkoon pe-"));
        QCOMPARE(f.Lbl99Listalle3->caption(), QStringLiteral("Pääsit 99-listan"));
        QVERIFY(f.Cmd99ListaOK->isEnabled());
        QVERIFY(!f.gameOver);
        QVERIFY(!f.MenuPeli->menuAction()->isEnabled());
        QVERIFY(!f.MenuPeruutus->menuAction()->isEnabled());
        QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
        QVERIFY(!f.CmdSäästäKaikki->isEnabled());
        offers << offerShown(f);
        beepsWhileWaiting = w.platform.beeps;
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();

    QVERIFY(!guard.fired());
    QCOMPARE(offers.size(), 1);
    QCOMPARE(offers[0].playerLine, QStringLiteral("laaja numero: 1"));
    QCOMPARE(offers[0].placeLine, QStringLiteral("sijalle numero: 26"));
    QCOMPARE(offers[0].name, QStringLiteral(" Anna"));
    QCOMPARE(offers[0].listPlace, 26);
    QCOMPARE(offers[0].lastPlayer, 0);
    QCOMPARE(offers[0].markedPlace, QStringLiteral(" 26."));

    const QByteArray file = folder.read(listFile);
    QCOMPARE(recordAt(file, 26), entry(QStringLiteral("Anna"), 251));
    QCOMPARE(recordAt(file, 27), QStringLiteral("Nimi26,01.01.26,250"));
    QCOMPARE(file.count("\r\n"), 100);

    QVERIFY(entryPanelHidden(f));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    QCOMPARE(f.CmdSäästäKaikki->text(), QStringLiteral("&Lopetus"));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QCOMPARE(f.CmdKaikkiUudelleen->toolTip(), QStringLiteral("Aloittaa uuden pelin."));
    QCOMPARE(f.CmdSäästäKaikki->toolTip(), QStringLiteral("Lopettaa pelin."));
    QCOMPARE(w.platform.beeps, beepsWhileWaiting + 1);
    QVERIFY(!f.MenuPeli->menuAction()->isEnabled());
    QVERIFY(!f.MenuPeruutus->menuAction()->isEnabled());
    QVERIFY(w.platform.messages.isEmpty());
    QVERIFY(w.platform.questions.isEmpty());

    // The finished sheet stays on screen; the game's fields are cleared.
    QVERIFY(f.gameOver);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("251"));
    for (const QString &caption : column(f, 0))
        QVERIFY(!caption.isEmpty());
    QCOMPARE(f.grandTotal[0], std::int16_t(0));
    QCOMPARE(f.upperSum[0], std::int16_t(0));
    QVERIFY(!f.bonusDecided[0]);
    for (int code = 1; code <= category::count; ++code)
        QCOMPARE(f.categoryUsed[0][std::size_t(code)], std::int16_t(0));

    // The turn change after the end: the dice rest, player 1 is next.
    QVERIFY(!f.mayRecord);
    QCOMPARE(f.currentPlayer, 0);
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Anna"));
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    for (const DieBox *die : f.dice) {
        QCOMPARE(die->pictureName(), QStringLiteral("t1.bmp"));
        QVERIFY(!die->isEnabled());
    }
}

void TestEndOfGame::playersAreOfferedPlacesInOrder_data()
{
    QTest::addColumn<QList<int>>("totals");
    QTest::addColumn<QList<int>>("offeredPlayers");  // 1-based, in the order offered
    QTest::addColumn<QList<int>>("offeredPlaces");
    QTest::addColumn<QList<int>>("finalPlaces");     // of the same players in the file at the end

    // The usual list: place i + 1 scores 300 - 2i, 104 at place 99.
    QTest::newRow("above place 26") << QList<int>{251} << QList<int>{1} << QList<int>{26} << QList<int>{26};
    QTest::newRow("equal to place 26 goes below it") << QList<int>{250} << QList<int>{1} << QList<int>{27}
                                                     << QList<int>{27};
    QTest::newRow("the best result of all") << QList<int>{301} << QList<int>{1} << QList<int>{1} << QList<int>{1};
    QTest::newRow("above place 99 only") << QList<int>{105} << QList<int>{1} << QList<int>{99} << QList<int>{99};
    QTest::newRow("equal to place 99 gets nothing") << QList<int>{104} << QList<int>{} << QList<int>{}
                                                    << QList<int>{};
    QTest::newRow("two equal totals, the earlier player higher")
        << QList<int>{251, 251} << QList<int>{1, 2} << QList<int>{26, 27} << QList<int>{26, 27};
    QTest::newRow("each compared with the list as the earlier left it")
        << QList<int>{200, 220, 240, 260} << QList<int>{1, 2, 3, 4} << QList<int>{52, 42, 32, 22}
        << QList<int>{55, 44, 33, 22};
    QTest::newRow("a player below the list is passed over")
        << QList<int>{260, 50, 255} << QList<int>{1, 3} << QList<int>{22, 25} << QList<int>{22, 25};
}

void TestEndOfGame::playersAreOfferedPlacesInOrder()
{
    QFETCH(QList<int>, totals);
    QFETCH(QList<int>, offeredPlayers);
    QFETCH(QList<int>, offeredPlaces);
    QFETCH(QList<int>, finalPlaces);

    ProgramFolder folder;
    const QByteArray listBefore = folder.read(listFile);
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, int(totals.size()), players.mid(0, totals.size()));
    PlannedGame game(f, totals);
    game.playToLastScore();

    // Each player keeps the pre-filled name and presses OK.
    QList<Offer> offers;
    std::function<void()> answer = [&] {
        offers << offerShown(f);
        QVERIFY(entryPanelShown(f));
        click(f.Cmd99ListaOK);
        if (offers.size() < offeredPlayers.size())
            whenWaiting(&f, answer);
    };
    if (!offeredPlayers.isEmpty())
        whenWaiting(&f, answer);
    game.playLastScore();

    QVERIFY(!guard.fired());
    QCOMPARE(offers.size(), offeredPlayers.size());
    const QByteArray file = folder.read(listFile);
    for (int k = 0; k < offers.size(); ++k) {
        const int player = offeredPlayers[k];
        const QString name = players[player - 1];
        QCOMPARE(offers[k].playerLine, QStringLiteral("laaja numero: %1").arg(player));
        QCOMPARE(offers[k].placeLine, QStringLiteral("sijalle numero: %1").arg(offeredPlaces[k]));
        QCOMPARE(offers[k].name, QLatin1Char(' ') + name);
        QCOMPARE(offers[k].lastPlayer, player - 1);
        QCOMPARE(offers[k].listPlace, offeredPlaces[k]);
        QCOMPARE(offers[k].markedPlace, QStringLiteral(" %1.").arg(offeredPlaces[k]));
        QCOMPARE(recordAt(file, finalPlaces[k]), entry(name, totals[player - 1]));
    }
    if (offers.isEmpty())
        QCOMPARE(file, listBefore);
    QCOMPARE(file.count("\r\n"), 100);
    QVERIFY(!file.contains("Nimi99,") || offers.isEmpty());
    QVERIFY(entryPanelHidden(f));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
    QVERIFY(w.platform.messages.isEmpty());
}

void TestEndOfGame::noPlaceWhenTheListBeatsEveryTotal()
{
    ProgramFolder folder;
    folder.write(listFile, listFileBytes(makeList([](int) { return 300; })));
    const QByteArray listBefore = folder.read(listFile);
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    PlannedGame game(f, {300, 120});
    game.playToLastScore();
    const int beeps = w.platform.beeps;
    game.playLastScore();

    QVERIFY(!guard.fired());
    QCOMPARE(w.platform.beeps, beeps + 5 + 1);  // five dice land, then the end
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    QVERIFY(f.gameOver);
    QVERIFY(entryPanelHidden(f));
    QCOMPARE(folder.read(listFile), listBefore);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("300"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("120"));
    QCOMPARE(f.grandTotal, (std::array<std::int16_t, 4>{}));
}

void TestEndOfGame::rowClickDuringTheWaitIsRefused()
{
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    PlannedGame game(f, {251, 100});
    game.playToLastScore();

    bool waited = false;
    whenWaiting(&f, [&] {
        waited = true;
        const QStringList sheet = sheetCaptions(f);
        const auto totals = f.grandTotal;
        const auto used = f.categoryUsed;
        // Player 1 enters while player 2, the last to score, is still to play.
        QCOMPARE(f.lastPlayer, 0);
        QCOMPARE(f.listPlace, 26);

        EventLabel *const rowsClicked[] = {f.categoryHeadings[3], f.categoryHeadings[14], f.LblSattumaPelaaja[0],
                                           f.LblYatzyPelaaja[1]};
        for (EventLabel *row : rowsClicked) {
            // Nothing can be recorded any more: the click only beeps.
            const int beeps = w.platform.beeps;
            click(row);
            QCOMPARE(f.LblOtsikko->caption(), f.headingText);
            QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
            QCOMPARE(w.platform.beeps, beeps + 1);
            QCOMPARE(sheetCaptions(f), sheet);
            QCOMPARE(f.grandTotal, totals);
            QCOMPARE(f.categoryUsed, used);
            QCOMPARE(f.lastPlayer, 0);
            QCOMPARE(f.listPlace, 26);
            QVERIFY(!f.listEntryDone);
            QVERIFY(entryPanelShown(f));
            QCOMPARE(f.Txt99ListaNimi->text(), QStringLiteral(" Anna"));
        }
        // The menus stay shut; the list's scroll bar still turns the view.
        QVERIFY(!choose(f.MenuPeli, f.MenuUusiksi));
        QVERIFY(!choose(f.MenuPeli, f.MenuLopetus));
        f.Scroll99Lista->setValue(87);
        QCOMPARE(f.Lbl99Sijoitus[0]->caption(), QStringLiteral(" 87."));
        QVERIFY(w.platform.questions.isEmpty());
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();

    QVERIFY(!guard.fired());
    QVERIFY(waited);
    const QByteArray file = folder.read(listFile);
    QCOMPARE(recordAt(file, 26), entry(QStringLiteral("Anna"), 251));
    QVERIFY(!file.contains(",100\r\n"));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("251"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("100"));
    QCOMPARE(f.LblYatzyPelaaja[1]->caption(),
             QString::number(scoreCategory(category::yatzy, game.dice(1, category::yatzy))));
}

void TestEndOfGame::onlyTheEntryThenOnlyTheEndButtonsAct_data()
{
    QTest::addColumn<bool>("keepAllTakenBack");
    QTest::newRow("last row recorded after keeping all") << false;
    QTest::newRow("last row recorded after a keep-all taken back") << true;
}

void TestEndOfGame::onlyTheEntryThenOnlyTheEndButtonsAct()
{
    QFETCH(bool, keepAllTakenBack);
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    auto seen = [&] {
        return sheetCaptions(f) + diePictures(f) + QStringList{f.LblOtsikko->caption(), f.LblHeittokerrat->caption(),
               f.CmdKaikkiUudelleen->text(), f.CmdSäästäKaikki->text(), QString::fromLatin1(folder.read(listFile))};
    };
    // Access keys of the throw buttons and menus, menu items, dice and two rows (which beep) change nothing.
    auto tryEverything = [&](QWidget *keysTo) {
        const QStringList before = seen();
        for (Qt::Key key : {Qt::Key_K, Qt::Key_S, Qt::Key_V, Qt::Key_E, Qt::Key_P, Qt::Key_Escape})
            QTest::keyClick(keysTo, key, key == Qt::Key_Escape ? Qt::NoModifier : Qt::AltModifier);
        QVERIFY(!undo(f) && !choose(f.MenuPeli, f.MenuUusiksi) && !choose(f.MenuPeli, f.MenuLopetus));
        clickDice(f, {0, 1, 2, 3, 4});
        click(f.categoryHeadings[category::yatzy]);
        click(f.LblKolmosetPelaaja[0]);
        // A button's access key holds it down and clicks it a moment later.
        const QList<QAbstractButton *> buttons = f.findChildren<QAbstractButton *>();
        QTRY_VERIFY(std::none_of(buttons.begin(), buttons.end(), [](QAbstractButton *b) { return b->isDown(); }));
        QCOMPARE(seen(), before);
    };
    startGame(f, 1, players.mid(0, 1));
    PlannedGame game(f, {251});
    game.playToLastScore();
    whenWaiting(&f, [&] {
        const int beeps = w.platform.beeps;
        tryEverything(f.Txt99ListaNimi);
        QCOMPARE(f.Txt99ListaNimi->text(), QStringLiteral(" Anna"));  // an access key typed no letter
        QCOMPARE(w.platform.beeps, beeps + 2);
        click(f.Cmd99ListaOK);
    });
    throwAll(f, game.dice(0, category::yatzy));
    click(f.CmdSäästäKaikki);
    QVERIFY(!keepAllTakenBack || (undo(f) && f.dice[0]->isEnabled()));
    click(f.categoryHeadings[category::yatzy]);
    QVERIFY(folder.read(listFile).contains(",251\r\n") && !guard.fired());  // the entry was waited for
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled() && f.CmdSäästäKaikki->isEnabled());
    tryEverything(&f);
    QTest::keyClick(&f, Qt::Key_U, Qt::AltModifier);  // the end buttons' own access key still works
    QTRY_VERIFY(f.CmdAloitaPeli->isVisible());
}

void TestEndOfGame::closingDuringTheWaitAnsweredNoKeepsTheEntry()
{
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    PlannedGame game(f, {251});
    game.playToLastScore();

    whenWaiting(&f, [&] {
        w.platform.answers << false;
        QVERIFY(!f.close());
        QCOMPARE(w.platform.questions, QStringList{quitQuestion});
        QVERIFY(f.isVisible());
        QVERIFY(!w.platform.ended);
        QVERIFY(entryPanelShown(f));
        QVERIFY(!f.listEntryDone);
        f.Txt99ListaNimi->setText(QStringLiteral("Annukka"));
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();

    QVERIFY(!guard.fired());
    QVERIFY(!w.platform.ended);
    QCOMPARE(recordAt(folder.read(listFile), 26), entry(QStringLiteral("Annukka"), 251));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
}

void TestEndOfGame::closingDuringTheWaitAnsweredYesEndsWithoutStoring()
{
    ProgramFolder folder;
    const QByteArray listBefore = folder.read(listFile);
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    PlannedGame game(f, {251, 251});
    game.playToLastScore();

    whenWaiting(&f, [&] {
        f.Txt99ListaNimi->setText(QStringLiteral("Annukka"));
        w.platform.answers << true;
        f.close();
    });
    game.playLastScore();

    QVERIFY(!guard.fired());
    QVERIFY(w.platform.ended);
    QVERIFY(f.programEnded());
    QVERIFY(!f.isVisible());
    QCOMPARE(w.platform.questions, QStringList{quitQuestion});
    QCOMPARE(folder.read(listFile), listBefore);
    // Nothing more ran: player 2 was never offered a place, the game never ended.
    QCOMPARE(f.Lbl99Listalle2->caption(), QStringLiteral("laaja numero: 1"));
    QVERIFY(f.LblOtsikko->caption() != endMessage);
    QVERIFY(!f.gameOver);
}

void TestEndOfGame::newGameFromTheMenu()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    record(f, 1, {1, 1, 2, 3, 4});
    record(f, 14, {6, 6, 6, 5, 5});
    throwAll(f, {2, 2, 2, 2, 2});
    click(f.CmdSäästäKaikki);  // dice locked: a score may be recorded, the keep-all undone
    QVERIFY(f.mayRecord);

    // No: the game goes on as it was.
    const QStringList sheet = sheetCaptions(f);
    const QString heading = f.LblOtsikko->caption();
    w.platform.answers << false;
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    QCOMPARE(w.platform.questions, QStringList{QStringLiteral("Haluatko aloittaa uuden pelin?")});
    QCOMPARE(sheetCaptions(f), sheet);
    QCOMPARE(f.LblOtsikko->caption(), heading);
    QCOMPARE(f.grandTotal[1], std::int16_t(28));
    QVERIFY(f.mayRecord);
    QVERIFY(f.MenuPeruutus->menuAction()->isEnabled());
    QVERIFY(!f.CmdAloitaPeli->isVisible());

    // Yes: back to the start screen with the same players.
    w.platform.answers << true;
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    QVERIFY(startScreenShown(f));
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);  // not the dark red of a row to choose
    QVERIFY(f.playerCountOptions[1]->isChecked());
    QCOMPARE(f.lastPlayerIndex, 1);
    QCOMPARE(f.ComboNimi[0]->currentText(), QStringLiteral("Anna"));
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pekka"));
    for (int p = 0; p < 2; ++p) {
        const std::size_t i = std::size_t(p);
        QCOMPARE(column(f, p), QStringList(18, QString()));
        QCOMPARE(f.LblNimi[i]->caption(), QStringLiteral(" Nimi"));
        QVERIFY(!f.LblNimi[i]->isEnabled());
        QCOMPARE(f.grandTotal[i], std::int16_t(0));
        QCOMPARE(f.upperSum[i], std::int16_t(0));
        QVERIFY(!f.bonusDecided[i]);
        QCOMPARE(f.categoryUsed[i], (std::array<std::int16_t, 16>{}));
    }
    QVERIFY(!f.gameOver);
    QVERIFY(!f.mayRecord);
    QVERIFY(!f.MenuPeli->menuAction()->isEnabled());
    QVERIFY(!f.MenuPeruutus->menuAction()->isEnabled());
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Kaikki uudelleen"));
    QCOMPARE(f.CmdSäästäKaikki->text(), QStringLiteral("&Säästä kaikki"));
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    QCOMPARE(f.LblVuorossa->caption(), QString());
    for (const DieBox *die : f.dice) {
        QCOMPARE(die->pictureName(), QStringLiteral("t1.bmp"));
        QVERIFY(!die->isEnabled());
    }
    QVERIFY(!w.platform.ended);

    // A fresh game with the same players plays to its end.
    click(f.CmdAloitaPeli);
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Anna"));
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" Pekka"));
    PlannedGame next(f, {180, 95});
    next.play();
    QVERIFY(!guard.fired());
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("180"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("95"));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
}

void TestEndOfGame::newGameFromTheEndOfGameButton()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    PlannedGame(f, {150, 160}).play();
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));

    click(f.CmdKaikkiUudelleen);
    QVERIFY(w.platform.questions.isEmpty());
    QVERIFY(startScreenShown(f));
    QVERIFY(f.playerCountOptions[1]->isChecked());
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pekka"));
    QCOMPARE(column(f, 0), QStringList(18, QString()));
    QCOMPARE(column(f, 1), QStringList(18, QString()));
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Nimi"));
    QVERIFY(!f.gameOver);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Kaikki uudelleen"));
    QCOMPARE(f.CmdSäästäKaikki->text(), QStringLiteral("&Säästä kaikki"));
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QVERIFY(!f.MenuPeli->menuAction()->isEnabled());

    // The next game has one player more; that player starts from nothing too.
    startGame(f, 3, players.mid(0, 3));
    QVERIFY(f.MenuPeli->menuAction()->isEnabled());
    PlannedGame(f, {100, 374, 5}).play();
    QVERIFY(!guard.fired());
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("100"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("374"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[2]->caption(), QStringLiteral("5"));
    QCOMPARE(f.LblOtsikko->caption(), endMessage);
}

void TestEndOfGame::quittingWithoutAQuestion()
{
    {
        ProgramFolder folder;
        Window w(folder);
        click(w->CmdLopetaPeli);  // "&Lopeta peli" on the start screen
        QVERIFY(w.platform.ended);
        QVERIFY(w->programEnded());
        QVERIFY(!w->isVisible());
        QVERIFY(w.platform.questions.isEmpty());
    }
    ProgramFolder folder;
    writeUnbeatableList(folder);
    const QByteArray listBefore = folder.read(listFile);
    Window w(folder);
    WaitGuard guard(w);
    startGame(*w, 1, {QStringLiteral("Anna")});
    PlannedGame(*w, {200}).play();
    QCOMPARE(w->CmdSäästäKaikki->text(), QStringLiteral("&Lopetus"));
    click(w->CmdSäästäKaikki);
    QVERIFY(!guard.fired());
    QVERIFY(w.platform.ended);
    QVERIFY(w->programEnded());
    QVERIFY(!w->isVisible());
    QVERIFY(w.platform.questions.isEmpty());
    QCOMPARE(folder.read(listFile), listBefore);
}

void TestEndOfGame::quittingFromTheMenuAsks()
{
    ProgramFolder folder;
    const QByteArray listBefore = folder.read(listFile);
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, players.mid(0, 2));
    record(f, 6, {6, 6, 6, 1, 2});
    const QStringList sheet = sheetCaptions(f);

    w.platform.answers << false;
    QVERIFY(choose(f.MenuPeli, f.MenuLopetus));
    QCOMPARE(w.platform.questions, QStringList{quitQuestion});
    QVERIFY(!w.platform.ended);
    QVERIFY(f.isVisible());
    QCOMPARE(sheetCaptions(f), sheet);
    QCOMPARE(f.currentPlayer, 1);

    w.platform.answers << true;
    QVERIFY(choose(f.MenuPeli, f.MenuLopetus));
    QCOMPARE(w.platform.questions.size(), 2);
    QVERIFY(w.platform.ended);
    QVERIFY(f.programEnded());
    QVERIFY(!f.isVisible());
    QCOMPARE(folder.read(listFile), listBefore);
}

void TestEndOfGame::closingTheWindowAsks()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;

    w.platform.answers << false;
    QVERIFY(!f.close());
    QCOMPARE(w.platform.questions, QStringList{quitQuestion});
    QVERIFY(f.isVisible());
    QVERIFY(startScreenShown(f));

    startGame(f, 1, {QStringLiteral("Anna")});
    record(f, 14, {6, 6, 6, 5, 5});
    w.platform.answers << false;
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());
    QCOMPARE(f.LblSattumaPelaaja[0]->caption(), QStringLiteral("28"));
    QVERIFY(f.MenuPeli->menuAction()->isEnabled());

    w.platform.answers << true;
    f.close();
    QCOMPARE(w.platform.questions, (QStringList{quitQuestion, quitQuestion, quitQuestion}));
    QVERIFY(w.platform.ended);
    QVERIFY(!f.isVisible());
}

QTEST_MAIN(TestEndOfGame)
#include "test_end_of_game.moc"
