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

} // namespace

class TestDoors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void menuItemsAreOffWithTheirMenu_data();
    void menuItemsAreOffWithTheirMenu();
    void theFocusStaysWhereThePlayerPutIt();
    void questionsAndQtsOwnTextsAreFinnish();
};

void TestDoors::menuItemsAreOffWithTheirMenu_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("pressed");
    QTest::newRow("start screen") << "start" << 5;
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
