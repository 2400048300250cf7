// What a player's clicks cost, timed through the real window, offscreen and
// with no pause between dice. Run by scripts/bench.sh; not part of the test
// suite, since a time is a figure to read, not a pass or a fail.
//
// A click is timed with the painting it causes ("handler + paint": the
// handler, then one pass of the event loop that paints what it changed), or
// without it ("handler only"). Throwing and undo repaint the dice while they
// run, so their handlers paint in any case.
//
// Where a step cannot be repeated without setting the window up again (a
// recording needs its undo before the next one), only the step itself is
// timed and its mean is reported through setBenchmarkResult.
#include "MadeGames.h"
#include "WindowFixture.h"

#include "history/GamesFile.h"
#include "ui/EarlierGamesWindow.h"
#include "ui/ReviewWindow.h"
#include "ui/StatisticsWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QRandomGenerator>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Dice that score in every row, one turn per category.
const Dice turnDice[category::count + 1] = {
    {},              // unused
    {1, 1, 1, 2, 3}, {2, 2, 2, 5, 6}, {3, 3, 3, 1, 2}, {4, 4, 4, 1, 2}, {5, 5, 5, 1, 2}, {6, 6, 6, 1, 2},
    {6, 6, 5, 4, 1}, {6, 6, 5, 5, 1}, {6, 6, 6, 5, 1}, {6, 6, 6, 6, 1}, {1, 2, 3, 4, 5}, {2, 3, 4, 5, 6},
    {6, 6, 6, 5, 5}, {6, 6, 5, 5, 4}, {6, 6, 6, 6, 6},
};

// Repetitions of a step that is timed on its own.
constexpr int stepRepeats = 300;

// A best-99 list that no total of a game can enter (the highest total is 374).
QByteArray unreachableList()
{
    return listFileBytes(makeList([](int) { return 400; }));
}

// Paints what the last step changed, as the event loop does after a handler.
void paintChanges()
{
    QCoreApplication::processEvents();
}

// A one-player game started, the dice kept after the first throw, ready for a row.
void readyToRecord(Form1 &form, const Dice &values)
{
    throwAll(form, values);
    click(form.CmdSäästäKaikki);
    if (!form.mayRecord)
        qFatal("the dice are not locked for scoring");
}

} // namespace

class BenchClicks : public QObject {
    Q_OBJECT

private slots:
    // The first hint of the process, asked at once after the first throw of
    // its first game: the table of perfect play is still being made.
    void firstHint();
    // The first window of the process: fonts, style and pictures are loaded
    // here for the first time.
    void startUpFirstWindow();
    // Later windows of the same process.
    void startUp();

    void throwAll_data();
    void throwAll();
    void recordCategory_data() { categoryRows(); }
    void recordCategory();
    void undoCategory_data() { categoryRows(); }
    void undoCategory();
    void bestListEntry_data();
    void bestListEntry();
    void wholeGame();
    void reviewOfAFinishedGameOfFour();
    void windowsOverTenThousandGames_data();
    void windowsOverTenThousandGames();

private:
    static void categoryRows();
    // Times `record` and `undo` in turns; reports the mean of the one wanted.
    void timeRecordAndUndo(bool reportRecord);
};

void BenchClicks::firstHint()
{
    // QtTest may run a benchmark twice: only the first run is the process's first hint.
    static qint64 firstNs = -1;
    if (firstNs < 0) {
        ProgramFolder folder;
        Window window(folder);
        QVERIFY(window.loaded);
        Form1 &form = *window;
        startGame(form, 1);
        ::throwAll(form, Dice{2, 3, 6, 2, 6});
        const QString heading = form.LblOtsikko->caption();
        QElapsedTimer clock;
        clock.start();
        form.MenuVihje->trigger();
        const bool shown = QTest::qWaitFor([&] { return form.LblOtsikko->caption() != heading; }, 10000);
        firstNs = clock.nsecsElapsed();
        QVERIFY(shown);
    }
    QTest::setBenchmarkResult(qreal(firstNs) / 1e6, QTest::WalltimeMilliseconds);
}

void BenchClicks::startUpFirstWindow()
{
    ProgramFolder folder;
    FakePlatform platform;
    platform.folder = folder.path();
    QElapsedTimer clock;
    clock.start();
    Form1 form(platform);
    const bool loaded = form.Form_Load();
    form.show();
    const bool exposed = QTest::qWaitForWindowExposed(&form);
    const qint64 ns = clock.nsecsElapsed();
    QVERIFY(loaded);
    QVERIFY(exposed);
    QTest::setBenchmarkResult(qreal(ns) / 1e6, QTest::WalltimeMilliseconds);
}

