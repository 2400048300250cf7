// The review's window: the whole names of four players fitting the chart's
// legend.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"
#include "ui/ReviewChart.h"
#include "ui/ReviewWindow.h"

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

} // namespace

class TestReviewWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void fourLongNamesAreWholeAndFitTheLegend();
};

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
