// list_user <folder> <name prefix> <first score> <count> <hold ms>: another
// Kopperi storing results in the same lista99.txt. Once it has printed "ready"
// and read a line, it stores <count> results, scores <first>, <first> + 4, ...,
// named <prefix><score>, printing "locked" in each save as it keeps the lock.
#include "toplist/SafeListWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    std::getchar();
    for (int k = 0; k < args[4].toInt(); ++k) {
        const int score = args[3].toInt() + 4 * k;
        const ListChangeOutcome outcome =
            changeBestListFile(QDir(args[1]).filePath(QStringLiteral("lista99.txt")), [&](BestList &list) {
                enterResult(list, {args[2] + QString::number(score), QStringLiteral("07.12.26"), std::int16_t(score)});
                std::printf("locked\n");
                std::fflush(stdout);
                QThread::msleep(args[5].toULong());
            });
        std::fputs(qPrintable(outcome.failure), stderr);
        if (!outcome.saved)
            return 1;
    }
    return 0;
}
