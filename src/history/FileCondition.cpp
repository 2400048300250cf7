#include "history/FileCondition.h"

#include "files/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstdio>

namespace {

constexpr int headerSize = 100;

QString walOf(const QString &path) { return path + QStringLiteral("-wal"); }

} // namespace

FileCondition inspectGamesFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return FileCondition::Folder;
    if (!info.exists() || info.size() == 0)
        return FileCondition::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileCondition::Plausible;  // SQLite says why
    const QByteArray header = file.read(headerSize);
    if (header.size() < headerSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return FileCondition::Damaged;
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const quint32 sizeField = qFromBigEndian<quint16>(bytes + 16);
    const qint64 pageSize = sizeField == 1 ? 65536 : sizeField;
    const quint32 pages = qFromBigEndian<quint32>(bytes + 28);
    // The page count is only valid when written with the change counter,
    // and a -wal file may hold pages the file does not have yet.
    const bool countValid = qFromBigEndian<quint32>(bytes + 92) == qFromBigEndian<quint32>(bytes + 24);
    const bool walHolds = QFileInfo(walOf(path)).size() > 0;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return FileCondition::Damaged;
    if (countValid && !walHolds && info.size() < pages * pageSize)
        return FileCondition::Damaged;
    return FileCondition::Plausible;
}

QString moveAside(const QString &path, QString *error)
{
    QString aside = path + QStringLiteral(".vioittunut");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(walOf(aside)); ++n)
        aside = path + QStringLiteral(".vioittunut.%1").arg(n);
    // rename(2), never a copy: the file moves whole, in one step, and stays
    // on its own disk. The caller holds the folder's lock, so no other
    // window takes the same name meanwhile.
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0) {
        *error = systemError(errno);
        return QString();
    }
    for (const QString &side : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path + side))
            std::rename(QFile::encodeName(path + side).constData(), QFile::encodeName(aside + side).constData());
    }
    return aside;
}
