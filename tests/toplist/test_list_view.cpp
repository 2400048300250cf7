// The best-99 list in the window: reading and checking its file at start-up,
// the view and its rank marker, and storing a new result.
#include "WindowFixture.h"

#include "files/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QRegularExpression>
#include <QScrollBar>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QColor markedPlace(128, 255, 128);

// Place i + 1 scores 300 - 2i: 300, 298, ..., 104 at place 99.
BestList usualList()
{
    return makeList([](int i) { return 300 - 2 * i; });
}

// The file with line `number` (1-based) replaced.
QByteArray withLine(const QByteArray &file, int number, const QByteArray &line)
{
    QList<QByteArray> lines = file.split('\n');
    lines[number - 1] = line + '\r';
    return lines.join('\n');
}

QByteArray firstLines(const QByteArray &file, int count)
{
    QList<QByteArray> lines = file.split('\n');
    return lines.mid(0, count).join('\n') + '\n';
}

// The folder's files, but the games file's own (pelit.sqlite and beside it).
QStringList filesIn(const ProgramFolder &folder)
{
    QStringList files = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    files.removeIf([](const QString &name) { return name.startsWith(QStringLiteral("pelit.sqlite")); });
    return files;
}

// The row whose place label is marked, -1 for none; fails on a label that is
// neither marked nor in the normal colour.
int markedRow(const Form1 &f)
{
    int marked = -1;
    for (int r = 0; r < 13; ++r) {
        const QColor colour = f.Lbl99Sijoitus[std::size_t(r)]->backColor();
        if (colour == markedPlace) {
            if (marked >= 0)
                return -2;
            marked = r;
        } else if (colour != f.palette().color(QPalette::Midlight)) {
            return -3;
        }
    }
    return marked;
}

// The records of a list file, or an empty list when it does not read.
BestList recordsOf(const QByteArray &bytes)
{
    const std::optional<BestListFile> file = parseBestList(bytes, nullptr);
    return file ? file->list : BestList{};
}

bool checkNumbersFit(const QByteArray &bytes)
{
    const std::optional<BestListFile> file = parseBestList(bytes, nullptr);
    return file && file->stored == computeCheckNumbers(file->list);
}

} // namespace

class TestListView : public QObject {
    Q_OBJECT

private slots:
    void shippedListLoadsSilentlyIntoTheFirstThirteenRows();
    void tamperCheck_data();
    void tamperCheck();
    void unreadableListEndsStartUp_data();
    void unreadableListEndsStartUp();
    void missingListEndsStartUp();
    void leftoversOfAKilledSaveAreRemovedAtStartUp();
    void aListRunningOnForMegabytesIsReadAndEnteredAsTheListAlone();

    void rankMarker_data();
    void rankMarker();
    void scrollingShowsThirteenPlacesFromTheTop();
    void theWidestPlaceDateAndScoreFitTheirCells();

    void entryIsStoredAtItsPlace_data();
    void entryIsStoredAtItsPlace();
    void okWaitsForANonBlankName();
    void nameBoxRefusesWhatTheFileCannotCarry();
    void failedSaveIsReportedAndTheGameGoesOn();
};

