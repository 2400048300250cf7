// The die pictures beside the program, and the built-in ones behind them.
#include "WindowFixture.h"
#include "game/FileLocations.h"
#include "ui/Pictures.h"

#include <QImage>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QColor centreOf(const QPixmap &picture)
{
    return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

const QColor red(255, 0, 0);

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void startPicturesAndIconAreBuiltIn();
    void aPictureBesideTheProgramIsShown();
    void aMissingOrBrokenPictureFallsBackToTheBuiltInOne();
    void markedAndBlankDiceShowTheirPictures();
    void aFifoOrAnOversizedFileFallsBackWithoutWaiting_data();
    void aFifoOrAnOversizedFileFallsBackWithoutWaiting();
    void thePlayersPictureComesFirstThenTheInstalledOneThenTheBuiltInOne();
    void atTwiceTheScaleOnlyTheProgramsOwnPicturesAreSharp();
};

void TestPictures::startPicturesAndIconAreBuiltIn()
{
    ProgramFolder folder;
    Window w(folder);
    QCOMPARE(w->dice[0]->pictureName(), w->dice[4]->pictureName());
    QVERIFY(w->dice[1]->pictureName() != w->dice[0]->pictureName());
    QVERIFY(w->dice[2]->pictureName() != w->dice[1]->pictureName());
    QVERIFY(w->dice[3]->pictureName() != w->dice[2]->pictureName());
    for (DieBox *die : w->dice)
        QCOMPARE(die->picture().size(), QSize(56, 49));
    QVERIFY(!w->windowIcon().isNull());
    QCOMPARE(w->windowIcon().availableSizes().value(0), QSize(64, 64));
}

void TestPictures::aPictureBesideTheProgramIsShown()
{
    ProgramFolder folder;
    for (int face = 1; face <= 6; ++face) {
        QImage red(56, 49, QImage::Format_RGB888);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(folder.file(QStringLiteral("%1.bmp").arg(face)), "BMP"));
    }
    Window w(folder);
    startGame(*w, 1);
    click(w->CmdKaikkiUudelleen);
    for (std::size_t d = 0; d < w->dice.size(); ++d) {
        QCOMPARE(w->dice[d]->pictureName(), QStringLiteral("%1.bmp").arg(w->diceValues[d]));
        QCOMPARE(centreOf(w->dice[d]->picture()), QColor(255, 0, 0));
    }
}

void TestPictures::aMissingOrBrokenPictureFallsBackToTheBuiltInOne()
{
    ProgramFolder folder;
    for (int face = 1; face <= 6; ++face)
        folder.write(QStringLiteral("%1.bmp").arg(face), QByteArray("not a bitmap"));
    Window w(folder);
    startGame(*w, 1);
    click(w->CmdKaikkiUudelleen);
    for (DieBox *die : w->dice) {
        QCOMPARE(die->picture().size(), QSize(56, 49));
        QVERIFY(centreOf(die->picture()) != QColor(255, 0, 0));
    }
}

void TestPictures::markedAndBlankDiceShowTheirPictures()
{
    ProgramFolder folder;
    Window w(folder);
    startGame(*w, 1);
    click(w->CmdKaikkiUudelleen);
    const int value = w->diceValues[2];
    click(w->dice[2]);
    QCOMPARE(w->dice[2]->pictureName(), QStringLiteral("v%1.bmp").arg(value));
    QVERIFY(!w->dice[2]->picture().isNull());
    click(w->dice[2]);
    click(w->CmdSäästäKaikki);
    click(w->categoryHeadings[14]);
    for (DieBox *die : w->dice) {
        QCOMPARE(die->pictureName(), QStringLiteral("t1.bmp"));
        QVERIFY(!die->picture().isNull());
    }
}

void TestPictures::aFifoOrAnOversizedFileFallsBackWithoutWaiting_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("a FIFO") << true;
    QTest::newRow("a picture of over a megabyte") << false;
}

void TestPictures::aFifoOrAnOversizedFileFallsBackWithoutWaiting()
{
    QFETCH(bool, fifo);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t1.bmp"));
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QImage big(700, 500, QImage::Format_RGB888);
        big.fill(red);
        QVERIFY(big.save(path, "BMP"));
    }
    // A reader still stuck in open() after a few seconds is let go by opening
    // the writing end, which succeeds only while a reader waits: a regression
    // fails instead of hanging.
    std::promise<void> done;
    std::atomic<bool> stuck{false};
    std::thread watchdog([&, finished = done.get_future()] {
        if (fifo && finished.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            stuck = fd >= 0;
            if (fd >= 0)
                ::close(fd);
        }
    });
    const QPixmap picture = diePicture(QStringLiteral("t1.bmp"), {folder.path()});
    done.set_value();
    watchdog.join();
    QVERIFY(!stuck);
    QCOMPARE(picture.size(), QSize(56, 49));
    QCOMPARE(centreOf(picture), centreOf(QPixmap(QStringLiteral(":/pictures/t1.bmp"))));
}

void TestPictures::thePlayersPictureComesFirstThenTheInstalledOneThenTheBuiltInOne()
{
    QTemporaryDir player, data;
    const FileLocations installed{player.path(), data.path(), {}};
    const QString name = QStringLiteral("4.bmp");
    auto paint = [&](const QTemporaryDir &folder, const QColor &colour) {
        QImage picture(56, 49, QImage::Format_RGB888);
        picture.fill(colour);
        return picture.save(folder.filePath(name), "BMP");
    };
    QVERIFY(paint(player, red) && paint(data, Qt::blue));
    QCOMPARE(centreOf(diePicture(name, installed.pictureFolders())), red);
    QVERIFY(QFile::remove(player.filePath(name)));
    QCOMPARE(centreOf(diePicture(name, installed.pictureFolders())), QColor(Qt::blue));
    QVERIFY(QFile::remove(data.filePath(name)));
    QCOMPARE(centreOf(diePicture(name, installed.pictureFolders())), centreOf(QPixmap(":/pictures/" + name)));
}

void TestPictures::atTwiceTheScaleOnlyTheProgramsOwnPicturesAreSharp()
{
    QTemporaryDir folder;
    QVERIFY(QFile::copy(QStringLiteral(":/pictures/5.bmp"), folder.filePath(QStringLiteral("5.bmp"))));  // as the build puts it
    QImage players(56, 49, QImage::Format_RGB888);
    players.fill(red);
    QVERIFY(players.save(folder.filePath(QStringLiteral("6.bmp")), "BMP"));

    for (const QPixmap &own : {diePicture(QStringLiteral("4.bmp"), {}, 2), diePicture(QStringLiteral("5.bmp"), {folder.path()}, 2)}) {
        QCOMPARE(own.devicePixelRatio(), 2.0);
        QCOMPARE(own.size(), QSize(112, 98));
    }
    const QPixmap shown = diePicture(QStringLiteral("6.bmp"), {folder.path()}, 2);
    QCOMPARE(shown.devicePixelRatio(), 1.0);
    QCOMPARE(shown.size(), QSize(56, 49));
    QCOMPARE(centreOf(shown), red);
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