void BenchClicks::startUp()
{
    ProgramFolder folder;
    FakePlatform platform;
    platform.folder = folder.path();
    // Windows are destroyed after the timing, so their teardown is not counted.
    std::vector<std::unique_ptr<Form1>> made;
    QBENCHMARK {
        auto form = std::make_unique<Form1>(platform);
        if (!form->Form_Load())
            QFAIL("start-up failed");
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            QFAIL("window not exposed");
        made.push_back(std::move(form));
    }
    made.clear();
}

void BenchClicks::throwAll_data()
{
    QTest::addColumn<bool>("paint");
    QTest::newRow("handler + paint") << true;
    QTest::newRow("handler only") << false;
}

void BenchClicks::throwAll()
{
    QFETCH(bool, paint);
    ProgramFolder folder;
    Window window(folder);
    QVERIFY(window.loaded);
    startGame(*window, 1);
    Form1 &form = *window;
    paintChanges();
    // The first throw of a turn, every time: the button stays enabled.
    QBENCHMARK {
        form.throwCount = 0;
        click(form.CmdKaikkiUudelleen);
        if (paint)
            paintChanges();
    }
    QCOMPARE(form.throwCount, std::int16_t(1));
}

void BenchClicks::categoryRows()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("totalBefore");
    QTest::addColumn<bool>("paint");
    // A total off the list leaves the best-99 view alone; one that enters it
    // scrolls the view and rewrites its 52 cells, on recording and on undo.
    QTest::newRow("sixes, off the list, handler + paint") << category::sixes << 0 << true;
    QTest::newRow("two pairs, off the list, handler + paint") << category::twoPairs << 0 << true;
    QTest::newRow("two pairs, enters the list, handler + paint") << category::twoPairs << 240 << true;
    QTest::newRow("two pairs, enters the list, handler only") << category::twoPairs << 240 << false;
}

void BenchClicks::timeRecordAndUndo(bool reportRecord)
{
    QFETCH(int, code);
    QFETCH(int, totalBefore);
    QFETCH(bool, paint);
    ProgramFolder folder;
    Window window(folder);
    QVERIFY(window.loaded);
    Form1 &form = *window;
    startGame(form, 1);
    readyToRecord(form, turnDice[code]);
    form.grandTotal[0] = std::int16_t(totalBefore);
    paintChanges();

    // Without "paint" the painting is still done, untimed, so that each step
    // is timed from a window with nothing left to paint.
    QElapsedTimer clock;
    qint64 recordNs = 0;
    qint64 undoNs = 0;
    for (int i = 0; i < stepRepeats; ++i) {
        clock.start();
        click(form.categoryHeadings[std::size_t(code)]);
        if (paint)
            paintChanges();
        recordNs += clock.nsecsElapsed();
        if (!paint)
            paintChanges();
        if (form.categoryUsed[0][std::size_t(code)] != 1)
            QFAIL("the row was not recorded");

        clock.start();
        form.MenuEdellisenValinnanPeruutus_Click();
        if (paint)
            paintChanges();
        undoNs += clock.nsecsElapsed();
        if (!paint)
            paintChanges();
        if (form.categoryUsed[0][std::size_t(code)] != 0 || !form.mayRecord)
            QFAIL("the recording was not taken back");
    }
    QCOMPARE(int(form.grandTotal[0]), totalBefore);
    const qint64 ns = reportRecord ? recordNs : undoNs;
    QTest::setBenchmarkResult(qreal(ns) / stepRepeats / 1e6, QTest::WalltimeMilliseconds);
}

void BenchClicks::recordCategory()
{
    timeRecordAndUndo(true);
}

void BenchClicks::undoCategory()
{
    timeRecordAndUndo(false);
}

void BenchClicks::bestListEntry_data()
{
    QTest::addColumn<QString>("folderParent");
    QTest::addColumn<bool>("paint");
    // The list is saved with every entry: on a disk the save waits for the
    // data to reach it; in memory (tmpfs) that wait is nil.
    QTest::newRow("folder on disk, handler + paint") << QStringLiteral("/var/tmp") << true;
    QTest::newRow("folder on disk, handler only") << QStringLiteral("/var/tmp") << false;
    QTest::newRow("folder in memory, handler + paint") << QStringLiteral("/dev/shm") << true;
    QTest::newRow("folder in memory, handler only") << QStringLiteral("/dev/shm") << false;
}