void TestListView::shippedListLoadsSilentlyIntoTheFirstThirteenRows()
{
    QFile shipped(QStringLiteral(KOPPERI_DATA_DIR "/lista99.txt"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    const QByteArray bytes = shipped.readAll();
    ProgramFolder folder;
    folder.write(listFile, bytes);

    Window w(folder);
    QVERIFY(w.loaded);
    QVERIFY(w->isVisible());
    QVERIFY(w.platform.messages.isEmpty());
    QCOMPARE(folder.read(listFile), bytes);  // not rewritten
    QCOMPARE(w->Scroll99Lista->value(), 1);
    QCOMPARE(w->listTop, 1);

    const QList<QByteArray> lines = bytes.split('\n');
    for (int r = 0; r < 13; ++r) {
        const QStringList record = windows1252::decode(lines[r + 1].chopped(1)).split(u',');
        const std::size_t row = std::size_t(r);
        QCOMPARE(w->Lbl99Sijoitus[row]->caption(), QStringLiteral(" %1.").arg(r + 1));
        QCOMPARE(w->Lbl99Nimi[row]->caption(), record[0]);
        QCOMPARE(w->Lbl99Pvm[row]->caption(), record[1]);
        QCOMPARE(w->Lbl99Tulos[row]->caption(), record[2]);
        QCOMPARE(w->Lbl99Sijoitus[row]->backColor(), w->palette().color(QPalette::Midlight));
    }
}

void TestListView::tamperCheck_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("afterStartUp");
    QTest::addColumn<bool>("scolded");

    const BestList original = usualList();
    const CheckNumbers numbers = computeCheckNumbers(original);
    const auto edited = [&](const std::function<void(BestList &)> &change) {
        BestList list = original;
        change(list);
        return list;
    };
    // The records as edited, under the check numbers of the original; a
    // scolded file is rewritten with the same records and fitting numbers.
    const auto row = [&](const char *name, const BestList &list, const CheckNumbers &stored, bool scolded) {
        const QByteArray file = formatBestList(list, stored);
        QTest::newRow(name) << file << (scolded ? listFileBytes(list) : file) << scolded;
    };

    row("a file the program wrote", original, numbers, false);
    row("a name edited, its first letter kept", edited([](BestList &l) { l.names[4] = QStringLiteral("Nuutti"); }),
        numbers, false);
    row("a date edited, its first character kept",
        edited([](BestList &l) { l.dates[7] = QStringLiteral("09.09.99"); }), numbers, false);
    row("one score raised, another lowered as much", edited([](BestList &l) {
            ++l.scores[3];
            --l.scores[60];
        }),
        numbers, false);
    row("one score changed", edited([](BestList &l) { l.scores[10] = 281; }), numbers, true);
    row("a name's first letter changed", edited([](BestList &l) { l.names[0] = QStringLiteral("Pimi1"); }), numbers,
        true);
    row("a date's first character changed", edited([](BestList &l) { l.dates[98] = QStringLiteral("11.01.26"); }),
        numbers, true);
    row("a name given an umlaut first", edited([](BestList &l) { l.names[50] = QStringLiteral("Äimi51"); }), numbers,
        true);

    CheckNumbers names = numbers;
    names.name += 10;  // the same last digit: only this number differs
    row("check number 1 changed on line 1", original, names, true);
    CheckNumbers digit = numbers;
    ++digit.digit;
    row("check number 4 changed on line 1", original, digit, true);
}

void TestListView::tamperCheck()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, afterStartUp);
    QFETCH(bool, scolded);

    ProgramFolder folder;
    folder.write(listFile, file);
    {
        Window w(folder);
        QVERIFY(w.loaded);
        QVERIFY(w->isVisible());
        if (scolded) {
            QCOMPARE(w.platform.messages.size(), 2);
            QCOMPARE(w.platform.messages[0].text,
                     QStringLiteral("LISTA99.TXT-tiedostoa on näpelöity !\r"
                                    "Eihän vaan olla paranneltu tuloksia ?\rOmapa on asiasi !"));
            QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
            QCOMPARE(w.platform.messages[1].text,
                     QStringLiteral("Ohjelma korjaa LISTA99.TXT-tiedoston tarkistusnumerot.\r"
                                    "Yritä olla fuskaamatta jatkossa !"));
            QCOMPARE(w.platform.messages[1].icon, Platform::Icon::Information);
        } else {
            QVERIFY(w.platform.messages.isEmpty());
        }
        QCOMPARE(folder.read(listFile), afterStartUp);
        // The edited records are kept and used, not restored.
        QCOMPARE(listFileBytes(w->best), afterStartUp);
        QVERIFY(w.platform.questions.isEmpty());
    }
    Window again(folder);
    QVERIFY(again.loaded);
    QVERIFY(again.platform.messages.isEmpty());
    QCOMPARE(folder.read(listFile), afterStartUp);
}

void TestListView::unreadableListEndsStartUp_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");

    const QByteArray good = listFileBytes(usualList());
    QTest::newRow("an empty file") << QByteArray() << 1;
    QTest::newRow("cut after line 50") << firstLines(good, 50) << 51;
    QTest::newRow("the last record without its score") << withLine(good, 100, "Nimi99,01.01.26") << 100;
    QTest::newRow("text where a score belongs") << withLine(good, 20, "Nimi19,01.01.26,paljon") << 20;
    QTest::newRow("text where a check number belongs") << withLine(good, 1, "kymmenen,4752,20196,151") << 1;
    QTest::newRow("a score beyond a 16-bit number") << withLine(good, 7, "Nimi6,01.01.26,40000") << 7;
    QTest::newRow("check number 4 beyond a 16-bit number") << withLine(good, 1, "8910,4752,20196,99999") << 1;
}

void TestListView::unreadableListEndsStartUp()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);

    ProgramFolder folder;
    folder.write(listFile, file);
    Window w(folder);
    QVERIFY(!w.loaded);
    QVERIFY(!w->isVisible());
    QCOMPARE(w.platform.messages.size(), 1);
    const QString text = w.platform.messages[0].text;
    QVERIFY2(text.contains(QStringLiteral("LISTA99.TXT")), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\brivi %1\\b").arg(line))), qPrintable(text));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(folder.read(listFile), file);
    QCOMPARE(filesIn(folder), (QStringList{listFile, QStringLiteral("nimet.txt")}));
}

