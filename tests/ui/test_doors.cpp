// What a menu's state forbids is forbidden to every way in, the focus stays
// where the player put it, and every word is Finnish.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"
#include "ui/QtPlatform.h"
#include "ui/ReviewWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScrollBar>

namespace {

// Presses every menu item that is off, or whose menu is, as a screen reader
// does (the action's trigger) and straight to the handler (its signal). The
// number pressed, or -1 when an item of a menu that is off is still on.
int pressWhatIsOff(Form1 &f)
{
    int pressed = 0;
    for (QMenu *menu : {f.MenuPeli, f.MenuPeruutus, f.MenuArvio}) {
        for (QAction *item : menu->actions()) {
            if (item->isSeparator() || (menu->menuAction()->isEnabled() && item->isEnabled()))
                continue;
            if (item->isEnabled())
                return -1;
            item->trigger();
            emit item->triggered(false);
            ++pressed;
        }
    }
    return pressed;
}

QWidget *focus()
{
    return QApplication::focusWidget();
}

// What a player sees of the game and what the program has done.
QStringList shown(Window &w, const ProgramFolder &folder)
{
    Form1 &f = *w;
    QStringList seen = sheetCaptions(f) << diePictures(f) << f.LblOtsikko->caption()
                                        << f.LblOtsikko->backColor().name() << f.LblHeittokerrat->caption()
                                        << f.LblVuorossa->caption() << QString::number(f.Scroll99Lista->value());
    for (QAbstractButton *button : f.centralWidget()->findChildren<QAbstractButton *>())
        seen << button->text() + QString::number(button->isVisible()) + QString::number(button->isEnabled()) +
                    QString::number(button->isChecked());
    for (QMenu *menu : {f.MenuPeli, f.MenuPeruutus, f.MenuArvio})
        seen << QString::number(menu->menuAction()->isEnabled());
    return seen << QString::number(f.record.entries.size()) << QString::number(w.platform.questions.size())
                << QString::number(w.platform.ended) << folder.read(QStringLiteral("lista99.txt")).toHex();
}

// Every control of the window bound to a handler, and whether it may act now.
struct Control {
    QWidget *widget;
    bool playersOwn;  // the dice, the throw buttons and the rows: the computer's in its turn
};

std::vector<Control> controls(Form1 &f)
{
    std::vector<Control> all;
    for (QAbstractButton *button : f.centralWidget()->findChildren<QAbstractButton *>()) {
        const bool throwButton =
            button == f.CmdKaikkiUudelleen || button == f.CmdValitutUudelleen || button == f.CmdSäästäKaikki;
        all.push_back({button, throwButton});
    }
    for (DieBox *die : f.dice)
        all.push_back({die, true});
    for (int code = 1; code <= category::count; ++code) {
        all.push_back({f.categoryHeadings[std::size_t(code)], true});
        for (EventLabel *cell : f.categoryCells[std::size_t(code)])
            all.push_back({cell, true});
    }
    all.push_back({f.Scroll99Lista, false});
    return all;
}

// Presses `control` every way there is: the mouse (a shown control only: a
// click at a hidden one lands on what lies under it), Space and Enter, its
// access key, each of a screen reader's actions, and its signal straight to
// its binding.
void pressEveryWay(Form1 &f, QWidget *control)
{
    if (control->isVisible())
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(control, key);
    // An access key is pressed unless a control that may act shares it.
    auto *button = qobject_cast<QAbstractButton *>(control);
    const QKeySequence key = button ? QKeySequence::mnemonic(button->text()) : QKeySequence();
    const QList<QAbstractButton *> all = f.centralWidget()->findChildren<QAbstractButton *>();
    if (!key.isEmpty() && std::none_of(all.begin(), all.end(), [&](QAbstractButton *other) {
            return other->isVisible() && other->isEnabled() && QKeySequence::mnemonic(other->text()) == key;
        }))
        QTest::keySequence(&f, key);
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();  // an access key a menu's title shares opens the menu
    if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control)) {
        if (QAccessibleActionInterface *actions = iface->actionInterface()) {
            for (const QString &name : actions->actionNames())
                actions->doAction(name);
        }
        if (QAccessibleValueInterface *value = iface->valueInterface())
            value->setCurrentValue(value->currentValue().toInt() == 1 ? 50 : 1);
    }
    if (button) {
        emit button->clicked(false);
        emit button->toggled(!button->isChecked());
    }
    if (auto *label = qobject_cast<EventLabel *>(control); label && label->onClick)
        label->onClick();
}

