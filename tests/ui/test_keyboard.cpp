// A whole game from the keyboard alone: every key goes to whatever has the focus.
#include "WindowFixture.h"

#include <QApplication>

namespace {

QString named(const QWidget *widget)
{
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    const auto *label = qobject_cast<const QLabel *>(widget);
    if (!widget)
        return QStringLiteral("nothing");
    return button ? button->text() : label && label->text().isEmpty() ? label->accessibleName()
                                   : label ? label->text() : QString::fromLatin1(widget->metaObject()->className());
}
#define QCOMPARE_FOCUS(expected) QCOMPARE(named(QApplication::focusWidget()), named(expected))

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Tab (or Shift+Tab) until `target` has the focus; false after a whole round.
bool tabTo(QWidget *target, Qt::Key key = Qt::Key_Tab)
{
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
        press(key);
    return QApplication::focusWidget() == target;
}

void typeName(const QString &name)
{
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), name);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        w = std::make_unique<Window>(folder);
        w->form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->form.get()));
    }
    void cleanup() { w.reset(); }
    void aTwoPlayerGameIsPlayedWithKeysAlone();
    void theFocusMarkShowsForKeysOnly();

private:
    ProgramFolder folder;  // the list's place 99 holds 104
    std::unique_ptr<Window> w;
};

void TestKeyboard::aTwoPlayerGameIsPlayedWithKeysAlone()
{
    Form1 &f = **w;
    QCOMPARE_FOCUS(f.playerCountOptions[0]);
    press(Qt::Key_Down);
    QCOMPARE(f.lastPlayerIndex, 1);
    QVERIFY(tabTo(f.ComboNimi[0]));
    typeName(QStringLiteral("Aino"));
    QVERIFY(tabTo(f.CmdAloitaPeli));
    press(Qt::Key_Space);
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Aino"));

    const PlannedGame plan(f, {200, 50});
    for (int code = 1; code <= category::count; ++code) {
        for (int p = 0; p <= 1; ++p) {
            QCOMPARE_FOCUS(f.CmdKaikkiUudelleen);
            press(Qt::Key_Space);
            f.diceValues = plan.dice(p, code);  // the test throws the dice it needs
            if ((code + p) % 3 == 0) {  // keep them all
                press(Qt::Key_Backtab);
                press(Qt::Key_Space);
            } else if ((code + p) % 3 == 1) {  // mark the last two dice, throw them, keep all
                QVERIFY(tabTo(f.dice[4], Qt::Key_Backtab));
                press(Qt::Key_Space);
                press(Qt::Key_Up);
                press(Qt::Key_Return);
                QCOMPARE(f.rethrowMarks, (std::array<std::int16_t, 5>{0, 0, 0, 1, 1}));
                QVERIFY(tabTo(f.CmdValitutUudelleen));
                press(Qt::Key_Space);
                QCOMPARE_FOCUS(f.dice[0]);
                f.diceValues = plan.dice(p, code);
                QVERIFY(tabTo(f.CmdSäästäKaikki));
                press(Qt::Key_Space);
            } else {  // throw three times
                press(Qt::Key_Space);
                press(Qt::Key_Space);
                f.diceValues = plan.dice(p, code);
            }
            QCOMPARE_FOCUS(f.categoryHeadings[std::size_t(code)]);  // the first free row
            press(code < category::count ? Qt::Key_Down : Qt::Key_Up);
            QCOMPARE_FOCUS(f.categoryHeadings[std::size_t(code < category::count ? code + 1 : code - 1)]);
            press(code < category::count ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE_FOCUS(f.categoryHeadings[std::size_t(code)]);
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

    QCOMPARE_FOCUS(f.CmdKaikkiUudelleen);
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Uusi peli"));
    for (int p = 0; p <= 1; ++p) {
        for (int code = 1; code <= category::count; ++code)
            QCOMPARE(f.categoryCells[std::size_t(code)][std::size_t(p)]->caption(),
                     QString::number(scoreCategory(code, plan.dice(p, code))));
    }
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption(), QStringLiteral("200"));
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("50"));
    const std::optional<BestListFile> list = parseBestList(folder.read(QStringLiteral("lista99.txt")), nullptr);
    QVERIFY(list);
    QCOMPARE(list->list.names[51] + QString::number(list->list.scores[51]), QStringLiteral("Aino200"));

    press(Qt::Key_Space);  // "&Uusi peli"
    QCOMPARE_FOCUS(f.playerCountOptions[1]);
}

void TestKeyboard::theFocusMarkShowsForKeysOnly()
{
    Form1 &f = **w;
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
    QCOMPARE(f.dice[4]->grab().toImage(), plain);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
