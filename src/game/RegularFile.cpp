#include "game/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString notARegularFile()
{
    return QStringLiteral("Se ei ole tavallinen tiedosto.");
}

// Opens the file for reading only if it is a regular file.
QString openRegularFile(QFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    // Opened without waiting (a FIFO would wait for a writer) and checked on
    // the open file itself, so nothing can take its place after the check.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return notARegularFile();
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
#else
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return notARegularFile();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
#endif
    return QString();
}

} // namespace

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    RegularFileRead read;
    QFile file;
    read.error = openRegularFile(file, path);
    if (!read.ok())
        return read;
    // One byte beyond the bound tells whether the file goes on.
    read.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.error = file.errorString();
        read.bytes.clear();
        return read;
    }
    read.cut = read.bytes.size() > maxBytes;
    if (read.cut)
        read.bytes.truncate(maxBytes);
    return read;
}