void TestListView::missingListEndsStartUp()
{
    ProgramFolder folder;
    folder.remove(listFile);
    Window w(folder);
    QVERIFY(!w.loaded);
    QVERIFY(!w->isVisible());
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY(w.platform.messages[0].text.contains(QStringLiteral("LISTA99.TXT")));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("nimet.txt")});
}

void TestListView::rankMarker_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("scroll");  // the view's top place afterwards
    QTest::addColumn<int>("row");     // the marked row, -1 for none
    QTest::addColumn<int>("place");   // the would-be place shown in that row

    // The view starts at place 40; the usual list ends with 104 at place 99.
    QTest::newRow("place 1") << 301 << 1 << 0 << 1;
    QTest::newRow("equal to place 1 goes below it") << 300 << 1 << 1 << 2;
    QTest::newRow("place 11, in its own row") << 281 << 1 << 10 << 11;
    QTest::newRow("place 12, on the twelfth row") << 279 << 1 << 11 << 12;
    QTest::newRow("place 13 scrolls by one") << 277 << 2 << 11 << 13;
    QTest::newRow("place 50") << 203 << 39 << 11 << 50;
    QTest::newRow("place 98") << 107 << 87 << 11 << 98;
    QTest::newRow("place 99, on the last row") << 105 << 87 << 12 << 99;
    QTest::newRow("equal to place 99: nothing") << 104 << 40 << -1 << 0;
    QTest::newRow("below the list: nothing") << 12 << 40 << -1 << 0;
}

void TestListView::rankMarker()
{
    QFETCH(int, total);
    QFETCH(int, scroll);
    QFETCH(int, row);
    QFETCH(int, place);

    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.Scroll99Lista->setValue(40);
    f.Lbl99Sijoitus[5]->setBackColor(markedPlace);  // an earlier mark
    f.grandTotal = {301, 0, std::int16_t(total), 0};
    f.lastPlayer = 2;

    f.Lista99Seuranta();

    QCOMPARE(f.Scroll99Lista->value(), scroll);
    QCOMPARE(f.listTop, scroll);
    QCOMPARE(markedRow(f), row);
    if (row >= 0)
        QCOMPARE(f.Lbl99Sijoitus[std::size_t(row)]->caption(), QStringLiteral(" %1.").arg(place));
    QCOMPARE(f.Lbl99Sijoitus[0]->caption(), QStringLiteral(" %1.").arg(scroll));
    QCOMPARE(f.Lbl99Nimi[0]->caption(), QStringLiteral("Nimi%1").arg(scroll));
}

void TestListView::scrollingShowsThirteenPlacesFromTheTop()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.lastPlayer = 0;
    f.grandTotal[0] = 277;
    f.Lista99Seuranta();
    QCOMPARE(markedRow(f), 11);

    f.Scroll99Lista->setValue(87);
    QCOMPARE(f.listTop, 87);
    QCOMPARE(markedRow(f), -1);  // scrolling clears the mark
    for (int r = 0; r < 13; ++r) {
        const std::size_t row = std::size_t(r);
        const int placeShown = 87 + r;
        QCOMPARE(f.Lbl99Sijoitus[row]->caption(), QStringLiteral(" %1.").arg(placeShown));
        QCOMPARE(f.Lbl99Nimi[row]->caption(), QStringLiteral("Nimi%1").arg(placeShown));
        QCOMPARE(f.Lbl99Pvm[row]->caption(), QStringLiteral("01.01.26"));
        QCOMPARE(f.Lbl99Tulos[row]->caption(), QString::number(300 - 2 * (placeShown - 1)));
    }

    f.Scroll99Lista->setValue(1);
    f.Scroll99Lista->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(f.listTop, 14);
    QCOMPARE(f.Lbl99Sijoitus[0]->caption(), QStringLiteral(" 14."));
    QCOMPARE(f.Lbl99Tulos[12]->caption(), QStringLiteral("250"));  // place 26
}

void TestListView::theWidestPlaceDateAndScoreFitTheirCells()
{
    ProgramFolder folder;
    Window w(folder);
    for (std::size_t r = 0; r < 13; ++r) {
        for (const auto &[cell, text] : {std::pair(w->Lbl99Sijoitus[r], " 99."), std::pair(w->Lbl99Pvm[r], "07.12.26"),
                                         std::pair(w->Lbl99Tulos[r], "374")}) {
            // Unless its indent is set, a framed label keeps half an "x" free.
            const int indent = cell->indent() < 0 ? cell->fontMetrics().horizontalAdvance(u'x') / 2 : cell->indent();
            QVERIFY2(cell->fontMetrics().horizontalAdvance(text) <= cell->contentsRect().width() - indent, text);
        }
    }
}

