// A whole game from the keyboard alone: every key goes to whatever has the focus.
#include "WindowFixture.h"

#include <QApplication>
#include <QGroupBox>

namespace {

QString describe(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    const auto *label = qobject_cast<const QLabel *>(widget);
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(widget->metaObject()->className()),
                                           button ? button->text() : label ? label->text() : QString());
}

#define QCOMPARE_FOCUS(expected) QCOMPARE(describe(QApplication::focusWidget()), describe(expected))

// A key as the player presses it: to the focused control.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus, "nothing has the keyboard focus");
    QTest::keyClick(focus, key, modifiers);
}

// Tab (or Shift+Tab) until `target` has the focus; false after a whole round.
bool tabTo(QWidget *target, bool back = false)
{
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

void typeName(const QString &name)
{
    QWidget *box = QApplication::focusWidget();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, name);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void aTwoPlayerGameIsPlayedWithKeysAlone();
    void theFocusMarkShowsForKeysOnly();
};

void TestKeyboard::theFocusMarkShowsForKeysOnly()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    startGame(f, 1);
    throwAll(f, {1, 2, 3, 4, 5});
    const QRect place = f.dice[4]->geometry();
    clickDice(f, {4, 4});  // the mouse gives the die the focus, without a mark
    QCOMPARE_FOCUS(f.dice[4]);
    const QImage mouseFocus = f.dice[4]->grab().toImage();
    clickDice(f, {3, 3});
    const QImage plain = f.dice[4]->grab().toImage();
    QCOMPARE(mouseFocus, plain);

    press(Qt::Key_Down);  // the keys show the mark, in place
    QCOMPARE_FOCUS(f.dice[4]);
    QVERIFY(f.dice[4]->grab().toImage() != plain);
    QCOMPARE(f.dice[4]->geometry(), place);

    click(f.LblOtsikko);  // any use of the mouse hides it again
    QCOMPARE_FOCUS(f.dice[4]);
    QCOMPARE(f.dice[4]->grab().toImage(), plain);
}

void TestKeyboard::aTwoPlayerGameIsPlayedWithKeysAlone()
{
    ProgramFolder folder;  // the list's place 99 holds 104
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));

    // The start screen: two players, their names, start.
    QCOMPARE_FOCUS(f.playerCountOptions[0]);
    press(Qt::Key_Down);
    QCOMPARE_FOCUS(f.playerCountOptions[1]);
    QCOMPARE(f.lastPlayerIndex, 1);
    QVERIFY(tabTo(f.ComboNimi[0]));
    typeName(QStringLiteral("Aino"));
    press(Qt::Key_Tab);
    QCOMPARE_FOCUS(f.ComboNimi[1]);
    typeName(QStringLiteral("Eero"));
    QVERIFY(tabTo(f.CmdAloitaPeli));
    press(Qt::Key_Space);
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" Eero"));

    const PlannedGame plan(f, {200, 50});
    for (int code = 1; code <= category::count; ++code) {
        for (int p = 0; p <= 1; ++p) {
            const Dice dice = plan.dice(p, code);
            QCOMPARE_FOCUS(f.CmdKaikkiUudelleen);
            press(Qt::Key_Space);
            f.diceValues = dice;  // the test throws the dice it needs
            switch ((code + p) % 3) {
            case 0:  // keep them all
                press(Qt::Key_Backtab);
                QCOMPARE_FOCUS(f.CmdSäästäKaikki);
                press(Qt::Key_Space);
                break;
            case 1:  // mark the last two dice, throw them, keep all
                QVERIFY(tabTo(f.dice[4], true));
                press(Qt::Key_Space);
                press(Qt::Key_Up);
                QCOMPARE_FOCUS(f.dice[3]);
                press(Qt::Key_Return);
                QCOMPARE(f.rethrowMarks, (std::array<std::int16_t, 5>{0, 0, 0, 1, 1}));
                QVERIFY(tabTo(f.CmdValitutUudelleen));
                press(Qt::Key_Space);
                QCOMPARE_FOCUS(f.dice[0]);
                f.diceValues = dice;
                QVERIFY(tabTo(f.CmdSäästäKaikki));
                press(Qt::Key_Space);
                break;
            default:  // throw three times
                press(Qt::Key_Space);
                press(Qt::Key_Space);
                f.diceValues = dice;
                break;
            }
            QVERIFY(f.mayRecord);
            QCOMPARE_FOCUS(f.categoryHeadings[std::size_t(code)]);  // the first free row
            if (code < category::count) {
                press(Qt::Key_Down);
                press(Qt::Key_Up);
            }
            if (code == category::count && p == 1) {
                whenWaiting(&f, [&f] {
                    QCOMPARE_FOCUS(f.Txt99ListaNimi);
                    typeName(QStringLiteral("Aino"));
                    press(Qt::Key_Return);
                });
            }
            press(Qt::Key_Space);
        }
    }

    QVERIFY(f.gameOver);
    QVERIFY(!f.Frame99ListaPohja->isVisible());
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    QCOMPARE_FOCUS(f.CmdKaikkiUudelleen);
    for (int p = 0; p <= 1; ++p) {
        for (int code = 1; code <= category::count; ++code)
            QCOMPARE(f.categoryCells[std::size_t(code)][std::size_t(p)]->caption(),
                     QString::number(scoreCategory(code, plan.dice(p, code))));
    }
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("200"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("50"));
    const std::optional<BestListFile> list = parseBestList(folder.read(QStringLiteral("lista99.txt")), nullptr);
    QVERIFY(list);
    QCOMPARE(list->list.names[51], QStringLiteral("Aino"));
    QCOMPARE(list->list.scores[51], std::int16_t(200));

    press(Qt::Key_Space);  // "&Uusi peli"
    QVERIFY(f.CmdAloitaPeli->isVisible());
    QCOMPARE_FOCUS(f.playerCountOptions[1]);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