// Presses every control and menu item that may not act now; true when
// nothing a player sees changed and the program goes on.
void pressWhatMayNotAct(Window &w, const ProgramFolder &folder)
{
    Form1 &f = *w;
    const bool overGame = QApplication::activeModalWidget() != nullptr;
    const bool computer = f.computerToPlay();
    const QStringList before = shown(w, folder);
    int pressed = 0;
    for (const Control &c : controls(f)) {
        if (c.widget->isVisible() && c.widget->isEnabled() && !overGame && !(computer && c.playersOwn))
            continue;
        pressEveryWay(f, c.widget);
        ++pressed;
    }
    for (QMenu *menu : {f.MenuPeli, f.MenuPeruutus, f.MenuArvio}) {
        for (QAction *item : menu->actions()) {
            if (item->isSeparator() || (menu->menuAction()->isEnabled() && item->isEnabled() && !overGame))
                continue;
            item->trigger();
            emit item->triggered(false);
            ++pressed;
        }
    }
    QTest::qWait(150);  // a screen reader's press clicks 100 ms later
    QVERIFY(pressed > 0);
    QCOMPARE(shown(w, folder), before);
}

} // namespace

class TestDoors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void everyControlActsOnlyWhenItMay_data();
    void everyControlActsOnlyWhenItMay();
    void menuItemsAreOffWithTheirMenu_data();
    void menuItemsAreOffWithTheirMenu();
    void theFocusStaysWhereThePlayerPutIt();
    void questionsAndQtsOwnTextsAreFinnish();
};

void TestDoors::menuItemsAreOffWithTheirMenu_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("pressed");
    QTest::newRow("start screen") << "start" << 7;
    QTest::newRow("after a throw") << "throw" << 1;
    QTest::newRow("computer's turn") << "computer" << 2;  // no undo, no hint
    QTest::newRow("name entry") << "entry" << 4;
    QTest::newRow("after the game") << "end" << 4;
}

