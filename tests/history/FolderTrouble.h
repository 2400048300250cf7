#pragma once

// What a folder's games file can meet beyond its own bytes: another program
// holding it locked, a folder that cannot be written, a full disk. Whatever
// was made is mended by mend(), at the latest when the object goes.
#include <QFile>
#include <QProcess>
#include <QString>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class FolderTrouble {
public:
    explicit FolderTrouble(const QString &folder) : folder_(QFile::encodeName(folder))
    {
        ::getrlimit(RLIMIT_FSIZE, &unlimited_);
    }
    ~FolderTrouble() { mend(); }
    FolderTrouble(const FolderTrouble &) = delete;
    FolderTrouble &operator=(const FolderTrouble &) = delete;

    // `user` (the games_user tool) holds the folder's games file locked.
    bool hold(const QString &user)
    {
        holder_.start(user, {QFile::decodeName(folder_), QStringLiteral("lock")});
        return holder_.waitForReadyRead(10000);
    }
    // Rights stop nothing for root: there the process goes on as "nobody".
    bool makeReadOnly()
    {
        return ::chmod(folder_.constData(), 0555) == 0
               && (!root_ || (::chown(folder_.constData(), 65534, 65534) == 0 && ::seteuid(65534) == 0));
    }
    // No file may grow past `bytes`; the system then says EFBIG.
    bool fillDisk(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{bytes, unlimited_.rlim_max};
        return ::setrlimit(RLIMIT_FSIZE, &full) == 0;
    }
    void mend()
    {
        if (root_ && ::geteuid() != 0 && ::seteuid(0) != 0)
            std::abort();  // nothing after this could be trusted
        ::chmod(folder_.constData(), 0700);
        ::setrlimit(RLIMIT_FSIZE, &unlimited_);
        std::signal(SIGXFSZ, SIG_DFL);
        holder_.kill();
        holder_.waitForFinished();
    }

private:
    QByteArray folder_;
    bool root_ = ::geteuid() == 0;
    rlimit unlimited_{};
    QProcess holder_;
};
