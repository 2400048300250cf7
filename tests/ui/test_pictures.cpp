// The die pictures beside the program, and the built-in ones behind them.
#include "WindowFixture.h"

#include <QImage>

namespace {

QColor centreOf(const QPixmap &picture)
{
    return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void startPicturesAndIconAreBuiltIn();
    void aPictureBesideTheProgramIsShown();
    void aMissingOrBrokenPictureFallsBackToTheBuiltInOne();
    void markedAndBlankDiceShowTheirPictures();
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

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
