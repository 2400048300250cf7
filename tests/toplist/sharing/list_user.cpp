// Another Kopperi storing results in the same lista99.txt, in a process of its own:
//   list_user <folder> <name prefix> <first score> <count> <hold ms>
// prints "ready" and waits for a line, then stores <count> results, scores
// <first>, <first> + 4, ..., named <prefix><score>, each under the list's
// lock; it prints "locked" as it holds the lock and keeps it <hold ms>.
#include "toplist/SafeListWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);
    for (int k = 0; k < args[4].toInt(); ++k) {
        const int score = args[3].toInt() + 4 * k;
        const ListChangeOutcome outcome =
            changeBestListFile(QDir(args[1]).filePath(QStringLiteral("lista99.txt")), [&](BestList &list) {
                enterResult(list, {args[2] + QString::number(score), QStringLiteral("07.12.26"), std::int16_t(score)});
                std::printf("locked\n");
                std::fflush(stdout);
                QThread::msleep(args[5].toULong());
            });
        if (!outcome.saved) {
            std::fprintf(stderr, "list_user: %s\n", qPrintable(outcome.failure));
            return 1;
        }
    }
    return 0;
}
