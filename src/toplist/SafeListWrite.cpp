#include "toplist/SafeListWrite.h"

#include "files/RegularFile.h"
#include "files/SystemError.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <cerrno>

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

// Another window holds the lock for milliseconds; three seconds is ample.
constexpr int lockWaitMs = 3000;
// QLockFile's own wait sleeps 100 ms and longer between tries, far more than
// a window holds the lock, so the locks are polled here instead.
constexpr unsigned long lockPollMs = 2;

QString lockedByAnother(const QString &lockName)
{
    return QStringLiteral("Toinen Kopperi pitää 99-listaa lukittuna (%1).").arg(lockName);
}

// The lock file beside the list guards the list and the temporary file of
// its atomic save. A lock whose holder has died is taken over at once, one
// whose holder still runs after ten seconds (stopped, or on another
// machine) as well.
class FolderLock {
public:
    explicit FolderLock(const QString &listPath) : lock_(listPath + QStringLiteral(".lock"))
    {
        lock_.setStaleLockTime(10000);
    }
    bool take(const QDeadlineTimer &deadline)
    {
        while (!lock_.tryLock(0)) {
            if (lock_.error() != QLockFile::LockFailedError || deadline.hasExpired())
                return false;
            removeIfLeftEmpty();
            QThread::msleep(lockPollMs);
        }
        return true;
    }
    QLockFile::LockError error() const { return lock_.error(); }
    QString name() const { return lock_.fileName(); }

private:
    // A holder writes who it is into the lock as it makes it; one killed in
    // between leaves the lock empty, which QLockFile judges by its age alone
    // and so would wait out for ten seconds.
    void removeIfLeftEmpty()
    {
        const auto leftEmpty = [this] {
            const QFileInfo lock(lock_.fileName());
            return lock.exists() && lock.size() == 0
                && lock.lastModified().msecsTo(QDateTime::currentDateTime()) > emptyLockMs;
        };
        if (!leftEmpty())
            return;
        // As QLockFile does for a stale lock: two windows must not remove
        // the lock one of them has just made anew.
        QLockFile removing(lock_.fileName() + QStringLiteral(".rmlock"));
        if (removing.tryLock(0) && leftEmpty())
            lock_.removeStaleLockFile();
    }

    // Far longer than making a lock and writing into it takes.
    static constexpr qint64 emptyLockMs = 1000;
    QLockFile lock_;
};

// Whether this process may create and remove files in the list's folder.
bool folderWritable(const QString &listPath)
{
    return ::access(QFile::encodeName(QFileInfo(listPath).absolutePath()).constData(), W_OK | X_OK) == 0;
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

// The list opened and locked with flock() on the file itself, which works
// also where the folder cannot hold a lock file. A window that replaced the
// file meanwhile leaves us holding the lock of the old one; then the new one
// is opened and locked in turn.
struct LockedList {
    Descriptor file;
    int writeError = 0;  // why it could not be opened for writing (0: it could)
    int openError = 0;   // why it could not be opened at all (0: it was, or it is not a regular file)
    QString failure;     // why it is not locked; empty when it is
};

LockedList lockListFile(const QString &path, const QDeadlineTimer &deadline, const QString &lockName)
{
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        LockedList locked;
        int fd = openRegularFile(path, O_RDWR, &locked.failure, &locked.writeError);
        if (fd < 0 && locked.writeError != 0) {
            locked.failure.clear();
            fd = openRegularFile(path, O_RDONLY, &locked.failure, &locked.openError);
        }
        if (fd < 0)
            return locked;
        locked.file.reset(fd);
        struct stat opened {};
        ::fstat(fd, &opened);
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                locked.failure = systemError(errno);
                return locked;
            }
            if (deadline.hasExpired()) {
                locked.failure = lockedByAnother(lockName);
                return locked;
            }
            QThread::msleep(lockPollMs);
        }
        struct stat named {};
        if (::stat(name.constData(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            return locked;
        if (deadline.hasExpired()) {
            locked.failure = lockedByAnother(lockName);
            return locked;
        }
    }
}

// `whole`: the bytes are all the file is to be, so it ends after them.
bool putAll(int fd, const QByteArray &bytes, bool whole)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes)
        && (!whole || ::ftruncate(fd, off_t(bytes.size())) == 0) && ::fsync(fd) == 0;
}

