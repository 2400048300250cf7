// list_user <folder> <name prefix> <first score> <count> <hold ms> [largest file]:
// another Kopperi storing results in the same lista99.txt. Once it has printed
// "ready" and read a line, it stores <count> results, scores <first>, <first> + 4, ...,
// named <prefix><score>, printing "locked" in each save as it keeps the lock.
// A list deleted meanwhile is written anew from the list as it was at the
// start, as a window does. With [largest file], no file it writes may grow
// beyond so many bytes (a full quota): a write fails half-way.
#include "toplist/SafeListWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <csignal>
#include <cstdio>

#include <sys/resource.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6 && args.size() != 7)
        return 2;
    const QString path = QDir(args[1]).filePath(QStringLiteral("lista99.txt"));
    const RegularFileRead file = readListFile(path);
    const std::optional<BestListFile> seen = file.ok() ? parseBestList(file.bytes, nullptr, file.cut) : std::nullopt;
    if (args.size() == 7) {
        // write() then fails with EFBIG instead of the signal ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit largest{args[6].toULongLong(), args[6].toULongLong()};
        if (::setrlimit(RLIMIT_FSIZE, &largest) != 0)
            return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::getchar();
    for (int k = 0; k < args[4].toInt(); ++k) {
        const int score = args[3].toInt() + 4 * k;
        const ListChangeOutcome outcome = changeBestListFile(
            path,
            [&](BestList &list) {
                enterResult(list, {args[2] + QString::number(score), QStringLiteral("07.12.26"), std::int16_t(score)});
                std::printf("locked\n");
                std::fflush(stdout);
                QThread::msleep(args[5].toULong());
            },
            seen ? &seen->list : nullptr);
        std::fputs(qPrintable(outcome.failure), stderr);
        if (!outcome.saved)
            return 1;
    }
    return 0;
}
