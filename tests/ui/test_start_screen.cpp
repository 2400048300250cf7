// The start screen and the play that follows it, with keys alone and on a dark desktop.
#include "WindowFixture.h"

#include "ui/CaptionButton.h"
#include "ui/KeyboardLabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QScrollBar>

class TestStartScreen : public QObject {
    Q_OBJECT

private slots:
    void namesChoicesAndTheFirstCaption();
    void aNameIsChosenFromTheDroppedDownList();
    void aTwoPlayerGameIsPlayedWithKeysAlone();
    void sheetTextsStayDarkOnADarkDesktop();  // last: it changes the application's palette
};

// Laid out whole, as text: markup would show shorter.
static bool shownAsText(const QLabel *label, const QString &text)
{
    return label->text() == text && label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(text);
}

void TestStartScreen::namesChoicesAndTheFirstCaption()
{
    const QString name = QStringLiteral("<b>Anna");  // seven characters, not "Anna" in bold
    ProgramFolder folder;
    BestList list = makeList([](int i) { return 300 - 2 * i; });
    list.names[0] = list.dates[0] = name;
    folder.write(QStringLiteral("lista99.txt"), listFileBytes(list));
    folder.write(QStringLiteral("nimet.txt"), name.toUtf8() + "\r\nPekka\r\n");
    Window w(folder);
    Form1 &f = *w;
    // Typed, "Pek" stays "Pek" though "Pekka" is offered; the chosen option clicked again keeps the names.
    click(f.playerCountOptions[2]);
    f.activateWindow();
    f.ComboNimi[0]->setCurrentIndex(0);  // from nimet.txt
    for (const auto &[box, typed] : {std::pair{f.ComboNimi[1], "Pek"}, std::pair{f.ComboNimi[2], "<i>Aino"}}) {
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QString::fromLatin1(typed));
    }
    click(f.playerCountOptions[2]);
    QCOMPARE(f.ComboNimi[0]->currentText() + f.ComboNimi[1]->currentText(), name + QStringLiteral("Pek"));
    click(f.CmdAloitaPeli);
    QVERIFY(shownAsText(f.Lbl99Nimi[0], name) && shownAsText(f.Lbl99Pvm[0], name) && shownAsText(f.LblVuorossa, u' ' + name));
    QVERIFY(shownAsText(f.LblNimi[0], u' ' + name) && shownAsText(f.LblNimi[2], QStringLiteral(" <i>Aino")));

    auto *first = static_cast<CaptionButton *>(f.CmdKaikkiUudelleen);
    QCOMPARE(first->captionLines(), (QStringList{QStringLiteral("&Aloita peli klik-"), QStringLiteral("kaamalla tästä !")}));
    for (const QString &line : first->captionLines())
        QVERIFY2(first->shownWidth(line) <= first->captionRect().width(), qPrintable(line));
}

void TestStartScreen::aNameIsChosenFromTheDroppedDownList()
{
    ProgramFolder folder;  // nimet.txt: Anna, Pekka
    Window w(folder);
    QComboBox *box = w->ComboNimi[0];
    QCOMPARE(box->currentText(), QStringLiteral("Nimi"));
    QVERIFY(box->isEditable() && !box->completer());
    box->setFocus();
    box->showPopup();
    QAbstractItemView *list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QCOMPARE(list->model()->rowCount(), 6);  // the file's two names and the computer's four
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(box->currentText(), QStringLiteral("Pekka"));
}

static QWidget *focus() { return QApplication::focusWidget(); }
static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(focus(), key, modifiers); }

// Tab (or Shift+Tab) until `target` has the focus; false after a whole round.
static bool tabTo(QWidget *target, Qt::Key key = Qt::Key_Tab)
{
    for (int i = 0; i < 40 && focus() != target; ++i)
        press(key);
    return focus() == target;
}

