// What a screen reader learns of the window through Qt's accessibility.
#include "WindowFixture.h"

#include <QAccessible>
#include <functional>

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QStringLiteral("<none>");
}

// A screen reader's press: the first action a die or row offers.
void pressAction(QWidget *widget)
{
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(widget)->actionInterface();
    QVERIFY(actions && actions->actionNames().value(0) == QAccessibleActionInterface::pressAction());
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();  // the press acts from the event loop, as a button's does
}

// A turn of two with dice and rows used through `use`; `seen` gets what the window shows.
void playDiceAndRows(const std::function<void(QWidget *)> &use, QStringList &seen)
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QAccessibleInterface *die = QAccessible::queryAccessibleInterface(f.dice[1]);
    QAccessibleInterface *row = QAccessible::queryAccessibleInterface(f.categoryHeadings[8]);
    QVERIFY(die->role() == QAccessible::CheckBox && row->role() == QAccessible::Button);
    QCOMPARE(row->text(QAccessible::Name), QStringLiteral(" Kaksi paria"));
    use(f.dice[1]);  // disabled before the game
    QVERIFY(die->state().disabled && die->state().checkable && !die->state().checked);
    startGame(f, 2);
    use(f.categoryHeadings[3]);  // not thrown yet: a beep
    throwAll(f, {4, 4, 2, 2, 6});
    for (int d : {4, 1})
        use(f.dice[std::size_t(d)]);
    QVERIFY(!die->state().disabled && die->state().checked);
    QCOMPARE(die->text(QAccessible::Name), QStringLiteral("Arpakuutio 2: 4, heitetään uudelleen"));
    click(f.CmdValitutUudelleen);
    seen << diePictures(f).join(u' ');
    f.diceValues = {4, 4, 2, 2, 1};
    click(f.CmdSäästäKaikki);
    use(f.categoryHeadings[8]);
    use(f.categoryHeadings[8]);  // filled: refused
    seen << sheetCaptions(f).join(u' ') << f.LblOtsikko->caption() << QString::number(w.platform.beeps);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void diceSayTheirNumberValueAndMark();
    void scoreCellsNameTheirRowAndPlayer();
    void buttonsAndLabelsKeepTheirCaptions();
    void pressActionDoesWhatAClickDoes();
};

void TestAccessibility::pressActionDoesWhatAClickDoes()
{
    QStringList pressed, clicked;
    playDiceAndRows(pressAction, pressed);
    playDiceAndRows(click, clicked);
    QCOMPARE(pressed, clicked);
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
