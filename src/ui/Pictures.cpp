#include "ui/Pictures.h"

#include <QFileInfo>
#include <QPixmapCache>

QPixmap diePicture(const QString &name)
{
    // The file is read again whenever it changes on disk; the cache only
    // saves decoding the same unchanged bitmap at every throw.
    const QFileInfo file(name);
    const QString key = file.exists()
        ? QStringLiteral("file:%1:%2:%3").arg(name).arg(file.lastModified().toMSecsSinceEpoch()).arg(file.size())
        : QStringLiteral("builtin:") + name;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    if (file.exists())
        picture.load(name);
    if (picture.isNull())
        picture.load(QStringLiteral(":/pictures/") + name);
    QPixmapCache::insert(key, picture);
    return picture;
}
