// What the games file costs, on the disk of the folder given (default: the
// temporary folder; it should not be tmpfs, where nothing waits for a disk):
//   - a write after each action, as the window makes it: median, 90th
//     percentile and largest of every write of ten games of two;
//   - the size of 1,000 finished games of two, a dozen entries a turn;
//   - opening a file of 10,000 games of one to four players, and its list of
//     earlier games and its statistics, each timed from a window's first call
//     (the file opened) to its lines, median of five.
// Run by scripts/bench.sh; prints "name|figure|unit|target|met or MISSED".
#include "MadeGames.h"
#include "history/GamesFile.h"
#include "history/HistoryLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace madeGames;

const QDateTime firstStart(QDate(2024, 1, 1), QTime(12, 0));

void report(const char *name, double figure, const char *unit, const char *target, bool met)
{
    std::printf("%s|%.3f|%s|%s|%s\n", name, figure, unit, target, met ? "met" : "MISSED");
}

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[std::size_t(q * double(values.size() - 1))];
}

// Every write of ten games of two, one action (one entry) at a time.
void timeWrites(const QString &folder)
{
    GamesFile file(folder);
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int g = 0; g < 10; ++g) {
        const GameRecord whole = madeGame({QStringLiteral("Anna"), QStringLiteral("-Kone 2")}, 15, firstStart.addDays(g));
        GameRecord played;
        played.start(whole.players, whole.started);
        file.beginGame(played);
        for (const GameRecord::Entry &entry : whole.entries) {
            played.add(entry);
            clock.start();
            file.keep(played);
            ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        file.finishGame(played, {{10, 0}, {40, -3}});
    }
    if (!file.keeping())
        qFatal("%s", qPrintable(file.takeMessage()));
    report("write median", quantile(ms, 0.5), "ms", "<= 1 ms", quantile(ms, 0.5) <= 1.0);
    report("write 90th percentile", quantile(ms, 0.9), "ms", "-", true);
    report("write largest", quantile(ms, 1.0), "ms", "-", true);
}

// Games as a window keeps them, a turn (a dozen entries) a write.
void playTurnByTurn(GamesFile &file, const GameRecord &whole, bool finish)
{
    GameRecord played;
    played.start(whole.players, whole.started);
    file.beginGame(played);
    for (const GameRecord::Entry &entry : whole.entries) {
        played.add(entry);
        if (entry.kind == Kind::Record)
            file.keep(played);
    }
    if (finish)
        file.finishGame(played, std::vector<ReviewFigures>(whole.players.size(), {12.5, -1.5}));
    else
        file.keep(played);
}

void measureSize(const QString &folder)
{
    {
        GamesFile file(folder);
        for (int g = 0; g < 1000; ++g)
            playTurnByTurn(file, madeGame({QStringLiteral("Anna"), QStringLiteral("-Kone 2")}, 15, firstStart.addDays(g)), true);
    }
    const QString path = QDir(folder).filePath(QStringLiteral("pelit.sqlite"));
    const double mb = double(QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size()) / 1e6;
    report("size of 1,000 finished games of two", mb, "MB", "<= 10 MB", mb <= 10);
}

// 10,000 games: one to four of eight names, nine in ten finished.
void makeTenThousand(const QString &folder)
{
    const QStringList names = {"Anna", "Pekka", "Liisa", "Väinö", "Kone 1", "Kone 2", "Kone 3", "Kone"};
    QRandomGenerator random(20261208);
    GamesFile file(folder);
    for (int g = 0; g < 10000; ++g) {
        QStringList players;
        const int count = random.bounded(1, 5);
        while (players.size() < count) {
            const QString name = names[random.bounded(qsizetype(names.size()))];
            players << (random.bounded(2) ? name : u'-' + name);
        }
        const bool finished = random.bounded(10) != 0;
        const GameRecord whole = madeGame(players, finished ? 15 : random.bounded(1, 15), firstStart.addSecs(3600 * g));
        playTurnByTurn(file, whole, finished);
        if (!finished && random.bounded(2))
            file.giveUp();
    }
    if (!file.keeping())
        qFatal("%s", qPrintable(file.takeMessage()));
}

double medianOfFive(const std::function<void()> &work)
{
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int run = 0; run < 5; ++run) {
        clock.start();
        work();
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return quantile(ms, 0.5);
}

void timeReading(const QString &folder)
{
    qsizetype lines = 0;
    const double opening = medianOfFive([&] {
        GamesFile file(folder);
        lines += file.open();
    });
    const double list = medianOfFive([&] {
        GamesFile file(folder);
        for (const GameSummary &game : file.earlierGames())
            lines += gameLine(game).size();
    });
    const double statistics = medianOfFive([&] {
        GamesFile file(folder);
        for (const NameStatistics &name : file.statistics())
            lines += gamesLine(name).size() + sharesLine(name).size();
        for (const FinishedResult &result : file.finishedGames(QStringLiteral("Anna")))
            lines += result.total;
    });
    if (lines == 0)
        qFatal("nothing was read");
    report("opening the file of 10,000 games", opening, "ms", "-", true);
    report("list of 10,000 earlier games", list, "ms", "<= 500 ms", list <= 500);
    report("statistics of 10,000 games", statistics, "ms", "<= 500 ms", statistics <= 500);
    const QString path = QDir(folder).filePath(QStringLiteral("pelit.sqlite"));
    report("size of the 10,000 games", double(QFileInfo(path).size()) / 1e6, "MB", "-", true);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString base = app.arguments().value(1, QDir::tempPath());
    const QStorageInfo disk(base);
    std::fprintf(stderr, "games file benchmark in %s (%s)\n", qPrintable(base), disk.fileSystemType().constData());
    if (disk.fileSystemType() == "tmpfs")
        std::fprintf(stderr, "warning: tmpfs is memory, not a disk; give a folder on a disk\n");
    const auto folder = [&base] {
        auto dir = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("kopperi-bench-XXXXXX")));
        if (!dir->isValid())
            qFatal("cannot make a folder in %s", qPrintable(base));
        return dir;
    };
    timeWrites(folder()->path());
    measureSize(folder()->path());
    const auto many = folder();
    makeTenThousand(many->path());
    timeReading(many->path());
    return 0;
}
