#include "toplist/BestListFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A list as the program would keep it: scores falling, a few awkward names.
BestList sampleList()
{
    BestList list;
    const QStringList names = {QStringLiteral("Väinö"), QStringLiteral("Ässä"),
                               QStringLiteral(" Anna "), QStringLiteral("€uro"),
                               QStringLiteral("Œ"), QString(), QStringLiteral("Matti-Petteri")};
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[i] = names[i % names.size()];
        list.dates[i] = QStringLiteral("%1.12.26").arg(i % 28 + 1, 2, 10, QChar(u'0'));
        list.scores[i] = std::int16_t(300 - i);
    }
    return list;
}

QByteArray sampleFile()
{
    const BestList list = sampleList();
    return formatBestList(list, computeCheckNumbers(list));
}

// The file with line `number` (1-based) replaced.
QByteArray withLine(const QByteArray &file, int number, const QByteArray &line)
{
    QList<QByteArray> lines = file.split('\n');
    lines[number - 1] = line + '\r';
    return lines.join('\n');
}

BestList oneRecordList(const QString &name, const QString &date, int score)
{
    BestList list;
    list.names[0] = name;
    list.dates[0] = date;
    list.scores[0] = std::int16_t(score);
    return list;
}

} // namespace

Q_DECLARE_METATYPE(CheckNumbers)
Q_DECLARE_METATYPE(BestList)

class TestBestListFile : public QObject {
    Q_OBJECT

private slots:
    void checkNumbers_data();
    void checkNumbers();
    void checkNumbersCountPlaces1To99Only();

    void programWrittenFileReadsBackByteForByte();
    void readerAcceptsOtherLayouts_data();
    void readerAcceptsOtherLayouts();
    void scoresAtThe16BitLimitsAreRead();

    void handEditsAreNoticed_data();
    void handEditsAreNoticed();

    void malformedFilesAreRefused_data();
    void malformedFilesAreRefused();
    void damagedFilesNeverCrash();

    void spillSlotNeverReachesTheFile();

    void storableName_data();
    void storableName();

    void saveReplacesTheFile();
    void saveToAMissingFolderFails();
    void saveOverAFolderFails();
    void failedWriteKeepsTheOldFile();

    void shippedListIsConsistent();
};

void TestBestListFile::checkNumbers_data()
{
    QTest::addColumn<BestList>("list");
    QTest::addColumn<CheckNumbers>("expected");

    QTest::newRow("sums ending in 3, 1 and 0 give 51 + 49 + 48 = 148")
        << oneRecordList("Sampo", "31.01.26", 10) << CheckNumbers{83, 51, 10, 148};
    QTest::newRow("sums all ending in 0 give 144")
        << oneRecordList("Pekka", "21.02.26", 300) << CheckNumbers{80, 50, 300, 144};
    QTest::newRow("sums all ending in 9 give 171")
        << oneRecordList("Yrjö", "12.03.26", 299) << CheckNumbers{89, 49, 299, 171};
    QTest::newRow("ä counts 228")
        << oneRecordList(QStringLiteral("äijä"), "", 0) << CheckNumbers{228, 0, 0, 152};
    QTest::newRow("the euro sign counts 128")
        << oneRecordList(QStringLiteral("€"), "", 0) << CheckNumbers{128, 0, 0, 152};
    QTest::newRow("a name the code page cannot carry counts as '?'")
        << oneRecordList(QStringLiteral("Ōta"), "", 0) << CheckNumbers{63, 0, 0, 147};
    QTest::newRow("a negative score sum counts its last digit")
        << oneRecordList("", "", -5) << CheckNumbers{0, 0, -5, 149};
    QTest::newRow("an empty list") << BestList{} << CheckNumbers{0, 0, 0, 144};
}

void TestBestListFile::checkNumbers()
{
    QFETCH(BestList, list);
    QFETCH(CheckNumbers, expected);
    const CheckNumbers computed = computeCheckNumbers(list);
    QCOMPARE(computed.name, expected.name);
    QCOMPARE(computed.date, expected.date);
    QCOMPARE(computed.score, expected.score);
    QCOMPARE(computed.digit, expected.digit);
}

