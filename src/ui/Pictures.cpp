#include "ui/Pictures.h"

#include "game/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

namespace {

// A die box shows 56 x 49 pixels: a megabyte holds such a picture in any
// format, and bounds what a stray big file costs at every throw.
constexpr qint64 pictureByteLimit = 1024 * 1024;

} // namespace

QPixmap diePicture(const QString &name, const QStringList &folders)
{
    // A file is read again whenever it changes on disk; the cache only saves
    // reading and decoding the same unchanged file at every throw.
    QPixmap picture;
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (!file.exists())
            continue;
        const QString key = QStringLiteral("file:%1:%2:%3")
                                .arg(file.absoluteFilePath())
                                .arg(file.lastModified().toMSecsSinceEpoch())
                                .arg(file.size());
        if (QPixmapCache::find(key, &picture))
            return picture;
        // Opened as the list and the names are: a FIFO under a picture's
        // name would otherwise hang the window at the throw that shows it.
        const RegularFileRead read = readRegularFile(file.filePath(), pictureByteLimit);
        if (read.ok() && !read.cut && picture.loadFromData(read.bytes)) {
            QPixmapCache::insert(key, picture);
            return picture;
        }
    }
    const QString key = QStringLiteral("builtin:") + name;
    if (!QPixmapCache::find(key, &picture)) {
        picture.load(QStringLiteral(":/pictures/") + name);
        QPixmapCache::insert(key, picture);
    }
    return picture;
}
