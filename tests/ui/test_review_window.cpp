// The review's window in a game of several: every player's chance to win
// beside the expectation, on each costly choice and through the chart, and
// the whole names of four players fitting the chart's legend.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"
#include "ui/ReviewChart.h"
#include "ui/ReviewWindow.h"

#include <QRadioButton>
#include <QRegularExpression>

namespace {

ReviewWindow *openReview(Form1 &f)
{
    // A window closed before goes with the next turn of the event loop.
    if (!QTest::qWaitFor([&f] { return !f.findChild<ReviewWindow *>(); }) || !choose(f.MenuArvio, f.MenuPelistä))
        return nullptr;
    auto *review = f.findChild<ReviewWindow *>();
    if (!review || !QTest::qWaitForWindowExposed(review) ||
        !QTest::qWaitFor([review] { return review->chancesComplete(); }, 120000))
        return nullptr;
    return review;
}

// The percentages in `line` after `word`.
QList<int> percentages(const QString &line, const QString &word)
{
    QList<int> found;
    QRegularExpressionMatchIterator at = QRegularExpression(word + QStringLiteral(" (\\d+) %")).globalMatch(line);
    while (at.hasNext())
        found << at.next().captured(1).toInt();
    return found;
}

} // namespace

class TestReviewWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void aGameOfSeveralShowsEveryPlayersChance();
    void fourLongNamesAreWholeAndFitTheLegend();
};

void TestReviewWindow::aGameOfSeveralShowsEveryPlayersChance()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    PlannedGame game(f, {250, 200});
    for (int code = 1; code <= 4; ++code) {
        record(f, code, game.dice(0, code));
        record(f, code, game.dice(1, code));
    }
    record(f, 5, game.dice(0, 5));

    // During the game: each summary line has the chance after the
    // expectation, and the two add up to 100; a costly choice has the
    // chances after it and after the best.
    ReviewWindow *review = openReview(f);
    QVERIFY(review);
    QStringList lines = review->lines();
    QList<int> chances;
    for (const QString &line : lines.filter(QStringLiteral(" pistettä, odotus ")))
        chances << percentages(line, QStringLiteral(", voittomahdollisuus"));
    QCOMPARE(chances.size(), 2);
    QVERIFY(std::abs(chances[0] + chances[1] - 100) <= 1);
    const QStringList choices = lines.filter(QRegularExpression(QStringLiteral("^Vuoro ")));
    QCOMPARE(choices.size(), 6);  // every choice kept all after one throw
    for (const QString &choice : choices)
        QVERIFY2(choice.contains(QRegularExpression(QStringLiteral(" pistettä\\. Voittomahdollisuus \\d+ % \\(paras \\d+ %\\)\\.$"))),
                 qPrintable(choice));
    // The chart shows the chances by keyboard too, after every turn so far.
    ReviewChart *chart = review->chart();
    QCOMPARE(review->findChildren<QRadioButton *>().size(), 2);
    QTest::keyClick(review, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(chart->view(), ReviewChart::View::Chance);
    QVERIFY(chart->accessibleDescription().contains(QStringLiteral("voittomahdollisuudesta")));
    for (const PlayerReview &player : chart->shown().players)
        QCOMPARE(player.chances.size(), std::size_t(10));  // the start and the nine turns played
    review->accept();

    // At the end the chance lines end at 100 % and 0 %; the lines as today.
    record(f, 5, game.dice(1, 5));
    for (int code = 6; code <= category::count; ++code) {
        record(f, code, game.dice(0, code));
        record(f, code, game.dice(1, code));
    }
    QVERIFY(f.gameOver);
    review = openReview(f);
    QVERIFY(review);
    QVERIFY(review->lines().filter(QStringLiteral("voittomahdollisuus")).isEmpty());
    const std::vector<PlayerReview> &players = review->chart()->shown().players;
    QCOMPARE(players[0].chances.back().expectation, 1.0);
    QCOMPARE(players[1].chances.back().expectation, 0.0);
    review->accept();
}

// Four players named with ten wide letters each: the review names them whole
// (the sheet's headers keep their eight), and the legend holds every name
// inside the chart, on two rows if need be.
void TestReviewWindow::fourLongNamesAreWholeAndFitTheLegend()
{
    ProgramFolder folder;
    writeUnbeatableList(folder);
    Window w(folder);
    Form1 &f = *w;
    const QStringList names = {QStringLiteral("WWWWWWWWWA"), QStringLiteral("WWWWWWWWWB"), QStringLiteral("MMMMMMMMMC"),
                               QStringLiteral("MMMMMMMMMD")};
    startGame(f, 4, names);
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" WWWWWWWW"));
    for (int player = 0; player < 4; ++player)
        record(f, category::chance, Dice{6, 5, 4, 2, 1});
    ReviewWindow *review = openReview(f);
    QVERIFY(review);
    const QStringList lines = review->lines();
    for (const QString &name : names)
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^%1: ").arg(name))).size(), 1);
    const ReviewChart *chart = review->chart();
    const std::vector<QRectF> legend = chart->legendPlaces();
    QCOMPARE(legend.size(), std::size_t(4));
    for (const QRectF &place : legend)
        QVERIFY2(QRectF(chart->rect()).contains(place), qPrintable(QStringLiteral("%1 + %2 past %3")
                                                                     .arg(place.left()).arg(place.width()).arg(chart->width())));
    review->accept();
}

QTEST_MAIN(TestReviewWindow)
#include "test_review_window.moc"
