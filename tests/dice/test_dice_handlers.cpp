// Throwing, marking and keeping the dice, driven through the real window.
#include "WindowFixture.h"

#include "dice/DiceGenerator.h"

namespace {

const QString willBeThrown = QStringLiteral("Tämä arpakuutio heitetään uudelleen.");
const QString wontBeThrown = QStringLiteral("Tätä arpakuutiota ei heitetä uudelleen.");
const QString chooseARow = QStringLiteral(" Mihin sarakkeeseen tulos laitetaan?");

// The five values a throw of all dice shows after `warmUp` discarded draws.
Dice throwAfterWarmUp(DiceGenerator &generator, int warmUp)
{
    for (int i = 0; i < warmUp; ++i)
        generator.nextDieValue();
    Dice values{};
    for (int &value : values)
        value = generator.nextDieValue();
    return values;
}


// A game of one player, started and ready for its first throw.
struct OnePlayerGame {
    ProgramFolder folder;
    Window w{folder};
    Form1 &f = *w;
    OnePlayerGame() { startGame(f, 1, {QStringLiteral("Anna")}); }
};

void expectLockedForScoring(Form1 &f)
{
    for (DieBox *die : f.dice)
        QVERIFY(!die->isEnabled());
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QVERIFY(f.mayRecord);
    QCOMPARE(f.LblOtsikko->caption(), chooseARow);
    QCOMPARE(f.LblOtsikko->backColor(), headingDarkRed);
}

void expectThrownNoneMarked(Form1 &f)
{
    for (DieBox *die : f.dice) {
        QVERIFY(die->isEnabled());
        QCOMPARE(die->toolTip(), wontBeThrown);
    }
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());
    QVERIFY(!f.mayRecord);
    QCOMPARE(f.LblOtsikko->caption(), f.headingText);
    QCOMPARE(f.LblOtsikko->backColor(), headingBlue);
}

} // namespace

class TestDiceHandlers : public QObject {
    Q_OBJECT

private slots:
    void firstThrowTurnsTheStartButtonIntoThrowAll();
    void clickingADieMarksAndUnmarksIt_data();
    void clickingADieMarksAndUnmarksIt();
    void throwAllAndKeepAllOnlyWhileNoDieIsMarked();
    void throwOfMarkedDiceRedrawsOnlyThem_data();
    void throwOfMarkedDiceRedrawsOnlyThem();
    void thirdThrowLocksTheDice_data();
    void thirdThrowLocksTheDice();
    void keepAllLocksTheDiceAsTheyLie_data();
    void keepAllLocksTheDiceAsTheyLie();
    void throwOfAllDiceDisablesTheUndo();
    void sameClicksAtTheSameSecondsThrowTheSameDice();
    void clockSecondsDecideTheWarmUp_data();
    void clockSecondsDecideTheWarmUp();
    void inputWhileTheDiceLandIsDropped_data();
    void inputWhileTheDiceLandIsDropped();
};

void TestDiceHandlers::firstThrowTurnsTheStartButtonIntoThrowAll()
{
    OnePlayerGame game;
    Form1 &f = game.f;
    FakePlatform &platform = game.w.platform;
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Aloita peli klik- kaamalla tästä !"));

    click(f.CmdKaikkiUudelleen);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Kaikki uudelleen"));
    QCOMPARE(f.CmdKaikkiUudelleen->toolTip(), QStringLiteral("Heittää kaikki arpakuutiot uudelleen."));
    QCOMPARE(f.CmdSäästäKaikki->toolTip(), QStringLiteral("Lukitsee kaikki arpakuutiot tallennusta varten."));
    expectThrownNoneMarked(f);
    QCOMPARE(f.throwCount, 1);
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("1"));
    QVERIFY(!undoEnabled(f));

    // The dice land one by one: a beep and a pause each, showing their faces.
    QCOMPARE(platform.beeps, 5);
    QCOMPARE(platform.pauses, 5);
    for (int value : f.diceValues)
        QVERIFY(value >= 1 && value <= 6);
    QCOMPARE(diePictures(f), facePictures(f.diceValues));
    for (std::int16_t mark : f.rethrowMarks)
        QCOMPARE(mark, 0);
}

void TestDiceHandlers::clickingADieMarksAndUnmarksIt_data()
{
    QTest::addColumn<int>("die");
    QTest::addColumn<int>("face");
    QTest::newRow("top die showing 4") << 0 << 4;
    QTest::newRow("middle die showing 1") << 2 << 1;
    QTest::newRow("bottom die showing 6") << 4 << 6;
}

