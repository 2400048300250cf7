// Names and dates from the files and the keyboard show as the characters they
// are, never as markup, and a pre-filled best-99 name is one the list can store.
#include "WindowFixture.h"

#include <QGroupBox>
#include <QImage>

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    void namesAndDatesShowAsText_data();
    void namesAndDatesShowAsText();
    void preFilledBestNameIsStorable_data();
    void preFilledBestNameIsStorable();
};

namespace {

// Shown as text: the whole caption is laid out, not a shorter rendering of it.
void expectShownAsText(const QLabel *label, const QString &text)
{
    QCOMPARE(label->text(), text);
    QVERIFY2(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(text), qPrintable(text));
}

bool hasPixel(QWidget *widget, QRgb colour)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

void typeName(QComboBox *box, const QString &name)
{
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), name);
}

// Plays a one-player game of 251 points (place 26 of the fixture's list) up
// to the best-99 entry, runs `atEntry` there and answers with Enter.
void playToTheEntry(Window &w, const std::function<void()> &atEntry)
{
    Form1 &f = *w;
    PlannedGame game(f, {251});
    game.playToLastScore();
    whenWaiting(&f, [&] {
        atEntry();
        QTest::keyClick(f.Txt99ListaNimi, Qt::Key_Return);
    });
    game.playLastScore();
}

const EventLabel *listRowNamed(const Form1 &f, const QString &name)
{
    for (const EventLabel *cell : f.Lbl99Nimi)
        if (cell->caption() == name)
            return cell;
    return nullptr;
}

} // namespace

void TestPlainText::namesAndDatesShowAsText_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");

    QTest::newRow("<b>Anna picked from nimet.txt") << "nimet.txt" << "<b>Anna";
    QTest::newRow("<b>Anna typed into the name box") << "typed" << "<b>Anna";
    QTest::newRow("<b>Anna as name and date in lista99.txt") << "lista99.txt" << "<b>Anna";
    QTest::newRow("a picture in lista99.txt is not loaded") << "lista99.txt" << "<img src=PICTURE>";
}

void TestPlainText::namesAndDatesShowAsText()
{
    QFETCH(QString, source);
    QFETCH(QString, text);
    ProgramFolder folder;
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    QVERIFY(red.save(folder.file(QStringLiteral("red.png"))));
    text.replace(QStringLiteral("PICTURE"), folder.file(QStringLiteral("red.png")));

    if (source == QLatin1String("nimet.txt"))
        folder.write(QStringLiteral("nimet.txt"), text.toUtf8() + "\r\nPekka\r\n");
    if (source == QLatin1String("lista99.txt")) {
        BestList list = makeList([](int i) { return 300 - 2 * i; });
        list.names[0] = text;
        list.dates[0] = text;
        folder.write(QStringLiteral("lista99.txt"), listFileBytes(list));
    }
    Window w(folder);
    QVERIFY(w.loaded);
    Form1 &f = *w;

    if (source == QLatin1String("lista99.txt")) {
        expectShownAsText(f.Lbl99Nimi[0], text);
        expectShownAsText(f.Lbl99Pvm[0], text);
        QVERIFY(!hasPixel(f.Lbl99Nimi[0], qRgb(255, 0, 0)));
        return;
    }

    if (source == QLatin1String("nimet.txt"))
        f.ComboNimi[0]->setCurrentIndex(0);
    else
        typeName(f.ComboNimi[0], text);
    QCOMPARE(f.ComboNimi[0]->currentText(), text);
    click(f.CmdAloitaPeli);
    expectShownAsText(f.LblNimi[0], u' ' + text);
    expectShownAsText(f.LblVuorossa, u' ' + text);

    // The same name taken into the best-99 list.
    WaitGuard guard(w);
    playToTheEntry(w, [] {});
    QVERIFY(!guard.fired());
    const EventLabel *row = listRowNamed(f, text);
    QVERIFY(row);
    expectShownAsText(row, text);
}

void TestPlainText::preFilledBestNameIsStorable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("preFilled");

    QTest::newRow("a letter outside the code page") << QStringLiteral("Łukasz") << QStringLiteral(" ?ukasz");
    QTest::newRow("a comma") << QStringLiteral("A,B") << QStringLiteral(" A?B");
}

void TestPlainText::preFilledBestNameIsStorable()
{
    QFETCH(QString, typed);
    QFETCH(QString, preFilled);
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {typed});

    QString shown;
    playToTheEntry(w, [&] { shown = f.Txt99ListaNimi->text(); });
    QVERIFY(!guard.fired());
    QCOMPARE(shown, preFilled);
    QVERIFY(f.Frame99ListaPohja->isHidden());  // Enter took the name
    QCOMPARE(f.bestNames[25], preFilled.trimmed());
}

QTEST_MAIN(TestPlainText)
#include "test_plain_text.moc"
