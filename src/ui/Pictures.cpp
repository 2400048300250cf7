#include "ui/Pictures.h"

#include "files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmapCache>

namespace {

// A die box shows 56 x 49 pixels: a megabyte holds such a picture in any
// format, and bounds what a stray big file costs at every throw.
constexpr qint64 pictureByteLimit = 1024 * 1024;

QString builtInPath(const QString &name)
{
    return QStringLiteral(":/pictures/") + name;
}

// "4.bmp" is drawn at twice the size as "4@2x.png".
QString twiceSizeName(const QString &name)
{
    return QFileInfo(name).completeBaseName() + QStringLiteral("@2x.png");
}

QPixmap builtIn(const QString &name, qreal devicePixelRatio)
{
    const bool twice = devicePixelRatio > 1 && QFile::exists(builtInPath(twiceSizeName(name)));
    const QString key = QStringLiteral("builtin:%1:%2").arg(name).arg(twice ? 2 : 1);
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    if (twice) {
        picture.load(builtInPath(twiceSizeName(name)));
        picture.setDevicePixelRatio(2);
    } else {
        picture.load(builtInPath(name));
    }
    QPixmapCache::insert(key, picture);
    return picture;
}

// The build and the install put exactly the built-in pictures' bytes beside
// the program and in the data folder: such a file is the program's own, and
// any other is the player's.
bool isBuiltInCopy(const QString &name, const QByteArray &bytes)
{
    QFile own(builtInPath(name));
    return own.open(QIODevice::ReadOnly) && own.size() == bytes.size() && own.readAll() == bytes;
}

} // namespace

QPixmap diePicture(const QString &name, const QStringList &folders, qreal devicePixelRatio)
{
    // A file is read again whenever it changes on disk; the cache only saves
    // reading and decoding the same unchanged file at every throw.
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (!file.exists())
            continue;
        const QString key = QStringLiteral("file:%1:%2:%3:%4")
                                .arg(file.absoluteFilePath())
                                .arg(file.lastModified().toMSecsSinceEpoch())
                                .arg(file.size())
                                .arg(devicePixelRatio > 1 ? 2 : 1);
        QPixmap picture;
        if (QPixmapCache::find(key, &picture))
            return picture;
        // Opened as the list and the names are: a FIFO under a picture's
        // name would otherwise hang the window at the throw that shows it.
        const RegularFileRead read = readRegularFile(file.filePath(), pictureByteLimit);
        if (!read.ok() || read.cut)
            continue;
        if (devicePixelRatio > 1 && isBuiltInCopy(name, read.bytes))
            picture = builtIn(name, devicePixelRatio);
        else if (!picture.loadFromData(read.bytes))
            continue;
        QPixmapCache::insert(key, picture);
        return picture;
    }
    return builtIn(name, devicePixelRatio);
}

QPixmap diePicture(const QString &name, const QStringList &folders)
{
    return diePicture(name, folders, qGuiApp->devicePixelRatio());
}

QPixmap builtInDiePicture(const QString &name)
{
    return builtIn(name, qGuiApp->devicePixelRatio());
}