void TestStartScreen::aTwoPlayerGameIsPlayedWithKeysAlone()
{
    ProgramFolder folder;  // the list's place 99 holds 104
    Window w(folder);
    Form1 &f = *w;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f) && focus() == f.playerCountOptions[0]);
    press(Qt::Key_Down);
    QVERIFY(tabTo(f.ComboNimi[0]));
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus(), QStringLiteral("Aino"));
    for (Qt::Key key : {Qt::Key_K, Qt::Key_S, Qt::Key_V})  // access keys with nothing to click type nothing
        press(key, Qt::AltModifier);
    QCOMPARE(f.ComboNimi[0]->currentText(), QStringLiteral("Aino"));
    QVERIFY(tabTo(f.CmdAloitaPeli));
    press(Qt::Key_Space);

    const PlannedGame plan(f, {200, 50});
    for (int code = 1; code <= category::count; ++code) {
        for (int p = 0; p <= 1; ++p) {
            QVERIFY(focus() == f.CmdKaikkiUudelleen);
            press(Qt::Key_Space);
            if ((code + p) % 2) {  // mark the last two dice, throw them, keep all
                QVERIFY(tabTo(f.dice[4], Qt::Key_Backtab));
                press(Qt::Key_Space);
                press(Qt::Key_Up);
                press(Qt::Key_Return);
                QCOMPARE(f.rethrowMarks, (std::array<std::int16_t, 5>{0, 0, 0, 1, 1}));
                QVERIFY(tabTo(f.CmdValitutUudelleen));
                press(Qt::Key_Space);
                f.diceValues = plan.dice(p, code);  // the test throws the dice it needs
                QVERIFY(tabTo(f.CmdSäästäKaikki));
                press(Qt::Key_Space);
            } else {  // throw three times
                press(Qt::Key_Space);
                press(Qt::Key_Space);
                f.diceValues = plan.dice(p, code);
            }
            press(code < category::count ? Qt::Key_Down : Qt::Key_Up);  // from the first free row, and back
            press(code < category::count ? Qt::Key_Up : Qt::Key_Down);
            QVERIFY(focus() == f.categoryHeadings[std::size_t(code)]);
            if (code == category::count && p == 1)  // 200 points take a place: Enter takes the name
                whenWaiting(&f, [&f] {
                    QVERIFY(focus() == f.Txt99ListaNimi);
                    press(Qt::Key_Return);
                });
            press(Qt::Key_Space);
        }
    }

    for (int p = 0; p <= 1; ++p) {
        for (int code = 1; code <= category::count; ++code)
            QCOMPARE(f.categoryCells[std::size_t(code)][std::size_t(p)]->caption(), QString::number(scoreCategory(code, plan.dice(p, code))));
    }
    QCOMPARE(f.LblKaikkiYhteensäPelaaja[0]->caption() + f.LblKaikkiYhteensäPelaaja[1]->caption(), QStringLiteral("20050"));

    // The best-99 view follows the rows: its keys page through the places,
    // and a screen reader hears the places shown.
    QVERIFY(tabTo(f.categoryHeadings[category::count]));
    press(Qt::Key_Tab);
    QVERIFY(focus() == f.Scroll99Lista && keyboard::showsFocusMark(*f.Scroll99Lista));
    press(Qt::Key_Home);
    press(Qt::Key_PageDown);
    QCOMPARE(f.Lbl99Sijoitus[0]->caption(), QStringLiteral(" 14."));
    press(Qt::Key_End);
    QCOMPARE(f.Lbl99Sijoitus[12]->caption(), QStringLiteral(" 99."));
    QVERIFY(f.Scroll99Lista->accessibleDescription().startsWith(QStringLiteral("87. ")));
}

void TestStartScreen::sheetTextsStayDarkOnADarkDesktop()
{
    QPalette darkDesktop(QColor(240, 240, 240), QColor(53, 53, 53));  // as a dark theme sets it
    darkDesktop.setColor(QPalette::Text, QColor(240, 240, 240));
    QApplication::setPalette(darkDesktop);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2);
    record(f, 8, Dice{6, 6, 5, 5, 1});
    // Every label on a light background of its own has dark text, but the red name of the player to play.
    int checked = 0;
    for (EventLabel *label : f.findChildren<EventLabel *>()) {
        if (label->autoFillBackground() && qGray(label->backColor().rgb()) >= 110 && label->foreColor() != QColor(Qt::red)) {
            QVERIFY2(qGray(label->foreColor().rgb()) <= 80, qPrintable(label->text()));
            ++checked;
        }
    }
    QVERIFY(checked > 150);
}

QTEST_MAIN(TestStartScreen)
#include "test_start_screen.moc"