void TestBestListFile::checkNumbersCountPlaces1To99Only()
{
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[i] = QStringLiteral("Anna");
        list.dates[i] = QStringLiteral("07.12.26");
        list.scores[i] = 200;
    }
    list.names[99] = QStringLiteral("Zorro");
    list.dates[99] = QStringLiteral("31.12.99");
    list.scores[99] = 999;
    // 99 × 'A' (65), 99 × '0' (48), 99 × 200; last digits 5, 2, 0.
    QCOMPARE(computeCheckNumbers(list), (CheckNumbers{6435, 4752, 19800, 53 + 50 + 48}));
}

void TestBestListFile::programWrittenFileReadsBackByteForByte()
{
    const BestList list = sampleList();
    const QByteArray file = sampleFile();
    QString error;
    const auto read = parseBestList(file, &error);
    QVERIFY2(read, qPrintable(error));
    for (int i = 0; i < bestListPlaces; ++i) {
        QCOMPARE(read->list.names[i], list.names[i]);
        QCOMPARE(read->list.dates[i], list.dates[i]);
        QCOMPARE(read->list.scores[i], list.scores[i]);
    }
    QCOMPARE(read->stored, computeCheckNumbers(list));
    QCOMPARE(formatBestList(read->list, read->stored), file);
    // The names are Windows-1252 bytes in the file, not UTF-8.
    QVERIFY(file.contains("V\xE4in\xF6,01.12.26,300\r\n"));
}

void TestBestListFile::readerAcceptsOtherLayouts_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray file = sampleFile();
    auto replaced = [&](const char *from, const char *to) {
        return QByteArray(file).replace(from, to);
    };

    QTest::newRow("LF line ends") << replaced("\r\n", "\n");
    QTest::newRow("CR line ends") << replaced("\r\n", "\r");
    QTest::newRow("empty lines between the records") << replaced("\r\n", "\r\n\r\n\n\r");
    QTest::newRow("no line break after the last record") << file.chopped(2);
    QTest::newRow("all fields on one line") << replaced("\r\n", ",");
    QTest::newRow("lines after place 99 are ignored") << file + "Extra,01.01.27,999\r\nx\r\n";
    QTest::newRow("blanks and a plus sign around a score")
        << replaced("V\xE4in\xF6,01.12.26,300", "V\xE4in\xF6,01.12.26, \t+300 ");
}

