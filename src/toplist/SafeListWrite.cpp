#include "toplist/SafeListWrite.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

int enterResult(BestList &list, const ListEntry &entry)
{
    const int place = earnedPlace(list, entry.score);
    if (place < 0)
        return -1;
    for (int k = bestListPlaces - 1; k >= place; --k) {
        const std::size_t from = std::size_t(k);
        list.names[from + 1] = list.names[from];
        list.dates[from + 1] = list.dates[from];
        list.scores[from + 1] = list.scores[from];
    }
    const std::size_t at = std::size_t(place);
    list.names[at] = entry.name;
    list.dates[at] = entry.date;
    list.scores[at] = entry.score;
    return place;
}

namespace {

// Another window holds the lock for milliseconds; three seconds is ample. A
// lock whose holder has died is taken over at once, one whose holder still
// runs after ten seconds (stopped, or on another machine) as well.
constexpr int lockWaitMs = 3000;
constexpr int staleLockMs = 10000;
// QLockFile's own wait sleeps 100 ms and longer between tries, far more than
// a window holds the lock, so the locks are polled here instead.
constexpr unsigned long lockPollMs = 2;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegularFile()
{
    return QStringLiteral("LISTA99.TXT ei ole tavallinen tiedosto.");
}

QString lockedByAnother(const QString &lockName)
{
    return QStringLiteral("Toinen Kopperi pitää 99-listaa lukittuna (%1).").arg(lockName);
}

// Closes the file when it goes out of scope, which also releases its flock().
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the caller
// refuses anything that is not a regular file right after.
int openWithoutWaiting(const QByteArray &path, int flags)
{
    return ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC);
}

bool isRegular(int fd, struct stat *st)
{
    return ::fstat(fd, st) == 0 && S_ISREG(st->st_mode);
}

bool readAll(int fd, QByteArray *bytes)
{
    bytes->clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, off_t(bytes->size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes->append(buffer, n);
    }
}

bool takeFolderLock(QLockFile &lock, const QDeadlineTimer &deadline)
{
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(lockPollMs);
    }
    return true;
}

// The list opened and locked with flock() on the file itself, which works
// also where the folder cannot hold a lock file. A window that replaced the
// file meanwhile leaves us holding the lock of the old one; then the new one
// is opened and locked in turn.
struct LockedList {
    Descriptor file;
    int writeError = 0;  // why it could not be opened for writing (0: it could)
};

std::optional<LockedList> lockListFile(const QByteArray &path, const QDeadlineTimer &deadline,
                                       const QString &lockName, QString *error)
{
    for (;;) {
        LockedList locked;
        int fd = openWithoutWaiting(path, O_RDWR);
        if (fd < 0) {
            locked.writeError = errno;
            fd = openWithoutWaiting(path, O_RDONLY);
        }
        if (fd < 0) {
            *error = systemError(errno);
            return std::nullopt;
        }
        locked.file.reset(fd);
        struct stat opened {};
        if (!isRegular(fd, &opened)) {
            *error = notRegularFile();
            return std::nullopt;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                *error = systemError(errno);
                return std::nullopt;
            }
            if (deadline.hasExpired()) {
                *error = lockedByAnother(lockName);
                return std::nullopt;
            }
            QThread::msleep(lockPollMs);
        }
        struct stat named {};
        if (::stat(path.constData(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            return locked;
        if (deadline.hasExpired()) {
            *error = lockedByAnother(lockName);
            return std::nullopt;
        }
    }
}

bool putAll(int fd, const QByteArray &bytes)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0
        && ::fsync(fd) == 0;
}

// For a list shared through group rights in a folder that only its owner may
// write. Not proof against a crash half-way, as the atomic save is, but a
// failed write puts the old bytes back so the list stays readable.
QString rewriteInPlace(const LockedList &list, const QByteArray &before, const QByteArray &after)
{
    if (list.writeError != 0)
        return systemError(list.writeError);
    if (putAll(list.file.get(), after))
        return QString();
    const int error = errno;
    putAll(list.file.get(), before);
    return systemError(error);
}

// Where the list really lives: a symlink's target.
QString realPath(const QString &path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

QString lockFileName(const QString &realPath)
{
    return realPath + QStringLiteral(".lock");
}

} // namespace

ListChangeOutcome changeBestListFile(const QString &path, const std::function<void(BestList &)> &change)
{
    ListChangeOutcome outcome;
    outcome.where = realPath(path);
    const QString lockName = lockFileName(outcome.where);
    const QDeadlineTimer deadline(lockWaitMs);

    // The lock file guards the temporary file too; a folder that cannot hold
    // it cannot hold the temporary file either, and the list is rewritten in
    // place under the file's own lock.
    QLockFile folderLock(lockName);
    folderLock.setStaleLockTime(staleLockMs);
    const bool replaceable = takeFolderLock(folderLock, deadline);
    if (!replaceable && folderLock.error() != QLockFile::PermissionError) {
        outcome.failure = folderLock.error() == QLockFile::LockFailedError
            ? lockedByAnother(lockName)
            : QStringLiteral("Lukkotiedostoa %1 ei voitu luoda.").arg(lockName);
        return outcome;
    }
    QString error;
    const std::optional<LockedList> list = lockListFile(QFile::encodeName(outcome.where), deadline, lockName, &error);
    if (!list) {
        outcome.failure = error;
        return outcome;
    }

    QByteArray before;
    if (!readAll(list->file.get(), &before)) {
        outcome.failure = systemError(errno);
        return outcome;
    }
    const std::optional<BestListFile> read = parseBestList(before, &error);
    if (!read) {
        // What cannot be read whole is not ours to overwrite.
        outcome.failure = error + QStringLiteral("\rTiedostoon ei kirjoiteta, ennen kuin se on korjattu.");
        return outcome;
    }
    outcome.readWhole = true;
    outcome.list = read->list;
    change(outcome.list);
    const QByteArray after = formatBestList(outcome.list, computeCheckNumbers(outcome.list));
    outcome.failure = replaceable ? saveFileAtomically(outcome.where, after) : rewriteInPlace(*list, before, after);
    outcome.saved = outcome.failure.isEmpty();
    return outcome;
}

void removeAbandonedSave(const QString &path)
{
    const QString where = realPath(path);
    // Taking the lock writes and syncs a lock file: not worth it at every
    // start when nothing was left behind.
    if (!QFileInfo::exists(temporarySaveName(where)))
        return;
    QLockFile lock(lockFileName(where));
    lock.setStaleLockTime(staleLockMs);
    if (takeFolderLock(lock, QDeadlineTimer(lockWaitMs)))
        QFile::remove(temporarySaveName(where));
}

std::optional<QByteArray> readListFile(const QString &path, QString *error)
{
    const Descriptor file(openWithoutWaiting(QFile::encodeName(path), O_RDONLY));
    if (file.get() < 0) {
        *error = systemError(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (!isRegular(file.get(), &st)) {
        *error = notRegularFile();
        return std::nullopt;
    }
    // A window rewriting the list in place holds its lock; the bytes are read
    // once it is done. (One that replaces the list leaves this file whole.)
    const QDeadlineTimer deadline(lockWaitMs);
    while (::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)
           && !deadline.hasExpired())
        QThread::msleep(lockPollMs);
    QByteArray bytes;
    if (!readAll(file.get(), &bytes)) {
        *error = systemError(errno);
        return std::nullopt;
    }
    return bytes;
}