void TestDiceHandlers::clickingADieMarksAndUnmarksIt()
{
    QFETCH(int, die);
    QFETCH(int, face);
    OnePlayerGame game;
    Form1 &f = game.f;
    throwAll(f, {2, 2, 2, 2, 2});
    f.diceValues[std::size_t(die)] = face;
    const QStringList picturesBefore = diePictures(f);
    const int beepsBefore = game.w.platform.beeps;

    click(f.dice[std::size_t(die)]);
    QCOMPARE(f.dice[std::size_t(die)]->pictureName(), QStringLiteral("v%1.bmp").arg(face));
    QCOMPARE(f.dice[std::size_t(die)]->toolTip(), willBeThrown);
    QCOMPARE(f.rethrowMarks[std::size_t(die)], 1);
    QVERIFY(f.CmdValitutUudelleen->isEnabled());
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    for (int other = 0; other < 5; ++other) {
        if (other == die)
            continue;
        QCOMPARE(f.dice[std::size_t(other)]->pictureName(), picturesBefore[other]);
        QCOMPARE(f.dice[std::size_t(other)]->toolTip(), wontBeThrown);
        QCOMPARE(f.rethrowMarks[std::size_t(other)], 0);
    }

    click(f.dice[std::size_t(die)]);
    QCOMPARE(f.dice[std::size_t(die)]->pictureName(), QStringLiteral("%1.bmp").arg(face));
    QCOMPARE(f.dice[std::size_t(die)]->toolTip(), wontBeThrown);
    QCOMPARE(f.rethrowMarks[std::size_t(die)], 0);
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(f.CmdSäästäKaikki->isEnabled());

    // Marking is silent and throws nothing.
    QCOMPARE(game.w.platform.beeps, beepsBefore);
    QCOMPARE(f.throwCount, 1);
    QCOMPARE(f.diceValues[std::size_t(die)], face);
}

void TestDiceHandlers::throwAllAndKeepAllOnlyWhileNoDieIsMarked()
{
    OnePlayerGame game;
    Form1 &f = game.f;
    throwAll(f, {1, 2, 3, 4, 5});
    auto expectButtons = [&f](bool someMarked) {
        QCOMPARE(f.CmdValitutUudelleen->isEnabled(), someMarked);
        QCOMPARE(f.CmdKaikkiUudelleen->isEnabled(), !someMarked);
        QCOMPARE(f.CmdSäästäKaikki->isEnabled(), !someMarked);
    };
    clickDice(f, {1});
    expectButtons(true);
    clickDice(f, {3});
    expectButtons(true);
    clickDice(f, {1});
    expectButtons(true);  // die 3 is still marked
    QCOMPARE(f.dice[1]->pictureName(), QStringLiteral("2.bmp"));
    QCOMPARE(f.dice[3]->pictureName(), QStringLiteral("v4.bmp"));
    clickDice(f, {3});
    expectButtons(false);
    QCOMPARE(f.dice[3]->pictureName(), QStringLiteral("4.bmp"));
}

void TestDiceHandlers::throwOfMarkedDiceRedrawsOnlyThem_data()
{
    QTest::addColumn<QList<int>>("marked");
    QTest::newRow("the top die") << QList<int>{0};
    QTest::newRow("the second and fourth") << QList<int>{1, 3};
    QTest::newRow("the bottom die") << QList<int>{4};
    QTest::newRow("all five") << QList<int>{0, 1, 2, 3, 4};
}

void TestDiceHandlers::throwOfMarkedDiceRedrawsOnlyThem()
{
    QFETCH(QList<int>, marked);
    OnePlayerGame game;
    Form1 &f = game.f;
    FakePlatform &platform = game.w.platform;
    DiceGenerator generator;

    platform.time = QStringLiteral("12:00:00");
    click(f.CmdKaikkiUudelleen);
    QCOMPARE(f.diceValues, throwAfterWarmUp(generator, 1));

    // The player sees these faces and marks some of them.
    const Dice held{6, 1, 6, 1, 6};
    f.diceValues = held;
    for (int d : marked)
        click(f.dice[std::size_t(d)]);
    const int beepsBefore = platform.beeps;
    const int pausesBefore = platform.pauses;

    // The clock plays no part in a throw of the marked dice.
    platform.time = QStringLiteral("12:00:59");
    click(f.CmdValitutUudelleen);

    Dice expected = held;
    for (int d : marked)
        expected[std::size_t(d)] = generator.nextDieValue();
    QCOMPARE(f.diceValues, expected);
    QCOMPARE(diePictures(f), facePictures(expected));
    QCOMPARE(platform.beeps - beepsBefore, 5);
    QCOMPARE(platform.pauses - pausesBefore, 5);
    for (std::int16_t mark : f.rethrowMarks)
        QCOMPARE(mark, 0);
    expectThrownNoneMarked(f);
    QCOMPARE(f.throwCount, 2);
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("2"));
}

