#include "files/RegularFile.h"

#include "files/SystemError.h"

#include <QFile>
#include <algorithm>
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
    read = readFileStart(fd, maxBytes);
    ::close(fd);
    return read;
}

RegularFileRead readFileStart(int fd, qint64 maxBytes)
{
    RegularFileRead read;
    // One byte beyond the bound tells whether the file goes on.
    const qint64 wanted = maxBytes + 1;
    char buffer[16384];
    while (read.bytes.size() < wanted) {
        const qint64 chunk = std::min<qint64>(qint64(sizeof buffer), wanted - read.bytes.size());
        const ssize_t n = ::pread(fd, buffer, std::size_t(chunk), off_t(read.bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.error = systemError(errno);
            read.bytes.clear();
            return read;
        }
        if (n == 0)
            break;
        read.bytes.append(buffer, qsizetype(n));
    }
    read.cut = read.bytes.size() > maxBytes;
    if (read.cut)
        read.bytes.truncate(qsizetype(maxBytes));
    return read;
}