void TestBestListFile::readerAcceptsOtherLayouts()
{
    QFETCH(QByteArray, file);
    QString error;
    const auto read = parseBestList(file, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(formatBestList(read->list, read->stored), sampleFile());
}

void TestBestListFile::scoresAtThe16BitLimitsAreRead()
{
    BestList list = sampleList();
    list.scores[0] = 32767;
    list.scores[98] = -32768;
    const QByteArray file = formatBestList(list, computeCheckNumbers(list));
    QString error;
    const auto read = parseBestList(file, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->list.scores[0], std::int16_t(32767));
    QCOMPARE(read->list.scores[98], std::int16_t(-32768));
    QCOMPARE(read->stored, computeCheckNumbers(list));
}

void TestBestListFile::handEditsAreNoticed_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("passes");
    const QByteArray file = sampleFile();
    const CheckNumbers numbers = computeCheckNumbers(sampleList());
    auto firstLine = [&](int name, int date, int score, int digit) {
        return withLine(file, 1, QByteArray::number(name) + ',' + QByteArray::number(date) + ','
                                     + QByteArray::number(score) + ',' + QByteArray::number(digit));
    };

    QTest::newRow("a file written by the program") << file << true;
    QTest::newRow("a name edited, first letter kept")
        << withLine(file, 2, "Vilho Veijari,01.12.26,300") << true;
    QTest::newRow("a date edited, first character kept")
        << withLine(file, 2, "V\xE4in\xF6,09.09.09,300") << true;
    QTest::newRow("one score raised and another lowered as much")
        << withLine(withLine(file, 2, "V\xE4in\xF6,01.12.26,350"), 3, "\xC4ss\xE4,02.12.26,249")
        << true;
    QTest::newRow("one score raised") << withLine(file, 2, "V\xE4in\xF6,01.12.26,301") << false;
    QTest::newRow("the last place's score changed")
        << withLine(file, 100, "V\xE4in\xF6,15.12.26,1") << false;
    QTest::newRow("the first letter of a name changed")
        << withLine(file, 2, "Pekka,01.12.26,300") << false;
    QTest::newRow("the first character of a date changed")
        << withLine(file, 2, "V\xE4in\xF6,11.12.26,300") << false;
    QTest::newRow("check number 1 changed")
        << firstLine(numbers.name + 10, numbers.date, numbers.score, numbers.digit) << false;
    QTest::newRow("check number 2 changed")
        << firstLine(numbers.name, numbers.date - 1, numbers.score, numbers.digit) << false;
    QTest::newRow("check number 3 changed")
        << firstLine(numbers.name, numbers.date, numbers.score + 100, numbers.digit) << false;
    QTest::newRow("check number 4 changed")
        << firstLine(numbers.name, numbers.date, numbers.score, numbers.digit + 1) << false;
}

void TestBestListFile::handEditsAreNoticed()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, passes);
    QString error;
    const auto read = parseBestList(file, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(computeCheckNumbers(read->list) == read->stored, passes);
}

void TestBestListFile::malformedFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QByteArray file = sampleFile();
    const QList<QByteArray> lines = file.split('\n');
    auto firstLines = [&](int count) { return lines.mid(0, count).join('\n') + '\n'; };
    const QString ends = QStringLiteral("tiedosto loppuu kesken.");
    const QString scoreText = QStringLiteral("pisteiden paikalla on tekstiä.");
    const QString scoreRange = QStringLiteral("pisteet eivät mahdu sallittuihin rajoihin.");
    auto at = [](int line, const QString &what) {
        return QStringLiteral("LISTA99.TXT, rivi %1: %2").arg(line).arg(what);
    };

    QTest::newRow("an empty file") << QByteArray() << at(1, ends);
    QTest::newRow("line 1 with three numbers only") << QByteArray("1,2,3\r\n") << at(1, ends);
    QTest::newRow("the check numbers only") << firstLines(1) << at(2, ends);
    QTest::newRow("the file ends after place 49") << firstLines(50) << at(51, ends);
    QTest::newRow("place 50 without its score")
        << firstLines(50) + "Anna,07.12.26\r\n" << at(51, ends);
    QTest::newRow("place 99 missing") << firstLines(99) << at(100, ends);
    QTest::newRow("garbage bytes")
        << QByteArray("\xFF\xFE\x00\x81,\x9D\r\n\x01\x02", 10) << at(2, ends);
    QTest::newRow("text where a score belongs")
        << withLine(file, 7, "Anna,07.12.26,paljon") << at(7, scoreText);
    QTest::newRow("a score with decimals")
        << withLine(file, 7, "Anna,07.12.26,12.5") << at(7, scoreText);
    QTest::newRow("a score with a sign only") << withLine(file, 7, "Anna,07.12.26,-") << at(7, scoreText);
    QTest::newRow("a score in hexadecimal") << withLine(file, 7, "Anna,07.12.26,0x1F") << at(7, scoreText);
    QTest::newRow("an empty score")
        << withLine(file, 7, "Anna,07.12.26,") << at(7, QStringLiteral("pisteet puuttuvat."));
    QTest::newRow("a name with a comma moves the score")
        << withLine(file, 7, "Anna,Liisa,07.12.26,250") << at(7, scoreText);
    QTest::newRow("a score above the 16-bit range")
        << withLine(file, 100, "Anna,07.12.26,32768") << at(100, scoreRange);
    QTest::newRow("a score below the 16-bit range")
        << withLine(file, 100, "Anna,07.12.26,-32769") << at(100, scoreRange);
    QTest::newRow("a score with very many digits")
        << withLine(file, 3, "Anna,07.12.26,123456789012345678901234567890") << at(3, scoreRange);
    QTest::newRow("LF line ends still count lines")
        << withLine(file, 7, "Anna,07.12.26,x").replace("\r\n", "\n") << at(7, scoreText);
    QTest::newRow("an empty line still counts as a line")
        << withLine(file, 7, "Anna,07.12.26,x").replace("\r\n", "\r\n\r\n") << at(13, scoreText);
    QTest::newRow("an empty first line is line 1's fault")
        << "\r\n" + file << at(1, QStringLiteral("tarkistusnumerot puuttuvat."));
    QTest::newRow("check number 1 above the 32-bit range")
        << withLine(file, 1, "2147483648,1,2,3")
        << at(1, QStringLiteral("tarkistusnumero 1 ei mahdu sallittuihin rajoihin."));
    QTest::newRow("check number 3 below the 32-bit range")
        << withLine(file, 1, "1,2,-2147483649,3")
        << at(1, QStringLiteral("tarkistusnumero 3 ei mahdu sallittuihin rajoihin."));
    QTest::newRow("check number 4 above the 16-bit range")
        << withLine(file, 1, "1,2,3,32768")
        << at(1, QStringLiteral("tarkistusnumero 4 ei mahdu sallittuihin rajoihin."));
    QTest::newRow("check number 2 missing")
        << withLine(file, 1, "1, ,3,4") << at(1, QStringLiteral("tarkistusnumero 2 puuttuu."));
    QTest::newRow("garbage where check number 1 belongs")
        << withLine(file, 1, "\xFF\xFE,2,3,4")
        << at(1, QStringLiteral("tarkistusnumeron 1 paikalla on tekstiä."));
}

