#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// A die picture by file name ("4.bmp"), read from the first of `folders` that
// holds a regular file of that name with a picture in it (a FIFO, a device or
// a file of over a megabyte is passed over). When none does, the built-in
// picture of the same name is shown, so the die never goes blank.
QPixmap diePicture(const QString &name, const QStringList &folders);