void BenchClicks::bestListEntry()
{
    QFETCH(QString, folderParent);
    QFETCH(bool, paint);
    if (!QFileInfo(folderParent).isDir())
        QSKIP("no such folder");
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", folderParent.toLocal8Bit());
    ProgramFolder folder;
    qputenv("TMPDIR", oldTmp);
    QVERIFY(folder.path().startsWith(folderParent));

    Window window(folder);
    QVERIFY(window.loaded);
    Form1 &form = *window;
    form.Txt99ListaNimi->setText(QStringLiteral("Testi"));
    form.lastPlayer = 0;
    form.grandTotal[0] = 201;
    paintChanges();
    // Every entry takes the list's lock, reads the file, inserts the result
    // about half-way down and saves the list synced. Each total is one higher
    // than the one before, so every entry earns a place.
    int total = 201;
    QBENCHMARK {
        form.grandTotal[0] = std::int16_t(total++);
        form.listPlace = 50;
        form.listEntryDone = false;
        form.Cmd99ListaOK_Click();
        if (paint)
            paintChanges();
    }
    QVERIFY(window.platform.messages.isEmpty());
    QVERIFY(!form.hasUnsavedResults());
    QCOMPARE(int(form.bestScores[0]), std::max(300, total - 1));
}

void BenchClicks::wholeGame()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("lista99.txt"), unreachableList());
    Window window(folder);
    QVERIFY(window.loaded);
    Form1 &form = *window;
    // Start, fifteen turns of throw, keep and record, each painted, then back
    // to the start screen through "Uusi peli".
    QBENCHMARK {
        startGame(form, 1);
        for (int code = 1; code <= category::count; ++code) {
            record(form, code, turnDice[code]);
            paintChanges();
        }
        if (!form.gameOver)
            QFAIL("the game did not end");
        click(form.CmdKaikkiUudelleen);
    }
    QVERIFY(!form.gameOver);
}

void BenchClicks::reviewOfAFinishedGameOfFour()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("lista99.txt"), unreachableList());
    Window window(folder);
    QVERIFY(window.loaded);
    Form1 &form = *window;
    startGame(form, 4, {QStringLiteral("Kone 1"), QStringLiteral("Kone 2"), QStringLiteral("Kone 3"), QStringLiteral("Kone")});
    QVERIFY(QTest::qWaitFor([&] { return form.gameOver; }, 120000));
    // From the click to the review on the screen, painted.
    QBENCHMARK {
        form.MenuPelistä->trigger();
        auto *review = form.findChild<ReviewWindow *>();
        if (!review || !QTest::qWaitForWindowExposed(review))
            QFAIL("the review did not open");
        paintChanges();
        review->close();
        delete review;
    }
}

void BenchClicks::windowsOverTenThousandGames_data()
{
    QTest::addColumn<bool>("statistics");
    QTest::newRow("Pelaajien tilastot") << true;
    QTest::newRow("Aiemmat pelit") << false;
}

// From the click to the window on the screen, painted, over a games file of
// 10,000 games of one to four players of eight names, nine in ten finished.
void BenchClicks::windowsOverTenThousandGames()
{
    QFETCH(bool, statistics);
    static const std::unique_ptr<ProgramFolder> folder = [] {
        auto made = std::make_unique<ProgramFolder>();
        const QStringList names = {"Anna", "Pekka", "Liisa", "Väinö", "Kone 1", "Kone 2", "Kone 3", "Kone"};
        QRandomGenerator random(20261208);
        GamesFile file(made->path());
        for (int g = 0; g < 10000; ++g) {
            QStringList players;
            for (int count = random.bounded(1, 5); players.size() < count;)
                players << names[random.bounded(qsizetype(names.size()))];
            const bool finished = random.bounded(10) != 0;
            const GameRecord game = madeGames::madeGame(players, finished ? 15 : random.bounded(1, 15),
                                                        QDateTime(QDate(2024, 1, 1), QTime(12, 0)).addSecs(3600 * g));
            file.beginGame(game);
            if (finished)
                file.finishGame(game, std::vector<ReviewFigures>(game.players.size(), {12.5, -1.5}));
            else
                file.keep(game);
        }
        return made;
    }();
    Window window(*folder);
    QVERIFY(window.loaded);
    Form1 &form = *window;
    QBENCHMARK {
        (statistics ? form.MenuPelaajista : form.MenuAiemmatPelit)->trigger();
        QDialog *shown = statistics ? static_cast<QDialog *>(form.findChild<StatisticsWindow *>())
                                    : form.findChild<EarlierGamesWindow *>();
        if (!shown || !QTest::qWaitForWindowExposed(shown))
            QFAIL("the window did not open");
        paintChanges();
        shown->close();
        delete shown;
    }
}

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchClicks bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_clicks.moc"