void TestBestListFile::malformedFilesAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!parseBestList(file, &error));
    QCOMPARE(error, message);
}

void TestBestListFile::damagedFilesNeverCrash()
{
    const QByteArray file = sampleFile();
    QRandomGenerator random(99);
    for (int round = 0; round < 2000; ++round) {
        QByteArray damaged = file.left(int(random.bounded(file.size() + 1)));
        for (int n = int(random.bounded(6)); n > 0 && !damaged.isEmpty(); --n)
            damaged[int(random.bounded(damaged.size()))] = char(random.bounded(256));
        QString error;
        const auto read = parseBestList(damaged, &error);
        if (read)
            QVERIFY(error.isEmpty());
        else
            QVERIFY2(error.startsWith(QStringLiteral("LISTA99.TXT, rivi ")), qPrintable(error));
    }
}

void TestBestListFile::spillSlotNeverReachesTheFile()
{
    BestList list = sampleList();
    const QByteArray withoutSpill = formatBestList(list, computeCheckNumbers(list));
    list.names[99] = QStringLiteral("Ylivuoto");
    list.dates[99] = QStringLiteral("31.12.99");
    list.scores[99] = 1;
    const QByteArray file = formatBestList(list, computeCheckNumbers(list));

    QCOMPARE(file, withoutSpill);
    QCOMPARE(file.count("\r\n"), 100);
    QCOMPARE(file.count('\n'), 100);
    QCOMPARE(file.count('\r'), 100);
    QVERIFY(file.endsWith("\r\n"));
    QVERIFY(!file.contains("Ylivuoto"));
}