void TestDoors::menuItemsAreOffWithTheirMenu()
{
    QFETCH(QString, when);
    QFETCH(int, pressed);
    ProgramFolder folder;
    if (when != "entry")
        writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    w.platform.computerWaits = true;
    const auto nothingChanges = [&] {
        const auto shown = [&] {
            return sheetCaptions(f) << diePictures(f) << f.LblOtsikko->caption() << f.LblHeittokerrat->caption()
                                    << f.CmdKaikkiUudelleen->text() << QString::number(f.CmdAloitaPeli->isVisible())
                                    << QString::number(f.Frame99ListaPohja->isVisible()) << QString::number(f.mayRecord)
                                    << QString::number(w.platform.questions.size());
        };
        const QStringList before = shown();
        QCOMPARE(pressWhatIsOff(f), pressed);
        QCOMPARE(shown(), before);
    };
    if (when == "start")
        return nothingChanges();
    startGame(f, when == "computer" ? 2 : 1, {QStringLiteral("Anna"), QStringLiteral("Kone")});
    if (when == "throw" || when == "computer") {
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
        if (when == "throw")
            throwAll(f, Dice{6, 6, 6, 2, 1});
        QVERIFY(when == "throw" || (f.computerToPlay() && w.platform.runComputerStep()));
        return nothingChanges();
    }
    PlannedGame game(f, {300});
    game.playToLastScore();
    whenWaiting(&f, [&] {
        nothingChanges();
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();
    QVERIFY(f.gameOver);
    if (when == "end")
        nothingChanges();
}

void TestDoors::everyControlActsOnlyWhenItMay_data()
{
    QTest::addColumn<QString>("when");
    for (const char *when : {"start screen", "after a throw", "dice locked", "computer's turn", "name entry",
                             "after the game", "review open"})
        QTest::newRow(when) << QString::fromLatin1(when);
}

// A control acts only while it is shown and enabled and no window is open
// over the game, whichever way it is pressed; in the computer's turn the
// dice, the throw buttons and the rows are the computer's.
void TestDoors::everyControlActsOnlyWhenItMay()
{
    QFETCH(QString, when);
    ProgramFolder folder;
    if (when != "name entry")
        writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    w.platform.computerWaits = true;
    if (when == "start screen")
        return pressWhatMayNotAct(w, folder);
    const bool wholeGame = when == "name entry" || when == "after the game";
    startGame(f, wholeGame ? 1 : 2, {QStringLiteral("Anna"), when == "computer's turn" ? QStringLiteral("Kone") : QStringLiteral("Pekka")});
    if (when == "after a throw" || when == "dice locked" || when == "review open") {
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
        throwAll(f, Dice{6, 6, 6, 2, 1});
        if (when == "dice locked")
            click(f.CmdSäästäKaikki);
        if (when == "review open") {
            QVERIFY(choose(f.MenuArvio, f.MenuPelistä));
            QTRY_VERIFY(f.findChild<ReviewWindow *>() && QApplication::activeModalWidget());
        }
        return pressWhatMayNotAct(w, folder);
    }
    if (when == "computer's turn") {
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
        QVERIFY(f.computerToPlay() && w.platform.runComputerStep());
        return pressWhatMayNotAct(w, folder);
    }
    PlannedGame game(f, {300});
    game.playToLastScore();
    whenWaiting(&f, [&] {
        pressWhatMayNotAct(w, folder);
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();
    QVERIFY(f.gameOver);
    if (when == "after the game")
        pressWhatMayNotAct(w, folder);
}

// The focus stays after a menu action and in the computer's turn; an access
// key goes to its button.
void TestDoors::theFocusStaysWhereThePlayerPutIt()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    w.platform.computerWaits = true;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Kone")});
    throwAll(f, Dice{5, 5, 5, 2, 1});
    click(f.CmdSäästäKaikki);
    QVERIFY(focus() == f.categoryHeadings[1]);
    // A menu action that leaves the turn as it was leaves the focus too.
    f.categoryHeadings[5]->setFocus();
    QVERIFY(choose(f.MenuPeli, f.MenuVihje));
    w.platform.answers = {false};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    QVERIFY(focus() == f.categoryHeadings[5]);
    QTest::keyClick(focus(), Qt::Key_Space);
    QCOMPARE(f.LblVitosetPelaaja[0]->caption(), QStringLiteral("15"));
    // The computer's presses leave it where the player put it, until the
    // player's turn starts with a throw.
    f.Scroll99Lista->setFocus();
    int steps = 0;
    while (f.computerToPlay() && w.platform.runComputerStep())
        QVERIFY2(focus() == f.Scroll99Lista || !f.computerToPlay(), qPrintable(QString::number(++steps)));
    QVERIFY(steps >= 2 && focus() == f.CmdKaikkiUudelleen);

    // "&Arvio..." is on and shares its key with "&Aloita peli" and with the
    // first throw's "&Aloita peli klik- kaamalla tästä !": the buttons take it.
    w.platform.answers = {true};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi) && f.MenuArvio->menuAction()->isEnabled());
    QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(!f.CmdAloitaPeli->isVisible());
    QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(f.throwCount, std::int16_t(1));
}

void TestDoors::questionsAndQtsOwnTextsAreFinnish()
{
    QtPlatform platform;
    QStringList buttons;
    QTimer::singleShot(0, [&buttons] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        buttons << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!platform.askYesNo(QStringLiteral("Haluatko lopettaa pelaamisen?")));
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Kyllä"), QStringLiteral("&Ei")}));

    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fi.qm")))
        QSKIP("Qt's Finnish translation (qt6-translations-l10n) is not installed");
    ProgramFolder folder;
    Window w(folder);  // Qt's own words are Finnish once the window is up
    const std::unique_ptr<QMenu> menu(w->Txt99ListaNimi->createStandardContextMenu());
    QVERIFY2(!menu->actions().front()->text().startsWith(QStringLiteral("&Undo")), qPrintable(menu->actions().front()->text()));
    QVERIFY(QCoreApplication::translate("QScrollBar", "Scroll here") != QStringLiteral("Scroll here"));
}

QTEST_MAIN(TestDoors)
#include "test_doors.moc"
