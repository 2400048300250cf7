// Names and dates from the files and the keyboard show as the characters they
// are, never as markup; the best-99 box is pre-filled with the name as stored.
#include "WindowFixture.h"

#include <QImage>
#include <algorithm>

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    void namesShowAsText_data();
    void namesShowAsText();
};

namespace {

// Laid out whole, as text: markup would show shorter (or as a picture).
bool shownAsText(const QLabel *label, const QString &text)
{
    return label->text() == text && label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(text);
}

} // namespace

void TestPlainText::namesShowAsText_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("name");    // in both files, or typed
    QTest::addColumn<QString>("stored");  // what Enter stores in the list

    QTest::newRow("bold markup picked from nimet.txt") << false << "<b>Anna" << "<b>Anna";
    QTest::newRow("a picture from the files") << false << "<img src=PICTURE>" << "<img src";
    QTest::newRow("typed, with what the list cannot store") << true << QStringLiteral("<b>Ł,A") << "<b>??A";
}

void TestPlainText::namesShowAsText()
{
    QFETCH(bool, typed);
    QFETCH(QString, name);
    QFETCH(QString, stored);
    ProgramFolder folder;
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(folder.file(QStringLiteral("red.png"))));
    name.replace(QStringLiteral("PICTURE"), folder.file(QStringLiteral("red.png")));
    BestList list = makeList([](int i) { return 300 - 2 * i; });
    if (!typed) {
        list.names[0] = list.dates[0] = name;
        folder.write(QStringLiteral("lista99.txt"), listFileBytes(list));
        folder.write(QStringLiteral("nimet.txt"), name.toUtf8() + "\r\n");
    }
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    QVERIFY(typed || (shownAsText(f.Lbl99Nimi[0], name) && shownAsText(f.Lbl99Pvm[0], name)));

    if (typed) {
        f.ComboNimi[0]->lineEdit()->selectAll();
        f.ComboNimi[0]->lineEdit()->insert(name);  // as typing does, "Ł" too
    } else {
        f.ComboNimi[0]->setCurrentIndex(0);
    }
    click(f.CmdAloitaPeli);
    const QString header = u' ' + name.left(8);
    QVERIFY(shownAsText(f.LblNimi[0], header) && shownAsText(f.LblVuorossa, header));

    // 251 points take place 26; Enter takes the pre-filled name as it is.
    PlannedGame game(f, {251});
    game.playToLastScore();
    whenWaiting(&f, [&] { QTest::keyClick(f.Txt99ListaNimi, Qt::Key_Return); });
    game.playLastScore();
    QVERIFY(!guard.fired());
    QCOMPARE(f.bestNames[25], stored);
    const auto row = std::find_if(f.Lbl99Nimi.begin(), f.Lbl99Nimi.end(),
                                  [&](const EventLabel *cell) { return cell->text() == stored; });
    QVERIFY(row != f.Lbl99Nimi.end() && shownAsText(*row, stored));
}

QTEST_MAIN(TestPlainText)
#include "test_plain_text.moc"
