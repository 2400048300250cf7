#include "files/RegularFile.h"

#include "files/SystemError.h"

#include <QFile>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFile(const QString &path, int flags, QString *error, int *errorNumber)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errorNumber)
            *errorNumber = errno;
        *error = systemError(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (errorNumber)
            *errorNumber = 0;
        *error = QStringLiteral("Se ei ole tavallinen tiedosto.");
        return -1;
    }
    return fd;
}

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    RegularFileRead read;
    const int fd = openRegularFile(path, O_RDONLY, &read.error);
    if (fd < 0)
        return read;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        read.error = file.errorString();
        return read;
    }
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