// For a list shared through group rights in a folder that only its owner may
// write. Not proof against a crash half-way, as the atomic save is, but a
// failed write puts the old bytes back so the list stays readable. Of a file
// read only in part, the part read goes back over what the new list covered.
QString rewriteInPlace(const LockedList &list, const RegularFileRead &before, const QByteArray &after, bool *kept)
{
    *kept = true;
    if (list.writeError != 0)
        return systemError(list.writeError);
    if (putAll(list.file.get(), after, true))
        return QString();
    const int error = errno;
    *kept = putAll(list.file.get(), before.bytes, !before.cut);
    return systemError(error);
}

// Where the list really lives: a symlink's target.
QString realPath(const QString &path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

} // namespace

ListChangeOutcome changeBestListFile(const QString &path, const std::function<void(BestList &)> &change,
                                     const BestList *whenMissing)
{
    ListChangeOutcome outcome;
    outcome.where = realPath(path);
    const QDeadlineTimer deadline(lockWaitMs);

    // The folder's lock file guards the temporary file of the atomic save. A
    // folder we may not write can hold neither, nor could we remove a lock
    // that a crashed owner left there: the list is then rewritten in place,
    // under the file's own lock, which every writer takes.
    FolderLock folderLock(outcome.where);
    bool replaceable = folderWritable(outcome.where);
    if (replaceable && !folderLock.take(deadline)) {
        if (folderLock.error() != QLockFile::PermissionError) {
            outcome.failure = folderLock.error() == QLockFile::LockFailedError
                ? lockedByAnother(folderLock.name())
                : QStringLiteral("Lukkotiedostoa %1 ei voitu luoda.").arg(folderLock.name());
            return outcome;
        }
        replaceable = false;
    }

    const LockedList list = lockListFile(outcome.where, deadline, folderLock.name());
    RegularFileRead before;
    if (list.openError == ENOENT && replaceable && whenMissing) {
        // Deleted while the window was open: the list the window holds is
        // the best there is, and the lock keeps another window's new file
        // from being written over.
        outcome.missing = true;
        outcome.read = *whenMissing;
    } else if (!list.failure.isEmpty()) {
        outcome.failure = list.failure;
        outcome.missing = list.openError == ENOENT;
        return outcome;
    } else {
        before = readFileStart(list.file.get(), bestListByteLimit);
        if (!before.ok()) {
            outcome.failure = before.error;
            return outcome;
        }
        QString error;
        const std::optional<BestListFile> read = parseBestList(before.bytes, &error, before.cut);
        if (!read) {
            // What cannot be read whole is not ours to overwrite.
            outcome.failure = error + QStringLiteral("\rTiedostoon ei kirjoiteta, ennen kuin se on korjattu.");
            return outcome;
        }
        outcome.read = read->list;
    }
    outcome.readWhole = true;
    outcome.list = outcome.read;
    change(outcome.list);
    const QByteArray after = formatBestList(outcome.list, computeCheckNumbers(outcome.list));
    if (replaceable)
        outcome.failure = saveFileAtomically(outcome.where, after);
    else
        outcome.failure = rewriteInPlace(list, before, after, &outcome.fileKept);
    outcome.saved = outcome.failure.isEmpty();
    outcome.fileKept = outcome.fileKept && !outcome.missing;
    return outcome;
}

void removeAbandonedSave(const QString &path)
{
    const QString where = realPath(path);
    // Taking the lock writes and syncs a lock file: not worth it at every
    // start when nothing was left behind.
    if (!QFileInfo::exists(temporarySaveName(where)))
        return;
    FolderLock lock(where);
    if (lock.take(QDeadlineTimer(lockWaitMs)))
        QFile::remove(temporarySaveName(where));
}

RegularFileRead readListFile(const QString &path)
{
    RegularFileRead read;
    const Descriptor file(openRegularFile(path, O_RDONLY, &read.error));
    if (file.get() < 0)
        return read;
    // A window rewriting the list in place holds its lock; the bytes are read
    // once it is done. (One that replaces the list leaves this file whole.)
    const QDeadlineTimer deadline(lockWaitMs);
    while (::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)
           && !deadline.hasExpired())
        QThread::msleep(lockPollMs);
    return readFileStart(file.get(), bestListByteLimit);
}
