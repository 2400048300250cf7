// games_user <folder> hold | lock: another window keeping its game in the
// same pelit.sqlite. "hold" plays two turns, prints "ready" and waits to be
// killed. "lock" is another program holding the file locked as SQLite's exclusive
// locking mode does after a write (a write lock on its lock bytes), until killed.
#include "MadeGames.h"
#include "history/GamesFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include <fcntl.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    if (args[2] == QLatin1String("lock")) {
        const int fd = ::open(QFile::encodeName(QDir(args[1]).filePath("pelit.sqlite")).constData(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0x40000000;  // SQLite's pending, reserved and shared bytes
        lock.l_len = 512;
        if (fd < 0 || ::fcntl(fd, F_SETLK, &lock) != 0)
            return 1;
        std::printf("locked\n");
        std::fflush(stdout);
        std::getchar();
        return 0;
    }
    GamesFile file(args[1]);
    const QDateTime start(QDate(2026, 12, 8), QTime(14, 5));
    file.beginGame(madeGames::madeGame({QStringLiteral("Toinen")}, 2, start));
    std::printf(file.keeping() ? "ready\n" : "not kept\n");
    std::fflush(stdout);
    std::getchar();
    return 0;
}
