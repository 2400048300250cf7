// What a screen reader learns of the window through Qt's accessibility.
#include "WindowFixture.h"

#include "dice/DieNames.h"

#include <QAccessible>
#include <functional>

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QStringLiteral("<none>");
}

// A screen reader's press: the first action a control offers must be "Press".
void pressAction(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface && iface->actionInterface());
    QCOMPARE(iface->actionInterface()->actionNames().value(0), QAccessibleActionInterface::pressAction());
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();  // the press acts from the event loop, as a button's does
}

// A turn and a half of two players with every die and row used through
// `use`; what the window shows after each step.
QStringList playDiceAndRows(const std::function<void(QWidget *)> &use)
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QStringList seen;
    auto look = [&] {
        seen << diePictures(f).join(u' ') << sheetCaptions(f).join(u' ') << f.LblOtsikko->caption()
             << QString::number(w.platform.beeps) << QString::number(f.CmdValitutUudelleen->isEnabled());
    };
    use(f.dice[0]);  // disabled before the game
    startGame(f, 2);
    use(f.categoryHeadings[3]);  // not thrown yet: a beep
    throwAll(f, {4, 4, 2, 2, 6});
    use(f.dice[4]);
    use(f.dice[1]);
    use(f.dice[1]);
    look();
    click(f.CmdValitutUudelleen);
    f.diceValues = {4, 4, 2, 2, 1};
    click(f.CmdSäästäKaikki);
    use(f.categoryHeadings[8]);
    look();
    record(f, 8, {3, 3, 5, 5, 1});
    throwAll(f, {6, 6, 6, 6, 6});
    click(f.CmdSäästäKaikki);
    use(f.categoryHeadings[8]);  // filled: refused
    use(f.categoryHeadings[15]);
    look();
    return seen;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void diceSayTheirNumberValueAndMark();
    void scoreCellsNameTheirRowAndPlayer();
    void buttonsAndLabelsKeepTheirCaptions();
    void diceAreCheckBoxesAndRowsButtons();
    void pressActionDoesWhatAClickDoes();
};

void TestAccessibility::diceAreCheckBoxesAndRowsButtons()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QAccessibleInterface *die = QAccessible::queryAccessibleInterface(f.dice[1]);
    QAccessibleInterface *row = QAccessible::queryAccessibleInterface(f.categoryHeadings[8]);
    QVERIFY(die && row);
    QCOMPARE(die->role(), QAccessible::CheckBox);
    QVERIFY(die->state().disabled);
    QVERIFY(die->state().checkable);
    QCOMPARE(row->role(), QAccessible::Button);
    QCOMPARE(row->text(QAccessible::Name), QStringLiteral(" Kaksi paria"));
    QVERIFY(row->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

    // An option checked by a screen reader's toggle sets the player count as a click does.
    QAccessibleInterface *option = QAccessible::queryAccessibleInterface(f.playerCountOptions[2]);
    option->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(f.lastPlayerIndex, 2);
    QVERIFY(f.ComboNimi[2]->isEnabled());

    startGame(f, 2);
    record(f, 8, {4, 4, 2, 2, 6});
    QCOMPARE(row->text(QAccessible::Description), QStringLiteral("vapaa"));  // player 2 to play
    throwAll(f, {1, 1, 1, 3, 3});
    QVERIFY(!die->state().disabled);
    QVERIFY(!die->state().checked);
    pressAction(f.dice[1]);
    QVERIFY(die->state().checked);
    QCOMPARE(die->text(QAccessible::Name), QStringLiteral("Arpakuutio 2: 1, heitetään uudelleen"));
    QCOMPARE(die->text(QAccessible::Description), QString::fromUtf8(markedDieTip));
    pressAction(f.dice[1]);
    QVERIFY(!die->state().checked);
    click(f.CmdSäästäKaikki);
    QVERIFY(die->state().disabled);
    pressAction(f.categoryHeadings[8]);
    QCOMPARE(row->text(QAccessible::Description), QStringLiteral("pelaaja 1: 12"));
    QCOMPARE(f.LblKaksiPariaPelaaja[1]->caption(), QStringLiteral("8"));
}

void TestAccessibility::pressActionDoesWhatAClickDoes()
{
    QCOMPARE(playDiceAndRows(pressAction), playDiceAndRows(click));
}

void TestAccessibility::diceSayTheirNumberValueAndMark()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QCOMPARE(accessibleText(f.dice[0], QAccessible::Name), QStringLiteral("Arpakuutio 1: ei heitetty"));
    startGame(f, 1);
    throwAll(f, {4, 1, 6, 2, 3});
    // The throw showed the generator's faces; mark and unmark die 1 to show the test's.
    click(f.dice[0]);
    QCOMPARE(accessibleText(f.dice[0], QAccessible::Name), QStringLiteral("Arpakuutio 1: 4, heitetään uudelleen"));
    click(f.dice[0]);
    QCOMPARE(accessibleText(f.dice[0], QAccessible::Name), QStringLiteral("Arpakuutio 1: 4"));
    QCOMPARE(accessibleText(f.dice[4], QAccessible::Name),
             QStringLiteral("Arpakuutio 5: %1").arg(f.dice[4]->pictureName().left(1)));
    click(f.CmdSäästäKaikki);
    click(f.categoryHeadings[14]);
    QCOMPARE(accessibleText(f.dice[2], QAccessible::Name), QStringLiteral("Arpakuutio 3: ei heitetty"));
}

void TestAccessibility::scoreCellsNameTheirRowAndPlayer()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QCOMPARE(accessibleText(f.LblKaksiPariaPelaaja[1], QAccessible::Description), QStringLiteral("Kaksi paria, pelaaja 2"));
    QCOMPARE(accessibleText(f.LblBonusPelaaja[3], QAccessible::Description), QStringLiteral("Bonus, pelaaja 4"));
    QCOMPARE(accessibleText(f.LblKaikkiYhteensäPelaaja[0], QAccessible::Description),
             QStringLiteral("Kaikki yhteensä, pelaaja 1"));
    startGame(f, 1);
    record(f, 15, {5, 5, 5, 5, 5});
    QCOMPARE(accessibleText(f.LblYatzyPelaaja[0], QAccessible::Name), QStringLiteral("50"));
}

void TestAccessibility::buttonsAndLabelsKeepTheirCaptions()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QCOMPARE(accessibleText(f.CmdAloitaPeli, QAccessible::Name), QStringLiteral("Aloita peli"));
    QCOMPARE(accessibleText(f.categoryHeadings[13], QAccessible::Name), QStringLiteral(" Täyskäsi"));
    QCOMPARE(accessibleText(f.LblOtsikko, QAccessible::Name), f.LblOtsikko->caption());
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