void TestDiceHandlers::thirdThrowLocksTheDice_data()
{
    // A throw of all dice is "A"; "M" marks the middle die and throws it.
    QTest::addColumn<QString>("throws");
    QTest::newRow("all, all, all") << QStringLiteral("AAA");
    QTest::newRow("all, all, marked") << QStringLiteral("AAM");
    QTest::newRow("all, marked, all") << QStringLiteral("AMA");
    QTest::newRow("all, marked, marked") << QStringLiteral("AMM");
}

void TestDiceHandlers::thirdThrowLocksTheDice()
{
    QFETCH(QString, throws);
    OnePlayerGame game;
    Form1 &f = game.f;
    FakePlatform &platform = game.w.platform;

    for (int n = 1; n <= 3; ++n) {
        if (throws[n - 1] == u'A') {
            click(f.CmdKaikkiUudelleen);
        } else {
            clickDice(f, {2});
            click(f.CmdValitutUudelleen);
        }
        QCOMPARE(f.throwCount, n);
        QCOMPARE(f.LblHeittokerrat->caption(), QString::number(n));
        QCOMPARE(platform.beeps, 5 * n);
        if (n < 3)
            expectThrownNoneMarked(f);
    }
    expectLockedForScoring(f);
    QCOMPARE(diePictures(f), facePictures(f.diceValues));
    for (int value : f.diceValues)
        QVERIFY(value >= 1 && value <= 6);

    // Locked dice take no more marks.
    const QStringList pictures = diePictures(f);
    clickDice(f, {0, 4});
    QCOMPARE(diePictures(f), pictures);
    for (std::int16_t mark : f.rethrowMarks)
        QCOMPARE(mark, 0);
    QCOMPARE(platform.beeps, 15);
}

void TestDiceHandlers::keepAllLocksTheDiceAsTheyLie_data()
{
    QTest::addColumn<int>("throws");
    QTest::newRow("after the first throw") << 1;
    QTest::newRow("after the second throw") << 2;
}

void TestDiceHandlers::keepAllLocksTheDiceAsTheyLie()
{
    QFETCH(int, throws);
    OnePlayerGame game;
    Form1 &f = game.f;
    for (int n = 0; n < throws; ++n)
        click(f.CmdKaikkiUudelleen);
    const Dice values = f.diceValues;
    const QStringList pictures = diePictures(f);
    const int beeps = game.w.platform.beeps;
    QVERIFY(!undoEnabled(f));

    click(f.CmdSäästäKaikki);
    expectLockedForScoring(f);
    QCOMPARE(f.throwCount, throws);
    QCOMPARE(f.LblHeittokerrat->caption(), QString::number(throws));
    QCOMPARE(f.lastCategory, category::keepAll);
    QVERIFY(undoEnabled(f));
    QCOMPARE(f.savedHeadingColor, headingBlue);
    QCOMPARE(f.diceValues, values);
    QCOMPARE(diePictures(f), pictures);
    QCOMPARE(game.w.platform.beeps, beeps);
}

void TestDiceHandlers::throwOfAllDiceDisablesTheUndo()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});

    // Keeping all dice offers the undo; the next throw withdraws it.
    click(f.CmdKaikkiUudelleen);
    click(f.CmdSäästäKaikki);
    QVERIFY(undoEnabled(f));
    QVERIFY(undo(f));
    QVERIFY(!undoEnabled(f));

    // A recording offers the undo until the next player throws.
    click(f.categoryHeadings[category::chance]);
    QCOMPARE(f.currentPlayer, 1);
    QVERIFY(undoEnabled(f));
    click(f.CmdKaikkiUudelleen);
    QVERIFY(!undoEnabled(f));
    QVERIFY(!undo(f));
}

