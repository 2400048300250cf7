#include "game/NamesFile.h"
#include "files/RegularFile.h"
#include "files/Windows1252.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <sys/stat.h>

class TestNamesFile : public QObject {
    Q_OBJECT

private slots:
    void namesAreReadLineByLine_data();
    void namesAreReadLineByLine();
    void anyBytesGiveNamesWithoutLineFeeds();
    void shippedNamesFileReads();
    void aFifoIsRefusedWithoutWaitingForAWriter();

    void everyByteDecodesAndEncodesBack();
    void bytesOfTheCodePage_data();
    void bytesOfTheCodePage();
    void charactersWithoutAByteBecomeQuestionMarks_data();
    void charactersWithoutAByteBecomeQuestionMarks();
};

void TestNamesFile::namesAreReadLineByLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("Anna, empty line, Pekka, Anna gives Anna, Pekka, Anna")
        << QByteArray("Anna\r\n\r\nPekka\r\nAnna\r\n") << QStringList{"Anna", "Pekka", "Anna"};
    QTest::newRow("blanks stay, a blank-only line is a name")
        << QByteArray(" Anna \r\n   \r\nPekka Puup\xE4\xE4\r\n")
        << QStringList{" Anna ", "   ", QStringLiteral("Pekka Puupää")};
    QTest::newRow("the last line needs no line break")
        << QByteArray("Anna\r\nPekka") << QStringList{"Anna", "Pekka"};
    QTest::newRow("LF-only line ends")
        << QByteArray("Anna\nLiisa\n\nMatti") << QStringList{"Anna", "Liisa", "Matti"};
    QTest::newRow("ä and ö as Windows-1252 bytes")
        << QByteArray("P\xE4ivi\r\nV\xE4in\xF6\r\n\xC4ij\xF6\r\n")
        << QStringList{QStringLiteral("Päivi"), QStringLiteral("Väinö"), QStringLiteral("Äijö")};
    QTest::newRow("the euro sign is byte 0x80")
        << QByteArray("\x80uro\r\n") << QStringList{QStringLiteral("€uro")};
    QTest::newRow("an empty file gives no names") << QByteArray() << QStringList{};
    QTest::newRow("line breaks only give no names")
        << QByteArray("\r\n\n\r\n") << QStringList{};
    QTest::newRow("a lone CR ends a line") << QByteArray("An\rna\r\r\nPekka") << QStringList{"An", "na", "Pekka"};
    QTest::newRow("UTF-8, letters beyond the code page too")
        << QByteArray("V\xC3\xA4in\xC3\xB6\n\xC5\x81ukasz") << QStringList{"Väinö", "Łukasz"};
    QTest::newRow("UTF-8 after a byte-order mark") << QByteArray("\xEF\xBB\xBFP\xC3\xA4ivi") << QStringList{"Päivi"};
    QTest::newRow("one byte that is not UTF-8 makes the whole file Windows-1252")
        << QByteArray("P\xC3\xA4ivi\r\nV\xE4in\xF6") << QStringList{"PÃ¤ivi", "Väinö"};
    QStringList thousand;
    for (int i = 1; i <= 1000; ++i)
        thousand << QStringLiteral("Nimi%1").arg(i);
    QTest::newRow("1,000 names at most") << (thousand.join(u'\n') + QStringLiteral("\nNimi1001")).toLatin1() << thousand;
    QTest::newRow("a long name is kept whole")
        << QByteArray(300, 'x') << QStringList{QString(300, u'x')};
    QTest::newRow("a byte-order mark inside a line or alone is dropped")
        << QByteArray("Anna\r\nLii\xEF\xBB\xBFsa\r\n\xEF\xBB\xBF") << QStringList{"Anna", "Liisa"};
    QTest::newRow("controls and tabs are dropped, blanks stay, a line of controls is none")
        << QByteArrayLiteral("\x01 An\0na\t\x7F \r\n\x1B\x07\r\n\x81P\xE4ivi\x9D")
        << QStringList{" Anna ", QStringLiteral("Päivi")};
    QTest::newRow("format characters: direction marks, a joiner, a tag beyond the BMP")
        << QByteArray("\xE2\x80\x8F" "Anna\xE2\x80\x8D\xF3\xA0\x81\x81") << QStringList{"Anna"};
}

void TestNamesFile::namesAreReadLineByLine()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    QCOMPARE(readNames(file), names);
}