void TestListView::entryIsStoredAtItsPlace_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("scroll");  // the page the view turns to afterwards

    QTest::newRow("the best result at place 1") << 1 << 301 << QStringLiteral("  Voittaja ")
                                                << QStringLiteral("Voittaja") << 1;
    QTest::newRow("place 99 replaces the former 99th") << 99 << 105 << QStringLiteral(" Anna")
                                                       << QStringLiteral("Anna") << 40;
    QTest::newRow("a tie stays below the older equal score") << 12 << 280 << QStringLiteral("Tasan")
                                                             << QStringLiteral("Tasan") << 2;
    QTest::newRow("ten characters are stored whole") << 5 << 293 << QStringLiteral("Abcdefghij")
                                                     << QStringLiteral("Abcdefghij") << 1;
    QTest::newRow("the euro sign is in the file's code page") << 30 << 243 << QStringLiteral("€uro")
                                                              << QStringLiteral("€uro") << 20;
    QTest::newRow("a comma would split the record") << 40 << 223 << QStringLiteral("Pek,ka")
                                                    << QStringLiteral("Pek?ka") << 30;
    QTest::newRow("omega is not in the file's code page") << 60 << 183 << QStringLiteral("Ωmega")
                                                          << QStringLiteral("?mega") << 50;
}

void TestListView::entryIsStoredAtItsPlace()
{
    QFETCH(int, place);
    QFETCH(int, total);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(int, scroll);

    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.Scroll99Lista->setValue(40);
    f.lastPlayer = 1;
    f.grandTotal = {0, std::int16_t(total), 0, 0};
    f.listPlace = std::int16_t(place);
    f.Txt99ListaNimi->setText(typed);

    f.Cmd99ListaOK_Click();

    QVERIFY(f.listEntryDone);
    QVERIFY(w.platform.messages.isEmpty());
    const QByteArray bytes = folder.read(listFile);
    QCOMPARE(bytes.count("\r\n"), 100);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), 100);
    QVERIFY(checkNumbersFit(bytes));
    QCOMPARE(bytes.split('\n')[place],
             windows1252::encode(QStringLiteral("%1,07.12.26,%2\r").arg(stored).arg(total)));
    QVERIFY(!bytes.contains("Nimi99,"));

    const BestList before = usualList();
    const BestList after = recordsOf(bytes);
    for (int i = 0; i < bestListPlaces; ++i) {
        const std::size_t at = std::size_t(i);
        if (i < place - 1) {
            QCOMPARE(after.names[at], before.names[at]);
            QCOMPARE(after.scores[at], before.scores[at]);
        } else if (i >= place) {
            QCOMPARE(after.names[at], before.names[at - 1]);
            QCOMPARE(after.dates[at], before.dates[at - 1]);
            QCOMPARE(after.scores[at], before.scores[at - 1]);
        }
    }
    QCOMPARE(f.bestNames[std::size_t(place - 1)], stored);
    QCOMPARE(f.bestNames[99], QStringLiteral("Nimi99"));  // the spill slot, never saved

    // The view turns to the new entry's page and leaves no row marked.
    QCOMPARE(f.Scroll99Lista->value(), scroll);
    QCOMPARE(markedRow(f), -1);
    if (place >= scroll && place < scroll + 13) {
        const std::size_t row = std::size_t(place - scroll);
        QCOMPARE(f.Lbl99Nimi[row]->caption(), stored);
        QCOMPARE(f.Lbl99Pvm[row]->caption(), QStringLiteral("07.12.26"));
        QCOMPARE(f.Lbl99Tulos[row]->caption(), QString::number(total));
    }
}

void TestListView::okWaitsForANonBlankName()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.Frame99ListaPohja->show();
    f.Txt99ListaNimi->show();
    f.Cmd99ListaOK->show();
    f.lastPlayer = 0;
    f.grandTotal[0] = 301;
    f.listPlace = 1;

    f.Txt99ListaNimi->setText(QStringLiteral(" Anna"));
    QVERIFY(f.Cmd99ListaOK->isEnabled());
    f.Txt99ListaNimi->setText(QStringLiteral("   "));
    QVERIFY(!f.Cmd99ListaOK->isEnabled());
    f.Txt99ListaNimi->clear();
    QVERIFY(!f.Cmd99ListaOK->isEnabled());
    click(f.Cmd99ListaOK);
    QVERIFY(!f.listEntryDone);
    QCOMPARE(folder.read(listFile), listFileBytes(usualList()));

    QTest::keyClicks(f.Txt99ListaNimi, "E");
    QVERIFY(f.Cmd99ListaOK->isEnabled());
    click(f.Cmd99ListaOK);
    QVERIFY(f.listEntryDone);
    QCOMPARE(recordsOf(folder.read(listFile)).names[0], QStringLiteral("E"));
}

