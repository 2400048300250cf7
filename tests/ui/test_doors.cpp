// What a menu's state forbids is forbidden to every way in, the focus stays
// where the player put it, and every word is Finnish.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScrollBar>

namespace {

// What the window shows of the game, and what it has asked.
QStringList shown(Form1 &f, const Window &w)
{
    return sheetCaptions(f) << diePictures(f) << f.LblOtsikko->caption() << f.LblHeittokerrat->caption()
                            << f.LblVuorossa->caption() << f.CmdKaikkiUudelleen->text() << f.CmdSäästäKaikki->text()
                            << QString::number(f.CmdAloitaPeli->isVisible()) << QString::number(f.Frame99ListaPohja->isVisible())
                            << QString::number(f.mayRecord) << QString::number(w.platform.questions.size());
}

// Presses every menu item that is off, or whose menu is, as a screen reader
// would: by triggering its action, and by its signal straight to the handler.
// The number pressed, or -1 when an item of a menu that is off is still on.
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

} // namespace

class TestDoors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void menuItemsAreOffWithTheirMenu_data();
    void menuItemsAreOffWithTheirMenu();
    void aMenuItemLeavesTheFocusWhereItWas();
    void theComputerLeavesThePlayersFocusAlone();
    void aButtonKeepsItsAccessKeyBeforeAMenuTitle();
    void questionsAndQtsOwnTextsAreFinnish();
    void theComputersAreOfferedOnceLast();
};

void TestDoors::menuItemsAreOffWithTheirMenu_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("pressed");
    QTest::newRow("start screen") << "start" << 5;
    QTest::newRow("after a throw") << "throw" << 1;
    QTest::newRow("computer's turn") << "computer" << 2;
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
        const QStringList before = shown(f, w);
        QCOMPARE(pressWhatIsOff(f), pressed);
        QCOMPARE(shown(f, w), before);
    };
    if (when == "start") {
        nothingChanges();
        return;
    }
    startGame(f, when == "computer" ? 2 : 1, {QStringLiteral("Anna"), QStringLiteral("Kone")});
    if (when == "throw") {
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
        throwAll(f, Dice{6, 6, 6, 2, 1});
        nothingChanges();
    } else if (when == "computer") {
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
        QVERIFY(f.computerToPlay() && w.platform.runComputerStep());
        nothingChanges();
    } else {
        PlannedGame game(f, {300});
        game.playToLastScore();
        bool entered = false;
        if (when == "entry") {
            whenWaiting(&f, [&] {
                nothingChanges();
                click(f.Cmd99ListaOK);
                entered = true;
            });
        }
        game.playLastScore();
        QVERIFY(f.gameOver && entered == (when == "entry"));
        if (when == "end")
            nothingChanges();
    }
}

void TestDoors::aMenuItemLeavesTheFocusWhereItWas()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    startGame(f, 1);
    throwAll(f, Dice{5, 5, 5, 2, 1});
    click(f.CmdSäästäKaikki);
    QVERIFY(focus() == f.categoryHeadings[1]);
    f.categoryHeadings[5]->setFocus();
    QVERIFY(choose(f.MenuPeli, f.MenuVihje));
    QVERIFY(focus() == f.categoryHeadings[5]);
    w.platform.answers = {false};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    QVERIFY(focus() == f.categoryHeadings[5]);
    QTest::keyClick(focus(), Qt::Key_Space);
    QCOMPARE(f.LblVitosetPelaaja[0]->caption(), QStringLiteral("15"));
    // Taking the row back gives the turn back: the focus goes to its first free row.
    QVERIFY(undo(f));
    QVERIFY(focus() == f.categoryHeadings[1]);
}

void TestDoors::theComputerLeavesThePlayersFocusAlone()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    w.platform.computerWaits = true;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Kone")});
    record(f, category::chance, Dice{6, 5, 4, 2, 1});
    QVERIFY(focus() == f.categoryHeadings[category::chance]);
    f.Scroll99Lista->setFocus();
    int steps = 0;
    while (f.computerToPlay() && w.platform.runComputerStep()) {
        ++steps;
        QVERIFY2(focus() == f.Scroll99Lista || !f.computerToPlay(), qPrintable(QString::number(steps)));
    }
    QVERIFY(steps >= 2);
    QVERIFY(focus() == f.CmdKaikkiUudelleen);  // Anna's turn starts with a throw
}

void TestDoors::aButtonKeepsItsAccessKeyBeforeAMenuTitle()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    startGame(f, 1);
    record(f, category::chance, Dice{6, 5, 4, 2, 1});
    w.platform.answers = {true};
    QVERIFY(choose(f.MenuPeli, f.MenuUusiksi));
    // "&Arvio..." is on, and shares its key with "&Aloita peli" and the first
    // throw's "&Aloita peli klik- kaamalla tästä !": the buttons take it.
    QVERIFY(f.MenuArvio->menuAction()->isEnabled() && f.CmdAloitaPeli->isVisible());
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
        if (!box)
            return;
        for (QMessageBox::StandardButton which : {QMessageBox::Yes, QMessageBox::No})
            buttons << box->button(which)->text();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!platform.askYesNo(QStringLiteral("Haluatko lopettaa pelaamisen?")));
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Kyllä"), QStringLiteral("&Ei")}));

    // Qt's own words come from its Finnish translation once the window is up.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fi.qm")))
        QSKIP("Qt's Finnish translation (qt6-translations-l10n) is not installed");
    ProgramFolder folder;
    Window w(folder);
    const std::unique_ptr<QMenu> menu(w->Txt99ListaNimi->createStandardContextMenu());
    QVERIFY(!menu->actions().isEmpty());
    QVERIFY2(!menu->actions().front()->text().startsWith(QStringLiteral("&Undo")), qPrintable(menu->actions().front()->text()));
    QVERIFY(QCoreApplication::translate("QScrollBar", "Scroll here") != QStringLiteral("Scroll here"));
}

void TestDoors::theComputersAreOfferedOnceLast()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("nimet.txt"), "Kone\r\nAnna\r\nKone 2\r\nPekka\r\n");
    Window w(folder);
    for (QComboBox *box : w->ComboNimi) {
        QStringList names;
        for (int i = 0; i < box->count(); ++i)
            names << box->itemText(i);
        QCOMPARE(names, (QStringList{"Anna", "Pekka", "Kone 1", "Kone 2", "Kone 3", "Kone"}));
    }
}

QTEST_MAIN(TestDoors)
#include "test_doors.moc"
