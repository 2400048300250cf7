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

QImage builtIn(const char *name)
{
    return QPixmap(QStringLiteral(":/pictures/") + QLatin1String(name)).toImage();
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void startPicturesAndIconAreBuiltIn();
    void aPictureBesideTheProgramIsShown();
    void aMissingOrBrokenPictureFallsBackToTheBuiltInOne();
    void markedAndBlankDiceShowTheirPictures();
    void aFifoUnderAPicturesNameIsPassedOverWithoutWaiting();
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

void TestPictures::aFifoUnderAPicturesNameIsPassedOverWithoutWaiting()
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("t1.bmp")));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    // A reader still stuck in open() after a few seconds is let go by opening
    // the writing end, which succeeds only while a reader waits: a regression
    // fails instead of hanging.
    std::promise<void> done;
    std::atomic<bool> stuck{false};
    std::thread watchdog([&, finished = done.get_future()] {
        if (finished.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            stuck = fd >= 0 && ::close(fd) == 0;
        }
    });
    const QPixmap picture = diePicture(QStringLiteral("t1.bmp"), {folder.path()});
    done.set_value();
    watchdog.join();
    QVERIFY(!stuck);
    QCOMPARE(picture.toImage(), builtIn("t1.bmp"));
}

void TestPictures::thePlayersPictureComesFirstThenTheInstalledOneThenTheBuiltInOne()
{
    QTemporaryDir player, data;
    const FileLocations installed{player.path(), data.path(), {}};
    const QString four = QStringLiteral("4.bmp");
    auto shown = [&] { return diePicture(four, installed.pictureFolders()).toImage(); };
    QVERIFY(QFile::copy(":/pictures/v4.bmp", player.filePath(four)) && QFile::copy(":/pictures/t1.bmp", data.filePath(four)));
    QCOMPARE(shown(), builtIn("v4.bmp"));
    QVERIFY(QFile::remove(player.filePath(four)));
    QCOMPARE(shown(), builtIn("t1.bmp"));
    QVERIFY(QFile::remove(data.filePath(four)));
    QCOMPARE(shown(), builtIn("4.bmp"));
}

void TestPictures::atTwiceTheScaleOnlyTheProgramsOwnPicturesAreSharp()
{
    QTemporaryDir folder;
    QVERIFY(QFile::copy(":/pictures/5.bmp", folder.filePath("5.bmp")));   // as the build puts it
    QVERIFY(QFile::copy(":/pictures/v6.bmp", folder.filePath("6.bmp")));  // any other bytes are the player's
    for (const char *name : {"4.bmp", "5.bmp", "6.bmp"}) {
        const QPixmap picture = diePicture(QString::fromLatin1(name), {folder.path()}, 2);
        const bool own = name[0] != '6';
        QCOMPARE(picture.devicePixelRatio(), own ? 2.0 : 1.0);
        QCOMPARE(picture.size(), own ? QSize(112, 98) : QSize(56, 49));
    }
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