void TestListView::nameBoxRefusesWhatTheFileCannotCarry()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    f.Frame99ListaPohja->show();
    f.Txt99ListaNimi->show();
    f.Txt99ListaNimi->setFocus();

    QTest::keyClicks(f.Txt99ListaNimi, "Pek,ka\"");
    QCOMPARE(f.Txt99ListaNimi->text(), QStringLiteral("Pekka"));

    f.Txt99ListaNimi->clear();
    QTest::keyClicks(f.Txt99ListaNimi, "Matti-Petteri");
    QCOMPARE(f.Txt99ListaNimi->text(), QStringLiteral("Matti-Pett"));  // ten characters at most
}

void TestListView::failedSaveIsReportedAndTheGameGoesOn()
{
    ProgramFolder folder;
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    PlannedGame game(f, {251});
    game.playToLastScore();

    whenWaiting(&f, [&] {
        // A folder in the list's place cannot be replaced by the new file.
        folder.remove(listFile);
        QVERIFY(QDir(folder.path()).mkdir(listFile));
        click(f.Cmd99ListaOK);
    });
    game.playLastScore();

    QVERIFY(!guard.fired());
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY(w.platform.messages[0].text.contains(QStringLiteral("LISTA99.TXT")));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
    QVERIFY(QFileInfo(folder.file(listFile)).isDir());
    QCOMPARE(filesIn(folder), (QStringList{listFile, QStringLiteral("nimet.txt")}));  // no temporary file left
    QCOMPARE(f.bestNames[25], QStringLiteral("Anna"));
    QCOMPARE(f.bestScores[25], std::int16_t(251));

    QVERIFY(!f.Frame99ListaPohja->isVisible());
    QCOMPARE(f.LblOtsikko->caption(),
             QStringLiteral(" Peli loppui !    Valitse haluatko aloittaa uuden pelin vaiko lopettaa?"));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    click(f.CmdKaikkiUudelleen);
    QVERIFY(f.CmdAloitaPeli->isVisible());
    QVERIFY(!w.platform.ended);
}

void TestListView::leftoversOfAKilledSaveAreRemovedAtStartUp()
{
    ProgramFolder folder;
    const QByteArray list = folder.read(QStringLiteral("lista99.txt"));
    folder.write(QStringLiteral("lista99.txt.tallennus"), list.left(100));
    folder.write(QStringLiteral("lista99.txt.backup"), list);  // not a leftover: the user's own copy
    Window w(folder);
    QVERIFY(w.loaded);
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("lista99.txt.tallennus"))));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("lista99.txt.backup"))));
    QCOMPARE(folder.read(QStringLiteral("lista99.txt")), list);
}

void TestListView::aListRunningOnForMegabytesIsReadAndEnteredAsTheListAlone()
{
    const auto bytesRead = [] {  // by this process so far
        QFile io(QStringLiteral("/proc/self/io"));
        return io.open(QIODevice::ReadOnly) ? io.readLine().mid(7).trimmed().toLongLong() : -1;  // "rchar: N"
    };
    const QByteArray tail = listFileBytes(usualList()).repeated(4000);  // 8 MB of the list again
    ProgramFolder folder;
    folder.write(listFile, listFileBytes(usualList()) + tail);
    const qint64 readBefore = bytesRead();
    Window w(folder);
    QVERIFY(w.loaded && w.platform.messages.isEmpty() && !w->bestList.followFile());
    w->grandTotal[0] = 251;
    w->listPlace = 1;
    w->Txt99ListaNimi->setText(QStringLiteral("Anna"));
    w->Cmd99ListaOK_Click();
    BestList entered = usualList();
    enterResult(entered, {QStringLiteral("Anna"), QStringLiteral("07.12.26"), 251});
    QCOMPARE(folder.read(listFile), listFileBytes(entered));  // what followed the list goes, as at every save
    // Start-up, the re-read and the save each stop at a bound, far short of the tail.
    QVERIFY(bytesRead() - readBefore < tail.size() / 4);
}

QTEST_MAIN(TestListView)
#include "test_list_view.moc"