void TestDiceHandlers::sameClicksAtTheSameSecondsThrowTheSameDice()
{
    ProgramFolder folder;
    Window first(folder);
    Window second(folder);
    startGame(*first, 1);
    startGame(*second, 1);
    const QStringList seconds{QStringLiteral("08:15:42"), QStringLiteral("08:15:43"), QStringLiteral("08:16:05")};

    // Throw all, mark dice 1 and 3, throw them, throw all again; record; next turn.
    auto play = [&seconds](Window &w, QList<Dice> &seen) {
        Form1 &f = *w;
        for (int turn = 0; turn < 2; ++turn) {
            w.platform.time = seconds[0];
            click(f.CmdKaikkiUudelleen);
            seen << f.diceValues;
            clickDice(f, {1, 3});
            click(f.CmdValitutUudelleen);
            seen << f.diceValues;
            w.platform.time = seconds[turn + 1];
            click(f.CmdKaikkiUudelleen);
            seen << f.diceValues;
            click(f.categoryHeadings[std::size_t(turn == 0 ? category::chance : category::onePair)]);
        }
    };
    QList<Dice> seenFirst;
    QList<Dice> seenSecond;
    play(first, seenFirst);
    play(second, seenSecond);
    QCOMPARE(seenFirst.size(), 6);
    QCOMPARE(seenSecond, seenFirst);
    QCOMPARE(first->LblSattumaPelaaja[0]->caption(), second->LblSattumaPelaaja[0]->caption());
}

void TestDiceHandlers::clockSecondsDecideTheWarmUp_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("draws");
    // The clock reaches the warm-up as a time, never as text in the user's format.
    QTest::newRow("second 0 makes one draw") << "12:00:00" << 1;
    QTest::newRow("second 7 makes eight") << "21:41:07" << 8;
    QTest::newRow("second 59 makes sixty") << "23:59:59" << 60;
}

void TestDiceHandlers::clockSecondsDecideTheWarmUp()
{
    QFETCH(QString, time);
    QFETCH(int, draws);
    OnePlayerGame game;
    Form1 &f = game.f;
    DiceGenerator generator;

    game.w.platform.time = time;
    click(f.CmdKaikkiUudelleen);
    QCOMPARE(f.diceValues, throwAfterWarmUp(generator, draws));
    QCOMPARE(diePictures(f), facePictures(f.diceValues));

    // Every throw of all dice warms up again, from where the generator stands.
    click(f.CmdKaikkiUudelleen);
    QCOMPARE(f.diceValues, throwAfterWarmUp(generator, draws));
}

void TestDiceHandlers::inputWhileTheDiceLandIsDropped_data()
{
    QTest::addColumn<QByteArray>("input");
    for (const char *input : {"click on a die", "queued click on a die", "queued double click on throw all",
                              "Alt+K", "Alt+S", "a screen reader's press on a die"})
        QTest::newRow(input) << QByteArray(input);
}

void TestDiceHandlers::inputWhileTheDiceLandIsDropped()
{
    QFETCH(QByteArray, input);
    OnePlayerGame game;
    Form1 &f = game.f;
    // Made at once, or queued as the window system queues input while the window is busy.
    auto makeInput = [&] {
        QWidget *const target = input.endsWith("die") ? f.dice[2] : static_cast<QWidget *>(f.CmdKaikkiUudelleen);
        const QPointF at = QRectF(target->rect()).center();
        const QEvent::Type clicks[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                       QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
        for (int i = 0; input.startsWith("queued") && i < (input.contains("double") ? 4 : 2); ++i)
            QCoreApplication::postEvent(target, new QMouseEvent(clicks[i], at, target->mapToGlobal(at), Qt::LeftButton,
                                                                i % 2 ? Qt::NoButton : Qt::LeftButton, {}));
        if (input.startsWith("Alt+"))
            QTest::keyClick(&f, input.back(), Qt::AltModifier);
        else if (input.startsWith("a screen reader"))
            f.dice[2]->onClick();  // what its press action runs, with no mouse or key event
        else if (input.startsWith("click"))
            click(target);
    };
    game.w.platform.pauses = 0;
    game.w.platform.duringPause = [&] { if (game.w.platform.pauses == 1) makeInput(); };
    click(f.CmdKaikkiUudelleen);
    // Input still queued comes before a call queued now; an access key's
    // delayed click holds its button down until it comes.
    bool delivered = false;
    QMetaObject::invokeMethod(&f, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(delivered && !f.CmdKaikkiUudelleen->isDown() && !f.CmdSäästäKaikki->isDown());
    QVERIFY(game.w.platform.pauses > 0 && f.throwCount == 1 && !f.mayRecord);
    QCOMPARE(f.rethrowMarks, decltype(f.rethrowMarks){});
    QCOMPARE(diePictures(f), facePictures(f.diceValues));
    makeInput();  // once the dice have landed the same input acts
    QTRY_VERIFY(f.throwCount > 1 || f.rethrowMarks != decltype(f.rethrowMarks){} || f.mayRecord);
}

QTEST_MAIN(TestDiceHandlers)
#include "test_dice_handlers.moc"
