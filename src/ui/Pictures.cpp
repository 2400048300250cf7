#include "ui/Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>

QPixmap diePicture(const QString &name, const QStringList &folders)
{
    // A file is read again whenever it changes on disk; the cache only saves
    // decoding the same unchanged bitmap at every throw.
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
        if (picture.load(file.filePath())) {
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