void TestBestListFile::storableName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    QTest::newRow("a Finnish name stays") << QStringLiteral("Väinö Äijälä") << QStringLiteral("Väinö Äijälä");
    QTest::newRow("blanks stay") << QStringLiteral(" Anna ") << QStringLiteral(" Anna ");
    QTest::newRow("an empty name stays empty") << QString() << QString();
    QTest::newRow("letters of the 0x80 block stay") << QStringLiteral("€ŠŒŽšœžŸ") << QStringLiteral("€ŠŒŽšœžŸ");
    QTest::newRow("a comma") << QStringLiteral("Anna,Liisa") << QStringLiteral("Anna?Liisa");
    QTest::newRow("double quotes") << QStringLiteral("\"Ässä\"") << QStringLiteral("?Ässä?");
    QTest::newRow("line breaks") << QStringLiteral("Anna\r\nB") << QStringLiteral("Anna??B");
    QTest::newRow("a tab") << QStringLiteral("A\tB") << QStringLiteral("A?B");
    QTest::newRow("DEL") << QStringLiteral("A\u007F") << QStringLiteral("A?");
    QTest::newRow("a C1 control, though the code page has its byte")
        << QStringLiteral("A\u0081") << QStringLiteral("A?");
    QTest::newRow("letters outside the code page") << QStringLiteral("Ōta Жан") << QStringLiteral("?ta ???");
    QTest::newRow("a die emoji is one question mark")
        << QStringLiteral("Noppa\U0001F3B2") << QStringLiteral("Noppa?");
    QTest::newRow("a lone surrogate") << (QString(QChar(0xDC00)) + u'x') << QStringLiteral("?x");
}

void TestBestListFile::storableName()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QCOMPARE(::storableName(name), stored);

    // Whatever the name, the stored one comes back from the file unchanged.
    BestList list = sampleList();
    list.names[4] = ::storableName(name);
    const auto read = parseBestList(formatBestList(list, computeCheckNumbers(list)), nullptr);
    QVERIFY(read);
    QCOMPARE(read->list.names[4], stored);
    QCOMPARE(read->list.scores[4], list.scores[4]);
    QCOMPARE(read->stored, computeCheckNumbers(list));
}

void TestBestListFile::saveReplacesTheFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("lista99.txt"));

    QCOMPARE(saveFileAtomically(path, "first\r\n"), QString());
    const QByteArray bytes = sampleFile();
    QCOMPARE(saveFileAtomically(path, bytes), QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("lista99.txt")});
}

void TestBestListFile::saveToAMissingFolderFails()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("puuttuu/lista99.txt"));
    QVERIFY(!saveFileAtomically(path, sampleFile()).isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestBestListFile::saveOverAFolderFails()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lista99.txt"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("lista99.txt")));
    QVERIFY(!saveFileAtomically(path, sampleFile()).isEmpty());
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestBestListFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lista99.txt"));
    const QByteArray old = sampleFile();
    QCOMPARE(saveFileAtomically(path, old), QString());

    // A file size limit makes the write fail half-way, as a full disk would;
    // permissions cannot, since the tests may run as root.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString reason = saveFileAtomically(path, QByteArray(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);

    QVERIFY(!reason.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("lista99.txt")});
}

void TestBestListFile::shippedListIsConsistent()
{
    QFile file(QStringLiteral(KOPPERI_DATA_DIR "/lista99.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QString error;
    const auto read = parseBestList(bytes, &error);
    QVERIFY2(read, qPrintable(error));

    QCOMPARE(read->stored, computeCheckNumbers(read->list));
    // Written exactly as the program writes it: 100 CR LF lines.
    QCOMPARE(formatBestList(read->list, read->stored), bytes);
    const QRegularExpression date(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$"));
    for (int i = 0; i < bestListPlaces; ++i) {
        const QString &name = read->list.names[i];
        QVERIFY2(!name.isEmpty() && name.size() <= 8 && name == ::storableName(name), qPrintable(name));
        QVERIFY2(date.match(read->list.dates[i]).hasMatch(), qPrintable(read->list.dates[i]));
        if (i > 0)
            QVERIFY(read->list.scores[i] <= read->list.scores[i - 1]);
    }
    QVERIFY(read->list.scores[98] > 0);
}

QTEST_APPLESS_MAIN(TestBestListFile)
#include "test_best_list_file.moc"