void TestNamesFile::anyBytesGiveNamesWithoutLineFeeds()
{
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(char(b));
    // LF and CR split the bytes (not UTF-8) into three lines: one name once the controls and soft hyphen go.
    const QRegularExpression dropped(QStringLiteral("[\\x81\\x8D\\x8F\\x90\\x9D\\xAD]"));
    QCOMPARE(readNames(allBytes), QStringList{windows1252::decode(allBytes.mid(32, 95) + allBytes.mid(128)).remove(dropped)});

    QRandomGenerator random(1252);
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes(int(random.bounded(200)), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        qsizetype characters = 0;
        for (const QString &name : readNames(bytes)) {
            QVERIFY(!name.isEmpty());
            QVERIFY(!name.contains(QRegularExpression(QStringLiteral("[\\p{Cc}\\p{Cf}]"))));
            characters += name.size();
        }
        QVERIFY(characters <= bytes.size());
    }
}

void TestNamesFile::shippedNamesFileReads()
{
    QFile file(QStringLiteral(KOPPERI_DATA_DIR "/nimet.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    const QStringList names = readNames(bytes);
    QVERIFY(names.size() >= 4);
    for (const QString &name : names)
        QVERIFY2(!name.contains(u'\r') && !name.trimmed().isEmpty(), qPrintable(name));
    // Finnish names with ä or ö must come through the code page.
    QVERIFY(names.join(QString()).contains(QRegularExpression(QStringLiteral("[äöÄÖ]"))));
}

void TestNamesFile::aFifoIsRefusedWithoutWaitingForAWriter()
{
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("nimet.txt"))).constData(), 0600), 0);
    QVERIFY(!readRegularFile(dir.filePath(QStringLiteral("nimet.txt")), namesFileByteLimit).ok());
}

void TestNamesFile::everyByteDecodesAndEncodesBack()
{
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(char(b));
    const QString text = windows1252::decode(allBytes);
    QCOMPARE(text.size(), 256);
    QCOMPARE(windows1252::encode(text), allBytes);
    for (int b = 0; b < 256; ++b) {
        QVERIFY(windows1252::canEncode(text[b]));
        QCOMPARE(windows1252::code(text[b]), b);
    }
}

void TestNamesFile::bytesOfTheCodePage_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");

    QTest::newRow("euro sign") << 0x80 << 0x20AC;
    QTest::newRow("single low quote") << 0x82 << 0x201A;
    QTest::newRow("S with caron") << 0x8A << 0x0160;
    QTest::newRow("right double quote") << 0x94 << 0x201D;
    QTest::newRow("trade mark") << 0x99 << 0x2122;
    QTest::newRow("Y with diaeresis") << 0x9F << 0x0178;
    QTest::newRow("undefined 0x81 keeps its C1 control") << 0x81 << 0x81;
    QTest::newRow("undefined 0x8D") << 0x8D << 0x8D;
    QTest::newRow("undefined 0x8F") << 0x8F << 0x8F;
    QTest::newRow("undefined 0x90") << 0x90 << 0x90;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x9D;
    QTest::newRow("no-break space") << 0xA0 << 0xA0;
    QTest::newRow("Ä") << 0xC4 << 0xC4;
    QTest::newRow("ä") << 0xE4 << 0xE4;
    QTest::newRow("ö") << 0xF6 << 0xF6;
    QTest::newRow("y with diaeresis") << 0xFF << 0xFF;
    QTest::newRow("A") << 0x41 << 0x41;
    QTest::newRow("NUL") << 0x00 << 0x00;
}

void TestNamesFile::bytesOfTheCodePage()
{
    QFETCH(int, byte);
    QFETCH(int, character);
    const QChar c = QChar(char16_t(character));
    QCOMPARE(windows1252::decode(QByteArray(1, char(byte))), QString(c));
    QCOMPARE(windows1252::encode(QString(c)), QByteArray(1, char(byte)));
    QCOMPARE(windows1252::code(c), byte);
}

void TestNamesFile::charactersWithoutAByteBecomeQuestionMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("A with macron") << QStringLiteral("\u0100x") << QByteArray("?x");
    QTest::newRow("Cyrillic") << QStringLiteral("Жанна") << QByteArray("?????");
    QTest::newRow("C1 control whose byte is the euro sign")
        << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("a character beyond the BMP is one question mark")
        << QStringLiteral("a\U0001F3B2b") << QByteArray("a?b");
    QTest::newRow("a lone high surrogate")
        << (QString(QChar(0xD83C)) + u'b') << QByteArray("?b");
    QTest::newRow("a lone low surrogate at the end")
        << (u'a' + QString(QChar(0xDFB2))) << QByteArray("a?");
    QTest::newRow("a question mark stays one") << QStringLiteral("?") << QByteArray("?");
}

void TestNamesFile::charactersWithoutAByteBecomeQuestionMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(windows1252::encode(text), bytes);
    QCOMPARE(windows1252::code(text.front()), int(bytes.front()));
    QCOMPARE(windows1252::canEncode(text.front()), bytes.front() != '?' || text.front() == u'?');
}

QTEST_APPLESS_MAIN(TestNamesFile)
#include "test_names_file.moc"
